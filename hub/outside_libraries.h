// The outside libraries that the server-mode library links at load time:
// the logging service (tallowqel) and the log viewer's component (tallowcore).
//
// tallowqel exports plain cdecl functions under their own names. tallowcore is
// a C++ library built with MSVC; its class members are bound here through
// import-library aliases of their decorated names (see tallowcore.def) and are
// called with MSVC's thiscall convention: the object in ECX, the callee pops
// the arguments. Both libraries report a C++ throw as a structured exception
// (code 0xE06D7363), which only a structured-exception frame sees.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// Hands one context value to the logging service; its result is not examined.
int __cdecl QelContext(int code, std::uint32_t value);

// Forwards one log event: four 16-bit values, then three 32-bit values.
int __cdecl QelGenericLogEvent(std::uint16_t value1, std::uint16_t value2, std::uint16_t value3,
                               std::uint16_t value4, std::uint32_t value5, std::uint32_t value6,
                               std::uint32_t value7);

// CVexPlenwickComponent::CVexPlenwickComponent(); answers `self`.
void* __attribute__((thiscall)) constructPlenwickComponent(void* self);

// int CVexPlenwickComponent::OpenLog(const char*, const char*, const char*, const char*)
int __attribute__((thiscall)) openPlenwickLog(void* self, const char* locationFile, const char* second,
                                              const char* third, const char* fourth);
}

namespace tallow {

// Room for one CVexPlenwickComponent in automatic storage. tallowcore does not
// publish the class's size, and its constructor writes wherever its layout
// says, so the room is a generous 4 KiB, aligned for any member type (16 bytes).
struct PlenwickComponentStorage {
    alignas(16) std::byte bytes[4096];
};

}  // namespace tallow
