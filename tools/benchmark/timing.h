// Timing of single calls: each call is timed on its own with the performance
// counter, and a figure is the median over many calls, which a busy machine
// disturbs far less than a mean. An operation and its floor are timed in
// turns, call by call, so that both see the same machine.
#pragma once

#include <functional>
#include <vector>

namespace bench {

// Microseconds on the performance counter since an arbitrary start.
double microseconds();

// One thing to time: `prepare` runs before each call, outside the timing.
struct Trial {
    std::function<void()> run;
    std::function<void()> prepare = [] {};
};

// Median microseconds per call of each trial, timed in turns `calls` times
// after `warmUp` untimed turns.
std::vector<double> timeInTurns(const std::vector<Trial>& trials, int calls, int warmUp = 3);

// Median microseconds per call of one trial.
double timeCalls(const Trial& trial, int calls, int warmUp = 3);

}  // namespace bench
