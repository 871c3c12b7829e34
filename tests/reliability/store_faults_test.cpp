// The standalone store when its files or its surroundings fail it: registry
// and asset-manager files that are read-only, held open by another program
// with or without leave to read them, or folders in their place; an install
// directory that is gone, unset or too long; a thread without COM, where no
// DOM document can be made. Every operation answers one of its codes or raises
// a COM error; a change that cannot be saved is reported, never answered as
// done; both files keep every byte; and once the fault is gone the files work.
#include "folder_snapshot.h"
#include "install_folder.h"
#include "result_codes.h"
#include "store_functions.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <thread>

using namespace reliability;
using namespace solo_testing;
using namespace tallow;
using namespace testing_support;

namespace {

const std::string registryBytes =
    "<RegisteredProjects><Project Name=\"Demo\" Comment=\"\" Location=\"C:\\Work\\Demo\"/>"
    "<Project Name=\"Other\" Comment=\"c\" Location=\"C:\\Work\\Other\"/></RegisteredProjects>\n";
const std::string assetManagerBytes =
    "<AssetManager><Mode Library=\"tallowsolo.dll\" DisplayName=\"Standalone\"/>"
    "<Mode Library=\"tallowhub.dll\" DisplayName=\"Server\"/></AssetManager>\n";

// What an operation gave: its result, or the COM error it raised.
struct Outcome {
    bool raised = false;
    long code = 0;
    std::string text() const
    {
        char buffer[32];
        snprintf(buffer, sizeof buffer, raised ? "raises %08lx" : "%ld", code);
        return buffer;
    }
};

Outcome outcomeOf(const std::function<int()>& operation)
{
    try {
        return Outcome{false, operation()};
    } catch (const ComError& error) {
        return Outcome{true, error.code()};
    }
}

// Handles a fault holds while it lasts.
struct Held {
    std::vector<HANDLE> handles;
    void release()
    {
        for (HANDLE handle : handles) CloseHandle(handle);
        handles.clear();
    }
    ~Held() { release(); }
};

struct Fixture {
    InstallFolder install;
    ScratchFolder projects;
    std::string projectFile = projects / "New.project";
    Held held;

