// tallowadmin end to end, against an install directory of its own: what each
// command prints and leaves on disk, and a clear failure for bad input.
#include "fixtures.h"
#include "tool_run.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace testing_support;
using namespace tools_testing;

namespace {

class Admin : public ::testing::Test {
protected:
    void SetUp() override { guard_.set(install_.path()); }

    ToolRun admin(const std::vector<std::string>& arguments) { return runTool("tallowadmin.exe", arguments); }
    const ScratchFolder& install() const { return install_; }

    // A project file whose registry values are Name `name` and Location `folder`.
    std::string writeProjectFile(const ScratchFolder& folder, const std::string& name)
    {
        const std::string path = folder / (name + ".project");
        writeFile(path, "<Project><Name>" + name + "</Name><Comment/><Location>" + folder.path() +
                            "</Location></Project>");
        return path;
    }

private:
    InstallDirectoryGuard guard_;
    ScratchFolder install_;
};

bool says(const ToolRun& run, const std::string& text)
{
    return run.output.find(text) != std::string::npos;
}

}  // namespace

TEST_F(Admin, InstallDirIsRecordedAsAFullPathAndShown)
{
    ScratchFolder other;
    const ToolRun recorded = admin({"install-dir", other.path()});
    EXPECT_EQ(recorded.exitCode, 0u);
    EXPECT_EQ(recorded.output, "install directory " + other.path() + "\n");
    EXPECT_EQ(admin({"install-dir"}).output, other.path() + "\n");

    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(admin({"install-dir", "."}).output, "install directory " + std::string(current) + "\n");

    const ToolRun missing = admin({"install-dir", other / "Nowhere"});
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_TRUE(says(missing, "install-dir failed: " + other.path() + "\\Nowhere is not a folder"));
    EXPECT_EQ(admin({"install-dir"}).output, std::string(current) + "\n");
}

TEST_F(Admin, CreateMakesARegisteredProjectWithItsAssetTreeThatTheLibraryOpens)
{
    ScratchFolder work;
    const std::string folder = work / "Projects\\Demo";
    const ToolRun created = admin({"create", "Demo", folder, "--comment", "First", "--register", "--assets"});
    EXPECT_EQ(created.exitCode, 0u);
    EXPECT_EQ(created.output, "created project Demo in " + folder + "\\Demo.project\nregistered project Demo\n"
                              "asset tree " + folder + "\\TestAssets\n");
    EXPECT_EQ(readFile(folder + "\\Demo.project")
                  .rfind("<Project><Name>Demo</Name><Comment>First</Comment><Location>" + folder +
                             "</Location><TestAssetPath>" + folder + "\\TestAssets</TestAssetPath>",
                         0),
              0u);
    EXPECT_TRUE(exists(folder + "\\TestAssets\\Scripts\\Win32"));
    EXPECT_EQ(admin({"projects"}).output, "Demo\n");
    EXPECT_EQ(runTool("tallowhost.exe", {"login", folder + "\\Demo.project"}).exitCode, 0u);

    // A second project of the name: made, but not registered.
    const ToolRun second = admin({"create", "Demo", work / "Projects\\Again", "--register"});
    EXPECT_EQ(second.exitCode, 1u);
    EXPECT_TRUE(says(second, "create Demo failed: a project of that name is registered already (106)"));
    EXPECT_TRUE(says(second, "the project folder and its project file were made"));
    EXPECT_TRUE(exists(work / "Projects\\Again\\Demo.project"));

    const ToolRun existing = admin({"create", "Other", folder});
    EXPECT_EQ(existing.exitCode, 1u);
    EXPECT_TRUE(says(existing, "the project folder exists already (101)"));
    EXPECT_FALSE(exists(folder + "\\Other.project"));
}

TEST_F(Admin, RegistryCommandsListProjectsInRegistrationOrder)
{
    ScratchFolder beta, alpha;
    EXPECT_EQ(admin({"projects"}).output, "");  // no registry yet: nothing registered
    EXPECT_EQ(admin({"register", writeProjectFile(beta, "Beta")}).exitCode, 0u);
    EXPECT_EQ(admin({"register", writeProjectFile(alpha, "Alpha")}).exitCode, 0u);
    EXPECT_EQ(admin({"projects"}).output, "Beta\nAlpha\n");

    const ToolRun twice = admin({"register", beta / "Beta.project"});
    EXPECT_EQ(twice.exitCode, 1u);
    EXPECT_TRUE(says(twice, "a project of that name is registered already (106)"));
    const ToolRun unknown = admin({"unregister", "Gamma"});
    EXPECT_EQ(unknown.exitCode, 1u);
    EXPECT_TRUE(says(unknown, "unregister Gamma failed: no project of that name is registered (107)"));
    const ToolRun missing = admin({"register", beta / "Missing.project"});
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_TRUE(says(missing, "the project file does not load"));

    EXPECT_EQ(admin({"unregister", "Beta"}).output, "unregistered project Beta\n");
    EXPECT_EQ(admin({"projects"}).output, "Alpha\n");

    writeFile(install() / "RegisteredProjects.xml", "<RegisteredProjects>");
    const ToolRun broken = admin({"projects"});
    EXPECT_EQ(broken.exitCode, 1u);
    EXPECT_TRUE(says(broken, "RegisteredProjects.xml does not load"));
}

