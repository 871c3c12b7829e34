// The standalone exports with each Windows call they make failed in turn: the
// registry read, the file read, the DOM's creation, every conversion and
// every allocation. Each call the library makes through its import table is
// counted in a clean run and then failed, one at a time. The export answers a
// code of its own, keeps in the host's record only values a clean run gives
// (fields written before the failure, nothing else), and holds on to no string,
// block or record it made: what it allocated and did not hand to the host it
// freed.
#include "host_records.h"
#include "import_patch.h"
#include "library.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

using namespace testing_support;
using tallow::CountedBlock;
using tallow::CountedString;
using tallow::ProjectInfo;
using tallow::ScriptInfo;

namespace {

// Calls of one imported function: counted, and the chosen one failed.
struct CallCounter {
    int calls = 0;
    int failAt = 0;  // 0: none fails
    bool failsNow() { return ++calls == failAt; }
};

// What the library allocated through the allocators it shares with the host
// and has not freed again, so that a test can tell what it still holds. (It
// also frees what others made, such as the DOM's texts; those are not counted.)
struct Allocations {
    std::set<void*> strings;  // BSTRs
    std::set<void*> blocks;   // task-allocator blocks
};
Allocations allocations;

// Every failing site, by name.
std::map<std::string, CallCounter> counters;

CallCounter& counter(const char* function)
{
    return counters[function];
}

LSTATUS WINAPI regOpenKeyExA(HKEY key, LPCSTR subkey, DWORD options, REGSAM access, PHKEY opened)
{
    if (counter("RegOpenKeyExA").failsNow()) return ERROR_ACCESS_DENIED;
    return RegOpenKeyExA(key, subkey, options, access, opened);
}

LSTATUS WINAPI regQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    if (counter("RegQueryValueExA").failsNow()) return ERROR_ACCESS_DENIED;
    return RegQueryValueExA(key, name, reserved, type, data, size);
}

DWORD WINAPI getFileAttributesA(LPCSTR path)
{
    if (counter("GetFileAttributesA").failsNow()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_FILE_ATTRIBUTES;
    }
    return GetFileAttributesA(path);
}

HANDLE WINAPI createFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD creation,
                          DWORD flags, HANDLE model)
{
    if (counter("CreateFileW").failsNow()) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, access, share, security, creation, flags, model);
}

BOOL WINAPI getFileSizeEx(HANDLE file, PLARGE_INTEGER size)
{
    if (counter("GetFileSizeEx").failsNow()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return GetFileSizeEx(file, size);
}

BOOL WINAPI readFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped)
{
    if (counter("ReadFile").failsNow()) {
        SetLastError(ERROR_IO_DEVICE);
        return FALSE;
    }
    return ReadFile(file, buffer, size, read, overlapped);
}

HGLOBAL WINAPI globalAlloc(UINT flags, SIZE_T size)
{
    if (counter("GlobalAlloc").failsNow()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return GlobalAlloc(flags, size);
}

HRESULT WINAPI createStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, LPSTREAM* stream)
{
    if (counter("CreateStreamOnHGlobal").failsNow()) {
        *stream = nullptr;
        return E_OUTOFMEMORY;
    }
    return CreateStreamOnHGlobal(memory, deleteOnRelease, stream);
}

