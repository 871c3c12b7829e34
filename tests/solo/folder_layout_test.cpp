// Folders on disk: finding a path, making a chain of folders and the asset
// tree, testing that a folder is empty, and the trace lines sent meanwhile.
#include "debug_output.h"
#include "debug_trace.h"
#include "install_folder.h"
#include "result_codes.h"
#include "store_functions.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;

const char* const assetTree[] = {"Scripts",      "Scripts\\dat",         "Scripts\\dll",  "Scripts\\externC",
                                 "Scripts\\idl", "Scripts\\include",     "Scripts\\javaProxies",
                                 "Scripts\\lls", "Scripts\\VexBas32",    "Scripts\\vp",   "Scripts\\Win32",
                                 "DataPools",    "Log"};

void makeFolder(const std::string& path)
{
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
}

}  // namespace

TEST(PathExists, FindsFilesAndFoldersByPattern)
{
    ScratchFolder folder;
    writeFile(folder / "file.xml", "");
    makeFolder(folder / "sub");
    struct Case {
        std::string path;
        int expected;
    };
    const Case cases[] = {
        {folder / "file.xml", 1}, {folder / "sub", 1},     {folder / "*.xml", 1},
        {folder / "missing", 0},  {folder / "*.dll", 0},   {"", 0},
    };
    for (const Case& find : cases) EXPECT_EQ(pathExists(find.path.c_str()), find.expected) << find.path;
    EXPECT_EQ(pathExists(nullptr), 0);
}

TEST(CreateFolderPath, MakesEveryMissingFolderAlongThePath)
{
    ScratchFolder folder;
    const std::string path = folder / "A\\B\\C";
    EXPECT_EQ(createFolderPath(path.c_str()), 1);
    EXPECT_TRUE(exists(path));
    EXPECT_EQ(createFolderPath(path.c_str()), result::folderExists);
    EXPECT_EQ(createFolderPath((folder / "A\\B").c_str()), result::folderExists);
    EXPECT_EQ(createFolderPath((folder / "A\\B\\D").c_str()), 1);
    EXPECT_EQ(entriesOf(folder / "A\\B"), (std::set<std::string>{"C", "D"}));
}

TEST(CreateFolderPath, RelativePathsStartFromTheCurrentFolder)
{
    ScratchFolder folder;
    SetCurrentDirectoryA(folder.path().c_str());
    EXPECT_EQ(createFolderPath("a\\b"), result::folderNotMade) << "the first component alone is never made";
    makeFolder(folder / "a");
    EXPECT_EQ(createFolderPath("a\\b"), 1);
    EXPECT_TRUE(exists(folder / "a\\b"));
    SetCurrentDirectoryA("C:\\");
}

// Paths the walk cannot take are refused before any folder is made.
TEST(CreateFolderPath, RefusesPathsItCannotWalk)
{
    ScratchFolder folder;
    SetCurrentDirectoryA(folder.path().c_str());
    writeFile(folder / "file", "");
    std::string fiftyOne = folder.path();
    for (int i = 0; i < 50; ++i) fiftyOne += "\\x";
    struct Case {
        const char* what;
        std::string path;
    };
    const Case cases[] = {
        {"empty", ""},
        {"one component", "single"},
        {"516 bytes", folder / std::string(515 - folder.path().size(), 'p') + "\\q"},
        {"51 components", fiftyOne},
        {"component of 256 bytes", folder / std::string(256, 'c') + "\\d"},
        {"a file on the way", folder / "file\\sub\\deeper"},
    };
    for (const Case& refused : cases)
        EXPECT_EQ(createFolderPath(refused.path.c_str()), result::folderNotMade) << refused.what;
    EXPECT_EQ(createFolderPath(nullptr), result::missingArgument);
    EXPECT_EQ(entriesOf(folder.path()), std::set<std::string>{"file"});
    SetCurrentDirectoryA("C:\\");
}

TEST(CreateProjectFolders, MakesTheThirteenFoldersUnderTheRoot)
{
    ScratchFolder folder;
    const std::string root = folder / "TestAssets";
    EXPECT_EQ(createProjectFolders(root.c_str()), 1);
    for (const char* name : assetTree) EXPECT_TRUE(exists(root + "\\" + name)) << name;
    EXPECT_EQ(entriesOf(root + "\\Scripts").size(), 10u);
    EXPECT_EQ(createProjectFolders(nullptr), result::missingArgument);
}

