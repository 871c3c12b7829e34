// launchViewer: opens the log viewer of the current project through a
// CVexPlenwickComponent of tallowcore.
#include "exports.h"
#include "hub_state.h"
#include "outside_libraries.h"
#include "structured_guard.h"

#include <optional>
#include <string>

namespace tallow {
namespace {

// What launchViewer answers when there is no current project, when the
// project's LocationFile cannot be had or converted, or when tallowcore fails
// with a structured exception. The export has no failure result of its own;
// this is the one chosen for those cases.
constexpr int viewerFailure = -1;

// The project's LocationFile as ANSI text; none for a null answer.
std::optional<std::string> locationFile(IServerProject* project)
{
    Bstr path;
    check(project->LocationFile(path.put()), project, &IID_IServerProject);
    if (!path.get()) return std::nullopt;
    return ansiFromBstr(path.get());
}

int openViewer(IServerProject* project)
{
    PlenwickComponentStorage component;
    if (!guarded([&component] { constructPlenwickComponent(&component); })) return viewerFailure;
    // Lives until OpenLog has returned; tallowcore copies what it keeps.
    const std::optional<std::string> path = locationFile(project);
    const char* pathText = path ? path->c_str() : nullptr;
    int result = viewerFailure;
    if (!guarded([&] { result = openPlenwickLog(&component, pathText, nullptr, nullptr, nullptr); }))
        return viewerFailure;
    return result;
}

}  // namespace
}  // namespace tallow

extern "C" int __cdecl launchViewer()
{
    using namespace tallow;
    IServerProject* project = currentProject();
    if (!project) return viewerFailure;
    try {
        return openViewer(project);
    } catch (const ComError&) {
        return viewerFailure;
    }
}
