#include "tool_run.h"

#include "pe_tables.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

namespace tools_testing {
namespace {

constexpr char installKey[] = "SOFTWARE\\Halvern Software\\Halvern Test\\8";
constexpr char installValue[] = "Install Directory";

// One argument as CommandLineToArgv reads it back: in quotes, with
// backslashes doubled where they come before a quote.
std::string quoted(const std::string& argument)
{
    std::string result = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        result.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, '\\');
    return result + "\"";
}

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    void close()
    {
        if (handle_) CloseHandle(handle_);
        handle_ = nullptr;
    }
    HANDLE get() const { return handle_; }
    HANDLE* put() { close(); return &handle_; }

private:
    HANDLE handle_ = nullptr;
};

}  // namespace

ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string commandLine = quoted(testing_support::besideProgram(program));
    for (const std::string& argument : arguments) commandLine += " " + quoted(argument);

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0)) throw std::runtime_error("no pipe");
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start " + commandLine);
    Handle processHandle(process.hProcess), threadHandle(process.hThread);
    writeEnd.close();  // the pipe ends when the tool's copy closes

    ToolRun run{0, std::string()};
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) run.output.append(chunk, got);
    for (size_t at = run.output.find("\r\n"); at != std::string::npos; at = run.output.find("\r\n", at))
        run.output.erase(at, 1);
    WaitForSingleObject(processHandle.get(), INFINITE);
    GetExitCodeProcess(processHandle.get(), &run.exitCode);

    std::printf("> %s\n%s[exit %lu]\n", commandLine.c_str(), run.output.c_str(), run.exitCode);
    return run;
}

InstallDirectoryGuard::InstallDirectoryGuard()
{
    char value[MAX_PATH] = {};
    DWORD size = sizeof value - 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    hadValue_ = RegQueryValueExA(key, installValue, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                ERROR_SUCCESS;
    RegCloseKey(key);
    previous_ = value;
}

InstallDirectoryGuard::~InstallDirectoryGuard()
{
    if (hadValue_)
        set(previous_);
    else
        clear();
}

void InstallDirectoryGuard::set(const std::string& directory)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot make the install-directory key");
    RegSetValueExA(key, installValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(directory.c_str()),
                   static_cast<DWORD>(directory.size() + 1));
    RegCloseKey(key);
}

void InstallDirectoryGuard::clear()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, installValue);
    RegCloseKey(key);
}

}  // namespace tools_testing
