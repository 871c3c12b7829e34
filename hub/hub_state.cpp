#include "hub_state.h"

namespace tallow {
namespace {

// Plain pointers on purpose: no destructor may release them at unload.
IProjectServer* heldServer = nullptr;
IServerProject* heldProject = nullptr;

}  // namespace

IProjectServer* serverObject()
{
    return heldServer;
}

void keepServerObject(IProjectServer* server)
{
    heldServer = server;
}

IServerProject* currentProject()
{
    return heldProject;
}

void setCurrentProject(const ComPtr<IServerProject>& project)
{
    IServerProject* old = heldProject;
    heldProject = ComPtr<IServerProject>(project).detach();
    if (old) old->Release();
}

}  // namespace tallow
