// tallowhost --mode: the library of a mode found as a host finds it, through
// the install directory's mode table.
#include "fixtures.h"
#include "tool_run.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace testing_support;
using namespace tools_testing;

namespace {

// An install directory whose mode table lists a copy of tallowsolo.dll.
void writeInstallDirectory(const ScratchFolder& install)
{
    ASSERT_TRUE(CopyFileA(besideProgram("tallowsolo.dll").c_str(), (install / "tallowsolo.dll").c_str(), FALSE));
    writeFile(install / "AssetManager.xml",
              "<AssetManager><Mode Library=\"tallowhub.dll\" DisplayName=\"Server\"/>"
              "<Mode Library=\"tallowsolo.dll\" DisplayName=\"Standalone\"/></AssetManager>");
}

}  // namespace

TEST(HostProbeModes, ModeFindsItsLibraryThroughTheInstallDirectorysTable)
{
    InstallDirectoryGuard guard;
    ScratchFolder install, projectFolder;
    writeInstallDirectory(install);
    const std::string project = writeStandaloneProject(projectFolder);

    guard.clear();
    const ToolRun noDirectory = runTool("tallowhost.exe", {"--mode", "Standalone", "login", project});
    EXPECT_EQ(noDirectory.exitCode, 2u);
    EXPECT_NE(noDirectory.output.find("no install directory recorded"), std::string::npos);

    guard.set(install.path());
    const ToolRun found = runTool("tallowhost.exe", {"--mode", "Standalone", "login", project});
    EXPECT_EQ(found.exitCode, 0u);
    EXPECT_NE(found.output.find("library " + install.path() + "\\tallowsolo.dll (standalone mode)"),
              std::string::npos);

    const ToolRun unknown = runTool("tallowhost.exe", {"--mode", "Standalone mode", "login", project});
    EXPECT_EQ(unknown.exitCode, 2u);
    EXPECT_NE(unknown.output.find("no mode \"Standalone mode\" in " + install.path() + "\\AssetManager.xml"),
              std::string::npos);

    const ToolRun both = runTool("tallowhost.exe", {"--mode", "Standalone", "--library", "tallowsolo.dll", "login", project});
    EXPECT_EQ(both.exitCode, 2u);
    EXPECT_NE(both.output.find("give either --library or --mode, once"), std::string::npos);

    DeleteFileA((install / "AssetManager.xml").c_str());
    const ToolRun noTable = runTool("tallowhost.exe", {"--mode", "Standalone", "login", project});
    EXPECT_EQ(noTable.exitCode, 2u);
    EXPECT_NE(noTable.output.find("AssetManager.xml does not load"), std::string::npos);
}
