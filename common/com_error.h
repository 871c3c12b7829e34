// The one failure signal inside both libraries: an exception carrying an HRESULT
// and, where the failing object offers it, that object's error information.
#pragma once

#include "com_ptr.h"

#include <oaidl.h>

namespace tallow {

class ComError {
public:
    explicit ComError(HRESULT code, ComPtr<IErrorInfo> info = nullptr)
        : code_(code), info_(std::move(info)) {}
    HRESULT code() const { return code_; }
    IErrorInfo* errorInfo() const { return info_.get(); }

private:
    HRESULT code_;
    ComPtr<IErrorInfo> info_;
};

// Raises a ComError for a failed HRESULT. When the call was made on `source`
// through interface `iid` and the object declares rich error information for
// that interface, the error object it posted travels with the exception.
inline void check(HRESULT hr, IUnknown* source = nullptr, const IID* iid = nullptr)
{
    if (SUCCEEDED(hr)) return;
    ComPtr<IErrorInfo> info;
    if (source && iid) {
        ISupportErrorInfo* support = nullptr;
        if (SUCCEEDED(source->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
            if (support->InterfaceSupportsErrorInfo(*iid) == S_OK) GetErrorInfo(0, info.put());
            support->Release();
        }
    }
    throw ComError(hr, std::move(info));
}

// The HRESULT of the calling thread's last Windows error.
inline HRESULT lastErrorResult()
{
    return HRESULT_FROM_WIN32(GetLastError());
}

}  // namespace tallow
