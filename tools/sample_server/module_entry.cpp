// The module's COM entry points: the class object that makes project servers,
// and the count of live objects that tells COM when the module may go.
#include "com_object.h"
#include "project_server.h"
#include "sample_server.h"

namespace sample_server {
namespace {

LONG liveObjects = 0;

class ClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The one factory lives as long as the module; its references only hold the module.
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        moduleInUse();
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        moduleReleased();
        return 1;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return answer([&] {
            tallow::ComPtr<tallow::IProjectServer> server = makeProjectServer();
            tallow::check(server->QueryInterface(iid, out));
        });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            moduleInUse();
        else
            moduleReleased();
        return S_OK;
    }
};

ClassFactory classFactory;

}  // namespace

void moduleInUse()
{
    InterlockedIncrement(&liveObjects);
}

void moduleReleased()
{
    InterlockedDecrement(&liveObjects);
}

bool moduleUnused()
{
    return liveObjects == 0;
}

void giveText(const std::wstring& text, BSTR* out)
{
    if (!out) throw tallow::ComError(E_POINTER);
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!*out) throw tallow::ComError(E_OUTOFMEMORY);
}

}  // namespace sample_server

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (classId != sample_server::sampleServerClass) return CLASS_E_CLASSNOTAVAILABLE;
    return sample_server::classFactory.QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow()
{
    return sample_server::moduleUnused() ? S_OK : S_FALSE;
}
