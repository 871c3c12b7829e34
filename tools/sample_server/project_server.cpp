// The server object: logs a user in to a project file and keeps that project
// as the current one.
#include "com_object.h"
#include "sample_server.h"
#include "server_project.h"

namespace sample_server {
namespace {

class ProjectServer : public ComObject<tallow::IProjectServer, tallow::IID_IProjectServer> {
public:
    // `projectFile` is the path of the project's INI file; `user` and
    // `password` must match one of its users. E_ACCESSDENIED when they do not;
    // the current project stays as it was on any failure.
    HRESULT STDMETHODCALLTYPE Login(long, BSTR projectFile, BSTR user, BSTR password, long) override
    {
        return answer([&] {
            std::shared_ptr<const ProjectDefinition> project = ProjectDefinition::load(textOf(projectFile));
            std::optional<UserAccount> account = project->logIn(textOf(user), textOf(password));
            if (!account) throw tallow::ComError(E_ACCESSDENIED);
            current_ = make<ServerProject>(std::move(project), std::move(*account));
        });
    }

    // E_UNEXPECTED before a successful login.
    HRESULT STDMETHODCALLTYPE CurrentProject(tallow::IServerProject** project) override
    {
        return answer([&] {
            if (!current_) throw tallow::ComError(E_UNEXPECTED);
            giveObject(current_, project);
        });
    }

private:
    tallow::ComPtr<ServerProject> current_;
};

}  // namespace

tallow::ComPtr<tallow::IProjectServer> makeProjectServer()
{
    return tallow::ComPtr<tallow::IProjectServer>::attach(make<ProjectServer>().detach());
}

}  // namespace sample_server
