// A stand-in for the logging service tallowqel, for tests only. Besides the
// service's two functions it exports control and journal functions: every
// call is recorded with its raw 32-bit argument slots, answers a chosen value,
// or fails the way the service does, with a structured exception of code
// 0xE06D7363.
#pragma once

#include <cstdint>

namespace qel_double {

enum class Operation : std::uint32_t { context = 1, genericLogEvent = 2 };

struct Call {
    Operation operation;
    std::uint32_t slotCount;
    // The argument slots exactly as the caller pushed them, upper halves of
    // 16-bit arguments included.
    std::uint32_t slots[7];
};

constexpr std::uint32_t cppThrowCode = 0xE06D7363;

}  // namespace qel_double

extern "C" {
// Forgets every call; calls answer 0 and raise nothing.
void __cdecl qelDoubleReset();
// What both functions answer from now on.
void __cdecl qelDoubleAnswer(int result);
// Calls numbered `first` and later (from 1, counted since the last reset)
// raise the service's exception after being recorded; 0 turns this off.
void __cdecl qelDoubleFailFrom(std::uint32_t first);
std::uint32_t __cdecl qelDoubleCallCount();
const qel_double::Call* __cdecl qelDoubleCall(std::uint32_t index);
}
