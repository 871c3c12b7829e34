// Every file and folder under a folder, with the bytes of each file, to show
// that an operation wrote nothing it was not meant to write.
#pragma once

#include <map>
#include <string>

namespace reliability {

// Paths relative to the folder; a folder's entry ends in a backslash and
// holds no bytes.
using FolderSnapshot = std::map<std::string, std::string>;

FolderSnapshot snapshotOf(const std::string& folder);

// The entries made, removed or changed between two snapshots, for messages:
// "+new.tmp -gone.xml *changed.xml".
std::string differences(const FolderSnapshot& before, const FolderSnapshot& after);

}  // namespace reliability
