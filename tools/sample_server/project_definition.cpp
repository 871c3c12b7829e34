#include "project_definition.h"

#include "com_error.h"

namespace sample_server {
namespace {

const std::wstring* find(const IniEntries& entries, const std::wstring& key)
{
    for (const auto& entry : entries)
        if (entry.first == key) return &entry.second;
    return nullptr;
}

void checkScriptName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L".." || name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos)
        throw tallow::ComError(E_INVALIDARG);
}

}  // namespace

std::shared_ptr<const ProjectDefinition> ProjectDefinition::load(const std::wstring& projectFile)
{
    if (projectFile.empty()) throw tallow::ComError(E_INVALIDARG);
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(projectFile.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) throw tallow::ComError(E_INVALIDARG);
    const DWORD attributes = GetFileAttributesW(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw tallow::ComError(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

    auto project = std::make_shared<ProjectDefinition>();
    project->projectFile_ = full;
    project->folder_ = project->projectFile_.substr(0, project->projectFile_.find_last_of(L"\\/") + 1);
    const IniFile file(project->projectFile_);
    const IniEntries settings = file.section(L"Project");
    const std::wstring* path = find(settings, L"Path");
    project->projectPath_ = path ? project->resolve(*path) : project->folder_.substr(0, project->folder_.size() - 1);
    project->assetKinds_ = file.section(L"AssetKinds");
    for (const auto& [attribute, folder] : file.section(L"ScriptSettings"))
        project->scriptSettings_.emplace_back(attribute, project->resolve(folder));
    return project;
}

std::optional<UserAccount> ProjectDefinition::logIn(const std::wstring& user, const std::wstring& password) const
{
    if (user.empty()) return std::nullopt;
    const IniEntries entries = IniFile(projectFile_).section(L"User " + user);
    const std::wstring* expected = find(entries, L"Password");
    if (!expected || *expected != password) return std::nullopt;
    UserAccount account{user, {}};
    for (const auto& [kind, code] : entries)
        if (kind != L"Password") account.permissions[kind] = wcstol(code.c_str(), nullptr, 10);
    return account;
}

std::wstring ProjectDefinition::assetKindPath(const std::wstring& kind) const
{
    const std::wstring* folder = find(assetKinds_, kind);
    if (!folder) throw tallow::ComError(E_INVALIDARG);
    return resolve(*folder);
}

IniFile ProjectDefinition::scriptRecord(const std::wstring& name) const
{
    checkScriptName(name);
    return IniFile(assetKindPath(L"Script") + L"\\" + name + L".script");
}

std::wstring ProjectDefinition::scriptFile(const std::wstring& name) const
{
    checkScriptName(name);
    return assetKindPath(L"Script") + L"\\" + name + L".rec";
}

std::wstring ProjectDefinition::compiledFile(const std::wstring& name) const
{
    checkScriptName(name);
    const std::wstring* win32 = find(scriptSettings_, L"Win32Path");
    return (win32 ? *win32 : assetKindPath(L"Script") + L"\\Win32") + L"\\" + name + L".vxc";
}

std::wstring ProjectDefinition::resolve(const std::wstring& folder) const
{
    const bool absolute = (!folder.empty() && (folder[0] == L'\\' || folder[0] == L'/')) ||
                          (folder.size() >= 2 && folder[1] == L':');
    return absolute ? folder : folder_ + folder;
}

}  // namespace sample_server
