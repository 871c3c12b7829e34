// The install directory's registry value: HKEY_LOCAL_MACHINE
// "SOFTWARE\Halvern Software\Halvern Test\8", value "Install Directory".
// The libraries only read it; recording it is the administrator's job.
#pragma once

#include <string>

namespace tallow_admin {

// Stores `directory` as the value (a string), creating the key when needed;
// raises ComError with the Windows error when the registry refuses.
void recordInstallDirectory(const std::string& directory);

}  // namespace tallow_admin
