#include "fixtures.h"

#include <windows.h>

namespace tools_testing {

std::string writeStandaloneProject(const testing_support::ScratchFolder& folder)
{
    CreateDirectoryA((folder / "Assets").c_str(), nullptr);
    CreateDirectoryA((folder / "Assets\\Scripts").c_str(), nullptr);
    testing_support::writeFile(folder / "Demo.project",
                               "<Project><Name>Demo</Name><Comment>First &amp; only</Comment><Location>" +
                                   folder.path() + "</Location><TestAssetPath>" + folder.path() +
                                   "\\Assets</TestAssetPath></Project>");
    return folder / "Demo.project";
}

}  // namespace tools_testing
