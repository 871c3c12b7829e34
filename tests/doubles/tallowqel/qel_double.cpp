#include "qel_double.h"

#include <windows.h>

#include <vector>

namespace {

using qel_double::Call;
using qel_double::Operation;

std::vector<Call> journal;
int answer = 0;
std::uint32_t failFrom = 0;

int record(Operation operation, std::initializer_list<std::uint32_t> slots)
{
    Call call{operation, static_cast<std::uint32_t>(slots.size()), {}};
    std::uint32_t* slot = call.slots;
    for (std::uint32_t value : slots) *slot++ = value;
    journal.push_back(call);
    if (failFrom != 0 && journal.size() >= failFrom)
        RaiseException(qel_double::cppThrowCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    return answer;
}

}  // namespace

extern "C" {

// Every argument is taken as the 32-bit slot the caller pushed, so the journal
// shows what a 16-bit argument's upper half held.
int __cdecl QelContext(std::uint32_t code, std::uint32_t value)
{
    return record(Operation::context, {code, value});
}

int __cdecl QelGenericLogEvent(std::uint32_t value1, std::uint32_t value2, std::uint32_t value3,
                               std::uint32_t value4, std::uint32_t value5, std::uint32_t value6,
                               std::uint32_t value7)
{
    return record(Operation::genericLogEvent, {value1, value2, value3, value4, value5, value6, value7});
}

void __cdecl qelDoubleReset()
{
    journal.clear();
    answer = 0;
    failFrom = 0;
}

void __cdecl qelDoubleAnswer(int result)
{
    answer = result;
}

void __cdecl qelDoubleFailFrom(std::uint32_t first)
{
    failFrom = first;
}

std::uint32_t __cdecl qelDoubleCallCount()
{
    return static_cast<std::uint32_t>(journal.size());
}

const Call* __cdecl qelDoubleCall(std::uint32_t index)
{
    return index < journal.size() ? &journal[index] : nullptr;
}

}
