#include "debug_output.h"

#include <windows.h>

#include <mutex>
#include <stdexcept>

namespace solo_testing {
namespace {

constexpr DWORD debugPrintException = 0x40010006;  // DBG_PRINTEXCEPTION_C

std::mutex capturedGuard;
std::vector<std::string> captured;

LONG CALLBACK takeLine(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode != debugPrintException || record.NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    const std::lock_guard<std::mutex> hold(capturedGuard);
    captured.emplace_back(text ? text : "");
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

DebugOutput::DebugOutput()
{
    {
        const std::lock_guard<std::mutex> hold(capturedGuard);
        captured.clear();
    }
    handler_ = AddVectoredExceptionHandler(1, takeLine);
    if (!handler_) throw std::runtime_error("cannot add the exception handler");
}

DebugOutput::~DebugOutput()
{
    RemoveVectoredExceptionHandler(handler_);
}

std::vector<std::string> DebugOutput::lines() const
{
    const std::lock_guard<std::mutex> hold(capturedGuard);
    return captured;
}

}  // namespace solo_testing
