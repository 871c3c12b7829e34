// The asset-manager file in the install directory: the table of modes, each
// with its library and display name, checked on the file as written.
#include "guarded_entries.h"
#include "install_folder.h"
#include "result_codes.h"
#include "store_functions.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

namespace {

std::string table(const std::string& modes)
{
    return "<AssetManager>" + modes + "</AssetManager>\n";
}

std::string mode(const std::string& library, const std::string& displayName)
{
    return "<Mode Library=\"" + library + "\" DisplayName=\"" + displayName + "\"/>";
}

// An install folder holding the two asset libraries.
struct LibraryFolder : InstallFolder {
    LibraryFolder()
    {
        writeFile(folder / "tallowsolo.dll", "");
        writeFile(folder / "tallowhub.dll", "");
    }
};

}  // namespace

TEST(AssetManager, AddingModesCreatesTheTableAndAppendsInOrder)
{
    LibraryFolder install;
    ProjectStore store;
    EXPECT_EQ(store.addMode("tallowsolo.dll", "Standalone"), 1);
    EXPECT_EQ(readFile(install.assetManager()), table(mode("tallowsolo.dll", "Standalone")));
    EXPECT_EQ(ProjectStore().addMode("tallowhub.dll", "Server & team"), 1);
    EXPECT_EQ(readFile(install.assetManager()),
              table(mode("tallowsolo.dll", "Standalone") + mode("tallowhub.dll", "Server &amp; team")));
    EXPECT_EQ(entriesOf(install.folder.path()),
              (std::set<std::string>{"AssetManager.xml", "tallowsolo.dll", "tallowhub.dll"}));
}

TEST(AssetManager, AMissingLibraryIsRefusedAfterTheTableIsMade)
{
    InstallFolder install;
    ProjectStore store;
    EXPECT_EQ(store.addMode("absent.dll", "Absent"), result::libraryMissing);
    EXPECT_EQ(readFile(install.assetManager()), "<AssetManager/>\n");
}

TEST(AssetManager, ALibraryOrDisplayNameInTheTableIsRefused)
{
    LibraryFolder install;
    writeFile(install.folder / "other.dll", "");
    const std::string original = "<AssetManager>\r\n" + mode("tallowsolo.dll", "Standalone") + "\r\n</AssetManager>";
    writeFile(install.assetManager(), original);
    struct Case {
        const char* library;
        const char* displayName;
    };
    for (const Case& refused : {Case{"tallowsolo.dll", "Another name"}, Case{"other.dll", "Standalone"}}) {
        ProjectStore store;
        EXPECT_EQ(store.addMode(refused.library, refused.displayName), result::modeInTable) << refused.library;
    }
    EXPECT_EQ(readFile(install.assetManager()), original);
    // Values that differ only in case are other values (the file system finds
    // the library whatever its case).
    EXPECT_EQ(ProjectStore().addMode("TALLOWSOLO.DLL", "standalone"), 1);
}

TEST(AssetManager, BadArgumentsTouchNoFile)
{
    InstallFolder install;
    const std::string longName(256, 'n');
    struct Case {
        const char* library;
        const char* displayName;
        int expected;
    };
    const Case cases[] = {
        {nullptr, "Standalone", result::missingArgument},
        {"tallowsolo.dll", nullptr, result::missingArgument},
        {longName.c_str(), "Long", result::valueTooLong},
        {"tallowsolo.dll", longName.c_str(), result::valueTooLong},
    };
    for (const Case& bad : cases) {
        ProjectStore store;
        EXPECT_EQ(store.addMode(bad.library, bad.displayName), bad.expected);
    }
    EXPECT_FALSE(exists(install.assetManager()));
    writeFile(install.folder / "tallowsolo.dll", "");
    EXPECT_EQ(ProjectStore().addMode("tallowsolo.dll", std::string(255, 'd').c_str()), 1)
        << "255 bytes are carried whole";
    EXPECT_EQ(ProjectStore().findMode(std::string(255, 'd').c_str(), modeDisplayName), 1);
}

TEST(AssetManager, WithoutAnInstallDirectoryAddingIsRefused)
{
    InstallDirectoryCleanup cleanup;
    removeInstallDirectory();
    ProjectStore store;
    EXPECT_EQ(store.addMode("tallowsolo.dll", "Standalone"), result::noInstallDirectory);
    int count = 0;
    EXPECT_EQ(store.findMode("Standalone", modeDisplayName), result::fileDoesNotLoad);
    EXPECT_EQ(store.listModes(nullptr, 0, &count), 1);
    EXPECT_EQ(count, result::fileDoesNotLoad);
    EXPECT_EQ(store.removeMode("Standalone"), 0);
    EXPECT_THROW(store.ensureAssetManagerFile(), ComError);
}

