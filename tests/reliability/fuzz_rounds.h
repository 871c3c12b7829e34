// How many rounds of a randomised suite run, and with which seeds. The
// regular run takes a fixed number of rounds with fixed seeds, so it fails the
// same way on every machine. TALLOW_FUZZ_ROUNDS=<n> runs n rounds instead (a
// long run); TALLOW_FUZZ_SEED=<seed> runs only the round of that seed, which
// every failure names.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace reliability {

// Seeds of the rounds to run: `regular` rounds unless the environment says
// otherwise. Suites pass different `stream`s so that their seeds differ.
std::vector<std::uint32_t> fuzzSeeds(int regular, std::uint32_t stream);

// The random choices of one round.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    // A number from 0 to n - 1.
    size_t below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(engine_); }
    // A number from `low` to `high`, both included.
    size_t between(size_t low, size_t high) { return low + below(high - low + 1); }
    bool percent(int chance) { return below(100) < static_cast<size_t>(chance); }
    template <class T>
    const T& pick(const std::vector<T>& choices)
    {
        return choices[below(choices.size())];
    }
    std::mt19937& engine() { return engine_; }

private:
    std::mt19937 engine_;
};

// "seed 1234", for failure messages.
std::string seedLabel(std::uint32_t seed);

}  // namespace reliability
