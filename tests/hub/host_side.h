// What a host does with the records of LoginToProject: a LoginRequest with its
// three texts at their offsets, and a ProjectInfo record read by offset.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

// A 32-byte LoginRequest; the words the library never touches are the host's.
struct HostRequest {
    std::uint32_t words[8] = {};

    HostRequest(const char* projectFile, const char* loginText1, const char* loginText2)
    {
        put(12, projectFile);
        put(20, loginText1);
        put(28, loginText2);
    }
    void put(size_t offset, const void* value) { std::memcpy(reinterpret_cast<char*>(words) + offset, &value, 4); }
};

// Offsets of the 19 BSTR fields of a ProjectInfo record, and of its flags.
constexpr size_t projectInfoTextOffsets[] = {0,  4,  8,  12, 16, 20, 24, 28, 32, 36,
                                             40, 44, 48, 52, 56, 60, 64, 68, 72};
constexpr size_t flagsOffset = 76;

// Offsets of the fields a server-mode login fills.
enum : size_t {
    name = 0,
    location = 8,
    scriptsPath = 16,
    dataPoolsPath = 20,
    datPath = 28,
    dllPath = 32,
    llsPath = 52,
    basicPath = 56,
    vpPath = 60,
    win32Path = 64,
    userName = 68,
    projectPath = 72,
};

inline BSTR fieldAt(const void* record, size_t offset)
{
    BSTR field;
    std::memcpy(&field, static_cast<const char*>(record) + offset, 4);
    return field;
}

inline std::int32_t flagsOf(const void* record)
{
    std::int32_t flags;
    std::memcpy(&flags, static_cast<const char*>(record) + flagsOffset, 4);
    return flags;
}

// The whole text of a BSTR, NULs included.
inline std::wstring textOf(BSTR text)
{
    return std::wstring(text, SysStringLen(text));
}

// The host releases the record's strings before the next login replaces it.
inline void freeRecordStrings(void* record)
{
    if (!record) return;
    for (size_t offset : projectInfoTextOffsets) {
        SysFreeString(fieldAt(record, offset));
        std::memset(static_cast<char*>(record) + offset, 0, 4);
    }
}
