#include "install_directory_value.h"

#include "com_error.h"

namespace tallow_admin {

void recordInstallDirectory(const std::string& directory)
{
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Halvern Software\\Halvern Test\\8", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(key, "Install Directory", 0, REG_SZ, reinterpret_cast<const BYTE*>(directory.c_str()),
                                static_cast<DWORD>(directory.size() + 1));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) throw tallow::ComError(HRESULT_FROM_WIN32(status));
}

}  // namespace tallow_admin
