// An asset library loaded the way the host loads one: LoadLibraryA, then each
// export looked up by its undecorated name and called through a cdecl
// function pointer. Every export takes 32-bit arguments and answers an int.
#pragma once

#include "host_records.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace tallow_host {

// The exports' types, as a host declares them.
using InitializeFunction = int(__cdecl*)();
using LoginToProjectFunction = int(__cdecl*)(int reserved, tallow::LoginRequest* request, tallow::ProjectInfo** info);
using GetScriptByNameFunction = int(__cdecl*)(const char* name, tallow::ScriptInfo** script);
using CreateScriptFunction = int(__cdecl*)(int mode, tallow::ScriptInfo* script);
using LaunchViewerFunction = int(__cdecl*)();

class AssetLibrary {
public:
    // Loads `file` (a name searched for as LoadLibraryA searches, or a path);
    // raises std::runtime_error when it does not load.
    explicit AssetLibrary(const std::string& file);
    AssetLibrary(const AssetLibrary&) = delete;
    AssetLibrary& operator=(const AssetLibrary&) = delete;
    ~AssetLibrary();

    // The file that was loaded, as the system found it.
    std::string path() const;
    // Server mode's library is the one that lends the project server.
    bool servesServerMode() const { return offers("GetOrvisServer"); }
    bool offers(const char* name) const { return GetProcAddress(module_, name) != nullptr; }

    // The export `name` as a pointer of type F; raises std::runtime_error
    // when the library does not export it.
    template <class F>
    F entryPoint(const char* name) const
    {
        FARPROC address = GetProcAddress(module_, name);
        if (!address) throw std::runtime_error(path() + " does not export " + name);
        return reinterpret_cast<F>(address);
    }

private:
    HMODULE module_;
};

}  // namespace tallow_host
