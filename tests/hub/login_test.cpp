// LoginToProject against the fake project server: the order of the server
// calls, the record read by offset, texts, paths, flags, failures and
// references.
#include "fake_server.h"
#include "host_side.h"
#include "hub_library.h"
#include "import_patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using fake::FakeServer;
using fake::Value;

namespace {

using Fields = std::map<size_t, std::wstring>;

// What the fake's default answers give.
const Fields fullRecord{
    {name, L"Alpha"},
    {location, L"D:\\work\\"},
    {scriptsPath, L"D:\\work\\Alpha\\Scripts"},
    {dataPoolsPath, L"D:\\work\\Alpha\\DataPools"},
    {datPath, L"D:\\work\\Alpha\\Scripts\\dat"},
    {dllPath, L"D:\\work\\Alpha\\Scripts\\dll"},
    {llsPath, L"D:\\work\\Alpha\\Scripts\\lls"},
    {basicPath, L"D:\\work\\Alpha\\Scripts\\VexBas32"},
    {vpPath, L"D:\\work\\Alpha\\Scripts\\vp"},
    {win32Path, L"D:\\work\\Alpha\\Scripts\\Win32"},
    {userName, L"tester"},
    {projectPath, L"D:\\work\\Alpha"},
};

Fields only(std::initializer_list<size_t> offsets)
{
    Fields fields;
    for (size_t offset : offsets) fields[offset] = fullRecord.at(offset);
    return fields;
}

// Every listed field holds its text; every other text field is null.
void expectRecord(const void* record, const Fields& filled, std::int32_t flags)
{
    ASSERT_NE(record, nullptr);
    for (size_t offset : projectInfoTextOffsets) {
        SCOPED_TRACE("offset " + std::to_string(offset));
        const BSTR field = fieldAt(record, offset);
        const auto expected = filled.find(offset);
        if (expected == filled.end()) {
            EXPECT_EQ(field, nullptr);
        } else {
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(textOf(field), expected->second);
        }
    }
    EXPECT_EQ(flagsOf(record), flags);
}

const std::vector<std::string> fullJournal{
    "Server.Login(1, D:\\work\\Alpha.prj, user, s\xC3\xA9" "cret, 1)",
    "Server.CurrentProject",
    "Server.CurrentProject",
    "Project1.NewScript",
    "Script1.GetAttribute(VexBasicPath)",
    "Script1.GetAttribute(DATPath)",
    "Project1.CurrentUser",
    "User1.UserName",
    "Project1.ProjectFile",
    "Project1.NewScript",
    "Project1.AssetKinds",
    "Kinds1.Item(Script)",
    "Kind1.Path",
    "Script2.GetAttribute(Win32Path)",
    "Script2.GetAttribute(VPPath)",
    "Script2.GetAttribute(LLSPath)",
    "Script2.GetAttribute(DLLPath)",
    "Project1.LocationFile",
    "Project1.ProjectPath",
    "Kinds1.Item(Datapool)",
    "Kind2.Path",
    "Project1.CurrentUser",
    "User2.HasPermission(Script, 1)",
    "Project1.CurrentUser",
    "User3.HasPermission(Log, 1)",
};

class Login : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(hub.initialize(), 0); }
    ~Login() override { freeRecordStrings(info); }

    // Logs in with `info`, after releasing the strings of the record it holds.
    int login()
    {
        freeRecordStrings(info);
        return hub.loginToProject(0, &request, &info);
    }

    FakeServer server;
    HubLibrary hub;
    HostRequest request{"D:\\work\\Alpha.prj", "user", "s\xE9" "cret"};  // é in the ANSI code page
    void* info = nullptr;
};

}  // namespace

