// launchViewer after a login to the fake project server: one new
// CVexPlenwickComponent of the tallowcore stand-in per call, OpenLog with the
// project's LocationFile in ANSI text, and its result handed back.
#include "core_double.h"
#include "fake_server.h"
#include "hub_library.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using fake::FakeServer;

namespace {

using LaunchViewer = int(__cdecl*)();

std::string ansi(const std::wstring& text)
{
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &result[0], bytes, nullptr, nullptr);
    result.resize(static_cast<size_t>(bytes - 1));
    return result;
}

// Whether `address` lies on the calling thread's stack.
bool onThisStack(const void* address)
{
    const NT_TIB* block;
    asm("movl %%fs:0x18, %0" : "=r"(block));
    return address < block->StackBase && address >= block->StackLimit;
}

class LogViewer : public testing::Test {
protected:
    LogViewer() { coreDoubleReset(); }
    ~LogViewer() override
    {
        if (!info) return;
        for (BSTR* field = &info->name; field <= &info->projectPath; ++field) SysFreeString(*field);
    }

    void logIn()
    {
        ASSERT_EQ(hub.initialize(), 0);
        char projectFile[] = "Alpha";
        tallow::LoginRequest request{};
        request.projectFile = projectFile;
        ASSERT_EQ(hub.loginToProject(0, &request, reinterpret_cast<void**>(&info)), 1);
        coreDoubleReset();
    }

    // Expects one instance made since the last reset and OpenLog called on it
    // with `location` (none: a null pointer) and three null pointers.
    void expectOneOpenLog(const char* location)
    {
        ASSERT_EQ(coreDoubleInstanceCount(), 1u);
        ASSERT_EQ(coreDoubleOpenLogCount(), 1u);
        const core_double::OpenLogCall& call = *coreDoubleOpenLogCall(0);
        EXPECT_EQ(call.self, coreDoubleInstance(0));
        EXPECT_TRUE(call.constructed);
        EXPECT_TRUE(onThisStack(call.self));
        EXPECT_EQ(call.locationNull, location == nullptr);
        if (location) {
            EXPECT_STREQ(call.location, location);
        }
        for (const void* other : call.otherArguments) EXPECT_EQ(other, nullptr);
    }

    FakeServer server;
    HubLibrary hub;
    LaunchViewer launchViewer = hub.library.function<LaunchViewer>("launchViewer");
    tallow::ProjectInfo* info = nullptr;
};

TEST_F(LogViewer, OpensTheLogOfTheLocationFileAndAnswersWhatOpenLogAnswers)
{
    server.locationFile = std::wstring(L"D:\\Projekte\\\u00dcbersicht\\Alpha.loc");
    logIn();
    const std::string expected = ansi(*server.locationFile);
    for (int answer : {0, 1, -5, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(answer);
        coreDoubleReset();
        coreDoubleAnswer(answer);
        EXPECT_EQ(launchViewer(), answer);
        expectOneOpenLog(expected.c_str());
    }
}

TEST_F(LogViewer, ANullLocationFileBecomesANullPointerAndAnEmptyOneStaysEmpty)
{
    logIn();
    const struct {
        fake::Text locationFile;
        const char* expected;
    } cases[] = {{std::nullopt, nullptr}, {std::wstring(), ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected ? "empty" : "null");
        coreDoubleReset();
        coreDoubleAnswer(7);
        server.locationFile = c.locationFile;
        EXPECT_EQ(launchViewer(), 7);
        expectOneOpenLog(c.expected);
    }
}

TEST_F(LogViewer, EachCallMakesItsOwnComponent)
{
    logIn();
    coreDoubleAnswer(1);
    EXPECT_EQ(launchViewer(), 1);
    EXPECT_EQ(launchViewer(), 1);
    ASSERT_EQ(coreDoubleInstanceCount(), 2u);
    ASSERT_EQ(coreDoubleOpenLogCount(), 2u);
    EXPECT_EQ(coreDoubleOpenLogCall(0)->self, coreDoubleInstance(0));
    EXPECT_EQ(coreDoubleOpenLogCall(1)->self, coreDoubleInstance(1));
}

TEST_F(LogViewer, FailuresAnswerMinus1AndTheNextCallWorks)
{
    logIn();
    struct Case {
        const char* what;
        bool locationFails;
        core_double::Failure failure;
        std::uint32_t openLogCalls;
    };
    const Case cases[] = {
        {"LocationFile fails", true, core_double::Failure::none, 0},
        {"constructor throws", false, core_double::Failure::constructor, 0},
        {"OpenLog throws", false, core_double::Failure::openLog, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        coreDoubleReset();
        coreDoubleAnswer(1);
        coreDoubleFail(c.failure);
        if (c.locationFails) server.fail("LocationFile", E_FAIL, true, 1);
        EXPECT_EQ(launchViewer(), -1);
        EXPECT_EQ(coreDoubleInstanceCount(), 1u);
        EXPECT_EQ(coreDoubleOpenLogCount(), c.openLogCalls);

        coreDoubleReset();
        coreDoubleAnswer(1);
        EXPECT_EQ(launchViewer(), 1);
        expectOneOpenLog(ansi(*server.locationFile).c_str());
    }
}

}  // namespace
