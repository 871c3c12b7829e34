// The server-mode library's export and import tables.
#include "pe_tables.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(TallowhubTables, ExportsExactlyItsUndecoratedNames)
{
    const std::set<std::string> expected{"GetOrvisServer", "Initialize", "LoginToProject", "getScriptByName",
                                         "createScript", "setLogParam", "genericLogEvent", "launchViewer"};
    EXPECT_EQ(exportedNames(besideProgram("tallowhub.dll")), expected);
}

TEST(TallowhubTables, ImportsOnlyWindowsLibrariesAndItsTwoOutsideLibraries)
{
    const std::set<std::string> allowed{"kernel32.dll", "user32.dll", "ole32.dll", "oleaut32.dll",
                                        "msvcrt.dll", "advapi32.dll",
                                        "tallowqel.dll", "tallowcore.dll"};
    for (const auto& module : importedModules(besideProgram("tallowhub.dll")))
        EXPECT_TRUE(allowed.count(module)) << module;
}

// Linked at load time: the logging service's C functions by their own names,
// the log viewer component's members by their MSVC-decorated names.
TEST(TallowhubTables, ImportsTheOutsideLibrariesByTheirExactNames)
{
    const std::string hub = besideProgram("tallowhub.dll");
    EXPECT_EQ(importedNames(hub, "tallowqel.dll"), (std::set<std::string>{"QelContext", "QelGenericLogEvent"}));
    EXPECT_EQ(importedNames(hub, "tallowcore.dll"),
              (std::set<std::string>{"??0CVexPlenwickComponent@@QAE@XZ",
                                     "?OpenLog@CVexPlenwickComponent@@QAEHPBD000@Z"}));
}
