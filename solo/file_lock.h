// Serialises the load-modify-save of one file across the threads and
// processes of the machine's session, so that no update of the registry or the
// asset-manager file is lost to another that runs at the same time.
#pragma once

#include <windows.h>

#include <string>

namespace tallow {

// Name of the mutex that guards `path`. Spellings of one file share it: the
// path is made full, folded to upper case and its slashes made alike, then
// hashed, since a mutex name can hold no backslash and is at most MAX_PATH
// characters long.
std::string fileLockName(const char* path);

// Holds the file's mutex from construction to destruction. A thread may take
// the lock of a file it holds already. A mutex left by a process that ended
// while holding it is taken over: saves replace a file whole, so what that
// process left on disk is a complete file.
class FileLock {
public:
    explicit FileLock(const char* path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace tallow
