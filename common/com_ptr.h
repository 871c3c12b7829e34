// Owning handles for COM references, BSTRs and VARIANTs.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <utility>

namespace tallow {

// Holds one reference to a COM interface and releases it when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller already owns.
    static ComPtr attach(T* raw) { ComPtr p; p.ptr_ = raw; return p; }
    // Adds a reference of its own to a borrowed pointer.
    static ComPtr borrow(T* raw) { ComPtr p; p.ptr_ = raw; if (raw) raw->AddRef(); return p; }

    ComPtr(const ComPtr& other) : ptr_(other.ptr_) { if (ptr_) ptr_->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept { std::swap(ptr_, other.ptr_); return *this; }
    ~ComPtr() { reset(); }

    void reset() { if (T* old = std::exchange(ptr_, nullptr)) old->Release(); }
    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // Releases what is held and hands out the slot for an out-argument.
    T** put() { reset(); return &ptr_; }
    T* detach() { return std::exchange(ptr_, nullptr); }

    // Asks for another interface; the answer is null when the object lacks it.
    template <class U>
    HRESULT query(REFIID iid, ComPtr<U>& out) const {
        if (!ptr_) return E_POINTER;
        return ptr_->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
    }

private:
    T* ptr_ = nullptr;
};

// Owns one BSTR (null allowed) and frees it when it goes.
class Bstr {
public:
    Bstr() = default;
    static Bstr attach(BSTR raw) { Bstr b; b.text_ = raw; return b; }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept { std::swap(text_, other.text_); return *this; }
    ~Bstr() { SysFreeString(text_); }

    BSTR get() const { return text_; }
    BSTR* put() { SysFreeString(std::exchange(text_, nullptr)); return &text_; }
    BSTR detach() { return std::exchange(text_, nullptr); }
    UINT length() const { return SysStringLen(text_); }

private:
    BSTR text_ = nullptr;
};

// A VARIANT that is cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }

    VARIANT* put() { VariantClear(&value_); return &value_; }
    VARIANT& get() { return value_; }
    const VARIANT& get() const { return value_; }

private:
    VARIANT value_;
};

}  // namespace tallow
