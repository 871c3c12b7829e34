// A stand-in for tallowcore's CVexPlenwickComponent, for tests only. It
// exports the default constructor and OpenLog under their MSVC-decorated names
// with MSVC's thiscall convention (object in ECX, callee pops the arguments),
// plus control and journal functions: it counts instances, records each
// OpenLog call, answers a chosen value, or fails the way tallowcore does, with
// a structured exception of code 0xE06D7363.
#pragma once

#include <cstdint>

namespace core_double {

enum class Failure : std::uint32_t { none, constructor, openLog };

struct OpenLogCall {
    const void* self;
    // `self` is an instance the constructor set up.
    bool constructed;
    bool locationNull;
    char location[520];
    const void* otherArguments[3];
};

}  // namespace core_double

extern "C" {
// Forgets instances and calls; OpenLog answers 0 and nothing fails.
void __cdecl coreDoubleReset();
// What OpenLog answers from now on.
void __cdecl coreDoubleAnswer(int result);
// Which operation raises tallowcore's exception (after being recorded).
void __cdecl coreDoubleFail(core_double::Failure failure);
std::uint32_t __cdecl coreDoubleInstanceCount();
const void* __cdecl coreDoubleInstance(std::uint32_t index);
std::uint32_t __cdecl coreDoubleOpenLogCount();
const core_double::OpenLogCall* __cdecl coreDoubleOpenLogCall(std::uint32_t index);
}
