// Sets and removes the install-directory value in the test prefix's registry.
// Test programs that use it carry RESOURCE_LOCK install_directory.
#pragma once

#include <windows.h>

#include <string>

namespace solo_testing {

// Stores `bytes` (taken as they are, terminator included only if present) as
// the install-directory value with registry type `type`.
void setInstallDirectoryValue(const std::string& bytes, DWORD type = REG_SZ);
// Stores `directory` and its terminator as a string value.
void setInstallDirectory(const std::string& directory);
// Removes the value (the key stays).
void removeInstallDirectory();

// Removes the value when the test ends, whatever the test set.
class InstallDirectoryCleanup {
public:
    InstallDirectoryCleanup() = default;
    InstallDirectoryCleanup(const InstallDirectoryCleanup&) = delete;
    InstallDirectoryCleanup& operator=(const InstallDirectoryCleanup&) = delete;
    ~InstallDirectoryCleanup() { removeInstallDirectory(); }
};

}  // namespace solo_testing
