// The project registry in the install directory: registering, looking up,
// removing, counting and listing projects, checked on the file as written.
#include "guarded_entries.h"
#include "install_folder.h"
#include "result_codes.h"
#include "store_functions.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

namespace {

// Writes a project file with the given elements and answers its path.
std::string projectFile(const ScratchFolder& folder, const std::string& file, const std::string& children)
{
    const std::string path = folder / file;
    writeFile(path, "<Project>" + children + "</Project>");
    return path;
}

std::string named(const std::string& name)
{
    return "<Name>" + name + "</Name>";
}

std::string registryOf(const std::string& entries)
{
    return "<RegisteredProjects>" + entries + "</RegisteredProjects>\n";
}

std::string entry(const std::string& name, const std::string& comment = "", const std::string& location = "")
{
    return "<Project Name=\"" + name + "\" Comment=\"" + comment + "\" Location=\"" + location + "\"/>";
}

std::string repeated(const std::string& item, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) text += item;
    return text;
}

}  // namespace

TEST(ProjectRegistry, RegisteringCreatesTheRegistryAndAppendsEntriesInOrder)
{
    InstallFolder install;
    ScratchFolder projects;
    const std::string demo =
        projectFile(projects, "Demo.project", "<Name>Demo</Name><Comment/><Location>C:\\Work\\Demo</Location>");
    EXPECT_EQ(registerProjectFile(demo.c_str()), 1);
    EXPECT_EQ(readFile(install.registry()), registryOf(entry("Demo", "", "C:\\Work\\Demo")));

    // Values are read wherever the elements lie, and escaped on the way out.
    const std::string other = projectFile(projects, "Other.project",
                                          "<Location>D:\\O</Location><Deeper><Name>A&amp;B</Name></Deeper>"
                                          "<Comment>say \"hi\" &lt;now&gt;</Comment>");
    EXPECT_EQ(registerProjectFile(other.c_str()), 1);
    EXPECT_EQ(readFile(install.registry()),
              registryOf(entry("Demo", "", "C:\\Work\\Demo") +
                         entry("A&amp;B", "say &quot;hi&quot; &lt;now&gt;", "D:\\O")));
    EXPECT_EQ(entriesOf(install.folder.path()), std::set<std::string>{"RegisteredProjects.xml"})
        << "no temporary file is left beside the registry";
}

TEST(ProjectRegistry, ARegisteredNameIsRefusedAndTheRegistryLeftAsItWas)
{
    InstallFolder install;
    ScratchFolder projects;
    const std::string original = "<RegisteredProjects>\r\n  " + entry("Demo", "kept", "C:\\Old") +
                                 "\r\n  <Project Location=\"x\"/>\r\n</RegisteredProjects>";
    writeFile(install.registry(), original);
    // The entry without "Name" carries "Demo" over from the entry before it.
    const std::string again = projectFile(projects, "Again.project", named("Demo") + "<Location>C:\\New</Location>");
    EXPECT_EQ(registerProjectFile(again.c_str()), result::projectRegistered);
    EXPECT_EQ(readFile(install.registry()), original);

    // A first entry without "Name" bears the empty name.
    writeFile(install.registry(), "<RegisteredProjects><Project/></RegisteredProjects>");
    const std::string nameless = projectFile(projects, "Nameless.project", "<Comment>c</Comment>");
    EXPECT_EQ(registerProjectFile(nameless.c_str()), result::projectRegistered);
    EXPECT_EQ(readFile(install.registry()), "<RegisteredProjects><Project/></RegisteredProjects>");
}

TEST(ProjectRegistry, AProjectFileWithoutNameRegistersTheEmptyNameOnce)
{
    InstallFolder install;
    ScratchFolder projects;
    const std::string nameless = projectFile(projects, "Nameless.project", "<Name>one</Name><Name>two</Name>");
    EXPECT_EQ(registerProjectFile(nameless.c_str()), 1) << "a repeated element reads as empty";
    EXPECT_EQ(registerProjectFile(nameless.c_str()), result::projectRegistered);
    EXPECT_EQ(readFile(install.registry()), registryOf(entry("")));
    ProjectStore store;
    EXPECT_EQ(store.findProject(""), 1);
}

TEST(ProjectRegistry, NamesCompareExactly)
{
    InstallFolder install;
    ScratchFolder projects;
    for (const char* name : {"Demo", "demo", "DEMO"})
        EXPECT_EQ(registerProjectFile(projectFile(projects, std::string(name) + ".project", named(name)).c_str()), 1);
    EXPECT_EQ(unregisterProject("demo"), 1);
    EXPECT_EQ(readFile(install.registry()), registryOf(entry("Demo") + entry("DEMO")));
    ProjectStore store;
    EXPECT_EQ(store.findProject("Demo"), 1);
    EXPECT_EQ(store.findProject("demo"), 0);
    EXPECT_EQ(store.findProject("Dem"), 0);
    EXPECT_EQ(store.findProject(nullptr), result::missingArgument);
}

