// How the store's files reach the disk: a save replaces the file whole, and
// changes to one file are serialised under a lock named after the file.
#include "file_lock.h"
#include "install_folder.h"
#include "project_store.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

namespace {

void saveNewDocument(const std::string& path)
{
    ProjectStore store;
    store.xmlDocument().createRootElement("Root");
    store.saveDocument(path.c_str());
}

HRESULT saveError(const std::string& path)
{
    try {
        saveNewDocument(path);
    } catch (const ComError& error) {
        return error.code();
    }
    return S_OK;
}

}  // namespace

TEST(SaveDocument, ReplacesTheFileAndLeavesNothingBeside)
{
    ScratchFolder folder;
    writeFile(folder / "file.xml", "<Old><Longer/></Old>");
    saveNewDocument(folder / "file.xml");
    EXPECT_EQ(readFile(folder / "file.xml"), "<Root/>\n");
    EXPECT_EQ(entriesOf(folder.path()), std::set<std::string>{"file.xml"});
}

// Whatever stops the save, the old content stays and no temporary file is
// left behind.
TEST(SaveDocument, AFailedSaveLeavesTheOldContent)
{
    ScratchFolder folder;
    writeFile(folder / "held.xml", "<Old/>");
    const HANDLE holder = CreateFileA((folder / "held.xml").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_NE(saveError(folder / "held.xml"), S_OK) << "held open without leave to replace it";
    CloseHandle(holder);
    EXPECT_EQ(readFile(folder / "held.xml"), "<Old/>");

    CreateDirectoryA((folder / "folder.xml").c_str(), nullptr);
    writeFile(folder / "folder.xml\\inside.txt", "kept");
    EXPECT_NE(saveError(folder / "folder.xml"), S_OK) << "a folder of that name";
    EXPECT_EQ(readFile(folder / "folder.xml\\inside.txt"), "kept");

    EXPECT_NE(saveError(folder / "missing\\file.xml"), S_OK);
    EXPECT_EQ(entriesOf(folder.path()), (std::set<std::string>{"held.xml", "folder.xml"}));
}

TEST(SaveDocument, TheEmptyPathIsRefusedBeforeAnythingIsWritten)
{
    ScratchFolder folder;
    SetCurrentDirectoryA(folder.path().c_str());
    EXPECT_EQ(saveError(""), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(entriesOf(folder.path()), std::set<std::string>{});
    SetCurrentDirectoryA("C:\\");
}

TEST(FileLock, SpellingsOfOneFileShareALock)
{
    ScratchFolder folder;
    SetCurrentDirectoryA(folder.path().c_str());
    const std::string name = fileLockName((folder / "RegisteredProjects.xml").c_str());
    std::string upper = folder / "REGISTEREDPROJECTS.XML";
    std::string slashes = upper;
    for (char& c : slashes)
        if (c == '\\') c = '/';
    for (const std::string& spelling : {upper, slashes, std::string("RegisteredProjects.xml"),
                                        folder / "sub\\..\\RegisteredProjects.xml"})
        EXPECT_EQ(fileLockName(spelling.c_str()), name) << spelling;
    EXPECT_NE(fileLockName((folder / "AssetManager.xml").c_str()), name);
    EXPECT_EQ(name.rfind("Local\\", 0), 0u);
    EXPECT_EQ(name.find('\\', 6), std::string::npos) << "no backslash after the namespace";
    SetCurrentDirectoryA("C:\\");
}
