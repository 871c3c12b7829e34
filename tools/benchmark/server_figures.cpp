// Server-mode LoginToProject and getScriptByName against the fake project
// server living in this process: the calls each operation makes, read from
// the fake's journal, and the time it takes.
#include "fake_server.h"
#include "host.h"
#include "sections.h"
#include "timing.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace bench {
namespace {

// The calls of one login, in order, as the journal shows them without the
// objects' labels.
const std::vector<std::string> loginCalls{
    "Login(1, project.prj, admin, , 1)",
    "CurrentProject",
    "CurrentProject",
    "NewScript",
    "GetAttribute(VexBasicPath)",
    "GetAttribute(DATPath)",
    "CurrentUser",
    "UserName",
    "ProjectFile",
    "NewScript",
    "AssetKinds",
    "Item(Script)",
    "Path",
    "GetAttribute(Win32Path)",
    "GetAttribute(VPPath)",
    "GetAttribute(LLSPath)",
    "GetAttribute(DLLPath)",
    "LocationFile",
    "ProjectPath",
    "Item(Datapool)",
    "Path",
    "CurrentUser",
    "HasPermission(Script, 1)",
    "CurrentUser",
    "HasPermission(Log, 1)",
};

const std::vector<std::string> scriptCalls{
    "GetScript(Login)", "GetAttribute(Description)", "GetAttribute(Type)", "ScriptPath", "CompiledPath",
};

std::vector<std::string> withoutLabels(const std::vector<std::string>& journal)
{
    std::vector<std::string> calls;
    for (const std::string& entry : journal) calls.push_back(entry.substr(entry.find('.') + 1));
    return calls;
}

void checkCalls(Report& report, const std::string& operation, const std::vector<std::string>& journal,
                const std::vector<std::string>& expected)
{
    const std::vector<std::string> calls = withoutLabels(journal);
    report.check(operation + ": server calls", std::to_string(calls.size()) + (calls == expected ? "" : " (differ)"),
                 "the " + std::to_string(expected.size()) + " calls in order", calls == expected);
}

}  // namespace

void serverFigures(Report& report, const Settings& settings)
{
    report.section("Server mode (tallowhub) against the in-process fake server");
    fake::FakeServer server;
    server.scripts[L"Login"] = fake::Script{
        {{L"Description", fake::Value::text(L"Logs in")}, {L"Type", fake::Value::number(1)}},
        std::wstring(L"D:\\work\\Alpha\\Scripts\\Login.rec"),
        std::wstring(L"D:\\work\\Alpha\\Scripts\\Win32\\Login.vxc")};

    HubLibrary hub;
    if (hub.initialize() != 0) throw std::runtime_error("server-mode Initialize failed");
    HostLogin login("project.prj");
    HostScript script;

    server.journal.clear();
    if (login.call(hub.loginToProject) != 1) throw std::runtime_error("server-mode login failed");
    checkCalls(report, "LoginToProject", server.journal, loginCalls);
    server.journal.clear();
    if (script.call(hub.getScriptByName, "Login") != 0) throw std::runtime_error("server-mode look-up failed");
    checkCalls(report, "getScriptByName", server.journal, scriptCalls);

    const std::vector<double> t = timeInTurns(
        {
            {[&] { login.call(hub.loginToProject); },
             [&] {
                 login.freeStrings();
                 server.journal.clear();
             }},
            {[&] { script.call(hub.getScriptByName, "Login"); }, [&] { server.journal.clear(); }},
        },
        settings.calls * 2);
    report.figure("LoginToProject", duration(t[0]),
                  duration(t[0] / static_cast<double>(loginCalls.size())) + " per server call");
    report.figure("getScriptByName", duration(t[1]),
                  duration(t[1] / static_cast<double>(scriptCalls.size())) + " per server call");
}

}  // namespace bench
