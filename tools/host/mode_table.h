// Finding the library of a mode as a host does: the install directory from
// the registry, its "AssetManager.xml", the "Mode" element whose
// "DisplayName" matches, and that element's "Library", a file name relative
// to the install directory.
#pragma once

#include <string>

namespace tallow_host {

// The full path of the library that serves the mode shown as `displayName`.
// Raises std::runtime_error, saying what is missing, when there is no install
// directory, the table does not load, or no mode has that display name.
std::string libraryOfMode(const std::string& displayName);

}  // namespace tallow_host
