// The store's operations on the project registry and the asset-manager file,
// over tables that people edited by hand: entries nested, crowded, missing
// attributes, repeating names, values at the edges of the buffers and beyond,
// files that are damaged, begin with declarations or are not there. Each
// operation answers one of its codes; look-ups and listings find what the
// file holds, listings stay inside the caller's entries and buffers, and a
// change either happens whole, keeping every other entry, or not at all. No
// other file is touched.
#include "folder_snapshot.h"
#include "fuzz_rounds.h"
#include "generated_files.h"
#include "guarded_entries.h"
#include "result_codes.h"
#include "scratch_folder.h"
#include "table_reader.h"

#include <gtest/gtest.h>

using namespace reliability;
using namespace tallow;
using namespace testing_support;

namespace {

class TableFuzz : public testing::Test {
protected:
    ~TableFuzz() override { std::printf("operations run: %d, files checked: %d\n", operations, filesChecked); }

    // A store over this test's files, whatever the machine's install directory.
    struct Store {
        explicit Store(const ScratchFolder& folder)
        {
            store.setRegisteredProjectsPath(folder.path().c_str());
            store.setAssetManagerPath(folder.path().c_str());
        }
        ProjectStore store;
    };

    // Writes the table (or leaves it absent) and a project file, damaging
    // each now and then; answers what the table holds.
    TableContent arrange(Random& random, const TableKind& kind, const std::string& path, std::string& how)
    {
        DeleteFileA(path.c_str());
        if (random.percent(6)) {
            how += "table absent; ";
        } else {
            std::string bytes = generateTable(random, kind, true);
            if (random.percent(15)) bytes = damaged(bytes, random, how);
            writeFile(path, bytes);
        }
        project = generateProjectFile(random, false);
        projectDamaged = random.percent(10);
        if (projectDamaged) project.bytes = damaged(project.bytes, random, how);
        writeFile(projectPath, project.bytes);
        return readTable(path, kind);
    }

    // A value to look for: one the table holds, one it may hold, or any.
    std::string wanted(Random& random, const TableContent& table, const std::wstring& attribute)
    {
        const std::vector<WalkedValue> walked = walkedValues(table.entries, attribute);
        switch (random.below(4)) {
        case 0:
            if (!walked.empty()) return walked[random.below(walked.size())].text;
            [[fallthrough]];
        case 1: return ansiOf(likelyValue(random));
        case 2: return ansiOf(textOfAnsiLength(random, random.pick(boundaryLengths())).text);
        default: return ansiOf(randomText(random, false).text);
        }
    }

    // A listing into `capacity` of a few more guarded entries than the table
    // has: the first ones get the walked values, no entry past the capacity
    // and no byte past a buffer is written.
    void expectListed(const GuardedEntries& entries, int capacity, const TableContent& table,
                      const std::wstring& attribute)
    {
        const std::vector<WalkedValue> walked = walkedValues(table.entries, attribute);
        for (size_t i = 0; i < entries.entries.size(); ++i) {
            SCOPED_TRACE("entry " + std::to_string(i));
            EXPECT_TRUE(entries.buffers[i].guardsIntact());
            EXPECT_EQ(entries.entries[i].callerWord, &entries.entries[i]) << "the first word is the caller's";
            if (i < walked.size() && i < static_cast<size_t>(capacity))
                EXPECT_EQ(entries.text(i), walked[i].text);
            else
                EXPECT_EQ(entries.text(i), "untouched");
        }
    }

    // The files after an operation: as they were, but for `changed` (the
    // table the operation wrote, if any).
    void expectOnlyChanged(const FolderSnapshot& before, const std::string& changed = "")
    {
        FolderSnapshot after = snapshotOf(install.path());
        FolderSnapshot expected = before;
        if (!changed.empty()) {
            ASSERT_TRUE(after.count(changed)) << "the table is there";
            expected[changed] = after[changed];
        }
        EXPECT_TRUE(after == expected) << "changed: " << differences(expected, after);
        filesChecked += static_cast<int>(after.size());
    }

