// The exports of the server-mode library: undecorated cdecl functions that
// return a 32-bit int (names fixed by the host).
#pragma once

#include "host_records.h"
#include "project_server.h"

extern "C" {
int __cdecl Initialize();
int __cdecl GetOrvisServer(tallow::IProjectServer** server);
int __cdecl LoginToProject(int reserved, const tallow::LoginRequest* request, tallow::ProjectInfo** info);
}
