#include "fuzz_rounds.h"

#include <cstdlib>

namespace reliability {
namespace {

// A positive number from the environment, or 0.
unsigned long environmentNumber(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value) return 0;
    return std::strtoul(value, nullptr, 0);
}

}  // namespace

std::vector<std::uint32_t> fuzzSeeds(int regular, std::uint32_t stream)
{
    if (const unsigned long seed = environmentNumber("TALLOW_FUZZ_SEED"))
        return {static_cast<std::uint32_t>(seed)};
    const unsigned long asked = environmentNumber("TALLOW_FUZZ_ROUNDS");
    const unsigned long rounds = asked ? asked : static_cast<unsigned long>(regular);
    std::vector<std::uint32_t> seeds;
    for (unsigned long round = 0; round < rounds; ++round)
        seeds.push_back(stream * 1000003u + static_cast<std::uint32_t>(round) + 1u);
    return seeds;
}

std::string seedLabel(std::uint32_t seed)
{
    return "seed " + std::to_string(seed) + " (TALLOW_FUZZ_SEED=" + std::to_string(seed) + " replays it)";
}

}  // namespace reliability
