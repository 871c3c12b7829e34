// One call of each step of a standalone login, each after a mark on the error
// output. Run with WINEDEBUG=+server, Wine writes every request its server
// receives to the same output, so the requests between two marks are those of
// one step: a count that a busy machine does not change.
#include "bare_calls.h"
#include "fixtures.h"
#include "host.h"
#include "registry_lookup.h"
#include "sections.h"

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace bench {

void markRequests(const Workspace& workspace)
{
    SoloLibrary solo;
    const StandaloneProject project = writeStandaloneProject(workspace);
    const std::string& file = project.projectFile;
    HostLogin login(file.c_str());
    HostScript script;
    BareDocument bare;

    const std::vector<std::pair<const char*, std::function<void()>>> steps{
        {"GetFileAttributesA", [&] { GetFileAttributesA(file.c_str()); }},
        {"open, read and close the project file", [&] { readWholeFile(file); }},
        {"install directory from the registry",
         [&] {
             char directory[260] = {};
             tallow::readInstallDirectory(directory);
         }},
        {"DOM document creation", [&] { createDocument(); }},
        {"DOM load of a stream over the file", [&] { bare.loadFromStream(file); }},
        {"DOM load by path", [&] { bare.loadByPath(file); }},
        {"standalone LoginToProject",
         [&] {
             login.call(solo.loginToProject);
             login.freeStrings();
         }},
        {"standalone getScriptByName",
         [&] {
             script.setFolder(project.scriptsFolder.c_str());
             script.call(solo.getScriptByName, project.scriptName.c_str());
         }},
    };
    for (const auto& step : steps) step.second();  // first calls load and warm what they use
    for (const auto& step : steps) {
        fprintf(stderr, "=== %s\n", step.first);
        fflush(stderr);
        step.second();
    }
    fprintf(stderr, "=== end\n");
    fflush(stderr);
}

}  // namespace bench
