// Long runs of what a host does all day: login, then a script look-up, with
// the host freeing what it owns. The process's private bytes and handles are
// taken after a warm-up and again after the run; neither may grow.
#include "fixtures.h"
#include "host.h"
#include "sections.h"
#include "steady_server.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace bench {
namespace {

// Entries of the system's handle table (information class 16).
struct HandleEntry {
    ULONG process;
    BYTE type;
    BYTE flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

// Handles this process holds. Where GetProcessHandleCount answers nothing
// (Wine answers 0), the system's handle table is counted instead.
long handleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return static_cast<long>(count);
    using Query = NTSTATUS(NTAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query =
        reinterpret_cast<Query>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation"));
    if (!query) return -1;
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004))
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long mine = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].process == GetCurrentProcessId()) ++mine;
    return mine;
}

struct ProcessUse {
    double privateBytes;
    long handles;
};

// Private bytes: PrivateUsage, or PagefileUsage where that is left 0 (Wine
// fills only the latter; Windows gives both the same commit charge).
ProcessUse processUse()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return ProcessUse{static_cast<double>(privateBytes), handleCount()};
}

std::string megabytes(double bytes)
{
    char text[32];
    snprintf(text, sizeof text, "%.2f MB", bytes / (1024 * 1024));
    return text;
}

// Runs `count` cycles; false, with a failed row, when one of them fails.
bool cyclesSucceed(Report& report, const std::string& mode, int count, const std::function<void()>& cycle)
{
    for (int i = 0; i < count; ++i) {
        try {
            cycle();
        } catch (const std::exception& failure) {
            report.check(mode + ": every cycle succeeds", "cycle " + std::to_string(i + 1) + ": " + failure.what(),
                         "all succeed", false);
            return false;
        }
    }
    return true;
}

void runCycles(Report& report, const std::string& mode, const Settings& settings, const std::function<void()>& cycle)
{
    if (!cyclesSucceed(report, mode, settings.leakWarmUp, cycle)) return;
    const ProcessUse before = processUse();
    if (!cyclesSucceed(report, mode, settings.leakCycles, cycle)) return;
    const ProcessUse after = processUse();

    const double growth = (after.privateBytes - before.privateBytes) / before.privateBytes * 100;
    char value[96];
    snprintf(value, sizeof value, "%s -> %s (%+.2f%%)", megabytes(before.privateBytes).c_str(),
             megabytes(after.privateBytes).c_str(), growth);
    const std::string cycles = std::to_string(settings.leakCycles) + " cycles";
    report.check(mode + ": private bytes over " + cycles, value, "growth < 1%", before.privateBytes > 0 && growth < 1);
    report.check(mode + ": handles over " + cycles,
                 std::to_string(before.handles) + " -> " + std::to_string(after.handles), "no growth",
                 before.handles >= 0 && after.handles <= before.handles);
}

}  // namespace

void leakCheck(Report& report, const Workspace& workspace, const Settings& settings)
{
    report.section("Memory and handles: login plus script look-up, " + std::to_string(settings.leakCycles) +
                   " cycles after " + std::to_string(settings.leakWarmUp) + " to warm up");
    {
        SoloLibrary solo;
        const StandaloneProject project = writeStandaloneProject(workspace);
        HostLogin login(project.projectFile.c_str());
        HostScript script;
        runCycles(report, "standalone", settings, [&] {
            if (login.call(solo.loginToProject) != 1) throw std::runtime_error("standalone login failed");
            login.freeStrings();
            script.setFolder(project.scriptsFolder.c_str());
            if (script.call(solo.getScriptByName, project.scriptName.c_str()) != 1)
                throw std::runtime_error("standalone look-up failed");
        });
    }
    {
        SteadyServer server;
        HubLibrary hub;
        if (hub.initialize() != 0) throw std::runtime_error("server-mode Initialize failed");
        HostLogin login("D:\\work\\Alpha.prj");
        HostScript script;
        runCycles(report, "server mode", settings, [&] {
            if (login.call(hub.loginToProject) != 1) throw std::runtime_error("server-mode login failed");
            login.freeStrings();
            if (script.call(hub.getScriptByName, "Login") != 0) throw std::runtime_error("server-mode look-up failed");
        });
    }
}

}  // namespace bench