TEST_F(Login, CallsTheServerInOrderAndFillsTheRecord)
{
    EXPECT_EQ(login(), 1);
    EXPECT_EQ(server.journal, fullJournal);
    expectRecord(info, fullRecord, 0x11);
    // The library holds the server object and the current project, nothing else.
    EXPECT_EQ(server.referencesTo("Project1"), 1);
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST_F(Login, NullAnswersLeaveTheirFieldsNullAndNullPathsGiveEmptyParts)
{
    server.projectFile.reset();
    server.locationFile.reset();
    server.projectPath.reset();
    server.userName.reset();
    server.assetKindPaths[L"Script"].reset();
    server.newScript.attributes[L"DLLPath"] = Value::nullText();
    request = HostRequest(nullptr, nullptr, nullptr);

    EXPECT_EQ(login(), 1);
    EXPECT_EQ(server.journal.front(), "Server.Login(1, <null>, <null>, <null>, 1)");
    Fields expected = fullRecord;
    expected[name] = L"";
    expected[location] = L"";
    for (size_t offset : {projectPath, userName, scriptsPath, dllPath}) expected.erase(offset);
    expectRecord(info, expected, 0x11);
}

TEST_F(Login, SplitsTheProjectFileAndLocationFile)
{
    const std::wstring longPart(300, L'x');
    struct Case {
        std::wstring projectFile;
        std::wstring expectedName;
        std::wstring locationFile;
        std::wstring expectedLocation;
    };
    const Case cases[] = {
        {L"D:\\work\\Alpha.old.prj", L"Alpha.old", L"D:\\proj\\data.db", L"D:\\proj\\"},
        {L"Alpha", L"Alpha", L"proj/data.db", L"proj/"},
        {L"\\\\host\\share\\Beta.prj", L"Beta", L"data.db", L""},
        {L"D:Gamma.prj", L"Gamma", L"D:data.db", L"D:"},
        {L"D:\\a.b\\Delta", L"Delta", L"D:\\a\\b/c.d\\e", L"D:\\a\\b/c.d\\"},
        {L"D:\\work\\.prj", L"", L"D:\\", L"D:\\"},
        {L"D:\\" + longPart + L".prj", longPart.substr(0, 255), L"D:\\" + longPart + L"\\f",
         L"D:" + (L"\\" + longPart + L"\\").substr(0, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fake::narrow(c.projectFile.c_str(), c.projectFile.size()));
        server.projectFile = c.projectFile;
        server.locationFile = c.locationFile;
        ASSERT_EQ(login(), 1);
        EXPECT_EQ(textOf(fieldAt(info, name)), c.expectedName);
        EXPECT_EQ(textOf(fieldAt(info, location)), c.expectedLocation);
    }
}

TEST_F(Login, TurnsAttributeValuesIntoText)
{
    server.newScript.attributes[L"DATPath"] = Value::number(5);
    server.newScript.attributes[L"VexBasicPath"] = Value::text(std::wstring(L"D:\\bas\0tail", 11));
    server.newScript.attributes[L"Win32Path"] = Value::text(L"");
    EXPECT_EQ(login(), 1);
    Fields expected = fullRecord;
    expected[datPath] = L"5";
    expected[basicPath] = L"D:\\bas";
    expected[win32Path] = L"";
    expectRecord(info, expected, 0x11);

    // VT_NULL has no text: the login stops there.
    server.newScript.attributes[L"DATPath"] = Value::null();
    EXPECT_EQ(login(), 0);
    expectRecord(info, {{basicPath, L"D:\\bas"}}, 0);
}

TEST_F(Login, FlagsFollowThePermissionAnswers)
{
    struct Case {
        long script;
        long log;
        std::int32_t flags;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{0, 1, 0x10}, Case{1, 0, 0x01}, Case{1, 1, 0x11}, Case{-7, 2, 0x11}}) {
        SCOPED_TRACE(std::to_string(c.script) + "/" + std::to_string(c.log));
        server.permissions = {{L"Script", c.script}, {L"Log", c.log}};
        ASSERT_EQ(login(), 1);
        EXPECT_EQ(flagsOf(info), c.flags);
    }
}

TEST_F(Login, AFailingCallEndsTheLoginKeepingTheFieldsFilledBeforeIt)
{
    struct Case {
        const char* call;
        int occurrence;
        bool nullAnswer;
        Fields filled;
        std::int32_t flags;
        const char* lastCall = nullptr;  // the last call made, when not `call` itself
    };
    const Fields upToName = only({basicPath, datPath, userName, name});
    const Fields upToDll = only({basicPath, datPath, userName, name, scriptsPath, win32Path, vpPath, llsPath, dllPath});
    const Fields upToProjectPath = only({basicPath, datPath, userName, name, scriptsPath, win32Path, vpPath, llsPath,
                                         dllPath, location, projectPath});
    const std::vector<Case> cases{
        {"Login(1, D:\\work\\Alpha.prj, user, s\xC3\xA9" "cret, 1)", 1, false, {}, 0},
        {"CurrentProject", 1, false, {}, 0},
        {"CurrentProject", 2, false, {}, 0},
        {"CurrentProject", 2, true, {}, 0},
        {"NewScript", 1, false, {}, 0},
        {"NewScript", 1, true, {}, 0},
        {"GetAttribute(VexBasicPath)", 1, false, {}, 0},
        {"GetAttribute(DATPath)", 1, false, only({basicPath}), 0},
        {"CurrentUser", 1, false, only({basicPath, datPath}), 0},
        {"CurrentUser", 1, true, only({basicPath, datPath}), 0},
        {"UserName", 1, false, only({basicPath, datPath}), 0},
        {"ProjectFile", 1, false, only({basicPath, datPath}), 0},
        {"NewScript", 2, false, upToName, 0},
        // Script B is first used after the asset kind "Script" has been read.
        {"NewScript", 2, true, only({basicPath, datPath, userName, name, scriptsPath}), 0, "Path"},
        {"AssetKinds", 1, false, upToName, 0},
        {"AssetKinds", 1, true, upToName, 0},
        {"Item(Script)", 1, false, upToName, 0},
        {"Item(Script)", 1, true, upToName, 0},
        {"Path", 1, false, upToName, 0},
        {"GetAttribute(Win32Path)", 1, false, only({basicPath, datPath, userName, name, scriptsPath}), 0},
        {"GetAttribute(VPPath)", 1, false, only({basicPath, datPath, userName, name, scriptsPath, win32Path}), 0},
        {"GetAttribute(LLSPath)", 1, false, only({basicPath, datPath, userName, name, scriptsPath, win32Path, vpPath}),
         0},
        {"GetAttribute(DLLPath)", 1, false,
         only({basicPath, datPath, userName, name, scriptsPath, win32Path, vpPath, llsPath}), 0},
        {"LocationFile", 1, false, upToDll, 0},
        {"ProjectPath", 1, false, only({basicPath, datPath, userName, name, scriptsPath, win32Path, vpPath, llsPath,
                                        dllPath, location}), 0},
        {"Item(Datapool)", 1, false, upToProjectPath, 0},
        {"Path", 2, false, upToProjectPath, 0},
        {"CurrentUser", 2, false, fullRecord, 0},
        {"HasPermission(Script, 1)", 1, false, fullRecord, 0},
        {"CurrentUser", 3, false, fullRecord, 0x01},
        {"CurrentUser", 3, true, fullRecord, 0x01},
        {"HasPermission(Log, 1)", 1, false, fullRecord, 0x01},
    };
    ASSERT_EQ(login(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.occurrence) + (c.nullAnswer ? " null" : ""));
        if (c.nullAnswer)
            server.answerNull(c.call, c.occurrence);
        else
            server.fail(c.call, E_FAIL, false, c.occurrence);
        server.journal.clear();
        EXPECT_EQ(login(), 0);
        expectRecord(info, c.filled, c.flags);
        // The library holds the server and one project; what the failed login took is released.
        EXPECT_EQ(server.outstandingReferences(), 2);
        // Nothing is called after the failing call (or the one that answered null).
        const std::string last = server.journal.back();
        EXPECT_EQ(last.substr(last.find('.') + 1), c.lastCall ? c.lastCall : c.call);
    }
}

