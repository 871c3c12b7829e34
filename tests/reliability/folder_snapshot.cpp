#include "folder_snapshot.h"

#include "scratch_folder.h"

#include <windows.h>

namespace reliability {
namespace {

void addEntries(const std::string& root, const std::string& relative, FolderSnapshot& snapshot)
{
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot[path + "\\"] = std::string();
            addEntries(root, path, snapshot);
        } else {
            snapshot[path] = testing_support::readFile(root + "\\" + path);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

}  // namespace

FolderSnapshot snapshotOf(const std::string& folder)
{
    FolderSnapshot snapshot;
    addEntries(folder, "", snapshot);
    return snapshot;
}

std::string differences(const FolderSnapshot& before, const FolderSnapshot& after)
{
    std::string text;
    for (const auto& [path, bytes] : after) {
        const auto old = before.find(path);
        if (old == before.end())
            text += "+" + path + " ";
        else if (old->second != bytes)
            text += "*" + path + " ";
    }
    for (const auto& [path, bytes] : before)
        if (!after.count(path)) text += "-" + path + " ";
    return text.empty() ? "none" : text;
}

}  // namespace reliability
