// Path splitting with a double-byte code page. The test prefix's ANSI code
// page (1252) has no lead bytes, so the stepping is shown with code page 932,
// whose trail bytes include the backslash (0x5C).
#include "path_parts.h"

#include <gtest/gtest.h>

using tallow::PathParts;
using tallow::splitPath;

namespace {

constexpr UINT japanese = 932;

void expectParts(const PathParts& parts, const char* drive, const char* folder, const char* baseName,
                 const char* extension)
{
    EXPECT_EQ(parts.drive, drive);
    EXPECT_EQ(parts.folder, folder);
    EXPECT_EQ(parts.baseName, baseName);
    EXPECT_EQ(parts.extension, extension);
}

}  // namespace

TEST(PathParts, DoubleByteCharactersAreSteppedOverWhole)
{
    ASSERT_TRUE(IsValidCodePage(japanese));
    // 0x95 0x5C is one character whose trail byte is a backslash.
    expectParts(splitPath("D:\\dir\\\x95\x5C.prj", japanese), "D:", "\\dir\\", "\x95\x5C", ".prj");
    expectParts(splitPath("D:\\\x95\x5C\\a\x95\x5C", japanese), "D:", "\\\x95\x5C\\", "a\x95\x5C", "");
    // A lead byte with nothing after it is a character of its own.
    expectParts(splitPath("ab.c\x95", japanese), "", "", "ab", ".c\x95");
    // The same bytes in a code page without lead bytes split at the 0x5C.
    expectParts(splitPath("D:\\dir\\\x95\x5C.prj", 1252), "D:", "\\dir\\\x95\\", "", ".prj");
}

TEST(PathParts, NullPathGivesEmptyParts)
{
    expectParts(splitPath(nullptr), "", "", "", "");
}
