#include "structured_guard.h"

#include <windows.h>

namespace tallow {
namespace {

// An exception registration record on the FS:[0] chain, followed by what the
// handler needs to resume in the frame of runGuarded.
struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD record;
    void* resumePoint[5];  // __builtin_setjmp's buffer
};

// The head of the calling thread's chain of registration records (FS:[0]).
EXCEPTION_REGISTRATION_RECORD* chainHead()
{
    EXCEPTION_REGISTRATION_RECORD* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void setChainHead(EXCEPTION_REGISTRATION_RECORD* head)
{
    asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

extern "C" EXCEPTION_DISPOSITION __cdecl guardHandler(EXCEPTION_RECORD* exception, void* establisherFrame,
                                                      CONTEXT*, void*)
{
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    auto* frame = static_cast<GuardFrame*>(establisherFrame);
    // Lets every frame above ours clean up and takes them off the chain, then
    // takes ours off too, and resumes in runGuarded with the stack as it was.
    RtlUnwind(establisherFrame, nullptr, exception, nullptr);
    setChainHead(frame->record.Next);
    __builtin_longjmp(frame->resumePoint, 1);
}

}  // namespace

bool runGuarded(void (*body)(void*), void* context)
{
    GuardFrame frame;
    if (__builtin_setjmp(frame.resumePoint)) return false;
    frame.record.Next = chainHead();
    frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(guardHandler);
    setChainHead(&frame.record);
    try {
        body(context);
    } catch (...) {
        setChainHead(frame.record.Next);
        throw;
    }
    setChainHead(frame.record.Next);
    return true;
}

}  // namespace tallow
