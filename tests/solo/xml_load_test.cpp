// Loading a file reads its bytes in one go and parses them from memory. What a
// read of the file on disk could change: files held by another handle, text
// outside ASCII, names that look like URL escapes, large files, and whether
// the file stays held after a load.
#include "project_store.h"
#include "result_codes.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace testing_support;

namespace {

const std::string demo = "<Project><Name>Demo</Name></Project>";

// The text of the single "Name" element of the loaded document.
std::string nameOf(ProjectStore& store)
{
    char name[256] = "";
    TextBuffer buffer = textBuffer(name);
    store.readUniqueElementText("Name", buffer);
    return name;
}

// The document holds nothing after a load that failed.
void expectEmpty(ProjectStore& store, const char* what)
{
    EXPECT_FALSE(store.xmlDocument().rootElement()) << what;
    store.xmlDocument().findElementsByTag("Name");
    EXPECT_EQ(store.xmlDocument().listLength(), 0) << what;
}

struct HeldCase {
    const char* what;
    DWORD access;
    DWORD share;
    bool loads;
};

}  // namespace

TEST(XmlLoad, AFileHeldByAnotherHandleLoadsOnlyWhenThatHandleLetsItBeRead)
{
    const HeldCase cases[] = {
        {"read by another handle", GENERIC_READ, FILE_SHARE_READ, true},
        {"held without sharing", GENERIC_READ | GENERIC_WRITE, 0, false},
        {"being written, reads shared", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, false},
        {"being written, reads and writes shared", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
         false},
    };
    ScratchFolder folder;
    const std::string good = folder / "good.xml";
    const std::string held = folder / "held.xml";
    writeFile(good, demo);
    writeFile(held, "<Project><Name>Held</Name></Project>");
    for (const HeldCase& c : cases) {
        ProjectStore store;
        ASSERT_TRUE(store.loadDocument(good.c_str())) << c.what;
        HANDLE other = CreateFileA(held.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE) << c.what;
        EXPECT_EQ(store.loadDocument(held.c_str()), c.loads) << c.what;
        if (c.loads)
            EXPECT_EQ(nameOf(store), "Held") << c.what;
        else
            expectEmpty(store, c.what);
        CloseHandle(other);
        EXPECT_TRUE(store.loadDocument(held.c_str())) << c.what << ", once let go";
        EXPECT_EQ(readFile(held), "<Project><Name>Held</Name></Project>") << c.what;
    }
}

TEST(XmlLoad, TextOutsideAsciiReadsInTheAnsiCodePage)
{
    const std::string utf16 = std::string("\xFF\xFE", 2) +
                              std::string("<\0N\0a\0m\0e\0>\0c\0a\0f\0\xE9\0<\0/\0N\0a\0m\0e\0>\0", 34);
    const struct {
        const char* what;
        std::string bytes;
        bool loads;
    } cases[] = {
        {"UTF-8", "<Project><Name>caf\xC3\xA9</Name></Project>", true},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF<Project><Name>caf\xC3\xA9</Name></Project>\n", true},
        {"UTF-16 with byte-order mark", utf16, true},
        {"ANSI bytes, undeclared", "<Project><Name>caf\xE9</Name></Project>", false},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder / "text.xml";
        writeFile(path, c.bytes);
        ProjectStore store;
        EXPECT_EQ(store.loadDocument(path.c_str()), c.loads) << c.what;
        if (c.loads) {
            EXPECT_EQ(nameOf(store), "caf\xE9") << c.what;
        }
    }
}

TEST(XmlLoad, AFileNameIsTakenAsItStandsNotAsAUrl)
{
    ScratchFolder folder;
    writeFile(folder / "a%41.xml", "<Project><Name>percent</Name></Project>");
    writeFile(folder / "aA.xml", "<Project><Name>unescaped</Name></Project>");
    writeFile(folder / "b%20c.xml", "<Project><Name>percent</Name></Project>");
    writeFile(folder / "b c.xml", "<Project><Name>unescaped</Name></Project>");
    writeFile(folder / "d#e.xml", "<Project><Name>hash</Name></Project>");
    writeFile(folder / "mA.xml", "<Project><Name>unescaped</Name></Project>");
    ProjectStore store;
    for (const char* name : {"a%41.xml", "b%20c.xml"}) {
        ASSERT_TRUE(store.loadDocument((folder / name).c_str())) << name;
        EXPECT_EQ(nameOf(store), "percent") << name;
    }
    ASSERT_TRUE(store.loadDocument((folder / "d#e.xml").c_str()));
    EXPECT_EQ(nameOf(store), "hash");
    EXPECT_FALSE(store.loadDocument((folder / "m%41.xml").c_str()));
}

TEST(XmlLoad, ALargeFileLoadsWhole)
{
    ScratchFolder folder;
    const std::string path = folder / "large.xml";
    std::string text = "<RegisteredProjects>";
    for (int i = 0; i < 10000; ++i)
        text += "<Project Name=\"P" + std::to_string(i) + "\" Comment=\"\" Location=\"C:\\Projects\"/>";
    writeFile(path, text + "</RegisteredProjects>\n");
    ProjectStore store;
    EXPECT_EQ(store.countElements(path.c_str(), "Project"), 10000);
    char name[256] = "";
    TextBuffer buffer = textBuffer(name);
    EXPECT_EQ(store.xmlDocument().readAttributeValue(store.xmlDocument().listItem(9999), "Name", buffer), 1);
    EXPECT_STREQ(name, "P9999");
}

TEST(XmlLoad, TheFileIsLetGoAfterALoadAndEveryLoadReadsItAgain)
{
    ScratchFolder folder;
    const std::string path = folder / "file.xml";
    const std::string replacement = folder / "replacement.xml";
    writeFile(path, demo);
    writeFile(replacement, "<Project><Name>Replaced</Name></Project>");
    ProjectStore store;
    ASSERT_TRUE(store.loadDocument(path.c_str()));
    EXPECT_TRUE(MoveFileExA(replacement.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(store.loadDocument(path.c_str()));
    EXPECT_EQ(nameOf(store), "Replaced");
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_FALSE(store.loadDocument(path.c_str()));
    expectEmpty(store, "deleted");
}
