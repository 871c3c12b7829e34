#include "workspace.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bench {
namespace {

constexpr char installKey[] = "SOFTWARE\\Halvern Software\\Halvern Test\\8";
constexpr char installValue[] = "Install Directory";

void removeTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool readInstallDirectory(std::string& value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char text[256] = {};
    DWORD size = sizeof text - 1;
    const bool found =
        RegQueryValueExA(key, installValue, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    value = text;
    return found;
}

void writeInstallDirectory(const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot write the install-directory key");
    RegSetValueExA(key, installValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void removeInstallDirectory()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, installValue);
    RegCloseKey(key);
}

}  // namespace

Workspace::Workspace()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base(temp);
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (int serial = 1;; ++serial) {
        path_ = base + "\\tallow-benchmark-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot make " + path_);
    }
    hadInstallDirectory_ = readInstallDirectory(previousInstallDirectory_);
    writeInstallDirectory(path_);
}

Workspace::~Workspace()
{
    if (hadInstallDirectory_)
        writeInstallDirectory(previousInstallDirectory_);
    else
        removeInstallDirectory();
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
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace bench
