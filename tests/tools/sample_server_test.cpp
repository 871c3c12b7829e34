// The sample project server, registered as "OrvisServer.OrvisServer" and used
// through tallowhub.dll by tallowhost: logins checked against the project's
// users, scripts kept as files.
#include "fixtures.h"
#include "library.h"
#include "tool_run.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace testing_support;
using namespace tools_testing;

namespace {

const char classKey[] = "CLSID\\{005F5A97-03C6-4E47-9EFC-C09EA3288A7B}";

// The sample server's file, as a full path without "..".
std::string serverLibraryPath()
{
    char path[MAX_PATH] = {};
    GetFullPathNameA(besideProgram("..\\samples\\sample_project_server.dll").c_str(), MAX_PATH, path, nullptr);
    return path;
}

const std::string serverLibrary = serverLibraryPath();

// The sample server registered while the object lives.
class Registration {
public:
    Registration() : library_(serverLibrary) { EXPECT_EQ(call("DllRegisterServer"), S_OK); }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    ~Registration() { call("DllUnregisterServer"); }

    HRESULT call(const char* entry) { return library_.function<HRESULT(__stdcall*)()>(entry)(); }

private:
    Library library_;
};

// The default value of HKEY_CLASSES_ROOT\<path>; "<none>" without the key.
std::string classesValue(const std::string& path)
{
    char text[MAX_PATH] = {};
    LONG size = sizeof text;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, path.c_str(), text, &size) != ERROR_SUCCESS) return "<none>";
    return text;
}

// A project of two users; settings other than Win32Path and DATPath are missing.
std::string writeServerProject(const ScratchFolder& folder)
{
    writeFile(folder / "Harbour.orvis",
              "[AssetKinds]\r\nScript=Assets\\Scripts\r\nDatapool=D:\\Pools\r\n"
              "[ScriptSettings]\r\nWin32Path=Assets\\Scripts\\Win32\r\nDATPath=Assets\\Scripts\\dat\r\n"
              "[User admin]\r\nPassword=secret\r\nScript=1\r\nLog=1\r\n"
              "[User guest]\r\nPassword=\r\nLog=1\r\n");
    return folder / "Harbour.orvis";
}

ToolRun host(const std::vector<std::string>& arguments, const std::string& user = "admin",
             const std::string& password = "secret")
{
    std::vector<std::string> all{"--library", "tallowhub.dll"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    all.insert(all.end(), {"--user", user, "--password", password});
    return runTool("tallowhost.exe", all);
}

bool says(const ToolRun& run, const std::string& text)
{
    return run.output.find(text) != std::string::npos;
}

}  // namespace

TEST(SampleServer, RegistersUnderTheProgIdAndUnregistersOnlyItsOwnClass)
{
    {
        Registration registration;
        EXPECT_EQ(classesValue("OrvisServer.OrvisServer\\CLSID"), "{005F5A97-03C6-4E47-9EFC-C09EA3288A7B}");
        EXPECT_EQ(lstrcmpiA(classesValue(std::string(classKey) + "\\InprocServer32").c_str(), serverLibrary.c_str()), 0)
            << classesValue(std::string(classKey) + "\\InprocServer32");
    }
    EXPECT_EQ(classesValue("OrvisServer.OrvisServer\\CLSID"), "<none>");
    EXPECT_EQ(classesValue(classKey), "<none>");

    // Another class that took over the ProgID keeps it.
    Registration registration;
    const std::string other = "{6F1F2D35-1A2B-4C3D-8E9F-0A1B2C3D4E5F}";
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, "OrvisServer.OrvisServer\\CLSID", REG_SZ, other.c_str(),
                           static_cast<DWORD>(other.size())),
              ERROR_SUCCESS);
    EXPECT_EQ(registration.call("DllUnregisterServer"), S_OK);
    EXPECT_EQ(classesValue("OrvisServer.OrvisServer\\CLSID"), other);
    EXPECT_EQ(classesValue(classKey), "<none>");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "OrvisServer.OrvisServer");
}

