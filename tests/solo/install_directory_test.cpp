// The install directory in the registry and the configuration paths a store
// derives from it.
#include "guarded_buffer.h"
#include "install_directory.h"
#include "project_store.h"
#include "registry_lookup.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

TEST(InstallDirectory, StoreDerivesBothConfigurationPaths)
{
    InstallDirectoryCleanup cleanup;
    setInstallDirectory("C:\\Program Files\\Halvern");
    ProjectStore store;
    EXPECT_STREQ(store.registeredProjectsPath(), "C:\\Program Files\\Halvern\\RegisteredProjects.xml");
    EXPECT_STREQ(store.assetManagerPath(), "C:\\Program Files\\Halvern\\AssetManager.xml");
    EXPECT_STREQ(store.projectFilePath(), "");
}

TEST(InstallDirectory, WithoutAUsableValueThePathsStayEmptyAndProjectsStillOpen)
{
    InstallDirectoryCleanup cleanup;
    ScratchFolder folder;
    writeFile(folder / "Demo.project", "<Project><Name>Demo</Name><TestAssetPath>A</TestAssetPath></Project>");
    const std::string unusable[] = {std::string(), std::string("", 1), std::string(256, 'd') + '\0',
                                    std::string(256, 'd'), std::string(4096, 'd') + '\0'};
    removeInstallDirectory();
    for (int i = -1; i < 5; ++i) {
        if (i >= 0) setInstallDirectoryValue(unusable[i]);
        char directory[260] = "";
        EXPECT_EQ(readInstallDirectory(directory), 0) << i;
        ProjectStore store;
        EXPECT_STREQ(store.registeredProjectsPath(), "") << i;
        EXPECT_STREQ(store.assetManagerPath(), "") << i;
        ProjectInfo* info = nullptr;
        EXPECT_EQ(store.openProject((folder / "Demo.project").c_str(), &info), 1) << i;
        EXPECT_EQ(ansiFromBstr(info->scriptsPath), "A\\Scripts");
        BSTR* fields = reinterpret_cast<BSTR*>(info);
        for (int field = 0; field < 19; ++field) SysFreeString(fields[field]);
        CoTaskMemFree(info);
    }
}

TEST(InstallDirectory, ValueOf255CharactersIsTheLongestUsed)
{
    InstallDirectoryCleanup cleanup;
    const std::string longest(255, 'd');
    setInstallDirectory(longest);
    GuardedBuffer out(256, '#');
    EXPECT_EQ(readInstallDirectory(out.data()), 1);
    EXPECT_EQ(out.text(), longest);
    EXPECT_TRUE(out.guardsIntact());
    ProjectStore store;
    EXPECT_EQ(std::string(store.registeredProjectsPath()), longest + "\\RegisteredProjects.xml");

    setInstallDirectory(longest + "d");
    GuardedBuffer refused(256, '#');
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Halvern Software\\Halvern Test\\8",
                                 "Install Directory", refused.data()),
              0);
    EXPECT_EQ(refused.text(), std::string(256, '#')) << "untouched";
    EXPECT_TRUE(refused.guardsIntact());
}

TEST(InstallDirectory, TheValueTypeIsNotLookedAt)
{
    InstallDirectoryCleanup cleanup;
    const std::string unexpanded = "%SystemDrive%\\Halvern";
    setInstallDirectoryValue(unexpanded + '\0', REG_EXPAND_SZ);
    char directory[260] = "";
    EXPECT_EQ(readInstallDirectory(directory), 1);
    EXPECT_STREQ(directory, unexpanded.c_str());
    setInstallDirectoryValue("C:\\Bytes\0garbage", REG_BINARY);
    EXPECT_EQ(readInstallDirectory(directory), 1);
    EXPECT_STREQ(directory, "C:\\Bytes");
}

TEST(InstallDirectory, ReadRegistryStringLeavesTheBufferAloneOnFailure)
{
    InstallDirectoryCleanup cleanup;
    setInstallDirectory("C:\\Halvern");
    const char* key = "SOFTWARE\\Halvern Software\\Halvern Test\\8";
    char out[256] = "before";
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, nullptr, "Install Directory", out), 0);
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, nullptr, out), 0);
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, "Install Directory", nullptr), 0);
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Halvern Software\\Missing", "Install Directory", out),
              0);
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, "Missing", out), 0);
    EXPECT_STREQ(out, "before");
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, "Install Directory", out), 1);
    EXPECT_STREQ(out, "C:\\Halvern");
}

// A folder too long for the 516-byte path fields leaves them empty.
TEST(InstallDirectory, ConfigurationPathsRefuseFoldersTheyCannotHold)
{
    struct PathField {
        void (ProjectStore::*set)(const char*);
        const char* (ProjectStore::*get)() const;
        const char* fileName;
    };
    const PathField fields[] = {
        {&ProjectStore::setRegisteredProjectsPath, &ProjectStore::registeredProjectsPath, "\\RegisteredProjects.xml"},
        {&ProjectStore::setAssetManagerPath, &ProjectStore::assetManagerPath, "\\AssetManager.xml"},
    };
    for (const PathField& field : fields) {
        ProjectStore store;
        const size_t room = storePathSize - 1 - strlen(field.fileName);
        (store.*field.set)(std::string(room, 'f').c_str());
        EXPECT_EQ(strlen((store.*field.get)()), storePathSize - 1) << field.fileName;
        for (size_t length : {room + 1, size_t{8192}}) {
            (store.*field.set)(std::string(length, 'f').c_str());
            EXPECT_STREQ((store.*field.get)(), "") << field.fileName << " " << length;
        }
        (store.*field.set)("C:\\I");
        (store.*field.set)(nullptr);
        EXPECT_EQ(std::string((store.*field.get)()), std::string("C:\\I") + field.fileName);
    }
}
