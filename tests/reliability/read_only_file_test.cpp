// A registry or asset-manager file that someone marked read-only.
#include "project_store.h"
#include "result_codes.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tallow;
using namespace testing_support;

// Every change that would save the file is refused with the access error;
// the file keeps its bytes and its read-only mark, and nothing is left beside it.
TEST(ReadOnlyFile, IsNeverReplaced)
{
    ScratchFolder install;
    ScratchFolder projects;
    const std::string registry = install / "RegisteredProjects.xml";
    const std::string assetManager = install / "AssetManager.xml";
    const std::string project = projects / "New.project";
    writeFile(project, "<Project><Name>New</Name></Project>");
    const std::string registryBytes = "<RegisteredProjects><Project Name=\"Demo\"/></RegisteredProjects>";
    const std::string assetManagerBytes = "<AssetManager><Mode Library=\"a.dll\" DisplayName=\"A\"/></AssetManager>";
    const struct {
        const char* what;
        std::function<void(ProjectStore&)> change;
    } changes[] = {
        {"register", [&](ProjectStore& store) { store.registerProject(project.c_str()); }},
        {"remove a project", [](ProjectStore& store) { store.removeProject("Demo"); }},
        {"remove a mode", [](ProjectStore& store) { store.removeMode("A"); }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        writeFile(registry, registryBytes);
        writeFile(assetManager, assetManagerBytes);
        for (const std::string& file : {registry, assetManager})
            ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
        ProjectStore store;
        store.setRegisteredProjectsPath(install.path().c_str());
        store.setAssetManagerPath(install.path().c_str());

        try {
            change.change(store);
            ADD_FAILURE() << "the change was answered as done";
        } catch (const ComError& error) {
            EXPECT_EQ(error.code(), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
        }
        for (const std::string& file : {registry, assetManager}) {
            EXPECT_EQ(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        EXPECT_EQ(readFile(registry), registryBytes);
        EXPECT_EQ(readFile(assetManager), assetManagerBytes);
        WIN32_FIND_DATAA entry;
        const HANDLE search = FindFirstFileA((install / "*.tmp").c_str(), &entry);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file is left: " << entry.cFileName;
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
}