TEST(SampleServer, LoginChecksUserAndPasswordAndAnswersTheProjectsFolders)
{
    Registration registration;
    ScratchFolder folder;
    const std::string project = writeServerProject(folder);

    const ToolRun admin = host({"login", project});
    EXPECT_EQ(admin.exitCode, 0u);
    for (const std::string& line : std::vector<std::string>{"name             \"Harbour\"", "comment          null",
                                   "location         \"" + folder.path() + "\\\"",
                                   "scriptsPath      \"" + folder.path() + "\\Assets\\Scripts\"",
                                   "dataPoolsPath    \"D:\\Pools\"",
                                   "win32Path        \"" + folder.path() + "\\Assets\\Scripts\\Win32\"",
                                   "basicPath        \"\"", "userName         \"admin\"",
                                   "projectPath      \"" + folder.path() + "\"", "flags            0x11 scripts log"})
        EXPECT_TRUE(says(admin, line)) << line;

    const ToolRun guest = host({"login", project}, "guest", "");
    EXPECT_EQ(guest.exitCode, 0u);
    EXPECT_TRUE(says(guest, "flags            0x10 log"));

    const struct {
        std::string projectFile, user, password;
    } refused[] = {{project, "admin", "Secret"}, {project, "nobody", ""}, {project, "", ""},
                   {folder / "Missing.orvis", "admin", "secret"}};
    for (const auto& attempt : refused) {
        const ToolRun run = host({"login", attempt.projectFile}, attempt.user, attempt.password);
        EXPECT_EQ(run.exitCode, 1u) << attempt.user << "/" << attempt.password;
        EXPECT_TRUE(says(run, "answered 0: the project server refused the login")) << attempt.user;
    }
}

TEST(SampleServer, ScriptSavedWithSaveAsIsFoundAfterwardsAndDeletedForReplacement)
{
    Registration registration;
    ScratchFolder folder;
    const std::string project = writeServerProject(folder);
    const std::string scripts = folder / "Assets\\Scripts";

    EXPECT_EQ(host({"script", project, "Login"}).exitCode, 1u);

    const ToolRun created = host({"create-script", project, "Login", "--description", "Logs in", "--type", "3"});
    EXPECT_EQ(created.exitCode, 0u);
    EXPECT_TRUE(exists(scripts + "\\Login.script"));

    const ToolRun found = host({"script", project, "Login"});
    EXPECT_EQ(found.exitCode, 0u);
    for (const std::string& line : std::vector<std::string>{"description      \"Logs in\"", "type             3",
                                   "scriptPath       \"" + scripts + "\\Login.rec\"",
                                   "compiledPath     \"" + scripts + "\\Win32\\Login.vxc\""})
        EXPECT_TRUE(says(found, line)) << line;

    const ToolRun kept = host({"create-script", project, "Login", "--description", "Other"});
    EXPECT_EQ(kept.exitCode, 1u);
    EXPECT_TRUE(says(kept, "answered 5"));

    EXPECT_EQ(host({"create-script", project, "Login", "--mode", "1", "--description", "Again"}).exitCode, 0u);
    EXPECT_TRUE(says(host({"script", project, "Login"}), "description      \"Again\""));

    // Mode 1 deletes first; a description the record cannot hold stops the
    // new script before it is saved, so the script is gone.
    EXPECT_EQ(host({"create-script", project, "Login", "--mode", "1", "--description", "two\nlines"}).exitCode, 1u);
    EXPECT_EQ(host({"script", project, "Login"}).exitCode, 1u);
    EXPECT_FALSE(exists(scripts + "\\Login.script"));

    // A name that is not a plain file name is refused, and nothing is written outside.
    EXPECT_EQ(host({"create-script", project, "..\\Escape"}).exitCode, 1u);
    EXPECT_FALSE(exists(folder / "Assets\\Escape.script"));
}
