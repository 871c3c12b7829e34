// tallow_benchmark: measures both asset libraries in one process, each figure
// against a floor taken in the same run on the same data, and checks that
// long runs leave memory and handles where they were.
//
// Usage: tallow_benchmark [--quick] [--only standalone|server|registry|leaks]
//        tallow_benchmark --mark-requests
// The exit status is 0 when every target is met, 1 when one is missed.
// --mark-requests makes one call of each step of a standalone login after a
// mark line on the error output, for counting Wine's server requests.
#include "sections.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    using namespace bench;
    Settings settings;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--quick")) {
            settings.calls = 60;
            settings.leakCycles = 2000;
            settings.leakWarmUp = 200;
        } else if (!strcmp(argv[i], "--mark-requests")) {
            only = "marks";
        } else if (!strcmp(argv[i], "--only") && i + 1 < argc) {
            only = argv[++i];
        } else {
            fprintf(stderr, "usage: %s [--quick] [--only standalone|server|registry|leaks] | --mark-requests\n",
                    argv[0]);
            return 2;
        }
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    Report report;
    try {
        Workspace workspace;
        if (only == "marks") markRequests(workspace);
        if (only.empty() || only == "standalone") standaloneFigures(report, workspace, settings);
        if (only.empty() || only == "server") serverFigures(report, settings);
        if (only.empty() || only == "registry") registryFigures(report, workspace, settings);
        if (only.empty() || only == "leaks") leakCheck(report, workspace, settings);
    } catch (const std::exception& failure) {
        fprintf(stderr, "benchmark stopped: %s\n", failure.what());
        return 2;
    }
    CoUninitialize();
    if (only == "marks") return 0;
    printf("\n");
    for (const std::string& missed : report.missed()) printf("missed: %s\n", missed.c_str());
    printf("%s\n", report.allMet() ? "every target met" : "some targets missed");
    return report.allMet() ? 0 : 1;
}
