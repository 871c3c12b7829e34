#include "fixtures.h"

#include <windows.h>

#include <cstdio>

namespace bench {

StandaloneProject writeStandaloneProject(const Workspace& workspace)
{
    const std::string folder = workspace / "Demo";
    const std::string assets = folder + "\\TestAssets";
    StandaloneProject project{folder + "\\Demo.project", assets + "\\Scripts", "Login"};
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(assets.c_str(), nullptr);
    CreateDirectoryA(project.scriptsFolder.c_str(), nullptr);
    writeFile(project.projectFile, "<Project><Name>Demo</Name><Comment>Regression suite</Comment><Location>" +
                                       folder + "</Location><TestAssetPath>" + assets +
                                       "</TestAssetPath></Project>\n");
    writeFile(project.scriptsFolder + "\\" + project.scriptName + ".rec", "Sub Main\nEnd Sub\n");
    return project;
}

std::string lastProjectName(int entries)
{
    char name[16];
    snprintf(name, sizeof name, "P%05d", entries - 1);
    return name;
}

void writeRegistry(const std::string& path, int entries)
{
    std::string text = "<RegisteredProjects>";
    for (int i = 0; i < entries; ++i) {
        const std::string name = lastProjectName(i + 1);
        text += "<Project Name=\"" + name + "\" Comment=\"Suite " + name + "\" Location=\"C:\\Projects\\" + name +
                "\"/>";
    }
    text += "</RegisteredProjects>\n";
    writeFile(path, text);
}

}  // namespace bench
