#include "timing.h"

#include <windows.h>

#include <algorithm>

namespace bench {
namespace {

double median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    const size_t middle = samples.size() / 2;
    std::nth_element(samples.begin(), samples.begin() + middle, samples.end());
    const double upper = samples[middle];
    if (samples.size() % 2) return upper;
    return (*std::max_element(samples.begin(), samples.begin() + middle) + upper) / 2;
}

}  // namespace

double microseconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / frequency;
}

std::vector<double> timeInTurns(const std::vector<Trial>& trials, int calls, int warmUp)
{
    std::vector<std::vector<double>> samples(trials.size());
    for (int turn = 0; turn < warmUp + calls; ++turn) {
        for (size_t i = 0; i < trials.size(); ++i) {
            trials[i].prepare();
            const double start = microseconds();
            trials[i].run();
            const double elapsed = microseconds() - start;
            if (turn >= warmUp) samples[i].push_back(elapsed);
        }
    }
    std::vector<double> medians;
    for (auto& series : samples) medians.push_back(median(std::move(series)));
    return medians;
}

double timeCalls(const Trial& trial, int calls, int warmUp)
{
    return timeInTurns({trial}, calls, warmUp).front();
}

}  // namespace bench
