#include "server_calls.h"

namespace tallow::server {
namespace {

const IID& interfaceId(IProjectServer*) { return IID_IProjectServer; }
const IID& interfaceId(IServerProject*) { return IID_IServerProject; }
const IID& interfaceId(IAssetKindList*) { return IID_IAssetKindList; }
const IID& interfaceId(IAssetKind*) { return IID_IAssetKind; }
const IID& interfaceId(IServerScript*) { return IID_IServerScript; }
const IID& interfaceId(IServerUser*) { return IID_IServerUser; }

// The object to call; a missing one is the COM error E_POINTER.
template <class I>
I* use(const ComPtr<I>& object)
{
    if (!object) throw ComError(E_POINTER);
    return object.get();
}

// Raises the COM error of a call made on `object`, with its error information.
template <class I>
void checked(HRESULT hr, I* object)
{
    check(hr, object, &interfaceId(object));
}

template <class I, class Ask>
Bstr textAnswer(const ComPtr<I>& object, Ask ask)
{
    I* target = use(object);
    Bstr answer;
    checked(ask(target, answer.put()), target);
    return answer;
}

}  // namespace

Bstr nameText(const wchar_t* name)
{
    Bstr text = Bstr::attach(SysAllocString(name));
    if (!text.get()) throw ComError(E_OUTOFMEMORY);
    return text;
}

void login(const ComPtr<IProjectServer>& projectServer, BSTR projectFile, BSTR loginText1, BSTR loginText2)
{
    IProjectServer* target = use(projectServer);
    checked(target->Login(1, projectFile, loginText1, loginText2, 1), target);
}

ComPtr<IServerProject> currentProject(const ComPtr<IProjectServer>& projectServer)
{
    IProjectServer* target = use(projectServer);
    ComPtr<IServerProject> project;
    checked(target->CurrentProject(project.put()), target);
    return project;
}

ComPtr<IAssetKindList> assetKinds(const ComPtr<IServerProject>& project)
{
    IServerProject* target = use(project);
    ComPtr<IAssetKindList> kinds;
    checked(target->AssetKinds(kinds.put()), target);
    return kinds;
}

ComPtr<IServerScript> newScript(const ComPtr<IServerProject>& project)
{
    IServerProject* target = use(project);
    ComPtr<IServerScript> script;
    checked(target->NewScript(script.put()), target);
    return script;
}

ComPtr<IServerScript> getScript(const ComPtr<IServerProject>& project, BSTR name)
{
    IServerProject* target = use(project);
    ComPtr<IServerScript> script;
    checked(target->GetScript(name, script.put()), target);
    return script;
}

void deleteScript(const ComPtr<IServerProject>& project, BSTR name)
{
    IServerProject* target = use(project);
    checked(target->DeleteScript(name), target);
}

ComPtr<IServerUser> currentUser(const ComPtr<IServerProject>& project)
{
    IServerProject* target = use(project);
    ComPtr<IServerUser> user;
    checked(target->CurrentUser(user.put()), target);
    return user;
}

Bstr locationFile(const ComPtr<IServerProject>& project)
{
    return textAnswer(project, [](IServerProject* p, BSTR* answer) { return p->LocationFile(answer); });
}

Bstr projectFile(const ComPtr<IServerProject>& project)
{
    return textAnswer(project, [](IServerProject* p, BSTR* answer) { return p->ProjectFile(answer); });
}

Bstr projectPath(const ComPtr<IServerProject>& project)
{
    return textAnswer(project, [](IServerProject* p, BSTR* answer) { return p->ProjectPath(answer); });
}

ComPtr<IAssetKind> item(const ComPtr<IAssetKindList>& kinds, const wchar_t* kind)
{
    IAssetKindList* target = use(kinds);
    const Bstr kindName = nameText(kind);
    ComPtr<IAssetKind> assetKind;
    checked(target->Item(kindName.get(), assetKind.put()), target);
    return assetKind;
}

Bstr path(const ComPtr<IAssetKind>& kind)
{
    return textAnswer(kind, [](IAssetKind* k, BSTR* answer) { return k->Path(answer); });
}

void saveAs(const ComPtr<IServerScript>& script, BSTR name)
{
    IServerScript* target = use(script);
    checked(target->SaveAs(name), target);
}

void getAttribute(const ComPtr<IServerScript>& script, const wchar_t* name, Variant& value)
{
    IServerScript* target = use(script);
    const Bstr attribute = nameText(name);
    checked(target->GetAttribute(attribute.get(), value.put()), target);
}

void setAttribute(const ComPtr<IServerScript>& script, const wchar_t* name, const VARIANT& value)
{
    IServerScript* target = use(script);
    const Bstr attribute = nameText(name);
    checked(target->SetAttribute(attribute.get(), value), target);
}

Bstr scriptPath(const ComPtr<IServerScript>& script)
{
    return textAnswer(script, [](IServerScript* s, BSTR* answer) { return s->ScriptPath(answer); });
}

Bstr compiledPath(const ComPtr<IServerScript>& script)
{
    return textAnswer(script, [](IServerScript* s, BSTR* answer) { return s->CompiledPath(answer); });
}

Bstr userName(const ComPtr<IServerUser>& user)
{
    return textAnswer(user, [](IServerUser* u, BSTR* answer) { return u->UserName(answer); });
}

long hasPermission(const ComPtr<IServerUser>& user, const wchar_t* kind, long code)
{
    IServerUser* target = use(user);
    const Bstr kindName = nameText(kind);
    long granted = 0;
    checked(target->HasPermission(kindName.get(), code, &granted), target);
    return granted;
}

}  // namespace tallow::server
