// Initialize and GetOrvisServer against the fake project server: creation
// through the ProgID, the message box of a failure, lending the server object.
#include "fake_server.h"
#include "hub_library.h"
#include "import_patch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using fake::FakeServer;
using fake::Registration;

namespace {

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};
std::vector<MessageBoxCall> messageBoxes;

int WINAPI recordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    messageBoxes.push_back({owner, text ? text : "<null>", caption ? caption : "<null>", style});
    return IDOK;
}

class Connection : public testing::Test {
protected:
    Connection() { messageBoxes.clear(); }

    HubLibrary hub;
    testing_support::ImportPatch messageBox{hub.library.module(), "user32.dll", "MessageBoxA",
                                            reinterpret_cast<void*>(&recordMessageBox)};
};

void expectOneFailureMessage()
{
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].owner, nullptr);
    EXPECT_EQ(messageBoxes[0].text, "Error in creating OrvisServer.OrvisServer");
    EXPECT_EQ(messageBoxes[0].caption, "Halvern Plenwick Extension");
    EXPECT_EQ(messageBoxes[0].style, static_cast<UINT>(MB_OK));
}

}  // namespace

TEST_F(Connection, InitializeKeepsTheServerObjectAndShowsNoMessage)
{
    FakeServer server;
    EXPECT_EQ(hub.initialize(), 0);
    EXPECT_TRUE(messageBoxes.empty());
    EXPECT_EQ(server.referencesTo("Server"), 1);
    EXPECT_EQ(server.outstandingReferences(), 1);
    EXPECT_TRUE(server.journal.empty());
}

TEST_F(Connection, InitializeFailureShowsTheMessageOnceAndHoldsNothing)
{
    struct Case {
        const char* what;
        Registration registration;
        HRESULT creationResult;
        bool offersProjectServer;
    };
    const Case cases[] = {
        {"ProgID key absent", Registration::none, S_OK, true},
        {"ProgID key without a registered class", Registration::progIdOnly, S_OK, true},
        {"server cannot be started", Registration::classAndProgId, CO_E_SERVER_EXEC_FAILURE, true},
        {"object without IProjectServer", Registration::classAndProgId, S_OK, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messageBoxes.clear();
        FakeServer server(c.registration);
        server.creationResult = c.creationResult;
        server.offersProjectServer = c.offersProjectServer;

        EXPECT_EQ(hub.initialize(), 1);
        expectOneFailureMessage();
        EXPECT_EQ(server.outstandingReferences(), 0);

        auto* const untouched = reinterpret_cast<tallow::IProjectServer*>(0x5A5A5A5A);
        tallow::IProjectServer* variable = untouched;
        EXPECT_EQ(hub.getOrvisServer(&variable), 0);
        EXPECT_EQ(variable, untouched);
    }
}

TEST_F(Connection, FailedInitializeKeepsTheServerOfAnEarlierOne)
{
    FakeServer server;
    ASSERT_EQ(hub.initialize(), 0);
    server.offersProjectServer = false;
    EXPECT_EQ(hub.initialize(), 1);
    expectOneFailureMessage();

    tallow::IProjectServer* variable = nullptr;
    EXPECT_EQ(hub.getOrvisServer(&variable), 0);
    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(server.referencesTo("Server"), 2);
    variable->Release();
}

TEST_F(Connection, SecondInitializeReplacesTheServerWithoutReleasingTheFirst)
{
    FakeServer server;
    ASSERT_EQ(hub.initialize(), 0);
    ASSERT_EQ(hub.initialize(), 0);
    EXPECT_EQ(server.referencesTo("Server"), 2);
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(Connection, GetOrvisServerLendsTheServerWithOneReferencePerCall)
{
    FakeServer server;
    ASSERT_EQ(hub.initialize(), 0);

    tallow::IProjectServer* first = nullptr;
    tallow::IProjectServer* second = nullptr;
    EXPECT_EQ(hub.getOrvisServer(&first), 0);
    EXPECT_EQ(server.referencesTo("Server"), 2);
    EXPECT_EQ(hub.getOrvisServer(&second), 0);
    EXPECT_EQ(server.referencesTo("Server"), 3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);

    // It is the fake's object itself, answering its own interface.
    tallow::IProjectServer* asked = nullptr;
    ASSERT_EQ(first->QueryInterface(tallow::IID_IProjectServer, reinterpret_cast<void**>(&asked)), S_OK);
    EXPECT_EQ(asked, first);
    asked->Release();

    first->Release();
    second->Release();
    EXPECT_EQ(server.referencesTo("Server"), 1);
}

TEST_F(Connection, GetOrvisServerBeforeInitializeLeavesTheVariableAlone)
{
    FakeServer server;
    auto* const untouched = reinterpret_cast<tallow::IProjectServer*>(0x5A5A5A5A);
    tallow::IProjectServer* variable = untouched;
    EXPECT_EQ(hub.getOrvisServer(&variable), 0);
    EXPECT_EQ(variable, untouched);
    EXPECT_EQ(hub.getOrvisServer(nullptr), 0);
}
