// Registration of the sample server as "OrvisServer.OrvisServer": the ProgID
// names the class, the class names this module as its in-process server.
#include "sample_server.h"

#include <olectl.h>

#include <string>

namespace sample_server {
namespace {

const std::wstring classKey = std::wstring(L"CLSID\\") + sampleServerClassText;

// Sets the value `name` (null: the key's default value) of HKCR\<path>.
LSTATUS writeValue(const std::wstring& path, const wchar_t* name, const std::wstring& text)
{
    HKEY key;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

// The default value of HKCR\<path>; empty when there is none.
std::wstring readDefaultValue(const std::wstring& path)
{
    wchar_t text[64] = {};
    LONG size = sizeof text;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, path.c_str(), text, &size) != ERROR_SUCCESS) return std::wstring();
    return text;
}

std::wstring modulePath()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const wchar_t*>(&modulePath), &self);
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : 0);
}

}  // namespace
}  // namespace sample_server

extern "C" HRESULT __stdcall DllRegisterServer()
{
    using namespace sample_server;
    const std::wstring module = modulePath();
    if (module.empty()) return SELFREG_E_CLASS;
    const wchar_t* description = L"Sample project server";
    const LSTATUS statuses[] = {
        writeValue(classKey, nullptr, description),
        writeValue(classKey + L"\\ProgID", nullptr, progId),
        writeValue(classKey + L"\\InprocServer32", nullptr, module),
        writeValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
        writeValue(progId, nullptr, description),
        writeValue(std::wstring(progId) + L"\\CLSID", nullptr, sampleServerClassText),
    };
    for (LSTATUS status : statuses)
        if (status != ERROR_SUCCESS) return SELFREG_E_CLASS;
    return S_OK;
}

// Removes the class; the ProgID goes only while it still names this class.
extern "C" HRESULT __stdcall DllUnregisterServer()
{
    using namespace sample_server;
    if (lstrcmpiW(readDefaultValue(std::wstring(progId) + L"\\CLSID").c_str(), sampleServerClassText) == 0)
        RegDeleteTreeW(HKEY_CLASSES_ROOT, progId);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
    return S_OK;
}
