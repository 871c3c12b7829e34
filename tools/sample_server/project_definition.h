// A project of the sample server, as one INI file on disk:
//
//   [Project]         Path = the project's folder (ProjectPath); default: the
//                     folder of the project file
//   [AssetKinds]      kind = folder, e.g. Script = Scripts, Datapool = DataPools
//   [ScriptSettings]  attribute = folder, the attributes every new script starts
//                     with (VexBasicPath, DATPath, Win32Path, VPPath, LLSPath, DLLPath)
//   [User NAME]       Password = text; every other key: asset kind = the highest
//                     permission code granted for it (Script = 1, Log = 1)
//
// Relative folders are taken from the project file's folder. Scripts are files
// NAME.script in the folder of asset kind "Script", holding their attributes
// in section [Attributes]; a script's source is NAME.rec beside it and its
// compiled form NAME.vxc in the Win32Path folder.
#pragma once

#include "ini_file.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace sample_server {

struct UserAccount {
    std::wstring name;
    std::map<std::wstring, long> permissions;  // asset kind -> highest code granted
};

class ProjectDefinition {
public:
    // Reads the project file; raises ERROR_FILE_NOT_FOUND when there is none
    // and E_INVALIDARG for an empty path.
    static std::shared_ptr<const ProjectDefinition> load(const std::wstring& projectFile);

    // The account of `user` when `password` is its password; none otherwise.
    std::optional<UserAccount> logIn(const std::wstring& user, const std::wstring& password) const;

    const std::wstring& projectFile() const { return projectFile_; }
    const std::wstring& projectPath() const { return projectPath_; }
    // The folder of an asset kind; raises E_INVALIDARG for a kind the project lacks.
    std::wstring assetKindPath(const std::wstring& kind) const;
    // The attributes a new script starts with.
    const IniEntries& scriptSettings() const { return scriptSettings_; }

    // Files of script `name`; a name that is empty or not a plain file name
    // (separators, wildcards, "." or "..") raises E_INVALIDARG.
    IniFile scriptRecord(const std::wstring& name) const;
    std::wstring scriptFile(const std::wstring& name) const;
    std::wstring compiledFile(const std::wstring& name) const;

private:
    std::wstring resolve(const std::wstring& folder) const;

    std::wstring projectFile_;
    std::wstring folder_;  // of the project file, with its closing backslash
    std::wstring projectPath_;
    IniEntries assetKinds_;
    IniEntries scriptSettings_;
};

}  // namespace sample_server
