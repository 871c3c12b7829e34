// The server-mode library's export and import tables.
#include "pe_tables.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(TallowhubTables, ExportsExactlyItsUndecoratedNames)
{
    const std::set<std::string> expected{"GetOrvisServer", "Initialize"};
    EXPECT_EQ(exportedNames(besideProgram("tallowhub.dll")), expected);
}

TEST(TallowhubTables, ImportsOnlyWindowsLibraries)
{
    const std::set<std::string> allowed{"kernel32.dll", "user32.dll", "ole32.dll", "oleaut32.dll",
                                        "msvcrt.dll", "advapi32.dll"};
    for (const auto& module : importedModules(besideProgram("tallowhub.dll")))
        EXPECT_TRUE(allowed.count(module)) << module;
}
