// The commands of tallowadmin over the standalone store. Each prints one line
// a result on success and answers the exit status: 0 done, 1 failed, after a
// line on the error output that says what failed and why in words.
#pragma once

#include <optional>
#include <string>

namespace tallow_admin {

int showInstallDirectory();
int recordInstallDirectoryCommand(const std::string& directory);

int createProjectCommand(const std::string& name, const std::string& folder, const std::optional<std::string>& comment,
                         bool registerProject, bool testAssets);
int registerProjectCommand(const std::string& projectFile);
int unregisterProjectCommand(const std::string& name);
int listProjectsCommand();

int addModeCommand(const std::string& library, const std::string& displayName);
int removeModeCommand(const std::string& displayName);
int listModesCommand();

}  // namespace tallow_admin
