#include "server_script.h"

namespace sample_server {
namespace {

const wchar_t attributesSection[] = L"Attributes";

// Text that an INI line holds whole: no line breaks (and for names no "=").
void checkStorable(const std::wstring& text, bool isName)
{
    if (text.find_first_of(isName ? L"\r\n=" : L"\r\n") != std::wstring::npos || (isName && text.empty()))
        throw tallow::ComError(E_INVALIDARG);
}

// Makes `folder` and every missing folder above it; failures show when the
// record is written.
void makeFolders(const std::wstring& folder)
{
    for (size_t end = folder.find_first_of(L"\\/", 3); end != std::wstring::npos;
         end = folder.find_first_of(L"\\/", end + 1))
        CreateDirectoryW(folder.substr(0, end).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

}  // namespace

ServerScript::ServerScript(std::shared_ptr<const ProjectDefinition> project, IniEntries attributes)
    : project_(std::move(project)), attributes_(std::move(attributes))
{
}

tallow::ComPtr<ServerScript> ServerScript::open(std::shared_ptr<const ProjectDefinition> project,
                                                const std::wstring& name)
{
    const IniFile record = project->scriptRecord(name);
    if (GetFileAttributesW(record.path().c_str()) == INVALID_FILE_ATTRIBUTES)
        throw tallow::ComError(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    tallow::ComPtr<ServerScript> script = make<ServerScript>(std::move(project), record.section(attributesSection));
    script->name_ = name;
    return script;
}

HRESULT ServerScript::SaveAs(BSTR name)
{
    return answer([&] {
        const std::wstring newName = textOf(name);
        const IniFile record = project_->scriptRecord(newName);
        makeFolders(project_->assetKindPath(L"Script"));
        record.writeSection(attributesSection, attributes_);
        name_ = newName;
    });
}

HRESULT ServerScript::GetAttribute(BSTR name, VARIANT* value)
{
    if (!value) return E_POINTER;
    VariantInit(value);
    return answer([&] {
        for (const auto& [attribute, text] : attributes_) {
            if (attribute != textOf(name)) continue;
            value->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            if (!value->bstrVal) throw tallow::ComError(E_OUTOFMEMORY);
            value->vt = VT_BSTR;
            return;
        }
    });
}

HRESULT ServerScript::SetAttribute(BSTR name, VARIANT value)
{
    return answer([&] {
        const std::wstring attribute = textOf(name);
        checkStorable(attribute, true);
        tallow::Variant text;
        tallow::check(VariantChangeType(&text.get(), &value, 0, VT_BSTR));
        const std::wstring newValue = textOf(text.get().bstrVal);
        checkStorable(newValue, false);
        for (auto& entry : attributes_) {
            if (entry.first != attribute) continue;
            entry.second = newValue;
            return;
        }
        attributes_.emplace_back(attribute, newValue);
    });
}

HRESULT ServerScript::ScriptPath(BSTR* path)
{
    if (!path) return E_POINTER;
    *path = nullptr;
    return name_.empty() ? S_OK : answer([&] { giveText(project_->scriptFile(name_), path); });
}

HRESULT ServerScript::CompiledPath(BSTR* path)
{
    if (!path) return E_POINTER;
    *path = nullptr;
    return name_.empty() ? S_OK : answer([&] { giveText(project_->compiledFile(name_), path); });
}

}  // namespace sample_server