    // A table and what its removal answers where it removes nothing.
    struct Removal {
        const TableKind& kind;
        const std::string& path;
        const char* file;
        const wchar_t* attribute;
        int unloadable;  // the table does not load
        int absent;      // no entry bears the name
    };

    // The answer of a removal of `name` and the files afterwards: untouched
    // unless an entry other than the root matched, and then the table without
    // its first removable match only.
    void expectRemoved(const Removal& removal, const TableContent& table, const std::string& name, int removed,
                       const FolderSnapshot& before)
    {
        const std::optional<size_t> match = firstRemovable(table, removal.attribute, name);
        if (!table.loads) {
            EXPECT_EQ(removed, removal.unloadable);
            expectOnlyChanged(before);
        } else if (!firstMatch(table.entries, removal.attribute, name)) {
            EXPECT_EQ(removed, removal.absent);
            expectOnlyChanged(before);
        } else if (!match) {
            EXPECT_EQ(removed, result::done) << "only the root matches";
            expectOnlyChanged(before);
        } else {
            EXPECT_EQ(removed, result::done);
            expectOnlyChanged(before, removal.file);
            std::vector<TableEntry> kept = table.entries;
            kept.erase(kept.begin() + static_cast<long>(*match));
            const TableContent after = readTable(removal.path, removal.kind);
            EXPECT_TRUE(after.loads);
            EXPECT_EQ(after.entries, kept) << "only entry " << *match << " is gone";
        }
    }

    ScratchFolder install;
    const std::string registry = install / "RegisteredProjects.xml";
    const std::string assetManager = install / "AssetManager.xml";
    const std::string projectPath = install / "Fuzz.project";
    ProjectFileContent project;
    bool projectDamaged = false;
    int operations = 0;
    int filesChecked = 0;
};

}  // namespace

TEST_F(TableFuzz, ProjectRegistry)
{
    for (std::uint32_t seed : fuzzSeeds(250, 11)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        std::string how;
        const TableContent table = arrange(random, registryTable, registry, how);
        SCOPED_TRACE(how + describe(table.entries).substr(0, 2000));
        const FolderSnapshot before = snapshotOf(install.path());
        const bool present = before.count("RegisteredProjects.xml") == 1;
        Store store(install);
        ++operations;

        switch (random.below(5)) {
        case 0: {
            EXPECT_EQ(store.store.countProjects(),
                      table.loads ? static_cast<int>(table.entries.size()) : result::fileDoesNotLoad);
            expectOnlyChanged(before);
            break;
        }
        case 1: {
            const std::string name = wanted(random, table, L"Name");
            SCOPED_TRACE("find " + name.substr(0, 300));
            const int expected = !table.loads                                ? result::fileDoesNotLoad
                                 : firstMatch(table.entries, L"Name", name) ? result::done
                                                                            : result::no;
            EXPECT_EQ(store.store.findProject(name.c_str()), expected);
            expectOnlyChanged(before);
            break;
        }
        case 2: {
            GuardedEntries entries(table.entries.size() + 3);
            const int capacity = static_cast<int>(random.below(entries.entries.size() + 1));
            SCOPED_TRACE("capacity " + std::to_string(capacity));
            int count = -1;
            const int listed = store.store.listProjects(entries.entries.data(), capacity, &count);
            EXPECT_EQ(count, table.loads ? static_cast<int>(table.entries.size()) : result::fileDoesNotLoad);
            EXPECT_EQ(listed, !table.loads             ? result::fileDoesNotLoad
                              : table.entries.empty() ? result::noEntries
                                                      : result::done);
            expectListed(entries, table.loads ? capacity : 0, table, L"Name");
            expectOnlyChanged(before);
            break;
        }
        case 3: {
            const std::string name = wanted(random, table, L"Name");
            SCOPED_TRACE("remove " + name.substr(0, 300));
            const Removal removal{registryTable, registry, "RegisteredProjects.xml", L"Name", result::done,
                                  result::projectNotRegistered};
            expectRemoved(removal, table, name, store.store.removeProject(name.c_str()), before);
            break;
        }
        default: {
            const int registered = store.store.registerProject(projectPath.c_str());
            // A missing registry is made, with an empty root, before anything else.
            const TableContent now = present ? table : TableContent{true, {}};
            const std::string name = singleElementText(project, "Name");
            const std::string comment = singleElementText(project, "Comment");
            const std::string location = singleElementText(project, "Location");
            if (!projectDamaged) {
                const int expected = !project.loads                                      ? result::fileDoesNotLoad
                                     : name.size() > 255 || comment.size() > 259 ||
                                               location.size() > 259                    ? result::valueTooLong
                                     : !now.loads || firstMatch(now.entries, L"Name", name) ? result::projectRegistered
                                                                                          : result::done;
                EXPECT_EQ(registered, expected);
            }
            if (registered != result::done) {
                EXPECT_TRUE(registered == result::fileDoesNotLoad || registered == result::valueTooLong ||
                            registered == result::projectRegistered)
                    << registered;
                expectOnlyChanged(before, present ? "" : "RegisteredProjects.xml");
                if (!present) {
                    EXPECT_EQ(readFile(registry), "<RegisteredProjects/>\n");
                }
                break;
            }
            expectOnlyChanged(before, "RegisteredProjects.xml");
            const TableContent after = readTable(registry, registryTable);
            ASSERT_TRUE(after.loads);
            ASSERT_EQ(after.entries.size(), now.entries.size() + 1);
            EXPECT_TRUE(std::equal(now.entries.begin(), now.entries.end(), after.entries.begin()))
                << "every entry stays";
            const TableEntry& added = after.entries.back();
            ASSERT_EQ(added.size(), 3u);
            EXPECT_FALSE(firstMatch(now.entries, L"Name", ansiOf(added.at(L"Name")))) << "no name twice";
            if (!projectDamaged) {
                EXPECT_EQ(ansiOf(added.at(L"Name")), name);
                EXPECT_EQ(ansiOf(added.at(L"Comment")), comment);
                EXPECT_EQ(ansiOf(added.at(L"Location")), location);
            }
            break;
        }
        }
        if (HasFailure()) break;
    }
}

