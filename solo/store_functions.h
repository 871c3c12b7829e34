// The store's free functions, for callers that hold no store: each one that
// needs a store builds its own and destroys it before returning. None is
// exported from the library; COM errors of a failed save pass to the caller.
#pragma once

#include "project_store.h"

namespace tallow {

// --- Files and folders -------------------------------------------------------

// 1 if a file or folder matches `path` (wildcards allowed), else 0.
int pathExists(const char* path);
// Makes every folder along component\component\...: 1 the last one made;
// 117 it exists already; 101 a folder was not made, or the path has fewer
// than two components or is longer than the walk carries (515 bytes, 50
// components of at most 255 bytes); 100 path null.
int createFolderPath(const char* path);
// Makes the thirteen folders of the asset tree under `assetRoot`: 1 done (a
// folder that could not be made is passed over); 100 root null; 117 a folder
// exists already, the walk stopping there; 101 the root is too long for its
// folders, nothing made.
int createProjectFolders(const char* assetRoot);
// 1 the folder is empty; 102 it holds an entry; 101 it cannot be searched;
// 0 the search ended on another error; 100 folder null. Traces each step.
int checkFolderEmpty(const char* folder);

// --- The project registry ----------------------------------------------------

// The result of registerProject on a store of its own.
int registerProjectFile(const char* projectFilePath);
// The result of removeProject on a store of its own.
int unregisterProject(const char* projectName);
// 100 count null; otherwise the result of listProjects on a store of its own.
int getRegisteredProjects(ListEntry* entries, int capacity, int* count);

// --- Project creation --------------------------------------------------------

// Makes the project folder, writes folder\name.project, and on request
// registers the project and makes and records its asset tree. 1 done; 100
// name null or empty, folder null; 101 the folder exists or was not made; the
// code of checkFolderEmpty; 106 (or another code of registerProject) from
// the registration; 120 a value too long for the project file.
int createProject(const char* name, const char* comment, const char* folder, int registerProject, int testAssets);
// For each of the first `count` entries whose key is "TestAssets": records
// the asset root (value of the next entry)\TestAssets in the project file the
// entry's value names. Always 1.
int addTestAssets(int count, const ProjectFileEntry* entries);
// The result of setTestAssetPath on a store of its own.
int setProjectTestAssetPath(const char* projectFilePath, const char* assetRoot);

}  // namespace tallow
