// The counted string shared by host and libraries: block layout, references,
// narrow form, joining and failures.
#include "host_records.h"

#include <gtest/gtest.h>

using tallow::ComError;
using tallow::CountedBlock;
using tallow::CountedString;

TEST(CountedString, NewBlockHoldsOneReferenceAndCopiesAddOne)
{
    CountedString text = CountedString::fromAnsi("Login");
    CountedBlock* block = text.block();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->refs, 1u);
    EXPECT_STREQ(block->wide, L"Login");
    EXPECT_EQ(block->narrow, nullptr);
    {
        CountedString copy = text;
        EXPECT_EQ(copy.block(), block);
        EXPECT_EQ(block->refs, 2u);
    }
    EXPECT_EQ(block->refs, 1u);
}

TEST(CountedString, NullAnsiTextGivesBlockWithNullWideText)
{
    CountedString text = CountedString::fromAnsi(nullptr);
    ASSERT_NE(text.block(), nullptr);
    EXPECT_EQ(text.block()->wide, nullptr);
    EXPECT_STREQ(text.wide(), L"");
    EXPECT_STREQ(text.narrow(), "");
}

TEST(CountedString, NarrowFormIsMadeOnceAndKept)
{
    CountedString text = CountedString::fromAnsi("C:\\P\\Scripts");
    const char* first = text.narrow();
    EXPECT_STREQ(first, "C:\\P\\Scripts");
    EXPECT_EQ(text.block()->narrow, first);
    EXPECT_EQ(text.narrow(), first);
}

TEST(CountedString, JoiningMakesANewBlockWithBothTexts)
{
    CountedString head = CountedString::fromAnsi("C:\\P");
    CountedString tail = CountedString::fromAnsi("\\Login.rec");
    CountedString joined = head + tail;
    EXPECT_NE(joined.block(), head.block());
    EXPECT_STREQ(joined.wide(), L"C:\\P\\Login.rec");
    EXPECT_EQ(joined.length(), 14u);
    EXPECT_EQ(head.block()->refs, 1u);
    EXPECT_STREQ((CountedString() + CountedString::fromAnsi(nullptr)).wide(), L"");
}

TEST(CountedString, StoringIntoAFieldReleasesExactlyOneReferenceOfTheOldBlock)
{
    tallow::ScriptInfo record{};
    CountedString old = CountedString::fromAnsi("old");
    old.storeInto(record.description);
    CountedString hostCopy = CountedString::share(record.description);  // the host keeps a copy
    EXPECT_EQ(old.block()->refs, 3u);

    CountedString::fromAnsi("new").storeInto(record.description);
    EXPECT_EQ(old.block()->refs, 2u);
    EXPECT_STREQ(hostCopy.wide(), L"old");
    EXPECT_STREQ(record.description->wide, L"new");
    EXPECT_EQ(record.description->refs, 1u);

    // Storing the block a field already holds keeps it alive.
    CountedString::share(record.description).storeInto(record.description);
    EXPECT_EQ(record.description->refs, 1u);
    tallow::releaseCountedReference(record.description);
}

TEST(CountedString, AssignmentTakesTheNewBlockBeforeReleasingTheOld)
{
    CountedString a = CountedString::fromAnsi("a");
    CountedString& alias = a;
    a = alias;  // self-assignment must not free the block
    EXPECT_STREQ(a.wide(), L"a");
    EXPECT_EQ(a.block()->refs, 1u);
}

TEST(CountedString, ExhaustedMemoryRaisesOutOfMemory)
{
    static const wchar_t text[] = L"x";
    try {
        CountedString::fromWide(text, 0x7ffffff0u);
        FAIL() << "no error raised";
    } catch (const ComError& error) {
        EXPECT_EQ(error.code(), E_OUTOFMEMORY);
    }
}

TEST(CountedString, ReleasingTheLastReferenceFreesTheBlock)
{
    // A block made by one side and released by the other: both use the
    // COM task allocator, so this must not disturb the heap.
    BSTR wide = SysAllocString(L"shared");
    CountedBlock* block = tallow::newCountedBlock(wide);
    ASSERT_NE(block, nullptr);
    CountedString::share(block).narrow();
    EXPECT_NE(block->narrow, nullptr);
    tallow::releaseCountedReference(block);
}