TEST_F(TableFuzz, AssetManagerFile)
{
    for (std::uint32_t seed : fuzzSeeds(250, 12)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        std::string how;
        const TableContent table = arrange(random, assetManagerTable, assetManager, how);
        SCOPED_TRACE(how + describe(table.entries).substr(0, 2000));
        const FolderSnapshot before = snapshotOf(install.path());
        Store store(install);
        ++operations;

        switch (random.below(4)) {
        case 0: {
            const bool byLibrary = random.percent(50);
            const std::wstring attribute = byLibrary ? L"Library" : L"DisplayName";
            const std::string value = wanted(random, table, attribute);
            SCOPED_TRACE("find " + utf8Of(attribute) + " " + value.substr(0, 300));
            const int expected = !table.loads                                   ? result::fileDoesNotLoad
                                 : firstMatch(table.entries, attribute, value) ? result::done
                                                                               : result::no;
            EXPECT_EQ(store.store.findMode(value.c_str(), byLibrary ? modeLibrary : modeDisplayName), expected);
            expectOnlyChanged(before);
            break;
        }
        case 1: {
            int count = -1;
            EXPECT_EQ(store.store.listModes(nullptr, 0, &count), result::done);
            EXPECT_EQ(count, table.loads ? static_cast<int>(table.entries.size()) : result::fileDoesNotLoad);
            expectOnlyChanged(before);
            break;
        }
        case 2: {
            GuardedEntries entries(table.entries.size() + 3);
            const int capacity = static_cast<int>(random.below(entries.entries.size() + 1));
            SCOPED_TRACE("capacity " + std::to_string(capacity));
            int count = -1;
            const int listed = store.store.listModes(entries.entries.data(), capacity, &count);
            EXPECT_EQ(count, table.loads ? static_cast<int>(table.entries.size()) : result::fileDoesNotLoad);
            EXPECT_EQ(listed, !table.loads             ? result::fileDoesNotLoad
                              : table.entries.empty() ? result::no
                                                      : result::done);
            expectListed(entries, table.loads ? capacity : 0, table, L"DisplayName");
            expectOnlyChanged(before);
            break;
        }
        default: {
            const std::string name = wanted(random, table, L"DisplayName");
            SCOPED_TRACE("remove " + name.substr(0, 300));
            const Removal removal{assetManagerTable, assetManager, "AssetManager.xml", L"DisplayName", result::no,
                                  result::modeNotInTable};
            expectRemoved(removal, table, name, store.store.removeMode(name.c_str()), before);
            break;
        }
        }
        if (HasFailure()) break;
    }
}


