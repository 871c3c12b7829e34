#include "install_directory.h"

#include <stdexcept>

namespace solo_testing {
namespace {

constexpr char installKey[] = "SOFTWARE\\Halvern Software\\Halvern Test\\8";
constexpr char installValue[] = "Install Directory";

}  // namespace

void setInstallDirectoryValue(const std::string& bytes, DWORD type)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot make the install-directory key");
    const LONG status = RegSetValueExA(key, installValue, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set the install directory");
}

void setInstallDirectory(const std::string& directory)
{
    setInstallDirectoryValue(std::string(directory.c_str(), directory.size() + 1));
}

void removeInstallDirectory()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, installValue);
    RegCloseKey(key);
}

}  // namespace solo_testing
