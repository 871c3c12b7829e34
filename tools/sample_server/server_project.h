// The project a user logged in to: its folders, its scripts and the user.
#pragma once

#include "com_object.h"
#include "project_definition.h"
#include "project_server.h"

namespace sample_server {

class ServerProject : public ComObject<tallow::IServerProject, tallow::IID_IServerProject> {
public:
    ServerProject(std::shared_ptr<const ProjectDefinition> project, UserAccount user)
        : project_(std::move(project)), user_(std::move(user))
    {
    }

    HRESULT STDMETHODCALLTYPE AssetKinds(tallow::IAssetKindList** kinds) override;
    // A script not saved yet, holding the project's script settings.
    HRESULT STDMETHODCALLTYPE NewScript(tallow::IServerScript** script) override;
    // ERROR_FILE_NOT_FOUND for a script that was never saved or was deleted.
    HRESULT STDMETHODCALLTYPE GetScript(BSTR name, tallow::IServerScript** script) override;
    // Removes the script's record; ERROR_FILE_NOT_FOUND when there is none.
    HRESULT STDMETHODCALLTYPE DeleteScript(BSTR name) override;
    HRESULT STDMETHODCALLTYPE CurrentUser(tallow::IServerUser** user) override;
    // The project file itself: it lies in the project's location folder.
    HRESULT STDMETHODCALLTYPE LocationFile(BSTR* path) override;
    HRESULT STDMETHODCALLTYPE ProjectFile(BSTR* path) override;
    HRESULT STDMETHODCALLTYPE ProjectPath(BSTR* path) override;

private:
    std::shared_ptr<const ProjectDefinition> project_;
    UserAccount user_;
};

}  // namespace sample_server
