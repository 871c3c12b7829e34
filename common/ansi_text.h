// Conversions between narrow text in the system ANSI code page and UTF-16,
// made with CP_ACP and no flags. A failed conversion raises the Windows error
// as a ComError; exhausted memory raises E_OUTOFMEMORY.
#pragma once

#include "com_error.h"

#include <new>
#include <string>

namespace tallow {

// A BSTR copy of ANSI text; a null pointer gives a null BSTR.
inline Bstr bstrFromAnsi(const char* text)
{
    if (!text) return Bstr();
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) throw ComError(lastErrorResult());
    Bstr result = Bstr::attach(SysAllocStringLen(nullptr, static_cast<UINT>(units - 1)));
    if (!result.get()) throw ComError(E_OUTOFMEMORY);
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, result.get(), units) <= 0)
        throw ComError(lastErrorResult());
    return result;
}

// ANSI text of `length` UTF-16 units (a null pointer reads as empty text).
inline std::string ansiFromWide(const wchar_t* text, UINT length)
{
    if (!text || length == 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) throw ComError(lastErrorResult());
    try {
        std::string result(static_cast<size_t>(bytes), '\0');
        if (WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &result[0], bytes, nullptr, nullptr) <= 0)
            throw ComError(lastErrorResult());
        return result;
    } catch (const std::bad_alloc&) {
        throw ComError(E_OUTOFMEMORY);
    }
}

// ANSI text of a BSTR, all of it (a null BSTR reads as empty text).
inline std::string ansiFromBstr(BSTR text)
{
    return ansiFromWide(text, SysStringLen(text));
}

// A fresh BSTR copy of another, byte for byte; a null BSTR stays null.
inline BSTR copyBstr(BSTR source)
{
    if (!source) return nullptr;
    BSTR copy = SysAllocStringByteLen(reinterpret_cast<const char*>(source), SysStringByteLen(source));
    if (!copy) throw ComError(E_OUTOFMEMORY);
    return copy;
}

}  // namespace tallow
