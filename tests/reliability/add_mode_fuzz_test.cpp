// addMode over hand-edited and damaged asset-manager files, with library and
// display names of every kind. The install directory is a scratch folder of
// the test's own (the program carries the install_directory lock). A mode is
// added whole, after every mode the table held, or the table stays as it was.
#include "folder_snapshot.h"
#include "fuzz_rounds.h"
#include "generated_files.h"
#include "install_folder.h"
#include "result_codes.h"
#include "store_functions.h"
#include "table_reader.h"

#include <gtest/gtest.h>

using namespace reliability;
using namespace solo_testing;
using namespace tallow;
using namespace testing_support;

namespace {

const std::vector<std::string> libraryFiles{"tallowsolo.dll", "tallowhub.dll", "Demo", "x & y.dll"};

std::string anyName(Random& random)
{
    switch (random.below(5)) {
    case 0: return random.pick(libraryFiles);
    case 1: return ansiOf(likelyValue(random));
    case 2: return ansiOf(textOfAnsiLength(random, random.pick(boundaryLengths())).text);
    case 3: {
        const std::vector<std::string> patterns{"*.dll", "tallow?olo.dll", "..\\tallowsolo.dll", "", "missing.dll"};
        return random.pick(patterns);
    }
    default: return ansiOf(randomText(random, false).text);
    }
}

bool somethingAt(const std::string& path)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

}  // namespace

TEST(AddModeFuzz, AModeIsAddedWholeOrNotAtAll)
{
    InstallFolder install;
    for (const std::string& library : libraryFiles) writeFile(install.folder / library, "");
    const std::string path = install.assetManager();
    int operations = 0;
    for (std::uint32_t seed : fuzzSeeds(150, 31)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        std::string how;
        DeleteFileA(path.c_str());
        const bool present = !random.percent(8);
        if (present) {
            std::string bytes = generateTable(random, assetManagerTable, false);
            if (random.percent(15)) bytes = damaged(bytes, random, how);
            writeFile(path, bytes);
        }
        const TableContent table = present ? readTable(path, assetManagerTable) : TableContent{true, {}, false};
        const std::string library = anyName(random);
        const std::string displayName = random.percent(30) ? ansiOf(likelyValue(random)) : anyName(random);
        SCOPED_TRACE(how + "add " + library.substr(0, 300) + " as " + displayName.substr(0, 300) + " to " +
                     describe(table.entries).substr(0, 2000));
        const FolderSnapshot before = snapshotOf(install.folder.path());

        const int added = ProjectStore().addMode(library.c_str(), displayName.c_str());
        ++operations;

        const bool tooLong = library.size() > 255 || displayName.size() > 255;
        const int expected = tooLong                                              ? result::valueTooLong
                             : !somethingAt(install.folder / library)             ? result::libraryMissing
                             : !table.loads                                        ? result::modeInTable
                             : firstMatch(table.entries, L"Library", library)     ? result::modeInTable
                             : firstMatch(table.entries, L"DisplayName", displayName) ? result::modeInTable
                                                                                   : result::done;
        EXPECT_EQ(added, expected);
        FolderSnapshot after = snapshotOf(install.folder.path());
        FolderSnapshot unchanged = before;
        // A missing table is made, with an empty root, once the values fit.
        if (!present && !tooLong) unchanged["AssetManager.xml"] = "<AssetManager/>\n";
        if (added == result::done) {
            ASSERT_TRUE(after.count("AssetManager.xml"));
            unchanged["AssetManager.xml"] = after["AssetManager.xml"];
            const TableContent now = readTable(path, assetManagerTable);
            ASSERT_TRUE(now.loads);
            ASSERT_EQ(now.entries.size(), table.entries.size() + 1);
            EXPECT_TRUE(std::equal(table.entries.begin(), table.entries.end(), now.entries.begin()))
                << "every mode stays";
            const TableEntry& mode = now.entries.back();
            ASSERT_EQ(mode.size(), 2u);
            EXPECT_EQ(ansiOf(mode.at(L"Library")), library);
            EXPECT_EQ(ansiOf(mode.at(L"DisplayName")), displayName);
        }
        EXPECT_TRUE(after == unchanged) << "changed: " << differences(unchanged, after);
        if (HasFailure()) break;
    }
    std::printf("modes added or refused: %d\n", operations);
}
