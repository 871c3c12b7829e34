// The structured-exception frame that the library puts around calls into its
// outside libraries.
#include "structured_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

EXCEPTION_REGISTRATION_RECORD* chainHead()
{
    EXCEPTION_REGISTRATION_RECORD* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

volatile int* volatile nowhere = nullptr;

void raiseCppThrow()
{
    RaiseException(0xE06D7363, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

TEST(StructuredGuard, TurnsStructuredExceptionsIntoFalseAndLeavesTheChainAsItWas)
{
    auto* const chainBefore = chainHead();
    EXPECT_TRUE(tallow::guarded([] {}));
    EXPECT_FALSE(tallow::guarded(raiseCppThrow));
    EXPECT_FALSE(tallow::guarded([] { (void)*nowhere; }));
    // Nested: the inner frame catches, the outer body goes on.
    bool innerReturned = true;
    EXPECT_TRUE(tallow::guarded([&] { innerReturned = tallow::guarded(raiseCppThrow); }));
    EXPECT_FALSE(innerReturned);
    EXPECT_EQ(chainHead(), chainBefore);
}

TEST(StructuredGuard, LetsACppExceptionOfTheBodyThroughAndStaysUsable)
{
    auto* const chainBefore = chainHead();
    EXPECT_THROW(tallow::guarded([] { throw std::runtime_error("body"); }), std::runtime_error);
    EXPECT_EQ(chainHead(), chainBefore);
    EXPECT_FALSE(tallow::guarded(raiseCppThrow));
    EXPECT_EQ(chainHead(), chainBefore);
}

}  // namespace
