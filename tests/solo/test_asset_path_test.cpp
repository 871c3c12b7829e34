// Recording a project's asset root: the tree is made and the root becomes the
// project file's last element, once.
#include "install_folder.h"
#include "result_codes.h"
#include "store_functions.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

namespace {

const std::string demoProject = "<Project><Name>Demo</Name><Comment/><Location>L</Location></Project>";

}  // namespace

TEST(SetTestAssetPath, MakesTheTreeAndAppendsTheRootOnce)
{
    ScratchFolder folder;
    const std::string file = folder / "Demo.project";
    writeFile(file, demoProject);
    const std::string root = folder / "Assets";
    EXPECT_EQ(setProjectTestAssetPath(file.c_str(), root.c_str()), 1);
    EXPECT_EQ(readFile(file), "<Project><Name>Demo</Name><Comment/><Location>L</Location><TestAssetPath>" + root +
                                  "</TestAssetPath></Project>\n");
    EXPECT_TRUE(exists(root + "\\Scripts\\Win32"));
    EXPECT_TRUE(exists(root + "\\Log"));

    const std::string recorded = readFile(file);
    EXPECT_EQ(setProjectTestAssetPath(file.c_str(), (folder / "Other").c_str()), result::assetRootRecorded);
    EXPECT_FALSE(exists(folder / "Other"));
    EXPECT_EQ(readFile(file), recorded);
}

TEST(SetTestAssetPath, RefusalsLeaveTheProjectFileAsItWas)
{
    ScratchFolder folder;
    const std::string file = folder / "Demo.project";
    writeFile(file, demoProject);
    const std::string taken = folder / "Taken";
    CreateDirectoryA(taken.c_str(), nullptr);
    CreateDirectoryA((taken + "\\Scripts").c_str(), nullptr);
    struct Case {
        const char* what;
        std::string file;
        const char* root;
        int expected;
    };
    const Case cases[] = {
        {"tree exists", file, taken.c_str(), result::assetTreeNotMade},
        {"null root", file, nullptr, result::assetTreeNotMade},
        {"missing project file", folder / "Missing.project", taken.c_str(), result::fileDoesNotLoad},
    };
    for (const Case& refused : cases)
        EXPECT_EQ(setProjectTestAssetPath(refused.file.c_str(), refused.root), refused.expected) << refused.what;
    EXPECT_EQ(setProjectTestAssetPath(nullptr, taken.c_str()), result::missingArgument);
    EXPECT_EQ(readFile(file), demoProject);
    EXPECT_EQ(entriesOf(folder.path()), (std::set<std::string>{"Demo.project", "Taken"}));
}

TEST(AddTestAssets, TakesTheFolderFromTheEntryAfterTheKey)
{
    ScratchFolder folder;
    const std::string file = folder / "Demo.project";
    writeFile(file, demoProject);
    const std::string projectFolder = folder.path();
    // The second entry lies beyond the count and still gives the folder.
    const ProjectFileEntry entries[] = {{"TestAssets", file.c_str()}, {"TestAssetPath", projectFolder.c_str()}};
    EXPECT_EQ(addTestAssets(1, entries), 1);
    EXPECT_TRUE(exists(folder / "TestAssets\\Scripts"));
    EXPECT_NE(readFile(file).find("<TestAssetPath>" + (folder / "TestAssets") + "</TestAssetPath>"),
              std::string::npos);

    const std::string other = folder / "Other.project";
    writeFile(other, demoProject);
    const ProjectFileEntry otherKeys[] = {{"Name", other.c_str()}, {"TestAssets", other.c_str()}, {"X", "Elsewhere"}};
    EXPECT_EQ(addTestAssets(1, otherKeys), 1) << "only the first key is examined";
    EXPECT_EQ(addTestAssets(0, otherKeys), 1);
    EXPECT_EQ(addTestAssets(1, nullptr), 1);
    EXPECT_EQ(readFile(other), demoProject);
    EXPECT_FALSE(exists("Elsewhere"));
}
