#include "core_double.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

using core_double::Failure;
using core_double::OpenLogCall;

constexpr std::uint32_t cppThrowCode = 0xE06D7363;
constexpr std::uint32_t instanceMark = 0x504C4E57;

// What the constructor writes into the caller's storage.
struct Instance {
    std::uint32_t mark;
    const Instance* self;
};

std::vector<const void*> instances;
std::vector<OpenLogCall> openLogCalls;
int answer = 0;
Failure failure = Failure::none;

void failIf(Failure operation)
{
    if (failure == operation) RaiseException(cppThrowCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

}  // namespace

extern "C" {

// Exported as ??0CVexPlenwickComponent@@QAE@XZ; answers `this` like MSVC's constructors.
void* __attribute__((thiscall)) constructComponent(void* self)
{
    instances.push_back(self);
    failIf(Failure::constructor);
    auto* instance = static_cast<Instance*>(self);
    instance->mark = instanceMark;
    instance->self = instance;
    return self;
}

// Exported as ?OpenLog@CVexPlenwickComponent@@QAEHPBD000@Z.
int __attribute__((thiscall)) openLog(void* self, const char* location, const char* second, const char* third,
                                      const char* fourth)
{
    const auto* instance = static_cast<const Instance*>(self);
    OpenLogCall call{};
    call.self = self;
    call.constructed = instance->mark == instanceMark && instance->self == instance;
    call.locationNull = location == nullptr;
    if (location) strncpy(call.location, location, sizeof call.location - 1);
    call.otherArguments[0] = second;
    call.otherArguments[1] = third;
    call.otherArguments[2] = fourth;
    openLogCalls.push_back(call);
    failIf(Failure::openLog);
    return answer;
}

void __cdecl coreDoubleReset()
{
    instances.clear();
    openLogCalls.clear();
    answer = 0;
    failure = Failure::none;
}

void __cdecl coreDoubleAnswer(int result)
{
    answer = result;
}

void __cdecl coreDoubleFail(Failure which)
{
    failure = which;
}

std::uint32_t __cdecl coreDoubleInstanceCount()
{
    return static_cast<std::uint32_t>(instances.size());
}

const void* __cdecl coreDoubleInstance(std::uint32_t index)
{
    return index < instances.size() ? instances[index] : nullptr;
}

std::uint32_t __cdecl coreDoubleOpenLogCount()
{
    return static_cast<std::uint32_t>(openLogCalls.size());
}

const OpenLogCall* __cdecl coreDoubleOpenLogCall(std::uint32_t index)
{
    return index < openLogCalls.size() ? &openLogCalls[index] : nullptr;
}

}
