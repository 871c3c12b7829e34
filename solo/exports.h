// The exports of the standalone library: undecorated cdecl functions that
// return a 32-bit int (names fixed by the host).
#pragma once

#include "host_records.h"

extern "C" {
int __cdecl Initialize();
int __cdecl createScript(int mode, tallow::ScriptInfo* script);
}
