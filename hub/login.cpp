// LoginToProject: logs the user in to a project on the project server and
// builds the host's ProjectInfo record from the server's answers.
#include "attribute_values.h"
#include "exports.h"
#include "hub_state.h"
#include "path_parts.h"
#include "server_calls.h"

#include <cstring>

namespace tallow {
namespace {

// Frees the record an earlier login left in `*info` (the block only: its
// strings belong to the host) and stores a new zero-filled one there.
ProjectInfo& newProjectRecord(ProjectInfo** info)
{
    CoTaskMemFree(*info);
    *info = nullptr;
    auto* record = static_cast<ProjectInfo*>(CoTaskMemAlloc(sizeof(ProjectInfo)));
    if (!record) throw ComError(E_OUTOFMEMORY);
    memset(record, 0, sizeof(ProjectInfo));
    *info = record;
    return *record;
}

// A fresh copy for the host of a text the server answered; null stays null.
BSTR hostCopy(const Bstr& text)
{
    return copyBstr(text.get());
}

// A host BSTR of ANSI text (never null).
BSTR hostText(const std::string& text)
{
    return bstrFromAnsi(text.c_str()).detach();
}

PathParts partsOf(const Bstr& path)
{
    return splitPath(ansiFromBstr(path.get()).c_str());
}

// The login itself. Each field is stored as soon as it is known, so a failure
// leaves the fields filled before it in the record.
void logIn(const ComPtr<IProjectServer>& projectServer, const LoginRequest& request, ProjectInfo& record)
{
    {
        const Bstr projectFile = bstrFromAnsi(request.projectFile);
        const Bstr loginText1 = bstrFromAnsi(request.loginText1);
        const Bstr loginText2 = bstrFromAnsi(request.loginText2);
        server::login(projectServer, projectFile.get(), loginText1.get(), loginText2.get());
    }
    const ComPtr<IServerProject> project = server::currentProject(projectServer);
    setCurrentProject(project);

    const ComPtr<IServerScript> scriptA = server::newScript(server::currentProject(projectServer));
    record.basicPath = attributeText(scriptA, L"VexBasicPath").detach();
    record.datPath = attributeText(scriptA, L"DATPath").detach();

    const Bstr userName = server::userName(server::currentUser(project));
    const Bstr projectFile = server::projectFile(project);
    record.userName = hostCopy(userName);
    record.name = hostText(partsOf(projectFile).baseName);

    const ComPtr<IServerScript> scriptB = server::newScript(project);
    const ComPtr<IAssetKindList> kinds = server::assetKinds(project);
    record.scriptsPath = hostCopy(server::path(server::item(kinds, L"Script")));
    record.win32Path = attributeText(scriptB, L"Win32Path").detach();
    record.vpPath = attributeText(scriptB, L"VPPath").detach();
    record.llsPath = attributeText(scriptB, L"LLSPath").detach();
    record.dllPath = attributeText(scriptB, L"DLLPath").detach();

    const PathParts location = partsOf(server::locationFile(project));
    record.location = hostText(location.drive + location.folder);
    record.projectPath = hostCopy(server::projectPath(project));
    record.dataPoolsPath = hostCopy(server::path(server::item(kinds, L"Datapool")));

    if (server::hasPermission(server::currentUser(project), L"Script", 1)) record.flags = projectFlagScripts;
    if (server::hasPermission(server::currentUser(project), L"Log", 1)) record.flags |= projectFlagLog;
}

}  // namespace
}  // namespace tallow

// Result 1 when logged in, 0 on any failure. Without a request, a place for
// the record or a server object (no successful Initialize), nothing is touched.
extern "C" int __cdecl LoginToProject(int, const tallow::LoginRequest* request, tallow::ProjectInfo** info)
{
    using namespace tallow;
    const auto projectServer = ComPtr<IProjectServer>::borrow(serverObject());
    if (!request || !info || !projectServer) return 0;
    try {
        logIn(projectServer, *request, newProjectRecord(info));
        return 1;
    } catch (...) {
        // ComError is the failure raised inside; no exception may reach the host.
        return 0;
    }
}
