// Removing an entry from the project registry or the asset-manager file when
// the file's root element bears the entry tag itself.
#include "project_store.h"
#include "result_codes.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tallow;
using namespace testing_support;

// A table whose root bears the entry tag lists the root as its first entry.
// Removing that entry must not take the root, and every other entry with it,
// out of the file: the walk passes over the root to the next entry that
// matches, and with none the file stays as it was.
TEST(TableRemoval, TheRootEntryIsNeverTakenOutOfTheFile)
{
    ScratchFolder install;
    const struct {
        std::string file;
        std::string table;
        std::function<int(ProjectStore&, const char*)> remove;
    } tables[] = {
        {"RegisteredProjects.xml", "<Project Name=\"Demo\"><Project Name=\"Other\"/><Project Name=\"Demo\"/></Project>",
         [](ProjectStore& store, const char* name) { return store.removeProject(name); }},
        {"AssetManager.xml",
         "<Mode DisplayName=\"Demo\"><Mode DisplayName=\"Other\"/><Mode DisplayName=\"Demo\"/></Mode>",
         [](ProjectStore& store, const char* name) { return store.removeMode(name); }},
    };
    for (const auto& table : tables) {
        SCOPED_TRACE(table.file);
        const std::string path = install / table.file;
        writeFile(path, table.table);
        ProjectStore store;
        store.setRegisteredProjectsPath(install.path().c_str());
        store.setAssetManagerPath(install.path().c_str());
        const std::string entry = table.file[0] == 'R' ? "Project" : "Mode";
        const std::string attribute = table.file[0] == 'R' ? "Name" : "DisplayName";

        EXPECT_EQ(table.remove(store, "Demo"), result::done);
        EXPECT_EQ(readFile(path), "<" + entry + " " + attribute + "=\"Demo\"><" + entry + " " + attribute +
                                      "=\"Other\"/></" + entry + ">\n")
            << "the inner Demo is gone, the root and Other stay";
        EXPECT_EQ(table.remove(store, "Demo"), result::done);
        EXPECT_EQ(readFile(path), "<" + entry + " " + attribute + "=\"Demo\"><" + entry + " " + attribute +
                                      "=\"Other\"/></" + entry + ">\n")
            << "nothing but the root matches: the file stays";
    }
}
