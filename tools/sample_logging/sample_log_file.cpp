#include "sample_log_file.h"

#include <windows.h>

namespace sample_logging {
namespace {

// "tallow-sample.log" in the folder of the module that holds this code.
std::string logPath()
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&appendToLog), &self);
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "tallow-sample.log";
}

}  // namespace

void appendToLog(const std::string& line)
{
    HANDLE file = CreateFileA(logPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace sample_logging
