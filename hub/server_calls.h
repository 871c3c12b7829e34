// One checked function for each project-server operation the library uses.
// A failure HRESULT raises ComError, with the server's error object attached
// when the object offers rich error information for the interface called; a
// null object (an interface the server answered as null) raises E_POINTER.
// Every answer is owned by the caller; BSTR arguments stay the caller's.
#pragma once

#include "com_error.h"
#include "project_server.h"

namespace tallow::server {

// A BSTR copy of a fixed name such as an attribute or asset kind.
Bstr nameText(const wchar_t* name);

// IProjectServer
void login(const ComPtr<IProjectServer>& projectServer, BSTR projectFile, BSTR loginText1, BSTR loginText2);
ComPtr<IServerProject> currentProject(const ComPtr<IProjectServer>& projectServer);

// IServerProject
ComPtr<IAssetKindList> assetKinds(const ComPtr<IServerProject>& project);
ComPtr<IServerScript> newScript(const ComPtr<IServerProject>& project);
ComPtr<IServerScript> getScript(const ComPtr<IServerProject>& project, BSTR name);
void deleteScript(const ComPtr<IServerProject>& project, BSTR name);
ComPtr<IServerUser> currentUser(const ComPtr<IServerProject>& project);
Bstr locationFile(const ComPtr<IServerProject>& project);
Bstr projectFile(const ComPtr<IServerProject>& project);
Bstr projectPath(const ComPtr<IServerProject>& project);

// IAssetKindList, IAssetKind
ComPtr<IAssetKind> item(const ComPtr<IAssetKindList>& kinds, const wchar_t* kind);
Bstr path(const ComPtr<IAssetKind>& kind);

// IServerScript
void saveAs(const ComPtr<IServerScript>& script, BSTR name);
void getAttribute(const ComPtr<IServerScript>& script, const wchar_t* name, Variant& value);
void setAttribute(const ComPtr<IServerScript>& script, const wchar_t* name, const VARIANT& value);
Bstr scriptPath(const ComPtr<IServerScript>& script);
Bstr compiledPath(const ComPtr<IServerScript>& script);

// IServerUser
Bstr userName(const ComPtr<IServerUser>& user);
long hasPermission(const ComPtr<IServerUser>& user, const wchar_t* kind, long code);

}  // namespace tallow::server
