// The calls a host makes on an asset library, in the host's order:
// Initialize once, LoginToProject for each project, then the script and
// viewer exports on the project logged in to. Each call and its answer are
// printed, with the answer's meaning for the library's mode.
#pragma once

#include "asset_library.h"
#include "held_records.h"

#include <string>

namespace tallow_host {

struct LoginDetails {
    std::string projectFile;
    std::string user;      // loginText1 (server mode)
    std::string password;  // loginText2 (server mode)
};

struct NewScript {
    std::string name;
    std::string description;
    int type = 1;
    int mode = 0;
};

class HostSession {
public:
    explicit HostSession(const AssetLibrary& library);

    // Calls Initialize: true when it answers 0.
    bool initialize();
    // Logs in: true on success. The record the library made is printed when
    // `showRecord` says so, and after a failed login.
    bool logIn(const LoginDetails& details, bool showRecord);
    // Looks the script up and prints the record: true when it was found.
    bool findScript(const std::string& name);
    // Creates the script: true when it was created.
    bool createScript(const NewScript& script);
    // Opens the log viewer: true unless launchViewer answers -1.
    bool launchViewer();

private:
    const AssetLibrary& library_;
    const bool serverMode_;
    HeldProjectInfo info_;
};

}  // namespace tallow_host