TEST(CreateProjectFolders, StopsAtTheFirstFolderThatExists)
{
    ScratchFolder folder;
    const std::string scripts = folder / "WithScripts";
    makeFolder(scripts);
    makeFolder(scripts + "\\Scripts");
    EXPECT_EQ(createProjectFolders(scripts.c_str()), result::folderExists);
    EXPECT_EQ(entriesOf(scripts), std::set<std::string>{"Scripts"});
    EXPECT_EQ(entriesOf(scripts + "\\Scripts"), std::set<std::string>{});

    const std::string dataPools = folder / "WithDataPools";
    makeFolder(dataPools);
    makeFolder(dataPools + "\\DataPools");
    EXPECT_EQ(createProjectFolders(dataPools.c_str()), result::folderExists);
    EXPECT_EQ(entriesOf(dataPools + "\\Scripts").size(), 10u) << "\\Scripts to \\Scripts\\Win32 are made";
    EXPECT_FALSE(exists(dataPools + "\\Log"));
}

// A folder that cannot be made for a reason other than being there goes
// unremarked; a root too long for its folders makes nothing.
TEST(CreateProjectFolders, OtherFailuresDoNotStopTheWalk)
{
    ScratchFolder folder;
    writeFile(folder / "file", "");
    EXPECT_EQ(createProjectFolders((folder / "file\\TestAssets").c_str()), 1);

    const std::string longRoot = folder / std::string(240 - folder.path().size() - 1, 'r');
    EXPECT_EQ(createProjectFolders(longRoot.c_str()), result::folderNotMade);
    EXPECT_EQ(entriesOf(folder.path()), std::set<std::string>{"file"});
}

TEST(CheckFolderEmpty, AnEmptyFolderTracesItsDotEntries)
{
    ScratchFolder folder;
    DebugOutput output;
    EXPECT_EQ(checkFolderEmpty(folder.path().c_str()), 1);
    EXPECT_EQ(output.lines(), (Lines{"Target directory is " + folder.path() + ".\n", "First file name is .\n",
                                     "First file name is ..\n"}));
}

TEST(CheckFolderEmpty, AFolderWithAnEntryIsNotEmpty)
{
    ScratchFolder folder;
    writeFile(folder / "entry.txt", "");
    DebugOutput output;
    EXPECT_EQ(checkFolderEmpty(folder.path().c_str()), result::folderNotEmpty);
    const Lines lines = output.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "First file name is entry.txt\n") << "the walk stops at the entry";
}

TEST(CheckFolderEmpty, AFolderThatCannotBeSearchedTracesTheError)
{
    ScratchFolder folder;
    DebugOutput output;
    const std::string missing = folder / "missing";
    EXPECT_EQ(checkFolderEmpty(missing.c_str()), result::folderNotMade);
    EXPECT_EQ(output.lines(),
              (Lines{"Target directory is " + missing + ".\n", "Invalid file handle. Error is 3\n"}));
    EXPECT_EQ(checkFolderEmpty(nullptr), result::missingArgument);
    EXPECT_EQ(output.lines().size(), 2u) << "a null folder sends nothing";
}

TEST(CheckFolderEmpty, LongFoldersAreCutInTheTraceAndNotSearched)
{
    ScratchFolder folder;
    DebugOutput output;
    const std::string tooLong = folder / std::string(258 - folder.path().size() - 1, 'l');
    EXPECT_EQ(checkFolderEmpty(tooLong.c_str()), result::folderNotMade);
    const Lines lines = output.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], ("Target directory is " + tooLong).substr(0, 99));
    EXPECT_EQ(lines[1], "Invalid file handle. Error is 206\n");
}

TEST(DebugTrace, FormatsTheValuesIntoOneLine)
{
    DebugOutput output;
    debugTrace("%s=%d", "x", 5);
    debugTrace("%s", std::string(2000, 'm').c_str());
    const Lines lines = output.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "x=5");
    EXPECT_EQ(lines[1], std::string(traceLineSize - 1, 'm')) << "cut to the line buffer";
}
