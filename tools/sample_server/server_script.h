// A script of the project: its attributes, and once saved its name and files.
#pragma once

#include "com_object.h"
#include "project_definition.h"
#include "project_server.h"

namespace sample_server {

class ServerScript : public ComObject<tallow::IServerScript, tallow::IID_IServerScript> {
public:
    // A script not saved yet (no name), holding `attributes`.
    ServerScript(std::shared_ptr<const ProjectDefinition> project, IniEntries attributes);
    // The saved script `name`; raises ERROR_FILE_NOT_FOUND when there is none.
    static tallow::ComPtr<ServerScript> open(std::shared_ptr<const ProjectDefinition> project,
                                             const std::wstring& name);

    // Writes the script's record under `name`, replacing a script of that name.
    HRESULT STDMETHODCALLTYPE SaveAs(BSTR name) override;
    // The attribute's text as VT_BSTR; VT_EMPTY for an attribute the script lacks.
    HRESULT STDMETHODCALLTYPE GetAttribute(BSTR name, VARIANT* value) override;
    // Keeps the value as text; a value with a line break cannot be kept (E_INVALIDARG).
    HRESULT STDMETHODCALLTYPE SetAttribute(BSTR name, VARIANT value) override;
    // Null BSTRs while the script has no name.
    HRESULT STDMETHODCALLTYPE ScriptPath(BSTR* path) override;
    HRESULT STDMETHODCALLTYPE CompiledPath(BSTR* path) override;

private:
    std::shared_ptr<const ProjectDefinition> project_;
    IniEntries attributes_;
    std::wstring name_;
};

}  // namespace sample_server
