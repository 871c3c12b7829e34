// getScriptByName and createScript against the fake project server, after a
// login: the calls made, the ScriptInfo fields written and kept, the modes of
// createScript, failures and references.
#include "fake_server.h"
#include "host_side.h"
#include "hub_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

using fake::FakeServer;
using fake::Value;
using tallow::CountedBlock;
using tallow::CountedString;
using tallow::ScriptInfo;

namespace {

// A ScriptInfo record as the host keeps it; the host releases its blocks.
struct HostScript {
    ScriptInfo record{};

    HostScript(const char* name, const char* description, int type)
    {
        CountedString::fromAnsi(name).storeInto(record.name);
        CountedString::fromAnsi(description).storeInto(record.description);
        CountedString::fromAnsi("old script path").storeInto(record.scriptPath);
        CountedString::fromAnsi("old compiled path").storeInto(record.compiledPath);
        record.type = type;
    }
    HostScript(const HostScript&) = delete;
    HostScript& operator=(const HostScript&) = delete;
    ~HostScript()
    {
        for (CountedBlock* block : {record.name, record.description, record.compiledPath, record.scriptPath})
            tallow::releaseCountedReference(block);
    }
};

std::wstring textOf(const CountedBlock* block)
{
    return block && block->wide ? std::wstring(block->wide, SysStringLen(block->wide)) : std::wstring();
}

// The journal without the objects' labels.
std::vector<std::string> callsOf(const std::vector<std::string>& journal)
{
    std::vector<std::string> calls;
    for (const std::string& entry : journal) calls.push_back(entry.substr(entry.find('.') + 1));
    return calls;
}

fake::Script storedScript(const wchar_t* description, long type)
{
    fake::Script script;
    script.attributes = {{L"Description", Value::text(description)}, {L"Type", Value::number(type)}};
    script.scriptPath = std::wstring(L"D:\\work\\Alpha\\Scripts\\Login.rec");
    script.compiledPath = std::wstring(L"D:\\work\\Alpha\\Scripts\\Win32\\Login.vxc");
    return script;
}

class Scripts : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(hub.initialize(), 0);
        HostRequest request{"D:\\work\\Alpha.prj", "user", "secret"};
        ASSERT_EQ(hub.loginToProject(0, &request, &info), 1);
        server.scripts[L"Login"] = storedScript(L"Logs in", 2);
        server.journal.clear();
    }
    ~Scripts() override { freeRecordStrings(info); }

    FakeServer server;
    HubLibrary hub;
    void* info = nullptr;
};

}  // namespace

