#include "file_contents.h"

#include <utility>

namespace tallow {
namespace {

// Closes the file handle it holds when it goes.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (valid()) CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// Frees the global block it holds when it goes, unless a stream took it over.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size) : block_(GlobalAlloc(GMEM_MOVEABLE, size ? size : 1))
    {
        if (!block_) throw ComError(E_OUTOFMEMORY);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock()
    {
        if (block_) GlobalFree(block_);
    }
    HGLOBAL get() const { return block_; }
    HGLOBAL release() { return std::exchange(block_, nullptr); }

private:
    HGLOBAL block_;
};

// Reads up to `size` bytes into `block`; false when a read fails.
bool readInto(HANDLE file, HGLOBAL block, DWORD size, DWORD& total)
{
    auto* bytes = static_cast<BYTE*>(GlobalLock(block));
    if (!bytes) throw ComError(E_OUTOFMEMORY);
    bool ok = true;
    total = 0;
    while (total < size) {
        DWORD read = 0;
        if (!ReadFile(file, bytes + total, size - total, &read, nullptr)) {
            ok = false;
            break;
        }
        if (read == 0) break;
        total += read;
    }
    GlobalUnlock(block);
    return ok;
}

}  // namespace

ComPtr<IStream> fileContents(BSTR path)
{
    if (!path) return nullptr;
    const FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return nullptr;
    if (size.QuadPart > MAXDWORD) throw ComError(E_OUTOFMEMORY);

    GlobalBlock block(static_cast<SIZE_T>(size.QuadPart));
    DWORD total = 0;
    if (!readInto(file.get(), block.get(), static_cast<DWORD>(size.QuadPart), total)) return nullptr;

    ComPtr<IStream> stream;
    check(CreateStreamOnHGlobal(block.get(), TRUE, stream.put()));
    block.release();
    // The block may be larger than asked for; the stream ends where the file does.
    ULARGE_INTEGER length;
    length.QuadPart = total;
    check(stream->SetSize(length));
    return stream;
}

}  // namespace tallow
