// setLogParam and genericLogEvent against the stand-in logging service, and
// launchViewer before any login. The library is called as the host calls it:
// LoadLibrary, GetProcAddress, cdecl function pointers.
#include "core_double.h"
#include "library.h"
#include "pe_tables.h"
#include "qel_double.h"
#include "structured_guard.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <vector>

using namespace testing_support;

namespace {

using SetLogParam = int(__cdecl*)(const void* params);
using GenericLogEvent = int(__cdecl*)(std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t, std::uint32_t,
                                      std::uint32_t, std::uint32_t);
// The same export seen as seven 32-bit slots, so that a test decides what the
// upper half of each 16-bit argument's slot holds.
using GenericLogEventSlots = int(__cdecl*)(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                           std::uint32_t, std::uint32_t, std::uint32_t);
using LaunchViewer = int(__cdecl*)();

const NT_TIB* threadBlock()
{
    const NT_TIB* block;
    asm("movl %%fs:0x18, %0" : "=r"(block));
    return block;
}

// Two pages: the first can't be touched at all, the second reads and writes.
class FencedPages {
public:
    FencedPages()
    {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        pageSize_ = system.dwPageSize;
        base_ = static_cast<char*>(VirtualAlloc(nullptr, 2 * pageSize_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!base_) throw std::runtime_error("VirtualAlloc failed");
        DWORD old;
        VirtualProtect(base_, pageSize_, PAGE_NOACCESS, &old);
    }
    ~FencedPages() { VirtualFree(base_, 0, MEM_RELEASE); }

    char* fenced() const { return base_; }
    char* open() const { return base_ + pageSize_; }

private:
    char* base_;
    DWORD pageSize_;
};

class ResultLogging : public testing::Test {
protected:
    void SetUp() override
    {
        qelDoubleReset();
        coreDoubleReset();
    }

    std::vector<qel_double::Call> calls() const
    {
        std::vector<qel_double::Call> result;
        for (std::uint32_t i = 0; i < qelDoubleCallCount(); ++i) result.push_back(*qelDoubleCall(i));
        return result;
    }

    Library hub{besideProgram("tallowhub.dll")};
    SetLogParam setLogParam = hub.function<SetLogParam>("setLogParam");
    GenericLogEvent genericLogEvent = hub.function<GenericLogEvent>("genericLogEvent");
    GenericLogEventSlots genericLogEventSlots = hub.function<GenericLogEventSlots>("genericLogEvent");
    LaunchViewer launchViewer = hub.function<LaunchViewer>("launchViewer");
};

void expectContextCalls(const std::vector<qel_double::Call>& calls,
                        const std::vector<std::pair<std::uint32_t, std::uint32_t>>& expected)
{
    ASSERT_EQ(calls.size(), expected.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].operation, qel_double::Operation::context);
        ASSERT_EQ(calls[i].slotCount, 2u);
        EXPECT_EQ(calls[i].slots[0], expected[i].first);
        EXPECT_EQ(calls[i].slots[1], expected[i].second);
    }
}

