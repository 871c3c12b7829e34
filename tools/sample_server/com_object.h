// The plumbing every object of the sample server shares: reference counting,
// QueryInterface for its one interface, the IDispatch methods (the interfaces
// are called directly, never through Invoke) and the count of live objects
// that DllCanUnloadNow looks at. Method bodies run inside `answer`, which turns
// a failure into the HRESULT the caller receives.
#pragma once

#include "com_error.h"

#include <exception>
#include <new>
#include <utility>
#include <string>

namespace sample_server {

// Live objects and server locks of the module.
void moduleInUse();
void moduleReleased();
bool moduleUnused();

template <class Interface, const IID& interfaceId>
class ComObject : public Interface {
public:
    ComObject() { moduleInUse(); }
    virtual ~ComObject() { moduleReleased(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == interfaceId) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    LONG references_ = 1;  // the maker's
};

// Runs a method body: S_OK when it returns, the error's HRESULT when it
// raises. Nothing else leaves through a COM call.
template <class Body>
HRESULT answer(Body body)
{
    try {
        body();
        return S_OK;
    } catch (const tallow::ComError& error) {
        return FAILED(error.code()) ? error.code() : E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return E_FAIL;
    }
}

// A new object with the one reference its maker holds.
template <class Object, class... Arguments>
tallow::ComPtr<Object> make(Arguments&&... arguments)
{
    return tallow::ComPtr<Object>::attach(new Object(std::forward<Arguments>(arguments)...));
}

// Hands `object` to the caller's out-argument, with the reference it holds.
template <class Object, class Interface>
void giveObject(tallow::ComPtr<Object> object, Interface** out)
{
    if (!out) throw tallow::ComError(E_POINTER);
    *out = object.detach();
}

// Hands a new BSTR copy of `text` to the caller's out-argument.
void giveText(const std::wstring& text, BSTR* out);

// A BSTR argument as text; a null BSTR reads as empty text.
inline std::wstring textOf(BSTR text)
{
    return std::wstring(text ? text : L"", SysStringLen(text));
}

}  // namespace sample_server
