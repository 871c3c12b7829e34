// Standalone LoginToProject and getScriptByName, each against the least the
// platform must do for it, and the fixed work of a store shown on its own.
#include "bare_calls.h"
#include "fixtures.h"
#include "host.h"
#include "registry_lookup.h"
#include "sections.h"
#include "timing.h"

#include <stdexcept>

namespace bench {
namespace {

void loginFigures(Report& report, SoloLibrary& solo, const StandaloneProject& project, int calls)
{
    const std::string& file = project.projectFile;
    HostLogin host(file.c_str());
    if (host.call(solo.loginToProject) != 1) throw std::runtime_error("standalone login failed");
    BareDocument bare;

    const std::vector<double> t = timeInTurns(
        {
            {[&] { host.call(solo.loginToProject); }, [&] { host.freeStrings(); }},
            {[&] {
                 readWholeFile(file);
                 GetFileAttributesA(file.c_str());
             }},
            {[&] { bare.loadByPath(file); }},
            {[&] { bare.loadFromStream(file); }},
            {[&] {
                 char directory[260] = {};
                 tallow::readInstallDirectory(directory);
             }},
            {[&] { createDocument(); }},
            {[&] { GetFileAttributesA(file.c_str()); }},
        },
        calls);
    const double login = t[0], physical = t[1], byPath = t[2], stream = t[3], registry = t[4], creation = t[5],
                 attributes = t[6];

    report.figure("project file", std::to_string(readWholeFile(file)) + " bytes");
    report.ratio("LoginToProject", login, "(a) read + GetFileAttributesA", physical, 2.0);
    report.ratio("LoginToProject", login, "(b) DOM load by path", byPath, 0);
    report.figure("split: install directory from the registry", duration(registry));
    report.figure("split: DOM document creation", duration(creation));
    report.figure("split: DOM load of a stream over the file", duration(stream));
    report.figure("split: GetFileAttributesA", duration(attributes));
    const double fixed = registry + creation + stream + attributes;
    report.ratio("LoginToProject", login, "(c) what every login must do: the four splits", fixed, 2.0);
}

void scriptFigures(Report& report, SoloLibrary& solo, const StandaloneProject& project, int calls)
{
    const std::string scriptFile = project.scriptsFolder + "\\" + project.scriptName + ".rec";
    HostScript host;
    host.setFolder(project.scriptsFolder.c_str());
    if (host.call(solo.getScriptByName, project.scriptName.c_str()) != 1)
        throw std::runtime_error("standalone script look-up failed");

    const std::vector<double> t = timeInTurns(
        {
            {[&] { host.call(solo.getScriptByName, project.scriptName.c_str()); },
             [&] { host.setFolder(project.scriptsFolder.c_str()); }},
            {[&] { GetFileAttributesA(scriptFile.c_str()); }},
        },
        calls * 5);
    report.ratio("getScriptByName", t[0], "GetFileAttributesA", t[1], 2.0);
}

}  // namespace

void standaloneFigures(Report& report, const Workspace& workspace, const Settings& settings)
{
    report.section("Standalone (tallowsolo)");
    SoloLibrary solo;
    const StandaloneProject project = writeStandaloneProject(workspace);
    loginFigures(report, solo, project, settings.calls);
    scriptFigures(report, solo, project, settings.calls);
}

}  // namespace bench