HRESULT WINAPI coCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object)
{
    if (counter("CoCreateInstance").failsNow()) {
        *object = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    return CoCreateInstance(clsid, outer, context, iid, object);
}

HRESULT WINAPI oleRun(LPUNKNOWN object)
{
    if (counter("OleRun").failsNow()) return E_FAIL;
    return OleRun(object);
}

int WINAPI multiByteToWideChar(UINT page, DWORD flags, LPCCH text, int length, LPWSTR wide, int units)
{
    if (counter("MultiByteToWideChar").failsNow()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    return MultiByteToWideChar(page, flags, text, length, wide, units);
}

int WINAPI wideCharToMultiByte(UINT page, DWORD flags, LPCWCH wide, int units, LPSTR text, int length,
                               LPCCH fallback, LPBOOL fellBack)
{
    if (counter("WideCharToMultiByte").failsNow()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    return WideCharToMultiByte(page, flags, wide, units, text, length, fallback, fellBack);
}

BSTR WINAPI sysAllocStringLen(const OLECHAR* text, UINT length)
{
    if (counter("SysAllocStringLen").failsNow()) return nullptr;
    const BSTR made = SysAllocStringLen(text, length);
    if (made) allocations.strings.insert(made);
    return made;
}

void WINAPI sysFreeString(BSTR text)
{
    allocations.strings.erase(text);
    SysFreeString(text);
}

LPVOID WINAPI coTaskMemAlloc(SIZE_T size)
{
    if (counter("CoTaskMemAlloc").failsNow()) return nullptr;
    void* const made = CoTaskMemAlloc(size);
    if (made) allocations.blocks.insert(made);
    return made;
}

void WINAPI coTaskMemFree(LPVOID block)
{
    allocations.blocks.erase(block);
    CoTaskMemFree(block);
}

void* __cdecl failingMalloc(size_t size)
{
    if (counter("malloc").failsNow()) return nullptr;
    return malloc(size);
}

struct Site {
    const char* dll;
    const char* function;
    void* replacement;
};

const Site sites[] = {
    {"advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&regOpenKeyExA)},
    {"advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(&regQueryValueExA)},
    {"kernel32.dll", "GetFileAttributesA", reinterpret_cast<void*>(&getFileAttributesA)},
    {"kernel32.dll", "CreateFileW", reinterpret_cast<void*>(&createFileW)},
    {"kernel32.dll", "GetFileSizeEx", reinterpret_cast<void*>(&getFileSizeEx)},
    {"kernel32.dll", "ReadFile", reinterpret_cast<void*>(&readFile)},
    {"kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(&globalAlloc)},
    {"kernel32.dll", "MultiByteToWideChar", reinterpret_cast<void*>(&multiByteToWideChar)},
    {"kernel32.dll", "WideCharToMultiByte", reinterpret_cast<void*>(&wideCharToMultiByte)},
    {"ole32.dll", "CreateStreamOnHGlobal", reinterpret_cast<void*>(&createStreamOnHGlobal)},
    {"ole32.dll", "CoCreateInstance", reinterpret_cast<void*>(&coCreateInstance)},
    {"ole32.dll", "OleRun", reinterpret_cast<void*>(&oleRun)},
    {"ole32.dll", "CoTaskMemAlloc", reinterpret_cast<void*>(&coTaskMemAlloc)},
    {"ole32.dll", "CoTaskMemFree", reinterpret_cast<void*>(&coTaskMemFree)},
    {"oleaut32.dll", "SysAllocStringLen", reinterpret_cast<void*>(&sysAllocStringLen)},
    {"oleaut32.dll", "SysFreeString", reinterpret_cast<void*>(&sysFreeString)},
    {"msvcrt.dll", "malloc", reinterpret_cast<void*>(&failingMalloc)},
};

// The library with each site's import pointed at its replacement. A site the
// library does not import (a later build may read files otherwise) is left out.
class PatchedSolo {
public:
    PatchedSolo()
    {
        for (const Site& site : sites) {
            try {
                patches_.push_back(
                    std::make_unique<ImportPatch>(solo.module(), site.dll, site.function, site.replacement));
            } catch (const std::runtime_error&) {
                std::printf("tallowsolo.dll does not import %s\n", site.function);
            }
        }
    }
    // Starts a run in which the `failAt`-th call of `function` fails.
    void arm(const std::string& function, int failAt)
    {
        for (auto& [name, c] : counters) c = CallCounter{};
        allocations = Allocations{};
        if (!function.empty()) counters[function].failAt = failAt;
    }

    Library solo{"tallowsolo.dll"};

private:
    std::vector<std::unique_ptr<ImportPatch>> patches_;
};

// The calls of each function a clean run makes.
std::map<std::string, int> callsOfCleanRun()
{
    std::map<std::string, int> calls;
    for (const auto& [name, c] : counters)
        if (c.calls > 0) calls[name] = c.calls;
    return calls;
}

std::wstring textOf(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring(L"<null>");
}

std::wstring textOf(const CountedBlock* block)
{
    return block && block->wide ? std::wstring(block->wide, SysStringLen(block->wide)) : std::wstring(L"<empty>");
}

}  // namespace

TEST(SoloFaultSweep, LoginToProjectAtEveryCall)
{
    PatchedSolo patched;
    const auto login = patched.solo.function<int(__cdecl*)(int, void*, ProjectInfo**)>("LoginToProject");
    ScratchFolder folder;
    const std::string path = folder / "Demo.project";
    writeFile(path, "<Project><Name>Demo</Name><Comment>c</Comment><Location>C:\\Work\\Demo</Location>"
                    "<TestAssetPath>C:\\Work\\Demo\\TestAssets</TestAssetPath></Project>");
    unsigned char request[32] = {};
    const char* projectFile = path.c_str();
    memcpy(request + 12, &projectFile, 4);

    ProjectInfo* info = nullptr;
    const auto releaseRecord = [&] {
        if (!info) return;
        BSTR* fields = reinterpret_cast<BSTR*>(info);
        for (int i = 0; i < 19; ++i) SysFreeString(fields[i]);
        CoTaskMemFree(info);
        info = nullptr;
    };
    const auto texts = [&] {
        std::vector<std::wstring> all;
        for (int i = 0; i < 19; ++i) all.push_back(textOf(reinterpret_cast<BSTR*>(info)[i]));
        return all;
    };

    patched.arm("", 0);
    ASSERT_EQ(login(0, request, &info), 1);  // the DOM service is loaded from here on
    releaseRecord();
    patched.arm("", 0);
    ASSERT_EQ(login(0, request, &info), 1);
    const std::vector<std::wstring> clean = texts();
    const std::map<std::string, int> cleanCalls = callsOfCleanRun();
    releaseRecord();

    int faults = 0;
    for (const auto& [function, calls] : cleanCalls) {
        for (int n = 1; n <= calls; ++n) {
            SCOPED_TRACE(function + " call " + std::to_string(n) + " of " + std::to_string(calls));
            patched.arm(function, n);
            const int result = login(0, request, &info);
            ++faults;
            EXPECT_TRUE(result == 0 || result == 1 || result == 105 || result == 118) << result;
            if (!info) {
                // A project file that cannot be found leads to the selection
                // dialog, which is not there (0); a record that cannot be had
                // leaves none (105).
                EXPECT_TRUE((result == 0 && function == "GetFileAttributesA") ||
                            (result == 105 && function == "CoTaskMemAlloc"))
                    << result;
            } else {
                const std::vector<std::wstring> now = texts();
                std::set<void*> handedOver;
                for (size_t i = 0; i < now.size(); ++i) {
                    if (now[i] == L"<null>") continue;
                    handedOver.insert(reinterpret_cast<BSTR*>(info)[i]);
                    EXPECT_EQ(now[i], clean[i]) << "field " << i;
                }
                if (result == 1) {
                    EXPECT_EQ(now, clean);
                }
                EXPECT_EQ(info->flags, result == 1 ? 0x11 : 0);
                EXPECT_EQ(allocations.strings, handedOver) << "the library keeps no string";
            }
            EXPECT_EQ(allocations.blocks, info ? std::set<void*>{info} : std::set<void*>{}) << "nor any block";
            releaseRecord();
        }
    }
    std::printf("faults injected into standalone LoginToProject: %d\n", faults);
}

TEST(SoloFaultSweep, GetScriptByNameAtEveryCall)
{
    PatchedSolo patched;
    const auto lookup = patched.solo.function<int(__cdecl*)(const char*, ScriptInfo**)>("getScriptByName");
    ScratchFolder folder;
    writeFile(folder / "Login.rec", "");

    // A record as the host keeps it, with a copy of every block of its own.
    struct HostScript {
        ScriptInfo record{};
        std::vector<CountedString> copies;
        explicit HostScript(const std::string& scriptFolder)
        {
            CountedString::fromAnsi("name").storeInto(record.name);
            CountedString::fromAnsi("old").storeInto(record.description);
            CountedString::fromAnsi("old compiled").storeInto(record.compiledPath);
            CountedString::fromAnsi(scriptFolder.c_str()).storeInto(record.scriptPath);
            record.type = 9;
            for (CountedBlock* block : {record.name, record.description, record.compiledPath, record.scriptPath})
                copies.push_back(CountedString::share(block));
        }
        ~HostScript()
        {
            for (CountedBlock* block : {record.name, record.description, record.compiledPath, record.scriptPath})
                tallow::releaseCountedReference(block);
        }
    };
    const auto run = [&](HostScript& script) {
        ScriptInfo* variable = &script.record;
        return lookup("Login", &variable);
    };

    patched.arm("", 0);
    HostScript cleanScript(folder.path());
    ASSERT_EQ(run(cleanScript), 1);
    const std::map<std::string, int> cleanCalls = callsOfCleanRun();
    using Field = CountedBlock* ScriptInfo::*;
    const Field replaced[] = {&ScriptInfo::description, &ScriptInfo::scriptPath, &ScriptInfo::compiledPath};

    int faults = 0;
    for (const auto& [function, calls] : cleanCalls) {
        for (int n = 1; n <= calls; ++n) {
            SCOPED_TRACE(function + " call " + std::to_string(n) + " of " + std::to_string(calls));
            HostScript script(folder.path());
            const ScriptInfo before = script.record;
            patched.arm(function, n);
            const int result = run(script);
            ++faults;
            EXPECT_TRUE(result == 0 || result == 1) << result;
            EXPECT_EQ(script.record.name, before.name);
            std::set<void*> strings, blocks;
            for (Field field : replaced) {
                CountedBlock* const block = script.record.*field;
                if (block == before.*field) continue;
                EXPECT_EQ(textOf(block), textOf(cleanScript.record.*field));
                EXPECT_EQ(block->refs, 1u);
                blocks.insert(block);
                if (block->wide) strings.insert(block->wide);
                if (block->narrow) blocks.insert(block->narrow);
            }
            EXPECT_TRUE(script.record.type == 1 || script.record.type == 9);
            // Fields are written in the order description, type, script path,
            // compiled path: a later one never without the ones before.
            const bool description = script.record.description != before.description;
            const bool type = script.record.type == 1;
            const bool scriptPath = script.record.scriptPath != before.scriptPath;
            const bool compiledPath = script.record.compiledPath != before.compiledPath;
            EXPECT_TRUE((!type || description) && (!scriptPath || type) && (!compiledPath || scriptPath));
            if (result == 1) {
                EXPECT_TRUE(compiledPath);
            }
            EXPECT_EQ(allocations.strings, strings) << "the library keeps no string but the record's";
            EXPECT_EQ(allocations.blocks, blocks) << "nor any block";
            // A replaced block lost the record's reference and kept the host's.
            for (const CountedString& copy : script.copies) {
                const bool kept = copy.block() == script.record.name || copy.block() == script.record.description ||
                                  copy.block() == script.record.compiledPath ||
                                  copy.block() == script.record.scriptPath;
                EXPECT_EQ(copy.block()->refs, kept ? 2u : 1u);
            }
        }
    }
    std::printf("faults injected into standalone getScriptByName: %d\n", faults);
}