TEST_F(ResultLogging, SetLogParamHandsOnSecondThenFourthWordAndIgnoresWhatQelContextAnswers)
{
    // The record's first word lies in the untouchable page: reading it would
    // fault and turn the result into 1. The third word holds a value of its own
    // that must not show up anywhere.
    const FencedPages pages;
    auto* words = reinterpret_cast<std::uint32_t*>(pages.open() - 4);
    words[1] = 0x80000001;
    words[2] = 0xDEADBEEF;
    words[3] = 0xFFFFFFFF;

    for (int answer : {0, 1, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(answer);
        qelDoubleReset();
        qelDoubleAnswer(answer);
        EXPECT_EQ(setLogParam(words), 0);
        expectContextCalls(calls(), {{4, 0x80000001}, {5, 0xFFFFFFFF}});
    }
}

TEST_F(ResultLogging, SetLogParamReportsAnUnusableRecordAs1WithoutCallingQelContext)
{
    const FencedPages pages;
    for (const void* record : {static_cast<const void*>(nullptr), static_cast<const void*>(pages.fenced())}) {
        SCOPED_TRACE(record);
        EXPECT_EQ(setLogParam(record), 1);
        EXPECT_EQ(qelDoubleCallCount(), 0u);
    }
}

TEST_F(ResultLogging, SetLogParamReportsAThrowingQelContextAs1AndStopsThere)
{
    const std::uint32_t record[4] = {0, 11, 0, 22};
    struct Case {
        std::uint32_t failingCall;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> made;
    };
    for (const Case& c : {Case{1, {{4, 11}}}, Case{2, {{4, 11}, {5, 22}}}}) {
        SCOPED_TRACE(c.failingCall);
        qelDoubleReset();
        qelDoubleFailFrom(c.failingCall);
        EXPECT_EQ(setLogParam(record), 1);
        expectContextCalls(calls(), c.made);
    }
}

TEST_F(ResultLogging, ManyFailuresInARowLeaveTheStackAndCppExceptionsIntact)
{
    const std::uint32_t record[4] = {0, 1, 0, 2};
    const auto* chainBefore = threadBlock()->ExceptionList;
    const auto* stackLimitBefore = static_cast<const char*>(threadBlock()->StackLimit);

    qelDoubleFailFrom(1);
    int failures = 0;
    for (int i = 0; i < 10000; ++i) failures += setLogParam(record);
    EXPECT_EQ(failures, 10000);
    EXPECT_EQ(qelDoubleCallCount(), 10000u);

    EXPECT_EQ(threadBlock()->ExceptionList, chainBefore);
    // The committed stack may have grown by a few pages at most, not by a
    // frame per failure.
    EXPECT_GT(static_cast<const char*>(threadBlock()->StackLimit), stackLimitBefore - 64 * 1024);
    EXPECT_THROW(throw std::runtime_error("still caught"), std::runtime_error);

    qelDoubleReset();
    EXPECT_EQ(setLogParam(record), 0);
    expectContextCalls(calls(), {{4, 1}, {5, 2}});
}

TEST_F(ResultLogging, GenericLogEventHandsOnItsArgumentsAndAnswerUnchanged)
{
    struct Case {
        std::uint16_t small[4];
        std::uint32_t large[3];
        int answer;
    };
    const Case cases[] = {
        {{0xFFFF, 0x8000, 0x0000, 0x7FFF}, {0xFFFFFFFF, 0x80000000, 0x00000000}, 0},
        {{1, 2, 3, 4}, {5, 6, 7}, -1},
        {{0x8001, 0xFFFE, 0x0001, 0x1234}, {0xDEADBEEF, 0x7FFFFFFF, 0x12345678}, INT_MIN},
        {{0, 0, 0, 0}, {0, 0, 0}, INT_MAX},
        {{0x00FF, 0xFF00, 0x8080, 0x7F7F}, {1, 0xFFFF0000, 0x0000FFFF}, 0x12345678},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        qelDoubleReset();
        qelDoubleAnswer(c.answer);
        // The host's slots carry each 16-bit value with a clear upper half.
        EXPECT_EQ(genericLogEventSlots(c.small[0], c.small[1], c.small[2], c.small[3], c.large[0], c.large[1],
                                       c.large[2]),
                  c.answer);
        const auto made = calls();
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].operation, qel_double::Operation::genericLogEvent);
        ASSERT_EQ(made[0].slotCount, 7u);
        const std::uint32_t expected[7] = {c.small[0], c.small[1], c.small[2], c.small[3],
                                           c.large[0], c.large[1], c.large[2]};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(made[0].slots[i], expected[i]) << "argument " << i + 1;
    }
}

TEST_F(ResultLogging, GenericLogEventPassesOnlyThe16BitsOfItsShortArguments)
{
    // Upper halves that a host leaves in the slots (sign extension, leftovers)
    // don't travel on: the logging service gets the 16-bit values, nothing more.
    EXPECT_EQ(genericLogEventSlots(0xFFFF8000, 0xABCDFFFF, 0x00010000, 0xFFFFFFFF, 0xFFFF8000, 1, 2), 0);
    const auto made = calls();
    ASSERT_EQ(made.size(), 1u);
    const std::uint32_t expected[7] = {0x8000, 0xFFFF, 0x0000, 0xFFFF, 0xFFFF8000, 1, 2};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(made[0].slots[i], expected[i]) << "argument " << i + 1;

    // Called through its 16-bit signature, as a host built from the same
    // declarations does.
    qelDoubleReset();
    EXPECT_EQ(genericLogEvent(0xFFFF, 0x8000, 0x7FFF, 0, 3, 4, 5), 0);
    ASSERT_EQ(qelDoubleCallCount(), 1u);
    EXPECT_EQ(qelDoubleCall(0)->slots[0], 0xFFFFu);
    EXPECT_EQ(qelDoubleCall(0)->slots[1], 0x8000u);
    EXPECT_EQ(qelDoubleCall(0)->slots[2], 0x7FFFu);
}

std::vector<DWORD> exceptionsSeen;

LONG CALLBACK noteException(EXCEPTION_POINTERS* pointers)
{
    exceptionsSeen.push_back(pointers->ExceptionRecord->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST_F(ResultLogging, AnExceptionFromQelGenericLogEventReachesTheHost)
{
    qelDoubleFailFrom(1);
    void* watcher = AddVectoredExceptionHandler(1, noteException);
    // The host's own structured-exception frame around the call.
    const bool returned = tallow::guarded([this] { genericLogEvent(1, 2, 3, 4, 5, 6, 7); });
    RemoveVectoredExceptionHandler(watcher);

    EXPECT_FALSE(returned);
    EXPECT_EQ(exceptionsSeen, std::vector<DWORD>{qel_double::cppThrowCode});
    EXPECT_EQ(qelDoubleCallCount(), 1u);
}

TEST_F(ResultLogging, LaunchViewerWithoutALoginAnswersMinus1AndMakesNoComponent)
{
    EXPECT_EQ(launchViewer(), -1);
    EXPECT_EQ(coreDoubleInstanceCount(), 0u);
    EXPECT_EQ(coreDoubleOpenLogCount(), 0u);
}

}  // namespace
