// Creating a project: its folder, its project file, its registration and its
// asset tree, each step on a store of its own.
#include "file_lock.h"
#include "result_codes.h"
#include "store_functions.h"

#include <cstring>

namespace tallow {
namespace {

// True when the values fit what the project file and the registry carry
// whole: a name of 255 bytes, a comment and a folder of 259, and the path of
// the project file within 511. `projectFile` receives that path.
bool fitsProjectFile(const char* name, const char* comment, const char* folder, TextBuffer projectFile)
{
    if (strlen(name) >= nameSize || strlen(folder) >= folderSize) return false;
    if (comment && strlen(comment) >= folderSize) return false;
    return composePath(projectFile, {folder, "\\", name, ".project"});
}

}  // namespace

// Values too long for the files are refused before anything is made. A null
// comment writes no "Comment" element at all, as the project file format
// allows: readers take a missing "Comment" as the empty one.
int createProject(const char* name, const char* comment, const char* folder, int registerProject, int testAssets)
{
    if (!name || !*name || !folder) return result::missingArgument;
    char projectFile[projectFilePathSize];
    if (!fitsProjectFile(name, comment, folder, textBuffer(projectFile))) return result::valueTooLong;
    if (createFolderPath(folder) != result::done) return result::folderNotMade;
    const int emptiness = checkFolderEmpty(folder);
    if (emptiness != result::done) return emptiness;

    const ProjectFileEntry entries[] = {{"Name", name}, {"Comment", comment}, {"Location", folder}};
    {
        ProjectStore store;
        if (store.writeProjectFile(name, folder, entries, 3) == result::no) return result::missingArgument;
    }
    int outcome = result::done;
    if (registerProject) outcome = registerProjectFile(projectFile);
    if (testAssets) {
        const ProjectFileEntry assets[] = {{"TestAssets", projectFile}, {"TestAssetPath", folder}};
        addTestAssets(1, assets);
    }
    return outcome;
}

// The entry after a "TestAssets" entry must exist even when it lies beyond
// `count`. An asset root that does not fit its 260-byte buffer is passed over.
int addTestAssets(int count, const ProjectFileEntry* entries)
{
    for (int i = 0; entries && i < count; ++i) {
        if (!entries[i].key || strcmp(entries[i].key, "TestAssets") != 0 || !entries[i + 1].value) continue;
        char assetRoot[folderSize];
        if (composePath(textBuffer(assetRoot), {entries[i + 1].value, "\\TestAssets"}))
            setProjectTestAssetPath(entries[i].value, assetRoot);
    }
    return result::done;
}

int setProjectTestAssetPath(const char* projectFilePath, const char* assetRoot)
{
    ProjectStore store;
    return store.setTestAssetPath(projectFilePath, assetRoot);
}

// The project file's lock is held from the load to the save, so two calls at
// once cannot both record an asset root.
int ProjectStore::setTestAssetPath(const char* projectFilePath, const char* assetRoot)
{
    if (!projectFilePath) return result::missingArgument;
    const FileLock lock(projectFilePath);
    if (!loadDocument(projectFilePath)) return result::fileDoesNotLoad;
    if (hasElement("TestAssetPath")) return result::assetRootRecorded;
    if (createProjectFolders(assetRoot) != result::done) return result::assetTreeNotMade;
    xmlDocument_.appendChildElement(xmlDocument_.rootElement(), "TestAssetPath", assetRoot);
    saveDocument(projectFilePath);
    return result::done;
}

int ProjectStore::hasElement(const char* tag)
{
    xmlDocument_.findElementsByTag(tag);
    return xmlDocument_.listLength() != 0 ? result::done : result::no;
}

}  // namespace tallow