TEST_F(Scripts, GetScriptByNameFillsTheRecordFromTheServer)
{
    HostScript script("Ignored", "old", 9);
    ScriptInfo* variable = &script.record;
    CountedBlock* const name = script.record.name;
    const CountedString keptByHost = CountedString::share(script.record.description);

    EXPECT_EQ(hub.getScriptByName("Login", &variable), 0);
    EXPECT_EQ(variable, &script.record);
    EXPECT_EQ(server.journal, (std::vector<std::string>{
                                  "Project1.GetScript(Login)",
                                  "Script3.GetAttribute(Description)",
                                  "Script3.GetAttribute(Type)",
                                  "Script3.ScriptPath",
                                  "Script3.CompiledPath",
                              }));
    EXPECT_EQ(script.record.name, name);
    EXPECT_EQ(name->refs, 1u);
    EXPECT_EQ(textOf(script.record.description), L"Logs in");
    EXPECT_EQ(script.record.type, 2);
    EXPECT_EQ(textOf(script.record.scriptPath), L"D:\\work\\Alpha\\Scripts\\Login.rec");
    EXPECT_EQ(textOf(script.record.compiledPath), L"D:\\work\\Alpha\\Scripts\\Win32\\Login.vxc");
    for (CountedBlock* block : {script.record.description, script.record.scriptPath, script.record.compiledPath})
        EXPECT_EQ(block->refs, 1u);
    // The host's copy of the old description lost only the record's reference.
    EXPECT_EQ(keptByHost.block()->refs, 1u);
    EXPECT_STREQ(keptByHost.wide(), L"old");
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST_F(Scripts, GetScriptByNameConvertsDescriptionAndType)
{
    struct Case {
        const char* what;
        Value description;
        Value type;
        std::wstring expectedDescription;
        int expectedType;
    };
    const Case cases[] = {
        {"number description, text type", Value::number(42), Value::text(L"3"), L"42", 3},
        {"description cut at its NUL", Value::text(std::wstring(L"ab\0cd", 5)), Value::number(-1), L"ab", -1},
        {"null description", Value::nullText(), Value::number(0), L"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.scripts[L"Login"].attributes = {{L"Description", c.description}, {L"Type", c.type}};
        HostScript script("Login", "old", 9);
        ScriptInfo* variable = &script.record;
        EXPECT_EQ(hub.getScriptByName("Login", &variable), 0);
        ASSERT_NE(script.record.description, nullptr);
        EXPECT_EQ(textOf(script.record.description), c.expectedDescription);
        EXPECT_EQ(script.record.type, c.expectedType);
    }
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST_F(Scripts, GetScriptByNameFailureKeepsTheFieldsItHadNotReached)
{
    enum Field { description, type, scriptPath, compiledPath };
    struct Case {
        const char* what;
        const char* name;
        std::function<void(FakeServer&)> arrange;
        std::set<Field> written;
    };
    const std::vector<Case> cases{
        {"unknown script", "Unbekannt\xE9", [](FakeServer&) {}, {}},
        {"null name", nullptr, [](FakeServer&) {}, {}},
        {"GetScript answers null", "Login", [](FakeServer& s) { s.answerNull("GetScript(Login)", 1); }, {}},
        {"Description refused", "Login", [](FakeServer& s) { s.fail("GetAttribute(Description)", E_FAIL, true, 1); },
         {}},
        {"Description without text", "Login",
         [](FakeServer& s) { s.scripts[L"Login"].attributes[L"Description"] = Value::null(); }, {}},
        {"Type refused", "Login", [](FakeServer& s) { s.fail("GetAttribute(Type)", E_FAIL, false, 1); },
         {description}},
        {"Type not a number", "Login",
         [](FakeServer& s) { s.scripts[L"Login"].attributes[L"Type"] = Value::text(L"x"); }, {description}},
        {"ScriptPath refused", "Login", [](FakeServer& s) { s.fail("ScriptPath", E_FAIL, false, 1); },
         {description, type}},
        {"CompiledPath refused", "Login", [](FakeServer& s) { s.fail("CompiledPath", E_FAIL, false, 1); },
         {description, type, scriptPath}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.scripts[L"Login"] = storedScript(L"Logs in", 2);
        c.arrange(server);
        HostScript script("Login", "old", 9);
        const ScriptInfo before = script.record;
        ScriptInfo* variable = &script.record;

        EXPECT_EQ(hub.getScriptByName(c.name, &variable), 1);
        EXPECT_EQ(script.record.name, before.name);
        EXPECT_EQ(script.record.description != before.description, c.written.count(description) == 1);
        EXPECT_EQ(script.record.type != before.type, c.written.count(type) == 1);
        EXPECT_EQ(script.record.scriptPath != before.scriptPath, c.written.count(scriptPath) == 1);
        EXPECT_EQ(script.record.compiledPath != before.compiledPath, c.written.count(compiledPath) == 1);
        if (c.written.count(description)) {
            EXPECT_EQ(textOf(script.record.description), L"Logs in");
        }
        for (CountedBlock* block : {script.record.name, script.record.description, script.record.scriptPath,
                                    script.record.compiledPath})
            EXPECT_EQ(block->refs, 1u);
    }
    EXPECT_EQ(callsOf({server.journal[0]}), std::vector<std::string>{"GetScript(Unbekannt\xC3\xA9)"});
    EXPECT_EQ(callsOf({server.journal[1]}), std::vector<std::string>{"GetScript(<null>)"});
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST_F(Scripts, CreateScriptFollowsItsModeForPresentAndAbsentScripts)
{
    struct Case {
        int mode;
        bool present;
        int result;
        bool deletes;
    };
    const Case cases[] = {
        {0, true, 5, false},  {1, true, 0, true},   {2, true, 0, false},  {-1, true, 0, false},
        {0, false, 0, false}, {1, false, 0, false}, {2, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + (c.present ? " present" : " absent"));
        server.scripts.clear();
        if (c.present) server.scripts[L"Rec"] = storedScript(L"old", 1);
        server.journal.clear();
        HostScript script("Rec", "Records a login", 4);
        const ScriptInfo before = script.record;

        EXPECT_EQ(hub.createScript(c.mode, &script.record), c.result);

        std::vector<std::string> expected{"GetScript(Rec)"};
        if (c.result == 0) {
            if (c.deletes) expected.push_back("DeleteScript(Rec)");
            for (const char* call : {"NewScript", "SetAttribute(Description, BSTR:Records a login)",
                                     "SetAttribute(Type, I4:4)", "SetAttribute(Developed, I4:1)", "SaveAs(Rec)"})
                expected.push_back(call);
        }
        EXPECT_EQ(callsOf(server.journal), expected);
        ASSERT_EQ(server.scripts.count(L"Rec"), 1u);
        EXPECT_EQ(server.scripts[L"Rec"].attributes[L"Description"].describe(),
                  c.result == 0 ? "BSTR:Records a login" : "BSTR:old");
        if (c.result == 0) {
            EXPECT_EQ(server.scripts[L"Rec"].attributes[L"Developed"].describe(), "I4:1");
            EXPECT_EQ(server.scripts[L"Rec"].attributes[L"DATPath"].describe(), "BSTR:D:\\work\\Alpha\\Scripts\\dat");
        }
        // The record is read, never written; the name's extra reference is gone.
        EXPECT_EQ(std::memcmp(&script.record, &before, sizeof before), 0);
        EXPECT_EQ(script.record.name->refs, 1u);
        EXPECT_EQ(script.record.description->refs, 1u);
    }
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST_F(Scripts, CreateScriptSendsAnEmptyOrMissingDescriptionAsZeroLengthText)
{
    struct Case {
        const char* what;
        std::function<void(ScriptInfo&)> arrange;
    };
    const Case cases[] = {
        {"no block", [](ScriptInfo& r) { CountedString().storeInto(r.description); }},
        {"block without text", [](ScriptInfo& r) { CountedString::fromAnsi(nullptr).storeInto(r.description); }},
        {"empty text", [](ScriptInfo& r) { CountedString::fromAnsi("").storeInto(r.description); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostScript script("Rec", "x", 0);
        c.arrange(script.record);
        server.journal.clear();
        EXPECT_EQ(hub.createScript(2, &script.record), 0);
        EXPECT_EQ(callsOf(server.journal).at(2), "SetAttribute(Description, BSTR:)");
        const VARIANT& sent = server.scripts[L"Rec"].attributes[L"Description"].get();
        ASSERT_EQ(V_VT(&sent), VT_BSTR);
        EXPECT_NE(V_BSTR(&sent), nullptr);
        EXPECT_EQ(SysStringLen(V_BSTR(&sent)), 0u);
    }
}

TEST_F(Scripts, CreateScriptFailureAnswersOneAndSavesNothing)
{
    enum class Stored { old, none, created };
    struct Case {
        const char* what;
        bool present;
        int mode;
        const char* failing;
        bool nullAnswer;
        int result;
        Stored stored;
    };
    const Case cases[] = {
        {"DeleteScript refused", true, 1, "DeleteScript(Rec)", false, 1, Stored::old},
        {"NewScript refused", false, 0, "NewScript", false, 1, Stored::none},
        {"NewScript answers null", false, 0, "NewScript", true, 1, Stored::none},
        {"Description refused", false, 0, "SetAttribute(Description, BSTR:Records a login)", false, 1, Stored::none},
        {"Type refused", false, 0, "SetAttribute(Type, I4:4)", false, 1, Stored::none},
        {"Developed refused", false, 0, "SetAttribute(Developed, I4:1)", false, 1, Stored::none},
        {"SaveAs refused", false, 0, "SaveAs(Rec)", false, 1, Stored::none},
        {"SaveAs refused after deleting", true, 1, "SaveAs(Rec)", false, 1, Stored::none},
        {"GetScript refused counts as absent", true, 1, "GetScript(Rec)", false, 0, Stored::created},
        {"GetScript refused, mode 0", true, 0, "GetScript(Rec)", false, 0, Stored::created},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.scripts.clear();
        if (c.present) server.scripts[L"Rec"] = storedScript(L"old", 1);
        if (c.nullAnswer)
            server.answerNull(c.failing, 1);
        else
            server.fail(c.failing, E_FAIL, true, 1);
        server.journal.clear();
        HostScript script("Rec", "Records a login", 4);

        EXPECT_EQ(hub.createScript(c.mode, &script.record), c.result);
        const std::vector<std::string> calls = callsOf(server.journal);
        if (c.result == 1) {
            EXPECT_EQ(calls.back(), c.failing);
        }
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "DeleteScript(Rec)"),
                  c.present && c.mode == 1 && c.stored != Stored::created ? 1 : 0);
        const auto found = server.scripts.find(L"Rec");
        switch (c.stored) {
        case Stored::none: EXPECT_EQ(found, server.scripts.end()); break;
        case Stored::old:
            ASSERT_NE(found, server.scripts.end());
            EXPECT_EQ(found->second.attributes[L"Description"].describe(), "BSTR:old");
            break;
        case Stored::created:
            ASSERT_NE(found, server.scripts.end());
            EXPECT_EQ(found->second.attributes[L"Description"].describe(), "BSTR:Records a login");
            break;
        }
        EXPECT_EQ(script.record.name->refs, 1u);
    }
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST(ScriptsWithoutProject, AnswerOneAndTouchNothing)
{
    FakeServer server;
    server.scripts[L"Login"] = storedScript(L"Logs in", 2);
    HubLibrary hub;
    HostScript script("Login", "old", 9);
    const ScriptInfo before = script.record;
    ScriptInfo* variable = &script.record;
    const auto untouched = [&] { return std::memcmp(&script.record, &before, sizeof before) == 0; };

    // No server, then a server but no login, then a login that got no project.
    EXPECT_EQ(hub.getScriptByName("Login", &variable), 1);
    EXPECT_EQ(hub.createScript(1, &script.record), 1);
    ASSERT_EQ(hub.initialize(), 0);
    EXPECT_EQ(hub.getScriptByName("Login", &variable), 1);
    EXPECT_EQ(hub.createScript(1, &script.record), 1);
    HostRequest request{"D:\\work\\Alpha.prj", "user", "secret"};
    void* info = nullptr;
    server.fail("CurrentProject", E_FAIL);
    EXPECT_EQ(hub.loginToProject(0, &request, &info), 0);
    server.journal.clear();
    EXPECT_EQ(hub.getScriptByName("Login", &variable), 1);
    EXPECT_EQ(hub.createScript(0, &script.record), 1);
    EXPECT_TRUE(untouched());
    EXPECT_EQ(variable, &script.record);
    EXPECT_TRUE(server.journal.empty());
    freeRecordStrings(info);
}

TEST_F(Scripts, MissingRecordsAnswerOneAndCallNothing)
{
    ScriptInfo* none = nullptr;
    EXPECT_EQ(hub.getScriptByName("Login", nullptr), 1);
    EXPECT_EQ(hub.getScriptByName("Login", &none), 1);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(hub.createScript(0, nullptr), 1);
    EXPECT_TRUE(server.journal.empty());
    EXPECT_EQ(server.outstandingReferences(), 2);
}