TEST(AssetManager, ATableThatDoesNotLoadRefusesEveryModeAndStaysAsItWas)
{
    LibraryFolder install;
    const std::string originals[] = {
        "<AssetManager><Mode Library=\"x\" DisplayName=\"X\"></AssetManager>",
        "<?xml version=\"1.0\"?><AssetManager><Mode Library=\"x\" DisplayName=\"X\"/></AssetManager>",
    };
    for (const std::string& original : originals) {
        writeFile(install.assetManager(), original);
        ProjectStore store;
        EXPECT_EQ(store.addMode("tallowsolo.dll", "Standalone"), result::modeInTable) << original;
        EXPECT_EQ(store.findMode("x", modeLibrary), result::fileDoesNotLoad) << original;
        EXPECT_EQ(store.removeMode("X"), 0) << original;
        EXPECT_EQ(readFile(install.assetManager()), original);
    }
}

TEST(AssetManager, ListingCountsAndListsDisplayNamesInOrder)
{
    LibraryFolder install;
    ProjectStore store;
    int count = -1;
    GuardedEntries entries(3);
    EXPECT_EQ(store.listModes(nullptr, 0, nullptr), result::missingArgument);
    EXPECT_EQ(store.listModes(nullptr, 0, &count), 1) << "missing table";
    EXPECT_EQ(count, result::fileDoesNotLoad);
    EXPECT_EQ(store.listModes(entries.entries.data(), 3, &count), result::fileDoesNotLoad);

    writeFile(install.assetManager(), "<AssetManager/>");
    EXPECT_EQ(store.listModes(nullptr, 0, &count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(store.listModes(entries.entries.data(), 3, &count), 0);
    EXPECT_EQ(entries.text(0), "untouched");

    ProjectStore().addMode("tallowsolo.dll", "Standalone");
    ProjectStore().addMode("tallowhub.dll", "Server");
    EXPECT_EQ(store.listModes(entries.entries.data(), 3, &count), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(entries.text(0), "Standalone");
    EXPECT_EQ(entries.text(1), "Server");
    EXPECT_EQ(entries.text(2), "untouched");
    GuardedEntries one(2);
    EXPECT_EQ(store.listModes(one.entries.data(), 1, &count), 1);
    EXPECT_EQ(one.text(0), "Standalone");
    EXPECT_EQ(one.text(1), "untouched") << "never past the capacity";
}

TEST(AssetManager, FindModeComparesTheChosenFieldOnly)
{
    InstallFolder install;
    writeFile(install.assetManager(), table(mode("solo.dll", "Standalone") + "<Mode Library=\"hub.dll\"/>"));
    struct Case {
        const char* value;
        int field;
        int expected;
    };
    const Case cases[] = {
        {"solo.dll", modeLibrary, 1},
        {"hub.dll", modeLibrary, 1},
        {"solo.dll", modeDisplayName, 0},
        {"Standalone", modeDisplayName, 1},
        {"standalone", modeDisplayName, 0},
        {"Standalone", modeLibrary, 0},
        {"Standalone", 7, 0},
        {nullptr, modeLibrary, result::missingArgument},
    };
    ProjectStore store;
    for (const Case& find : cases)
        EXPECT_EQ(store.findMode(find.value, find.field), find.expected)
            << (find.value ? find.value : "null") << " " << find.field;
}

TEST(AssetManager, RemovingTakesExactlyThatModeAndTouchesNothingElse)
{
    InstallFolder install;
    writeFile(install.assetManager(), table(mode("a.dll", "A") + mode("b.dll", "B") + mode("c.dll", "C")));
    const std::string registry = "<RegisteredProjects><Project Name=\"B\"/></RegisteredProjects>";
    writeFile(install.registry(), registry);
    ProjectStore store;
    EXPECT_EQ(store.removeMode("B"), 1);
    EXPECT_EQ(readFile(install.assetManager()), table(mode("a.dll", "A") + mode("c.dll", "C")));
    EXPECT_EQ(readFile(install.registry()), registry);

    const std::string before = readFile(install.assetManager());
    EXPECT_EQ(store.removeMode("B"), result::modeNotInTable);
    EXPECT_EQ(store.removeMode("a.dll"), result::modeNotInTable);
    EXPECT_EQ(store.removeMode(nullptr), result::missingArgument);
    EXPECT_EQ(readFile(install.assetManager()), before);

    EXPECT_EQ(store.removeMode("A"), 1);
    EXPECT_EQ(store.removeMode("C"), 1);
    EXPECT_EQ(readFile(install.assetManager()), "<AssetManager/>\n") << "the last removal leaves the empty root";
}
