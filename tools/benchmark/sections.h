// The benchmark's sections, each measuring one group of operations into the
// report. Every figure and its floor come from the same run on the same data.
#pragma once

#include "report.h"
#include "workspace.h"

namespace bench {

// How long to measure: the number of timed calls of a fast operation, scaled
// down for slow ones, and the cycles of the leak check.
struct Settings {
    int calls = 400;
    int leakCycles = 20000;
    int leakWarmUp = 2000;
};

// Standalone LoginToProject and getScriptByName against their floors.
void standaloneFigures(Report& report, const Workspace& workspace, const Settings& settings);
// Server-mode LoginToProject and getScriptByName against the fake project
// server: the calls each makes and its time.
void serverFigures(Report& report, const Settings& settings);
// registerProject, findProject and listProjects on registries of 10 to
// 10,000 entries against a parse and a save of the same file.
void registryFigures(Report& report, const Workspace& workspace, const Settings& settings);
// Private bytes and handles before and after long runs of login plus script
// look-up in each mode.
void leakCheck(Report& report, const Workspace& workspace, const Settings& settings);
// One call of each step of a standalone login, each after a line "=== step"
// on the error output, for counting Wine's server requests per step.
void markRequests(const Workspace& workspace);

}  // namespace bench
