// The records that cross the boundary between the host and an asset library,
// laid out as in a 32-bit Windows process (4-byte pointers and ints, packed at
// 4-byte boundaries), and the reference-counted string kept in a ScriptInfo.
//
// Allocator shared by host and libraries: counted-string blocks and their
// narrow texts are allocated with CoTaskMemAlloc and freed with CoTaskMemFree
// (the COM task allocator, one per process, usable before COM is initialised).
// Wide texts are BSTRs (SysAllocString family, SysFreeString). Whichever side
// drops a block's last reference frees it with these functions, so a host may
// release a block that a library made and the other way round.
#pragma once

#include "ansi_text.h"

#include <objbase.h>
#include <cstddef>
#include <cstring>

namespace tallow {

// Reference-counted text block of a counted string: exactly three words.
struct CountedBlock {
    BSTR wide;             // the text; may be null, which reads as empty text
    char* narrow;          // ANSI form of `wide`, made on first request, then kept
    unsigned long refs;    // changed only with InterlockedIncrement/Decrement
};

// Argument of LoginToProject, owned by the host (at least 32 bytes).
// Words at offsets 0, 4, 8, 16 and 24 belong to the host alone.
struct LoginRequest {
    unsigned long hostWord0;
    unsigned long hostWord4;
    unsigned long hostWord8;
    char* projectFile;
    unsigned long hostWord16;
    const char* loginText1;
    unsigned long hostWord24;
    const char* loginText2;
};

// Record made by LoginToProject (80 bytes). Its BSTRs belong to the host.
struct ProjectInfo {
    BSTR name;
    BSTR comment;
    BSTR location;
    BSTR assetPath;
    BSTR scriptsPath;
    BSTR dataPoolsPath;
    BSTR logPath;
    BSTR datPath;
    BSTR dllPath;
    BSTR externCPath;
    BSTR idlPath;
    BSTR includePath;
    BSTR javaProxiesPath;
    BSTR llsPath;
    BSTR basicPath;
    BSTR vpPath;
    BSTR win32Path;
    BSTR userName;
    BSTR projectPath;
    int flags;
};

// ProjectInfo flag bits.
constexpr int projectFlagScripts = 0x01;
constexpr int projectFlagLog = 0x10;

// Record owned by the host; the libraries use its first 20 bytes.
struct ScriptInfo {
    CountedBlock* name;
    CountedBlock* description;
    CountedBlock* compiledPath;
    CountedBlock* scriptPath;
    int type;
};

static_assert(sizeof(void*) == 4, "the host records describe a 32-bit process");
static_assert(sizeof(CountedBlock) == 12, "counted-string block is three words");
static_assert(offsetof(CountedBlock, wide) == 0 && offsetof(CountedBlock, narrow) == 4 &&
              offsetof(CountedBlock, refs) == 8, "counted-string block layout");
static_assert(sizeof(LoginRequest) == 32, "LoginRequest size");
static_assert(offsetof(LoginRequest, projectFile) == 12 && offsetof(LoginRequest, loginText1) == 20 &&
              offsetof(LoginRequest, loginText2) == 28, "LoginRequest layout");
static_assert(sizeof(ProjectInfo) == 80, "ProjectInfo size");
static_assert(offsetof(ProjectInfo, name) == 0 && offsetof(ProjectInfo, comment) == 4 &&
              offsetof(ProjectInfo, location) == 8 && offsetof(ProjectInfo, assetPath) == 12 &&
              offsetof(ProjectInfo, scriptsPath) == 16 && offsetof(ProjectInfo, dataPoolsPath) == 20 &&
              offsetof(ProjectInfo, logPath) == 24 && offsetof(ProjectInfo, datPath) == 28 &&
              offsetof(ProjectInfo, dllPath) == 32 && offsetof(ProjectInfo, externCPath) == 36 &&
              offsetof(ProjectInfo, idlPath) == 40 && offsetof(ProjectInfo, includePath) == 44 &&
              offsetof(ProjectInfo, javaProxiesPath) == 48 && offsetof(ProjectInfo, llsPath) == 52 &&
              offsetof(ProjectInfo, basicPath) == 56 && offsetof(ProjectInfo, vpPath) == 60 &&
              offsetof(ProjectInfo, win32Path) == 64 && offsetof(ProjectInfo, userName) == 68 &&
              offsetof(ProjectInfo, projectPath) == 72 && offsetof(ProjectInfo, flags) == 76,
              "ProjectInfo layout");
static_assert(sizeof(ScriptInfo) == 20, "ScriptInfo size");
static_assert(offsetof(ScriptInfo, name) == 0 && offsetof(ScriptInfo, description) == 4 &&
              offsetof(ScriptInfo, compiledPath) == 8 && offsetof(ScriptInfo, scriptPath) == 12 &&
              offsetof(ScriptInfo, type) == 16, "ScriptInfo layout");

// --- Counted-block primitives, for hosts and libraries alike ---------------

inline void addCountedReference(CountedBlock* block)
{
    if (block) InterlockedIncrement(reinterpret_cast<volatile LONG*>(&block->refs));
}

// Drops one reference; the holder of the last one frees texts and block.
inline void releaseCountedReference(CountedBlock* block)
{
    if (!block) return;
    if (InterlockedDecrement(reinterpret_cast<volatile LONG*>(&block->refs)) != 0) return;
    SysFreeString(block->wide);
    CoTaskMemFree(block->narrow);
    CoTaskMemFree(block);
}

// A new block holding `wide` (taken over) with one reference; null when no
// memory could be had, in which case `wide` has been freed.
inline CountedBlock* newCountedBlock(BSTR wide)
{
    auto* block = static_cast<CountedBlock*>(CoTaskMemAlloc(sizeof(CountedBlock)));
    if (!block) {
        SysFreeString(wide);
        return nullptr;
    }
    block->wide = wide;
    block->narrow = nullptr;
    block->refs = 1;
    return block;
}

// --- Counted string --------------------------------------------------------

// A handle that holds one reference to a counted-string block (or none, which
// reads as empty text). Failures raise ComError (E_OUTOFMEMORY when memory
// runs out, the Windows error when a conversion fails).
class CountedString {
public:
    CountedString() = default;
    CountedString(const CountedString& other) : block_(other.block_) { addCountedReference(block_); }
    CountedString(CountedString&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    // Assignment takes the new block first, then releases the old one.
    CountedString& operator=(const CountedString& other)
    {
        addCountedReference(other.block_);
        releaseCountedReference(block_);
        block_ = other.block_;
        return *this;
    }
    CountedString& operator=(CountedString&& other) noexcept
    {
        if (this != &other) {
            releaseCountedReference(block_);
            block_ = other.block_;
            other.block_ = nullptr;
        }
        return *this;
    }
    ~CountedString() { releaseCountedReference(block_); }

    // A new block over ANSI text; a null pointer gives a block whose wide text is null.
    static CountedString fromAnsi(const char* text) { return adopt(bstrFromAnsi(text).detach(), text != nullptr); }
    // A new block holding a copy of `length` UTF-16 units.
    static CountedString fromWide(const wchar_t* text, UINT length)
    {
        BSTR copy = SysAllocStringLen(text, length);
        return adopt(copy, true);
    }
    // A new block that takes over `wide` (null allowed: reads as empty text).
    static CountedString fromBstr(Bstr wide) { return adopt(wide.detach(), false); }
    // One more reference to a block held elsewhere, such as a record's field.
    static CountedString share(CountedBlock* block)
    {
        addCountedReference(block);
        CountedString s;
        s.block_ = block;
        return s;
    }

    // Stores this value into a record's field: the field takes a reference of
    // its own first, then the block it held loses one.
    void storeInto(CountedBlock*& field) const
    {
        addCountedReference(block_);
        CountedBlock* old = field;
        field = block_;
        releaseCountedReference(old);
    }

    CountedBlock* block() const { return block_; }
    const wchar_t* wide() const { return block_ && block_->wide ? block_->wide : L""; }
    UINT length() const { return block_ ? SysStringLen(block_->wide) : 0; }

    // The ANSI form, made on the first request and kept in the block.
    const char* narrow() const
    {
        if (!block_) return "";
        if (!block_->narrow) {
            const std::string text = ansiFromWide(block_->wide, SysStringLen(block_->wide));
            auto* copy = static_cast<char*>(CoTaskMemAlloc(text.size() + 1));
            if (!copy) throw ComError(E_OUTOFMEMORY);
            memcpy(copy, text.c_str(), text.size() + 1);
            if (InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&block_->narrow), copy, nullptr))
                CoTaskMemFree(copy);
        }
        return block_->narrow;
    }

    // A new block whose text is this text followed by `tail`.
    CountedString operator+(const CountedString& tail) const
    {
        const UINT head = length();
        BSTR joined = SysAllocStringLen(nullptr, head + tail.length());
        if (!joined) throw ComError(E_OUTOFMEMORY);
        memcpy(joined, wide(), head * sizeof(wchar_t));
        memcpy(joined + head, tail.wide(), tail.length() * sizeof(wchar_t));
        return adopt(joined, false);
    }

private:
    // Wraps `wide` in a new block; `required` says that a null `wide` means
    // the allocation failed rather than a null text.
    static CountedString adopt(BSTR wide, bool required)
    {
        if (required && !wide) throw ComError(E_OUTOFMEMORY);
        CountedString s;
        s.block_ = newCountedBlock(wide);
        if (!s.block_) throw ComError(E_OUTOFMEMORY);
        return s;
    }

    CountedBlock* block_ = nullptr;
};

}  // namespace tallow
