// The standalone library's export and import tables, and its trivial exports.
#include "library.h"
#include "pe_tables.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(TallowsoloTables, ExportsExactlyItsUndecoratedNames)
{
    const std::set<std::string> expected{"Initialize", "LoginToProject", "createScript", "getScriptByName"};
    EXPECT_EQ(exportedNames(besideProgram("tallowsolo.dll")), expected);
}

TEST(TallowsoloTables, ImportsOnlyWindowsLibraries)
{
    const std::set<std::string> allowed{"kernel32.dll", "user32.dll", "ole32.dll", "oleaut32.dll",
                                        "msvcrt.dll", "advapi32.dll"};
    for (const auto& module : importedModules(besideProgram("tallowsolo.dll")))
        EXPECT_TRUE(allowed.count(module)) << module;
}

TEST(TallowsoloExports, InitializeAndCreateScriptAnswerZeroAndTouchNothing)
{
    Library solo("tallowsolo.dll");
    EXPECT_EQ(solo.function<int(__cdecl*)()>("Initialize")(), 0);
    auto createScript = solo.function<int(__cdecl*)(int, void*)>("createScript");
    unsigned char record[20];
    memset(record, 0xAB, sizeof record);
    for (int mode : {0, 1, 2, -1}) {
        EXPECT_EQ(createScript(mode, record), 0);
        EXPECT_EQ(createScript(mode, nullptr), 0);
    }
    for (unsigned char byte : record) EXPECT_EQ(byte, 0xAB);
}