// Recording the asset root in a project file that people edited: the file
// takes it as its last element and keeps what it held, or stays as it was.
TEST(ProjectFileFuzz, RecordingTheAssetRootKeepsTheFile)
{
    ScratchFolder folder;
    const std::string path = folder / "Fuzz.project";
    int operations = 0;
    for (std::uint32_t seed : fuzzSeeds(120, 13)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        ProjectFileContent file = generateProjectFile(random, false);
        std::string how;
        const bool damagedFile = random.percent(20);
        if (damagedFile) file.bytes = damaged(file.bytes, random, how);
        SCOPED_TRACE(how);
        writeFile(path, file.bytes);
        const std::string assetRoot = folder / ("Assets" + std::to_string(seed));
        const bool treeInTheWay = random.percent(15);
        if (treeInTheWay) {
            CreateDirectoryA(assetRoot.c_str(), nullptr);
            CreateDirectoryA((assetRoot + "\\Scripts").c_str(), nullptr);
        }
        const FolderSnapshot before = snapshotOf(folder.path());

        const int recorded = ProjectStore().setTestAssetPath(path.c_str(), assetRoot.c_str());
        ++operations;

        const auto roots = file.texts.find("TestAssetPath");
        const bool hasRoot = roots != file.texts.end() && !roots->second.empty();
        if (!damagedFile) {
            const int expected = !file.loads ? result::fileDoesNotLoad
                                 : hasRoot   ? result::assetRootRecorded
                                 : treeInTheWay ? result::assetTreeNotMade
                                                : result::done;
            EXPECT_EQ(recorded, expected);
        }
        if (recorded != result::done) {
            EXPECT_TRUE(recorded == result::fileDoesNotLoad || recorded == result::assetRootRecorded ||
                        recorded == result::assetTreeNotMade)
                << recorded;
            EXPECT_EQ(readFile(path), file.bytes) << "the project file stays as it was";
            if (recorded != result::assetTreeNotMade) {
                const FolderSnapshot after = snapshotOf(folder.path());
                EXPECT_TRUE(after == before) << "no folder made: " << differences(before, after);
            }
            continue;
        }
        // The file opens with the new root and every value it had.
        ProjectFileContent withRoot = file;
        XmlText root;
        root.append(std::wstring(assetRoot.begin(), assetRoot.end()));
        withRoot.texts["TestAssetPath"] = {root.text};
        tallow::ProjectInfo* info = nullptr;
        const int opened = ProjectStore().openProject(path.c_str(), &info);
        ASSERT_NE(info, nullptr);
        const auto text = [](BSTR field) { return ansiOf(std::wstring(field, SysStringLen(field))); };
        EXPECT_EQ(opened, result::done);
        if (opened == result::done) {
            EXPECT_EQ(text(info->assetPath), assetRoot);
            if (!damagedFile) {
                const ExpectedProject expected = expectedProject(withRoot);
                EXPECT_EQ(text(info->name), expected.name);
                EXPECT_EQ(text(info->comment), expected.comment);
                EXPECT_EQ(text(info->location), expected.location);
            }
        }
        BSTR* fields = reinterpret_cast<BSTR*>(info);
        for (int i = 0; i < 19; ++i) SysFreeString(fields[i]);
        CoTaskMemFree(info);
        if (HasFailure()) break;
    }
    std::printf("asset roots recorded or refused: %d\n", operations);
}
