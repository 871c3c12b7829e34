// The data the benchmark works on, written into the workspace.
#pragma once

#include "workspace.h"

#include <string>

namespace bench {

// A project as project creation leaves it: the project file with its four
// elements and one script file in the asset tree's script folder.
struct StandaloneProject {
    std::string projectFile;
    std::string scriptsFolder;
    std::string scriptName;
};
StandaloneProject writeStandaloneProject(const Workspace& workspace);

// A registry file of `entries` projects, named P00000 onwards, in the form the
// store writes it; `path` receives it.
void writeRegistry(const std::string& path, int entries);
// Name of the last entry of such a registry.
std::string lastProjectName(int entries);

}  // namespace bench
