// LoginToProject: opening a standalone project for the host.
#include "exports.h"
#include "project_selection.h"
#include "project_store.h"
#include "result_codes.h"

namespace tallow {
namespace {

// A failure of the XML service (it cannot be created, or a DOM call fails),
// exhausted memory, or any other error inside the store. The project file
// could not be read for such a reason, so the host hears what it hears for a
// file that does not load; by then *info holds the new record, null in every
// field not filled before the failure.
constexpr int loginFailure = result::fileDoesNotLoad;

}  // namespace
}  // namespace tallow

extern "C" int __cdecl LoginToProject(int, tallow::LoginRequest* request, tallow::ProjectInfo** info)
{
    using namespace tallow;
    try {
        if (!request || !request->projectFile) return result::no;
        if (GetFileAttributesA(request->projectFile) == INVALID_FILE_ATTRIBUTES && !selectProjectFile(*request))
            return result::no;
        if (!info) return result::missingArgument;
        ProjectStore store;
        return store.openProject(request->projectFile, info);
    } catch (...) {
        return loginFailure;
    }
}
