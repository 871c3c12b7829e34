#include "record_printing.h"

#include <cstdio>
#include <string>

namespace tallow_host {
namespace {

void printField(const char* name, const std::string& value)
{
    std::printf("  %-16s %s\n", name, value.c_str());
}

std::string shown(BSTR text)
{
    return text ? "\"" + tallow::ansiFromBstr(text) + "\"" : "null";
}

// A counted string's text through the block's narrow form, which the block
// makes on the first request and keeps.
std::string shown(tallow::CountedBlock* block)
{
    if (!block) return "null";
    return "\"" + std::string(tallow::CountedString::share(block).narrow()) + "\"";
}

std::string flagsText(int flags)
{
    char text[64];
    std::snprintf(text, sizeof text, "0x%02x%s%s", static_cast<unsigned>(flags),
                  flags & tallow::projectFlagScripts ? " scripts" : "", flags & tallow::projectFlagLog ? " log" : "");
    return text;
}

}  // namespace

void printProjectInfo(const tallow::ProjectInfo& info)
{
    std::printf("ProjectInfo\n");
    printField("name", shown(info.name));
    printField("comment", shown(info.comment));
    printField("location", shown(info.location));
    printField("assetPath", shown(info.assetPath));
    printField("scriptsPath", shown(info.scriptsPath));
    printField("dataPoolsPath", shown(info.dataPoolsPath));
    printField("logPath", shown(info.logPath));
    printField("datPath", shown(info.datPath));
    printField("dllPath", shown(info.dllPath));
    printField("externCPath", shown(info.externCPath));
    printField("idlPath", shown(info.idlPath));
    printField("includePath", shown(info.includePath));
    printField("javaProxiesPath", shown(info.javaProxiesPath));
    printField("llsPath", shown(info.llsPath));
    printField("basicPath", shown(info.basicPath));
    printField("vpPath", shown(info.vpPath));
    printField("win32Path", shown(info.win32Path));
    printField("userName", shown(info.userName));
    printField("projectPath", shown(info.projectPath));
    printField("flags", flagsText(info.flags));
}

void printScriptInfo(const tallow::ScriptInfo& script)
{
    std::printf("ScriptInfo\n");
    printField("name", shown(script.name));
    printField("description", shown(script.description));
    printField("compiledPath", shown(script.compiledPath));
    printField("scriptPath", shown(script.scriptPath));
    printField("type", std::to_string(script.type));
}

}  // namespace tallow_host
