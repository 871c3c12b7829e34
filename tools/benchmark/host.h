// The host's side of the calls: the two libraries loaded by name with their
// exports looked up undecorated, and the records a host keeps and frees.
#pragma once

#include "host_records.h"
#include "library.h"

namespace bench {

using LoginFunction = int(__cdecl*)(int, tallow::LoginRequest*, tallow::ProjectInfo**);
using ScriptFunction = int(__cdecl*)(const char*, tallow::ScriptInfo**);

struct SoloLibrary {
    testing_support::Library library{"tallowsolo.dll"};
    LoginFunction loginToProject = library.function<LoginFunction>("LoginToProject");
    ScriptFunction getScriptByName = library.function<ScriptFunction>("getScriptByName");
};

struct HubLibrary {
    testing_support::Library library{"tallowhub.dll"};
    int(__cdecl* initialize)() = library.function<int(__cdecl*)()>("Initialize");
    LoginFunction loginToProject = library.function<LoginFunction>("LoginToProject");
    ScriptFunction getScriptByName = library.function<ScriptFunction>("getScriptByName");
};

// A LoginRequest and the host's ProjectInfo pointer. The library frees the
// record at the next login; the host frees the strings in it.
class HostLogin {
public:
    explicit HostLogin(const char* projectFile);
    ~HostLogin();
    HostLogin(const HostLogin&) = delete;
    HostLogin& operator=(const HostLogin&) = delete;

    // LoginToProject as the host calls it.
    int call(LoginFunction login) { return login(0, &request_, &info_); }
    // SysFreeString on every string of the record, as the host does when done.
    void freeStrings();

private:
    tallow::LoginRequest request_{};
    tallow::ProjectInfo* info_ = nullptr;
    char projectFile_[517] = {};
};

// The host's ScriptInfo; its counted strings are released when it goes.
class HostScript {
public:
    HostScript() = default;
    ~HostScript();
    HostScript(const HostScript&) = delete;
    HostScript& operator=(const HostScript&) = delete;

    // Standalone look-ups read the script folder from scriptPath.
    void setFolder(const char* folder);
    int call(ScriptFunction lookUp, const char* name) { return lookUp(name, &pointer_); }
    const tallow::ScriptInfo& record() const { return record_; }

private:
    tallow::ScriptInfo record_{};
    tallow::ScriptInfo* pointer_ = &record_;
};

}  // namespace bench
