// The exports of the standalone library: undecorated cdecl functions that
// return a 32-bit int (names fixed by the host).
#pragma once

#include "host_records.h"

extern "C" {
int __cdecl Initialize();
int __cdecl LoginToProject(int reserved, tallow::LoginRequest* request, tallow::ProjectInfo** info);
int __cdecl getScriptByName(const char* name, tallow::ScriptInfo** script);
int __cdecl createScript(int mode, tallow::ScriptInfo* script);
}
