// A scratch folder that serves as the install directory for one test, and
// what a test looks at in a folder. Test programs that use it carry
// RESOURCE_LOCK install_directory.
#pragma once

#include "install_directory.h"
#include "scratch_folder.h"

#include <windows.h>

#include <set>
#include <string>

namespace solo_testing {

struct InstallFolder {
    InstallFolder() { setInstallDirectory(folder.path()); }
    std::string registry() const { return folder / "RegisteredProjects.xml"; }
    std::string assetManager() const { return folder / "AssetManager.xml"; }

    InstallDirectoryCleanup cleanup;
    testing_support::ScratchFolder folder;
};

// Names of the entries of a folder, "." and ".." left out.
inline std::set<std::string> entriesOf(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

}  // namespace solo_testing
