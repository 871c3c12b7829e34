#include "scratch_folder.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {
namespace {

void removeTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder()
{
    static std::atomic<unsigned> serial{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base(temp);
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (;;) {
        path_ = base + "\\tallow-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        if (CreateDirectoryA(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot make " + path_);
    }
}

ScratchFolder::~ScratchFolder()
{
    removeTree(path_);
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace testing_support
