#include "steady_server.h"

#include "project_server.h"

#include <stdexcept>
#include <string>

namespace bench {
namespace {

using namespace tallow;

const wchar_t progId[] = L"OrvisServer.OrvisServer";
// {0B7E3A52-6C1D-4F88-A2E4-93D5C1F07B26}
const CLSID steadyClass = {0x0b7e3a52, 0x6c1d, 0x4f88, {0xa2, 0xe4, 0x93, 0xd5, 0xc1, 0xf0, 0x7b, 0x26}};

HRESULT answerText(BSTR* answer, const wchar_t* text)
{
    if (!answer) return E_POINTER;
    *answer = SysAllocString(text);
    return *answer ? S_OK : E_OUTOFMEMORY;
}

template <class I>
HRESULT answerObject(I** answer, I* made)
{
    if (!answer) return E_POINTER;
    *answer = made;
    return S_OK;
}

bool same(BSTR text, const wchar_t* wanted)
{
    return text && wcscmp(text, wanted) == 0;
}

// IUnknown and IDispatch (not implemented) of an object offering interface I.
template <class I>
class Object : public I {
public:
    explicit Object(const IID& iid) : iid_(iid) {}
    virtual ~Object() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** answer) override
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != iid_) return E_NOINTERFACE;
        *answer = static_cast<I*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    const IID& iid_;
    LONG refs_ = 1;
};

class Kind final : public Object<IAssetKind> {
public:
    explicit Kind(const wchar_t* path) : Object(IID_IAssetKind), path_(path) {}
    HRESULT STDMETHODCALLTYPE Path(BSTR* path) override { return answerText(path, path_); }

private:
    const wchar_t* path_;
};

class Kinds final : public Object<IAssetKindList> {
public:
    Kinds() : Object(IID_IAssetKindList) {}
    HRESULT STDMETHODCALLTYPE Item(BSTR kind, IAssetKind** answer) override
    {
        if (same(kind, L"Script")) return answerObject<IAssetKind>(answer, new Kind(L"D:\\work\\Alpha\\Scripts"));
        if (same(kind, L"Datapool"))
            return answerObject<IAssetKind>(answer, new Kind(L"D:\\work\\Alpha\\DataPools"));
        return E_INVALIDARG;
    }
};

// A new script answers its folders; the script "Login" answers its own.
class Script final : public Object<IServerScript> {
public:
    Script() : Object(IID_IServerScript) {}
    HRESULT STDMETHODCALLTYPE SaveAs(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetAttribute(BSTR name, VARIANT* value) override
    {
        if (!value) return E_POINTER;
        VariantInit(value);
        if (same(name, L"Type")) {
            V_VT(value) = VT_I4;
            V_I4(value) = 1;
            return S_OK;
        }
        if (!name) return E_INVALIDARG;
        const std::wstring text =
            same(name, L"Description") ? L"Logs in" : L"D:\\work\\Alpha\\Scripts\\" + std::wstring(name);
        V_VT(value) = VT_BSTR;
        V_BSTR(value) = SysAllocString(text.c_str());
        return V_BSTR(value) ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE SetAttribute(BSTR, VARIANT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ScriptPath(BSTR* path) override
    {
        return answerText(path, L"D:\\work\\Alpha\\Scripts\\Login.rec");
    }
    HRESULT STDMETHODCALLTYPE CompiledPath(BSTR* path) override
    {
        return answerText(path, L"D:\\work\\Alpha\\Scripts\\Win32\\Login.vxc");
    }
};

class User final : public Object<IServerUser> {
public:
    User() : Object(IID_IServerUser) {}
    HRESULT STDMETHODCALLTYPE UserName(BSTR* name) override { return answerText(name, L"tester"); }
    HRESULT STDMETHODCALLTYPE HasPermission(BSTR, long, long* granted) override
    {
        if (!granted) return E_POINTER;
        *granted = 1;
        return S_OK;
    }
};

class Project final : public Object<IServerProject> {
public:
    Project() : Object(IID_IServerProject) {}
    HRESULT STDMETHODCALLTYPE AssetKinds(IAssetKindList** kinds) override
    {
        return answerObject<IAssetKindList>(kinds, new Kinds);
    }
    HRESULT STDMETHODCALLTYPE NewScript(IServerScript** script) override
    {
        return answerObject<IServerScript>(script, new Script);
    }
    HRESULT STDMETHODCALLTYPE GetScript(BSTR name, IServerScript** script) override
    {
        if (!same(name, L"Login")) return E_INVALIDARG;
        return answerObject<IServerScript>(script, new Script);
    }
    HRESULT STDMETHODCALLTYPE DeleteScript(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CurrentUser(IServerUser** user) override
    {
        return answerObject<IServerUser>(user, new User);
    }
    HRESULT STDMETHODCALLTYPE LocationFile(BSTR* path) override { return answerText(path, L"D:\\work\\Alpha.loc"); }
    HRESULT STDMETHODCALLTYPE ProjectFile(BSTR* path) override { return answerText(path, L"D:\\work\\Alpha.prj"); }
    HRESULT STDMETHODCALLTYPE ProjectPath(BSTR* path) override { return answerText(path, L"D:\\work\\Alpha"); }
};

// Each login makes a new current project and lets the one before go.
class Server final : public Object<IProjectServer> {
public:
    Server() : Object(IID_IProjectServer) {}
    ~Server() override
    {
        if (project_) project_->Release();
    }
    HRESULT STDMETHODCALLTYPE Login(long, BSTR, BSTR, BSTR, long) override
    {
        if (project_) project_->Release();
        project_ = new Project;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CurrentProject(IServerProject** project) override
    {
        if (!project) return E_POINTER;
        *project = project_;
        if (!project_) return E_UNEXPECTED;
        project_->AddRef();
        return S_OK;
    }

private:
    Project* project_ = nullptr;
};

// Every creation answers a new server object.
class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** answer) override
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *answer = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** answer) override
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Server* server = new Server;
        const HRESULT result = server->QueryInterface(iid, answer);
        server->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    LONG refs_ = 1;
};

void removeProgIdKey()
{
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(progId) + L"\\CLSID").c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, progId);
}

}  // namespace

SteadyServer::SteadyServer() : factory_(new Factory)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(progId) + L"\\CLSID").c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write the ProgID key");
    wchar_t text[64];
    StringFromGUID2(steadyClass, text, 64);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (FAILED(CoRegisterClassObject(steadyClass, factory_, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &cookie_)))
        throw std::runtime_error("cannot register the steady project server");
}

SteadyServer::~SteadyServer()
{
    CoRevokeClassObject(cookie_);
    factory_->Release();
    removeProgIdKey();
}

}  // namespace bench
