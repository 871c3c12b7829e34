// Creating a project: its folder, its project file, its registration and its
// asset tree, on real folders under a scratch folder.
#include "install_folder.h"
#include "result_codes.h"
#include "store_functions.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

namespace {

const char* const assetTree[] = {"Scripts",      "Scripts\\dat",         "Scripts\\dll",  "Scripts\\externC",
                                 "Scripts\\idl", "Scripts\\include",     "Scripts\\javaProxies",
                                 "Scripts\\lls", "Scripts\\VexBas32",    "Scripts\\vp",   "Scripts\\Win32",
                                 "DataPools",    "Log"};

std::string projectXml(const std::string& name, const std::string& location, const std::string& extra = "")
{
    return "<Project><Name>" + name + "</Name><Comment/><Location>" + location + "</Location>" + extra +
           "</Project>\n";
}

}  // namespace

TEST(CreateProject, MakesTheFolderWithTheFoldersAboveItAndWritesTheProjectFile)
{
    ScratchFolder scratch;
    const std::string folder = scratch / "Work\\Demo";
    EXPECT_EQ(createProject("Demo", "", folder.c_str(), 0, 0), 1);
    EXPECT_EQ(entriesOf(scratch / "Work"), std::set<std::string>{"Demo"});
    EXPECT_EQ(entriesOf(folder), std::set<std::string>{"Demo.project"});
    EXPECT_EQ(readFile(folder + "\\Demo.project"), projectXml("Demo", folder));
}

TEST(CreateProject, ANullCommentWritesNoCommentElement)
{
    ScratchFolder scratch;
    const std::string folder = scratch / "Demo";
    EXPECT_EQ(createProject("Demo", nullptr, folder.c_str(), 0, 0), 1);
    EXPECT_EQ(readFile(folder + "\\Demo.project"),
              "<Project><Name>Demo</Name><Location>" + folder + "</Location></Project>\n");
}

TEST(CreateProject, AnExistingFolderIsRefusedAndNothingWritten)
{
    ScratchFolder scratch;
    CreateDirectoryA((scratch / "Empty").c_str(), nullptr);
    CreateDirectoryA((scratch / "Full").c_str(), nullptr);
    writeFile(scratch / "Full\\notes.txt", "mine");
    for (const char* name : {"Empty", "Full"})
        EXPECT_EQ(createProject("Demo", "", (scratch / name).c_str(), 1, 1), result::folderNotMade) << name;
    EXPECT_EQ(entriesOf(scratch / "Empty"), std::set<std::string>{});
    EXPECT_EQ(entriesOf(scratch / "Full"), std::set<std::string>{"notes.txt"});
}

TEST(CreateProject, BadArgumentsAreRefusedBeforeAnythingIsMade)
{
    ScratchFolder scratch;
    SetCurrentDirectoryA(scratch.path().c_str());
    const std::string folder = scratch / "Demo";
    const std::string longFolder = scratch / std::string(260 - scratch.path().size() - 1, 'f');
    struct Case {
        const char* what;
        const char* name;
        const char* comment;
        const char* folder;
        int expected;
    };
    const std::string longName(256, 'n');
    const std::string longComment(260, 'c');
    const Case cases[] = {
        {"null name", nullptr, "", folder.c_str(), result::missingArgument},
        {"empty name", "", "", folder.c_str(), result::missingArgument},
        {"null folder", "Demo", "", nullptr, result::missingArgument},
        {"folder of one component", "Demo", "", "Demo", result::folderNotMade},
        {"name of 256 bytes", longName.c_str(), "", folder.c_str(), result::valueTooLong},
        {"comment of 260 bytes", "Demo", longComment.c_str(), folder.c_str(), result::valueTooLong},
        {"folder of 260 bytes", "Demo", "", longFolder.c_str(), result::valueTooLong},
    };
    for (const Case& bad : cases)
        EXPECT_EQ(createProject(bad.name, bad.comment, bad.folder, 0, 0), bad.expected) << bad.what;
    EXPECT_EQ(entriesOf(scratch.path()), std::set<std::string>{});
    SetCurrentDirectoryA("C:\\");
}

TEST(CreateProject, WithRegistrationAnswersTheRegistrationAndKeepsWhatItMade)
{
    InstallFolder install;
    ScratchFolder scratch;
    const std::string first = scratch / "First";
    EXPECT_EQ(createProject("Demo", "one", first.c_str(), 1, 0), 1);
    EXPECT_EQ(readFile(install.registry()),
              "<RegisteredProjects><Project Name=\"Demo\" Comment=\"one\" Location=\"" + first +
                  "\"/></RegisteredProjects>\n");

    const std::string registry = readFile(install.registry());
    const std::string second = scratch / "Second";
    EXPECT_EQ(createProject("Demo", "", second.c_str(), 1, 1), result::projectRegistered);
    EXPECT_EQ(readFile(install.registry()), registry);
    EXPECT_EQ(readFile(second + "\\Demo.project"),
              projectXml("Demo", second, "<TestAssetPath>" + second + "\\TestAssets</TestAssetPath>"))
        << "the asset step still runs";
}

TEST(CreateProject, WithTestAssetsMakesTheTreeAndRecordsItsRoot)
{
    ScratchFolder scratch;
    const std::string folder = scratch / "Demo";
    EXPECT_EQ(createProject("Demo", "", folder.c_str(), 0, 1), 1);
    const std::string root = folder + "\\TestAssets";
    const std::string projectFile = folder + "\\Demo.project";
    for (const char* name : assetTree) EXPECT_TRUE(exists(root + "\\" + name)) << name;
    EXPECT_EQ(entriesOf(root), (std::set<std::string>{"Scripts", "DataPools", "Log"}));
    EXPECT_EQ(readFile(projectFile), projectXml("Demo", folder, "<TestAssetPath>" + root + "</TestAssetPath>"));

    ProjectInfo* info = nullptr;
    ProjectStore store;
    EXPECT_EQ(store.openProject(projectFile.c_str(), &info), 1);
    EXPECT_EQ(ansiFromBstr(info->scriptsPath), root + "\\Scripts");
    BSTR* fields = reinterpret_cast<BSTR*>(info);
    for (int field = 0; field < 19; ++field) SysFreeString(fields[field]);
    CoTaskMemFree(info);
}
