// The install directory: one string value in the machine's registry.
#pragma once

#include <windows.h>

namespace tallow {

// Bytes of the buffers the registry is read into; a usable value is at most
// 255 bytes long.
constexpr DWORD registryValueSize = 256;

// Copies string value `valueName` of key `subkey` under `root` into `out`
// (at least 256 bytes): 1 copied, 0 otherwise with `out` untouched. A value
// that needs more than 256 bytes, or fills all 256 without a terminator, is
// refused. The value's type is not looked at.
int readRegistryString(HKEY root, const char* subkey, const char* valueName, char* out);

// Reads HKEY_LOCAL_MACHINE "SOFTWARE\Halvern Software\Halvern Test\8" value
// "Install Directory" into `out` (at least 256 bytes, empty on entry): 1 if
// `out` then holds a non-empty directory, else 0.
int readInstallDirectory(char* out);

}  // namespace tallow
