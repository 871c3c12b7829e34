// The project file: writing one, and opening one into a ProjectInfo record.
#include "project_store.h"

#include "result_codes.h"

#include <cstring>

namespace tallow {
namespace {

// Folders derived from the asset root, in the order they are filled.
struct AssetFolder {
    BSTR ProjectInfo::*field;
    const char* suffix;
};

constexpr AssetFolder assetFolders[] = {
    {&ProjectInfo::scriptsPath, "\\Scripts"},
    {&ProjectInfo::datPath, "\\Scripts\\dat"},
    {&ProjectInfo::dllPath, "\\Scripts\\dll"},
    {&ProjectInfo::idlPath, "\\Scripts\\idl"},
    {&ProjectInfo::externCPath, "\\Scripts\\externC"},
    {&ProjectInfo::includePath, "\\Scripts\\include"},
    {&ProjectInfo::javaProxiesPath, "\\Scripts\\javaProxies"},
    {&ProjectInfo::llsPath, "\\Scripts\\lls"},
    {&ProjectInfo::basicPath, "\\Scripts\\VexBas32"},
    {&ProjectInfo::vpPath, "\\Scripts\\vp"},
    {&ProjectInfo::win32Path, "\\Scripts\\Win32"},
    {&ProjectInfo::logPath, "\\Log"},
    {&ProjectInfo::dataPoolsPath, "\\DataPools"},
};

// Frees the record an earlier login left in *info (the block only: its
// strings are the host's) and stores a new zero-filled one there.
ProjectInfo& replaceRecord(ProjectInfo** info)
{
    CoTaskMemFree(*info);
    *info = nullptr;
    auto* record = static_cast<ProjectInfo*>(CoTaskMemAlloc(sizeof(ProjectInfo)));
    if (!record) throw ComError(E_OUTOFMEMORY);
    memset(record, 0, sizeof *record);
    *info = record;
    return *record;
}

// A BSTR made for the host over narrow text.
BSTR hostText(const char* text)
{
    return bstrFromAnsi(text).detach();
}

// Room for an asset root and the longest suffix, "\Scripts\javaProxies".
constexpr size_t assetFolderSize = folderSize + 20;

}  // namespace

// A path of 512 bytes or more is refused: a cut path would write another file.
int ProjectStore::writeProjectFile(const char* projectName, const char* folder, const ProjectFileEntry* entries,
                                   int count)
{
    if (!projectName || !folder) return result::no;
    char path[projectFilePathSize];
    if (!composePath(textBuffer(path), {folder, "\\", projectName, ".project"})) return result::no;
    strcpy(projectFilePath_, path);
    xmlDocument_.createRootElement("Project");
    for (int i = 0; entries && i < count; ++i)
        xmlDocument_.appendChildElement(xmlDocument_.rootElement(), entries[i].key, entries[i].value);
    saveDocument(path);
    return result::done;
}

// "Name" is read into 256 bytes and "Comment" and "Location" into 260, each
// cut to fit. An asset root of 260 bytes or more is refused with 118: every
// folder of the record derives from it, and a cut root would name folders of
// some other tree.
int ProjectStore::openProject(const char* path, ProjectInfo** info)
{
    if (!info) return result::missingArgument;
    ProjectInfo& record = replaceRecord(info);
    if (!loadDocument(path)) return result::fileDoesNotLoad;

    char name[nameSize] = "";
    char comment[folderSize] = "";
    char location[folderSize] = "";
    char assetRoot[folderSize] = "";
    TextBuffer nameText = textBuffer(name);
    TextBuffer commentText = textBuffer(comment);
    TextBuffer locationText = textBuffer(location);
    TextBuffer assetRootText = textBuffer(assetRoot);

    readUniqueElementText("Name", nameText);
    record.name = hostText(name);
    readUniqueElementText("Comment", commentText);
    record.comment = hostText(comment);
    readUniqueElementText("Location", locationText);
    record.location = hostText(location);
    if (readUniqueElementText("TestAssetPath", assetRootText) == result::no || assetRootText.cut)
        return result::noSingleTestAssetPath;

    record.assetPath = hostText(assetRoot);
    for (const AssetFolder& folder : assetFolders) {
        char folderPath[assetFolderSize];
        composePath(textBuffer(folderPath), {assetRoot, folder.suffix});
        record.*folder.field = hostText(folderPath);
    }
    record.userName = hostText("admin");
    record.projectPath = hostText(assetRoot);
    record.flags = projectFlagScripts;
    record.flags |= projectFlagLog;
    return result::done;
}

}  // namespace tallow
