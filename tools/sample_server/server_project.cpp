#include "server_project.h"

#include "asset_kinds.h"
#include "server_script.h"
#include "server_user.h"

namespace sample_server {

HRESULT ServerProject::AssetKinds(tallow::IAssetKindList** kinds)
{
    return answer([&] { giveObject(make<AssetKindList>(project_), kinds); });
}

HRESULT ServerProject::NewScript(tallow::IServerScript** script)
{
    return answer([&] { giveObject(make<ServerScript>(project_, project_->scriptSettings()), script); });
}

HRESULT ServerProject::GetScript(BSTR name, tallow::IServerScript** script)
{
    return answer([&] { giveObject(ServerScript::open(project_, textOf(name)), script); });
}

HRESULT ServerProject::DeleteScript(BSTR name)
{
    return answer([&] {
        const IniFile record = project_->scriptRecord(textOf(name));
        if (!DeleteFileW(record.path().c_str())) throw tallow::ComError(tallow::lastErrorResult());
    });
}

HRESULT ServerProject::CurrentUser(tallow::IServerUser** user)
{
    return answer([&] { giveObject(make<ServerUser>(user_), user); });
}

HRESULT ServerProject::LocationFile(BSTR* path)
{
    return answer([&] { giveText(project_->projectFile(), path); });
}

HRESULT ServerProject::ProjectFile(BSTR* path)
{
    return answer([&] { giveText(project_->projectFile(), path); });
}

HRESULT ServerProject::ProjectPath(BSTR* path)
{
    return answer([&] { giveText(project_->projectPath(), path); });
}

}  // namespace sample_server
