// The process-wide state that every export of the server-mode library shares.
// Both items start empty when the library loads. Neither is released when the
// library unloads: the server object lives until the process ends, and the
// current project is released only when a later login replaces it.
#pragma once

#include "com_ptr.h"
#include "project_server.h"

namespace tallow {

// The project server made by Initialize; null until one succeeds.
IProjectServer* serverObject();
// Keeps `server` (taking over its reference); the one held before is let go
// unreleased, as the server object is never released.
void keepServerObject(IProjectServer* server);

// The project of the last login that got past its CurrentProject step.
IServerProject* currentProject();
// Makes `project` current with a reference of the library's own and releases
// the one it replaces.
void setCurrentProject(const ComPtr<IServerProject>& project);

}  // namespace tallow
