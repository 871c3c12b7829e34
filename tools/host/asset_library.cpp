#include "asset_library.h"

namespace tallow_host {

AssetLibrary::AssetLibrary(const std::string& file) : module_(LoadLibraryA(file.c_str()))
{
    if (!module_)
        throw std::runtime_error("cannot load " + file + " (Windows error " + std::to_string(GetLastError()) + ")");
}

AssetLibrary::~AssetLibrary()
{
    FreeLibrary(module_);
}

std::string AssetLibrary::path() const
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module_, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

}  // namespace tallow_host
