// The server-mode library as the host sees it: loaded by name, its exports
// looked up undecorated and called as cdecl functions.
#pragma once

#include "host_records.h"
#include "library.h"
#include "project_server.h"

struct HubLibrary {
    testing_support::Library library{"tallowhub.dll"};
    int(__cdecl* initialize)() = library.function<int(__cdecl*)()>("Initialize");
    int(__cdecl* getOrvisServer)(tallow::IProjectServer**) =
        library.function<int(__cdecl*)(tallow::IProjectServer**)>("GetOrvisServer");
    int(__cdecl* loginToProject)(int, void*, void**) =
        library.function<int(__cdecl*)(int, void*, void**)>("LoginToProject");
    int(__cdecl* getScriptByName)(const char*, tallow::ScriptInfo**) =
        library.function<int(__cdecl*)(const char*, tallow::ScriptInfo**)>("getScriptByName");
    int(__cdecl* createScript)(int, tallow::ScriptInfo*) =
        library.function<int(__cdecl*)(int, tallow::ScriptInfo*)>("createScript");
};
