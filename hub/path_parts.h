// Splitting a path in ANSI text into drive, folder, base name and extension.
#pragma once

#include <windows.h>
#include <string>

namespace tallow {

struct PathParts {
    std::string drive;      // "D:" when the second character is ':', else empty
    std::string folder;     // after the drive, up to and including the last '\' or '/'
    std::string baseName;   // after the folder, up to the last '.' that follows it
    std::string extension;  // from that '.' to the end
};

// The drive holds at most 2 bytes; each other part is cut to its first 255.
constexpr size_t pathPartLimit = 255;

// Splits NUL-terminated `path` (null reads as empty). Double-byte characters
// of `codePage` are stepped over whole, so a trail byte is never taken for a
// separator or a dot.
PathParts splitPath(const char* path, UINT codePage = CP_ACP);

}  // namespace tallow
