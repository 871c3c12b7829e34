#include "admin_commands.h"

#include "install_directory_value.h"
#include "registry_lookup.h"
#include "result_codes.h"
#include "result_words.h"
#include "store_functions.h"

#include <array>
#include <cstdio>
#include <vector>

namespace tallow_admin {
namespace {

constexpr int done = 0;
constexpr int failed = 1;

int failure(const std::string& what, const std::string& why)
{
    std::fprintf(stderr, "tallowadmin: %s failed: %s\n", what.c_str(), why.c_str());
    return failed;
}

int failure(const std::string& what, int code, const char* whenNo = "nothing was done")
{
    return failure(what, resultWords(code, whenNo) + " (" + std::to_string(code) + ")");
}

// A folder or file as a full path, so that what is recorded does not depend
// on the folder the tool ran in.
std::string fullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full) : path;
}

bool isFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool hasInstallDirectory()
{
    char directory[tallow::folderSize] = {};
    return tallow::readInstallDirectory(directory) == 1;
}

// `count` list entries, each with a buffer of 256 bytes.
class NameList {
public:
    explicit NameList(int count) : texts_(count > 0 ? count : 0), entries_(texts_.size())
    {
        for (size_t i = 0; i < entries_.size(); ++i) entries_[i] = tallow::ListEntry{nullptr, texts_[i].data()};
    }
    tallow::ListEntry* entries() { return entries_.data(); }
    int capacity() const { return static_cast<int>(entries_.size()); }
    void print(int count) const
    {
        for (int i = 0; i < count && i < capacity(); ++i) std::printf("%s\n", texts_[i].data());
    }

private:
    std::vector<std::array<char, tallow::nameSize>> texts_;
    std::vector<tallow::ListEntry> entries_;
};

// A list whose file does not load: nothing to list when the file is simply
// not there yet, a failure when it is there and unreadable.
int listThatDoesNotLoad(const std::string& what, const char* file)
{
    if (!tallow::pathExists(file)) return done;
    return failure(what, std::string(file) + " does not load");
}

}  // namespace

int showInstallDirectory()
{
    char directory[tallow::folderSize] = {};
    if (!tallow::readInstallDirectory(directory)) return failure("install-dir", tallow::result::noInstallDirectory);
    std::printf("%s\n", directory);
    return done;
}

int recordInstallDirectoryCommand(const std::string& directory)
{
    const std::string full = fullPath(directory);
    if (!isFolder(full)) return failure("install-dir", full + " is not a folder");
    if (full.size() >= tallow::registryValueSize)
        return failure("install-dir", "the path is longer than the libraries read (255 bytes)");
    recordInstallDirectory(full);
    std::printf("install directory %s\n", full.c_str());
    return done;
}

int createProjectCommand(const std::string& name, const std::string& folder, const std::optional<std::string>& comment,
                         bool registerProject, bool testAssets)
{
    const std::string full = fullPath(folder);
    const int code = tallow::createProject(name.c_str(), comment ? comment->c_str() : nullptr, full.c_str(),
                                           registerProject ? 1 : 0, testAssets ? 1 : 0);
    if (code == tallow::result::projectRegistered) {
        failure("create " + name, code);
        std::fprintf(stderr, "tallowadmin: the project folder and its project file were made\n");
        return failed;
    }
    if (code != tallow::result::done) return failure("create " + name, code);
    std::printf("created project %s in %s\\%s.project\n", name.c_str(), full.c_str(), name.c_str());
    if (registerProject) std::printf("registered project %s\n", name.c_str());
    if (!testAssets) return done;
    // Creation does not report the asset step; the folder shows whether it happened.
    const std::string assetRoot = full + "\\TestAssets";
    if (!isFolder(assetRoot)) return failure("create " + name, tallow::result::assetTreeNotMade);
    std::printf("asset tree %s\n", assetRoot.c_str());
    return done;
}

int registerProjectCommand(const std::string& projectFile)
{
    const std::string full = fullPath(projectFile);
    const int code = tallow::registerProjectFile(full.c_str());
    if (code == tallow::result::fileDoesNotLoad) return failure("register " + full, "the project file does not load");
    if (code != tallow::result::done) return failure("register " + full, code);
    std::printf("registered %s\n", full.c_str());
    return done;
}

int unregisterProjectCommand(const std::string& name)
{
    const int code = tallow::unregisterProject(name.c_str());
    if (code != tallow::result::done) return failure("unregister " + name, code);
    std::printf("unregistered project %s\n", name.c_str());
    return done;
}

int listProjectsCommand()
{
    if (!hasInstallDirectory()) return failure("projects", tallow::result::noInstallDirectory);
    int count = 0;
    tallow::getRegisteredProjects(nullptr, 0, &count);
    NameList names(count);
    const int code = tallow::getRegisteredProjects(names.entries(), names.capacity(), &count);
    if (code == tallow::result::fileDoesNotLoad)
        return listThatDoesNotLoad("projects", tallow::ProjectStore().registeredProjectsPath());
    if (code != tallow::result::done && code != tallow::result::noEntries) return failure("projects", code);
    if (code == tallow::result::done) names.print(count);
    return done;
}

int addModeCommand(const std::string& library, const std::string& displayName)
{
    const int code = tallow::ProjectStore().addMode(library.c_str(), displayName.c_str());
    if (code != tallow::result::done) return failure("add-mode " + displayName, code);
    std::printf("added mode %s: %s\n", displayName.c_str(), library.c_str());
    return done;
}

int removeModeCommand(const std::string& displayName)
{
    const int code = tallow::ProjectStore().removeMode(displayName.c_str());
    if (code != tallow::result::done)
        return failure("remove-mode " + displayName, code, "the mode table holds no mode, or does not load");
    std::printf("removed mode %s\n", displayName.c_str());
    return done;
}

int listModesCommand()
{
    if (!hasInstallDirectory()) return failure("modes", tallow::result::noInstallDirectory);
    tallow::ProjectStore store;
    int count = 0;
    store.listModes(nullptr, 0, &count);
    NameList names(count);
    const int code = store.listModes(names.entries(), names.capacity(), &count);
    if (code == tallow::result::fileDoesNotLoad) return listThatDoesNotLoad("modes", store.assetManagerPath());
    if (code == tallow::result::done) names.print(count);
    return done;
}

}  // namespace tallow_admin