TEST(ProjectRegistry, RemovingTakesTheFirstEntryOfTheNameAndKeepsTheOrder)
{
    InstallFolder install;
    writeFile(install.registry(),
              registryOf(entry("A") + entry("Twice", "1") + entry("B") + entry("Twice", "2") + entry("C")));
    EXPECT_EQ(unregisterProject("Twice"), 1);
    EXPECT_EQ(readFile(install.registry()), registryOf(entry("A") + entry("B") + entry("Twice", "2") + entry("C")));
    EXPECT_EQ(unregisterProject("Twice"), 1);
    EXPECT_EQ(readFile(install.registry()), registryOf(entry("A") + entry("B") + entry("C")));

    const std::string before = readFile(install.registry());
    EXPECT_EQ(unregisterProject("Twice"), result::projectNotRegistered);
    EXPECT_EQ(unregisterProject(nullptr), result::missingArgument);
    EXPECT_EQ(readFile(install.registry()), before);
}

TEST(ProjectRegistry, CountsCannotTellAFailedLoadFrom105Entries)
{
    InstallFolder install;
    ProjectStore store;
    EXPECT_EQ(store.countProjects(), result::fileDoesNotLoad) << "missing registry";
    writeFile(install.registry(), "<RegisteredProjects/>");
    EXPECT_EQ(store.countProjects(), 0);
    writeFile(install.registry(), registryOf(repeated(entry("x"), 105)));
    EXPECT_EQ(store.countProjects(), 105);
}

