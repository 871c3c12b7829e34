#include "registry_lookup.h"

#include <cstring>

namespace tallow {

int readRegistryString(HKEY root, const char* subkey, const char* valueName, char* out)
{
    if (!subkey || !valueName || !out) return 0;
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    char value[registryValueSize] = {};
    DWORD size = sizeof value;
    const LONG status = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return 0;
    // Stored without a terminator and filling the whole buffer: the end of the
    // value is unknown, so it is not taken.
    const void* end = memchr(value, '\0', sizeof value);
    if (!end) return 0;
    memcpy(out, value, static_cast<const char*>(end) - value + 1);
    return 1;
}

int readInstallDirectory(char* out)
{
    readRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Halvern Software\\Halvern Test\\8", "Install Directory", out);
    return out && out[0] ? 1 : 0;
}

}  // namespace tallow
