// tallowhost end to end: it loads a library as the host does, prints what the
// library answers, and says clearly why when it cannot.
#include "fixtures.h"
#include "tool_run.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace tools_testing;

TEST(HostProbe, LoginPrintsEveryProjectInfoFieldByNameInRecordOrder)
{
    ScratchFolder folder;
    const std::string assets = folder / "Assets";
    const ToolRun run = runTool("tallowhost.exe", {"login", writeStandaloneProject(folder)});

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.output.find("tallowsolo.dll (standalone mode)"), std::string::npos);
    EXPECT_NE(run.output.find("answered 1: logged in"), std::string::npos);
    const std::pair<const char*, std::string> fields[] = {
        {"name", "\"Demo\""},
        {"comment", "\"First & only\""},
        {"location", "\"" + folder.path() + "\""},
        {"assetPath", "\"" + assets + "\""},
        {"scriptsPath", "\"" + assets + "\\Scripts\""},
        {"dataPoolsPath", "\"" + assets + "\\DataPools\""},
        {"logPath", "\"" + assets + "\\Log\""},
        {"datPath", "\"" + assets + "\\Scripts\\dat\""},
        {"dllPath", "\"" + assets + "\\Scripts\\dll\""},
        {"externCPath", "\"" + assets + "\\Scripts\\externC\""},
        {"idlPath", "\"" + assets + "\\Scripts\\idl\""},
        {"includePath", "\"" + assets + "\\Scripts\\include\""},
        {"javaProxiesPath", "\"" + assets + "\\Scripts\\javaProxies\""},
        {"llsPath", "\"" + assets + "\\Scripts\\lls\""},
        {"basicPath", "\"" + assets + "\\Scripts\\VexBas32\""},
        {"vpPath", "\"" + assets + "\\Scripts\\vp\""},
        {"win32Path", "\"" + assets + "\\Scripts\\Win32\""},
        {"userName", "\"admin\""},
        {"projectPath", "\"" + assets + "\""},
        {"flags", "0x11 scripts log"},
    };
    size_t at = run.output.find("ProjectInfo\n");
    ASSERT_NE(at, std::string::npos);
    for (const auto& [name, value] : fields) {
        char line[600];
        snprintf(line, sizeof line, "\n  %-16s %s\n", name, value.c_str());
        const size_t found = run.output.find(line, at);
        EXPECT_NE(found, std::string::npos) << line;
        if (found != std::string::npos) at = found;
    }
}

TEST(HostProbe, ScriptLookupStartsFromTheProjectsScriptsFolder)
{
    ScratchFolder folder;
    const std::string project = writeStandaloneProject(folder);
    writeFile(folder / "Assets\\Scripts\\Login.rec", "");

    const ToolRun found = runTool("tallowhost.exe", {"script", project, "Login"});
    EXPECT_EQ(found.exitCode, 0u);
    EXPECT_NE(found.output.find("getScriptByName(\"Login\") answered 1: the script file exists"), std::string::npos);
    EXPECT_NE(found.output.find("scriptPath       \"" + folder.path() + "\\Assets\\Scripts\\Login.rec\""),
              std::string::npos);
    EXPECT_NE(found.output.find("compiledPath     \"" + folder.path() + "\\Assets\\Scripts\\Win32\\Login.vxc\""),
              std::string::npos);

    const ToolRun missing = runTool("tallowhost.exe", {"script", project, "Logout"});
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_NE(missing.output.find("answered 0: the script file does not exist"), std::string::npos);
}

TEST(HostProbe, BadInputGetsAClearMessageAndItsExitStatus)
{
    ScratchFolder folder;
    const std::string project = writeStandaloneProject(folder);
    const struct {
        std::vector<std::string> arguments;
        unsigned long exitCode;
        std::string message;
    } cases[] = {
        {{}, 2, "no command given"},
        {{"bogus"}, 2, "unknown command \"bogus\""},
        {{"login"}, 2, "login takes PROJECTFILE"},
        {{"script", project}, 2, "script takes PROJECTFILE NAME"},
        {{"login", project, "--colour", "red"}, 2, "unknown option --colour"},
        {{"login", project, "--user"}, 2, "--user needs a value"},
        {{"create-script", project, "X", "--type", "abc"}, 2, "--type takes a whole number, not \"abc\""},
        {{"--library", "nothere.dll", "login", project}, 2, "cannot load nothere.dll"},
        {{"viewer", project}, 2, "has no log viewer"},
        {{"login", folder / "Missing.project"}, 1, "answered 0: no project file, or the file is missing"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool("tallowhost.exe", c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.message;
    }
}
