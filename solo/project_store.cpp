// Construction of a store and the paths of its configuration files.
#include "project_store.h"

#include "registry_lookup.h"

namespace tallow {

ProjectStore::ProjectStore()
{
    char installDirectory[folderSize] = {};
    readInstallDirectory(installDirectory);
    if (installDirectory[0]) {
        setRegisteredProjectsPath(installDirectory);
        setAssetManagerPath(installDirectory);
    }
}

ProjectStore::~ProjectStore() = default;

// A folder too long for the path field leaves the field empty, as if there
// were no install directory: a cut path would name another file.
void ProjectStore::setRegisteredProjectsPath(const char* installDirectory)
{
    if (installDirectory)
        composePath(textBuffer(registeredProjectsPath_), {installDirectory, "\\RegisteredProjects.xml"});
}

void ProjectStore::setAssetManagerPath(const char* installDirectory)
{
    if (installDirectory) composePath(textBuffer(assetManagerPath_), {installDirectory, "\\AssetManager.xml"});
}

}  // namespace tallow