TEST_F(Login, TakesTheServersErrorObjectOnlyWhereItOffersOne)
{
    // A pending error object shows whether the library took it with GetErrorInfo.
    const auto pendingErrorObject = [] {
        IErrorInfo* info = nullptr;
        const bool pending = GetErrorInfo(0, &info) == S_OK;
        if (info) info->Release();
        return pending;
    };
    const char* calls[] = {"Login(1, D:\\work\\Alpha.prj, user, s\xC3\xA9" "cret, 1)", "NewScript",
                           "GetAttribute(VexBasicPath)", "UserName", "Path", "HasPermission(Log, 1)"};
    for (const char* call : calls) {
        for (bool rich : {true, false}) {
            SCOPED_TRACE(std::string(call) + (rich ? " rich" : " plain"));
            pendingErrorObject();
            server.fail(call, DISP_E_EXCEPTION, rich, 1);
            EXPECT_EQ(login(), 0);
            EXPECT_EQ(pendingErrorObject(), !rich);
        }
    }
}

TEST_F(Login, AcceptsAnySuccessCodeFromLogin)
{
    server.fail(fullJournal[0].substr(7), S_FALSE);
    EXPECT_EQ(login(), 1);
    expectRecord(info, fullRecord, 0x11);
}

TEST_F(Login, ReplacesTheCurrentProjectOnlyOnceLoginAndCurrentProjectSucceed)
{
    ASSERT_EQ(login(), 1);
    ASSERT_EQ(server.referencesTo("Project1"), 1);

    server.fail(fullJournal[0].substr(7), E_ACCESSDENIED, false, 1);
    EXPECT_EQ(login(), 0);
    expectRecord(info, {}, 0);
    server.fail("CurrentProject", E_FAIL, false, 1);
    EXPECT_EQ(login(), 0);
    EXPECT_EQ(server.referencesTo("Project1"), 1);
    EXPECT_EQ(server.referencesTo("Project2"), 0);  // made by the second Login, never taken

    server.fail("NewScript", E_FAIL, false, 1);
    EXPECT_EQ(login(), 0);
    EXPECT_EQ(server.referencesTo("Project1"), 0);
    EXPECT_EQ(server.referencesTo("Project3"), 1);
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST_F(Login, ASecondLoginFreesTheFirstBlockButNoneOfItsStrings)
{
    static std::vector<void*> freedBlocks;
    static std::vector<BSTR> freedStrings;
    static decltype(&CoTaskMemFree) realCoTaskMemFree;
    static decltype(&SysFreeString) realSysFreeString;
    struct Spy {
        static void WINAPI coTaskMemFree(void* block)
        {
            freedBlocks.push_back(block);
            realCoTaskMemFree(block);
        }
        static void WINAPI sysFreeString(BSTR text)
        {
            freedStrings.push_back(text);
            realSysFreeString(text);
        }
    };
    testing_support::ImportPatch blocks(hub.library.module(), "ole32.dll", "CoTaskMemFree",
                                        reinterpret_cast<void*>(&Spy::coTaskMemFree));
    testing_support::ImportPatch strings(hub.library.module(), "oleaut32.dll", "SysFreeString",
                                         reinterpret_cast<void*>(&Spy::sysFreeString));
    realCoTaskMemFree = reinterpret_cast<decltype(&CoTaskMemFree)>(blocks.original());
    realSysFreeString = reinterpret_cast<decltype(&SysFreeString)>(strings.original());

    ASSERT_EQ(hub.loginToProject(0, &request, &info), 1);
    void* const first = info;
    std::vector<BSTR> firstStrings;
    for (size_t offset : projectInfoTextOffsets) firstStrings.push_back(fieldAt(first, offset));
    freedBlocks.clear();
    freedStrings.clear();

    // The host keeps the strings this time and logs in again with the same variable.
    server.projectFile = std::wstring(L"E:\\Beta.prj");
    ASSERT_EQ(hub.loginToProject(0, &request, &info), 1);
    EXPECT_EQ(std::count(freedBlocks.begin(), freedBlocks.end(), first), 1);
    for (BSTR text : firstStrings) {
        if (!text) continue;
        EXPECT_EQ(std::count(freedStrings.begin(), freedStrings.end(), text), 0);
    }
    Fields expected = fullRecord;
    expected[name] = L"Beta";
    expectRecord(info, expected, 0x11);
    EXPECT_EQ(textOf(firstStrings[name / 4]), L"Alpha");
    EXPECT_EQ(textOf(firstStrings[userName / 4]), L"tester");
    for (BSTR text : firstStrings) SysFreeString(text);
}

TEST_F(Login, IgnoresTheHostsOwnWordsAndTheReservedArgument)
{
    HostRequest garbage = request;
    for (size_t offset : {0u, 4u, 8u, 16u, 24u}) garbage.put(offset, reinterpret_cast<void*>(0xDEADBEEF));
    const HostRequest before = garbage;
    EXPECT_EQ(hub.loginToProject(0x7FFF1234, &garbage, &info), 1);
    EXPECT_EQ(server.journal, fullJournal);
    expectRecord(info, fullRecord, 0x11);
    EXPECT_EQ(std::memcmp(garbage.words, before.words, sizeof garbage.words), 0);
}

TEST_F(Login, BadArgumentsTouchNothing)
{
    ASSERT_EQ(login(), 1);
    void* const earlier = info;
    server.journal.clear();

    EXPECT_EQ(hub.loginToProject(0, nullptr, &info), 0);
    EXPECT_EQ(hub.loginToProject(0, &request, nullptr), 0);
    EXPECT_EQ(info, earlier);
    expectRecord(info, fullRecord, 0x11);
    EXPECT_TRUE(server.journal.empty());
    EXPECT_EQ(server.outstandingReferences(), 2);
}

TEST(LoginWithoutServer, AnswersZeroAndTouchesNothing)
{
    FakeServer server;
    HubLibrary hub;
    HostRequest request{"D:\\work\\Alpha.prj", "user", "secret"};
    auto* const earlier = reinterpret_cast<void*>(0x5A5A5A5A);
    void* info = earlier;
    EXPECT_EQ(hub.loginToProject(0, &request, &info), 0);
    EXPECT_EQ(info, earlier);
    EXPECT_TRUE(server.journal.empty());
}