TEST_F(Admin, ModeCommandsKeepTheTableOfLibrariesAndDisplayNames)
{
    EXPECT_EQ(admin({"modes"}).output, "");
    const ToolRun absent = admin({"add-mode", "tallowsolo.dll", "Standalone"});
    EXPECT_EQ(absent.exitCode, 1u);
    EXPECT_TRUE(says(absent, "add-mode Standalone failed: the library file is not in the install directory (109)"));

    writeFile(install() / "tallowsolo.dll", "");
    writeFile(install() / "tallowhub.dll", "");
    EXPECT_EQ(admin({"add-mode", "tallowsolo.dll", "Standalone"}).output, "added mode Standalone: tallowsolo.dll\n");
    EXPECT_EQ(admin({"add-mode", "tallowhub.dll", "Server"}).exitCode, 0u);
    const ToolRun again = admin({"add-mode", "tallowsolo.dll", "Other"});
    EXPECT_EQ(again.exitCode, 1u);
    EXPECT_TRUE(says(again, "in the mode table already (111)"));
    EXPECT_EQ(admin({"modes"}).output, "Standalone\nServer\n");

    const ToolRun unknown = admin({"remove-mode", "Nope"});
    EXPECT_EQ(unknown.exitCode, 1u);
    EXPECT_TRUE(says(unknown, "no mode of that display name is in the mode table (112)"));
    EXPECT_EQ(admin({"remove-mode", "Standalone"}).output, "removed mode Standalone\n");
    EXPECT_EQ(admin({"modes"}).output, "Server\n");
}

TEST_F(Admin, WithoutAnInstallDirectoryTheTablesCannotBeReached)
{
    InstallDirectoryGuard noDirectory;
    noDirectory.clear();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"install-dir"}, {"projects"}, {"modes"}, {"add-mode", "tallowsolo.dll", "Standalone"}}) {
        const ToolRun run = admin(arguments);
        EXPECT_EQ(run.exitCode, 1u) << arguments[0];
        EXPECT_TRUE(says(run, "no install directory is recorded")) << arguments[0];
    }
}

TEST_F(Admin, AFailedSaveBecomesAMessageAndAFailureStatus)
{
    // An install directory that is a file: the registry file beneath it can
    // be neither found nor written, so its save raises.
    ScratchFolder project;
    const std::string notAFolder = install() / "file";
    writeFile(notAFolder, "");
    InstallDirectoryGuard fileAsDirectory;
    fileAsDirectory.set(notAFolder);

    const ToolRun run = admin({"register", writeProjectFile(project, "Demo")});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(says(run, "tallowadmin: register failed: COM error 0x"));
    EXPECT_EQ(readFile(notAFolder), "");
}

TEST_F(Admin, CommandLinesItCannotFollowAreRefusedWithUsage)
{
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{}, "no command given"},
        {{"bogus"}, "unknown command \"bogus\""},
        {{"create", "Demo"}, "create takes NAME FOLDER"},
        {{"register"}, "register takes PROJECTFILE"},
        {{"add-mode", "tallowsolo.dll"}, "add-mode takes LIBRARY DISPLAYNAME"},
        {{"projects", "extra"}, "projects takes no arguments"},
        {{"install-dir", "a", "b"}, "install-dir takes at most one PATH"},
        {{"projects", "--register"}, "--comment, --register and --assets belong to create"},
        {{"create", "Demo", "C:\\Demo", "--colour"}, "unknown option --colour"},
        {{"create", "Demo", "C:\\Demo", "--comment"}, "--comment needs a value"},
    };
    for (const auto& c : cases) {
        const ToolRun run = admin(c.arguments);
        EXPECT_EQ(run.exitCode, 2u) << c.message;
        EXPECT_TRUE(says(run, "tallowadmin: " + c.message)) << c.message;
        EXPECT_TRUE(says(run, "usage: tallowadmin COMMAND")) << c.message;
    }
    EXPECT_FALSE(exists(install() / "RegisteredProjects.xml"));
}