    Fixture()
    {
        writeFile(install.registry(), registryBytes);
        writeFile(install.assetManager(), assetManagerBytes);
        writeFile(install.folder / "tallowsolo.dll", "");
        writeFile(install.folder / "tallowhub.dll", "");
        writeFile(install.folder / "tallowthird.dll", "");
        writeFile(projectFile, "<Project><Name>New</Name><Comment/><Location>C:\\New</Location></Project>");
    }
    void holdBoth(DWORD share)
    {
        for (const std::string& file : {install.registry(), install.assetManager()}) {
            const HANDLE handle =
                CreateFileA(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(handle, INVALID_HANDLE_VALUE);
            held.handles.push_back(handle);
        }
    }
    void setReadOnly(bool readOnly)
    {
        for (const std::string& file : {install.registry(), install.assetManager()})
            SetFileAttributesA(file.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    }
};

struct Condition {
    const char* what;
    std::function<void(Fixture&)> apply;
    std::function<void(Fixture&)> clear;
    bool filesReadable;  // the store can still read both files
    bool withoutCom = false;
};

struct Operation {
    const char* what;
    std::function<int(Fixture&)> run;
    std::set<long> codes;
    bool writesWhenDone;  // answering 1 means a file was written
    bool changesPresentEntry = false;  // removes an entry that both files hold
};

}  // namespace

TEST(StoreFaults, EveryOperationUnderEveryFault)
{
    const std::vector<Condition> conditions{
        {"files read-only", [](Fixture& f) { f.setReadOnly(true); }, [](Fixture& f) { f.setReadOnly(false); }, true},
        {"files held open, reading allowed", [](Fixture& f) { f.holdBoth(FILE_SHARE_READ); },
         [](Fixture& f) { f.held.release(); }, true},
        {"files held open, nothing allowed", [](Fixture& f) { f.holdBoth(0); }, [](Fixture& f) { f.held.release(); },
         false},
        {"install directory gone",
         [](Fixture& f) { setInstallDirectory(f.install.folder / "gone"); },
         [](Fixture& f) { setInstallDirectory(f.install.folder.path()); }, false},
        {"install directory unset", [](Fixture&) { removeInstallDirectory(); },
         [](Fixture& f) { setInstallDirectory(f.install.folder.path()); }, false},
        {"install directory too long", [](Fixture&) { setInstallDirectory("C:\\" + std::string(300, 'd')); },
         [](Fixture& f) { setInstallDirectory(f.install.folder.path()); }, false},
        {"thread without COM", [](Fixture&) {}, [](Fixture&) {}, false, true},
    };
    const std::vector<Operation> operations{
        {"registerProjectFile", [](Fixture& f) { return registerProjectFile(f.projectFile.c_str()); },
         {result::fileDoesNotLoad, result::projectRegistered}, true},
        {"unregisterProject", [](Fixture&) { return unregisterProject("Demo"); }, {result::done}, false, true},
        {"getRegisteredProjects",
         [](Fixture&) {
             char names[4][256];
             ListEntry entries[4] = {{nullptr, names[0]}, {nullptr, names[1]}, {nullptr, names[2]},
                                     {nullptr, names[3]}};
             int count = 0;
             return getRegisteredProjects(entries, 4, &count);
         },
         {result::done, result::fileDoesNotLoad}, false},
        {"addMode", [](Fixture&) { return ProjectStore().addMode("tallowthird.dll", "Third"); },
         {result::noInstallDirectory, result::modeInTable}, true},
        {"removeMode", [](Fixture&) { return ProjectStore().removeMode("Server"); }, {result::no, result::done},
         false, true},
        {"findMode", [](Fixture&) { return ProjectStore().findMode("Server", modeDisplayName); },
         {result::done, result::fileDoesNotLoad}, false},
        {"createProject with registration",
         [](Fixture& f) { return createProject("Made", "", (f.projects / "Made").c_str(), 1, 1); },
         {result::fileDoesNotLoad, result::projectRegistered}, true},
    };

    int faults = 0;
    for (const Condition& condition : conditions) {
        for (const Operation& operation : operations) {
            SCOPED_TRACE(std::string(condition.what) + ": " + operation.what);
            Fixture fixture;
            const FolderSnapshot before = snapshotOf(fixture.install.folder.path());
            condition.apply(fixture);
            Outcome outcome;
            if (condition.withoutCom) {
                std::thread worker([&] { outcome = outcomeOf([&] { return operation.run(fixture); }); });
                worker.join();
            } else {
                outcome = outcomeOf([&] { return operation.run(fixture); });
            }
            condition.clear(fixture);
            ++faults;
            std::printf("%-34s %-32s %s\n", condition.what, operation.what, outcome.text().c_str());

            if (!outcome.raised) {
                EXPECT_TRUE(operation.codes.count(outcome.code)) << outcome.text();
                EXPECT_FALSE(operation.writesWhenDone && outcome.code == result::done) << "nothing could be saved";
                EXPECT_FALSE(condition.filesReadable && operation.changesPresentEntry)
                    << "a removal that cannot be saved is answered " << outcome.text();
            } else if (condition.withoutCom) {
                EXPECT_EQ(outcome.code, E_POINTER);
            }
            const FolderSnapshot after = snapshotOf(fixture.install.folder.path());
            EXPECT_TRUE(after == before) << "changed: " << differences(before, after);

            // With the fault gone, both files still serve.
            EXPECT_EQ(registerProjectFile(fixture.projectFile.c_str()), result::done);
            int count = 0;
            EXPECT_EQ(getRegisteredProjects(nullptr, 0, &count), result::done);
            EXPECT_EQ(count, 3);
            EXPECT_EQ(ProjectStore().addMode("tallowthird.dll", "Third"), result::done);
        }
    }
    std::printf("faults injected into store operations: %d\n", faults);
}