TEST(ProjectRegistry, ListingCountsFirstAndNeverWritesPastTheCallersEntries)
{
    InstallFolder install;
    ScratchFolder projects;
    int count = -1;
    EXPECT_EQ(getRegisteredProjects(nullptr, 0, nullptr), result::missingArgument);

    writeFile(install.registry(), "<RegisteredProjects/>");
    GuardedEntries entries(3);
    EXPECT_EQ(getRegisteredProjects(nullptr, 0, &count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(getRegisteredProjects(entries.entries.data(), 3, &count), result::noEntries);
    EXPECT_EQ(entries.text(0), "untouched");

    for (const char* name : {"First", "Second"})
        registerProjectFile(projectFile(projects, std::string(name) + ".project", named(name)).c_str());
    EXPECT_EQ(getRegisteredProjects(nullptr, 0, &count), 1);
    ASSERT_EQ(count, 2);
    // The registry grows between the count and the listing.
    registerProjectFile(projectFile(projects, "Third.project", named("Third")).c_str());
    EXPECT_EQ(getRegisteredProjects(entries.entries.data(), 2, &count), 1);
    EXPECT_EQ(count, 3) << "the caller learns that the registry has grown";
    EXPECT_EQ(entries.text(0), "First");
    EXPECT_EQ(entries.text(1), "Second");
    EXPECT_EQ(entries.text(2), "untouched");
    EXPECT_TRUE(entries.buffers[1].guardsIntact());
    EXPECT_EQ(entries.entries[0].callerWord, &entries.entries[0]);
}

// A listing of a registry that does not load must not pass for a listing of
// 105 names; the count alone still reads 105.
TEST(ProjectRegistry, ListingARegistryThatDoesNotLoadAnswers105)
{
    InstallFolder install;
    for (const bool present : {false, true}) {
        if (present) writeFile(install.registry(), "<RegisteredProjects><Project Name=\"x\"/>");
        GuardedEntries entries(1);
        int count = -1;
        EXPECT_EQ(getRegisteredProjects(nullptr, 0, &count), 1) << present;
        EXPECT_EQ(count, result::fileDoesNotLoad) << present;
        EXPECT_EQ(getRegisteredProjects(entries.entries.data(), 1, &count), result::fileDoesNotLoad) << present;
        EXPECT_EQ(count, result::fileDoesNotLoad) << present;
        EXPECT_EQ(entries.text(0), "untouched") << present;
    }
}

TEST(ProjectRegistry, ARegistryThatDoesNotLoadIsNeverRewritten)
{
    InstallFolder install;
    ScratchFolder projects;
    const std::string original =
        "<?xml version=\"1.0\"?><RegisteredProjects>" + entry("Demo") + "</RegisteredProjects>";
    writeFile(install.registry(), original);
    ProjectStore store;
    EXPECT_EQ(store.countProjects(), result::fileDoesNotLoad);
    EXPECT_EQ(store.findProject("Demo"), result::fileDoesNotLoad);
    EXPECT_EQ(registerProjectFile(projectFile(projects, "New.project", named("New")).c_str()),
              result::projectRegistered);
    EXPECT_EQ(unregisterProject("Demo"), 1);
    EXPECT_EQ(readFile(install.registry()), original);
}

TEST(ProjectRegistry, AProjectFileThatDoesNotLoadIsRefusedAfterTheRegistryIsMade)
{
    InstallFolder install;
    ScratchFolder projects;
    EXPECT_EQ(registerProjectFile((projects / "missing.project").c_str()), result::fileDoesNotLoad);
    EXPECT_EQ(readFile(install.registry()), "<RegisteredProjects/>\n");
    EXPECT_EQ(registerProjectFile(nullptr), result::missingArgument);
    EXPECT_EQ(readFile(install.registry()), "<RegisteredProjects/>\n");
    ProjectStore store;
    EXPECT_EQ(store.removeProject("x"), result::projectNotRegistered);
}

// A value the registry cannot carry whole is refused: a cut name could never
// be found or removed again, and a cut folder names another folder.
TEST(ProjectRegistry, ValuesTooLongForTheRegistryAreRefused)
{
    InstallFolder install;
    ScratchFolder projects;
    writeFile(install.registry(), "<RegisteredProjects/>");
    struct Case {
        const char* what;
        std::string children;
    };
    const Case refused[] = {
        {"name of 256", named(std::string(256, 'n'))},
        {"name of 259", named(std::string(259, 'n'))},
        {"comment of 260", named("c") + "<Comment>" + std::string(260, 'c') + "</Comment>"},
        {"location of 260", named("l") + "<Location>" + std::string(260, 'l') + "</Location>"},
    };
    for (const Case& value : refused)
        EXPECT_EQ(registerProjectFile(projectFile(projects, "Long.project", value.children).c_str()),
                  result::valueTooLong)
            << value.what;
    EXPECT_EQ(readFile(install.registry()), "<RegisteredProjects/>");

    const std::string longest(255, 'n');
    const std::string fits = projectFile(projects, "Fits.project",
                                         named(longest) + "<Comment>" + std::string(259, 'c') + "</Comment><Location>" +
                                             std::string(259, 'l') + "</Location>");
    EXPECT_EQ(registerProjectFile(fits.c_str()), 1);
    EXPECT_EQ(registerProjectFile(fits.c_str()), result::projectRegistered);
    EXPECT_EQ(unregisterProject(longest.c_str()), 1);
    EXPECT_EQ(readFile(install.registry()), "<RegisteredProjects/>\n");
}

// The registry is replaced whole by a save: when the replacement fails the old
// registry stays as it was and no temporary file is left beside it.
TEST(ProjectRegistry, AFailedSaveLeavesTheOldRegistry)
{
    InstallFolder install;
    ScratchFolder projects;
    const std::string original = registryOf(entry("Demo"));
    writeFile(install.registry(), original);
    // Another program holds the registry open without letting it be replaced.
    const HANDLE reader = CreateFileA(install.registry().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const std::string other = projectFile(projects, "Other.project", named("Other"));
    EXPECT_THROW(registerProjectFile(other.c_str()), ComError);
    EXPECT_THROW(unregisterProject("Demo"), ComError);
    CloseHandle(reader);
    EXPECT_EQ(readFile(install.registry()), original);
    EXPECT_EQ(entriesOf(install.folder.path()), std::set<std::string>{"RegisteredProjects.xml"});
    EXPECT_EQ(registerProjectFile(other.c_str()), 1) << "the registry still loads";
}

TEST(ProjectRegistry, WithoutAnInstallDirectoryNothingIsFoundAndSavesFail)
{
    InstallDirectoryCleanup cleanup;
    removeInstallDirectory();
    ScratchFolder projects;
    SetCurrentDirectoryA(projects.path().c_str());
    const std::string demo = projectFile(projects, "Demo.project", named("Demo"));
    EXPECT_THROW(registerProjectFile(demo.c_str()), ComError);
    ProjectStore store;
    EXPECT_EQ(store.findProject("Demo"), result::fileDoesNotLoad);
    EXPECT_EQ(store.countProjects(), result::fileDoesNotLoad);
    EXPECT_EQ(unregisterProject("Demo"), 1);
    EXPECT_EQ(entriesOf(projects.path()), std::set<std::string>{"Demo.project"}) << "nothing saved beside";
    SetCurrentDirectoryA("C:\\");
}
