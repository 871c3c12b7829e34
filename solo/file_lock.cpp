#include "file_lock.h"

#include "com_error.h"

#include <cstdint>
#include <cstdio>

namespace tallow {
namespace {

// The path as the file system resolves it, so that relative and absolute
// spellings meet. A path with no full form (the empty one) stands as given.
std::string fullPath(const char* path)
{
    if (!path) return std::string();
    const DWORD needed = GetFullPathNameA(path, 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path, needed, &full[0], nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

uint64_t fnv1a(const std::string& text)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char byte : text) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

}  // namespace

std::string fileLockName(const char* path)
{
    std::string normal = fullPath(path);
    if (!normal.empty()) CharUpperBuffA(&normal[0], static_cast<DWORD>(normal.size()));
    for (char& c : normal)
        if (c == '/') c = '\\';
    char name[64];
    snprintf(name, sizeof name, "Local\\tallow-store-%016llx", static_cast<unsigned long long>(fnv1a(normal)));
    return name;
}

FileLock::FileLock(const char* path) : mutex_(CreateMutexA(nullptr, FALSE, fileLockName(path).c_str()))
{
    if (!mutex_) throw ComError(lastErrorResult());
    if (WaitForSingleObject(mutex_, INFINITE) == WAIT_FAILED) {
        const HRESULT failure = lastErrorResult();
        CloseHandle(mutex_);
        throw ComError(failure);
    }
}

FileLock::~FileLock()
{
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

}  // namespace tallow
