// The file system side of the store: finding a path, making a chain of
// folders and a project's asset tree, and testing that a folder is empty.
#include "debug_trace.h"
#include "result_codes.h"
#include "store_functions.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace tallow {
namespace {

// The asset tree, in the order it is made; each suffix goes after the root.
constexpr const char* assetTree[] = {
    "\\Scripts",         "\\Scripts\\dat", "\\Scripts\\dll",         "\\Scripts\\externC", "\\Scripts\\idl",
    "\\Scripts\\include", "\\Scripts\\javaProxies", "\\Scripts\\lls", "\\Scripts\\VexBas32", "\\Scripts\\vp",
    "\\Scripts\\Win32",  "\\DataPools",    "\\Log",
};
// The longest suffix, "\Scripts\javaProxies".
constexpr size_t longestAssetSuffix = 20;

// What a folder walk carries: the whole path, its number of components and
// the length of each.
constexpr size_t growingPathSize = 516;
constexpr size_t maxComponents = 50;
constexpr size_t componentSize = 256;
// Bytes of a checkFolderEmpty trace line and of its search pattern.
constexpr size_t folderTraceSize = 100;
constexpr size_t searchPatternSize = 260;

void folderTrace(const char* format, ...)
{
    va_list values;
    va_start(values, format);
    sendTraceLine(folderTraceSize, format, values);
    va_end(values);
}

// The components between backslashes, in order: a leading, doubled or
// trailing backslash gives an empty component. False when the path is longer
// than a walk carries.
bool splitPath(const char* path, std::vector<std::string>& components)
{
    if (strlen(path) >= growingPathSize) return false;
    const char* start = path;
    for (;;) {
        const char* end = strchr(start, '\\');
        const size_t length = end ? static_cast<size_t>(end - start) : strlen(start);
        if (length >= componentSize || components.size() == maxComponents) return false;
        components.emplace_back(start, length);
        if (!end) return true;
        start = end + 1;
    }
}

// Traces each entry of a search from the one in `entry` on: 102 at the first
// that is neither "." nor ".."; when none is left, 1 if the search ended
// normally and 0 if it ended on an error.
int examineEntries(HANDLE search, WIN32_FIND_DATAA& entry)
{
    for (;;) {
        folderTrace("First file name is %s\n", entry.cFileName);
        if (strcmp(entry.cFileName, ".") != 0 && strcmp(entry.cFileName, "..") != 0) return result::folderNotEmpty;
        if (!FindNextFileA(search, &entry)) return GetLastError() == ERROR_NO_MORE_FILES ? result::done : result::no;
    }
}

}  // namespace

int pathExists(const char* path)
{
    if (!path) return 0;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    return 1;
}

// The first folder made is the one the first two components name together
// (for C:\Work\Demo that is C:\Work): a drive alone is never made. A path of
// one component has no such pair and is refused, as is a path too long to
// walk: neither makes anything.
int createFolderPath(const char* path)
{
    if (!path) return result::missingArgument;
    std::vector<std::string> components;
    if (!splitPath(path, components) || components.size() < 2) return result::folderNotMade;
    std::string growing = components[0] + "\\" + components[1];
    for (size_t k = 2; k < components.size(); ++k) {
        if (!CreateDirectoryA(growing.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return result::folderNotMade;
        growing += "\\" + components[k];
    }
    if (CreateDirectoryA(growing.c_str(), nullptr)) return result::done;
    return GetLastError() == ERROR_ALREADY_EXISTS ? result::folderExists : result::folderNotMade;
}

// A root too long for its folders (the root and the longest suffix within
// 259 bytes) is refused before a folder is made: folders cut to fit would
// belong to another tree.
int createProjectFolders(const char* assetRoot)
{
    if (!assetRoot) return result::missingArgument;
    if (strlen(assetRoot) + longestAssetSuffix >= folderSize) return result::folderNotMade;
    for (const char* suffix : assetTree) {
        const std::string folder = std::string(assetRoot) + suffix;
        if (createFolderPath(folder.c_str()) == result::folderExists) return result::folderExists;
    }
    return result::done;
}

// A folder too long for the search pattern cannot be searched, as if the
// search had failed with ERROR_FILENAME_EXCED_RANGE.
int checkFolderEmpty(const char* folder)
{
    if (!folder) return result::missingArgument;
    folderTrace("Target directory is %s.\n", folder);
    WIN32_FIND_DATAA entry;
    HANDLE search = INVALID_HANDLE_VALUE;
    if (strlen(folder) + 2 < searchPatternSize)
        search = FindFirstFileA((std::string(folder) + "\\*").c_str(), &entry);
    else
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
    if (search == INVALID_HANDLE_VALUE) {
        folderTrace("Invalid file handle. Error is %u\n", GetLastError());
        return result::folderNotMade;
    }
    const int emptiness = examineEntries(search, entry);
    FindClose(search);
    return emptiness;
}

}  // namespace tallow
