// The sample logging libraries that let tallowhub.dll load outside the host.
#include "library.h"
#include "pe_tables.h"
#include "scratch_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

using namespace testing_support;

namespace {

std::string sample(const std::string& name)
{
    return besideProgram("..\\samples\\" + name);
}

using QelContext = int(__cdecl*)(int, std::uint32_t);
using QelGenericLogEvent = int(__cdecl*)(std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t, std::uint32_t,
                                         std::uint32_t, std::uint32_t);
using Construct = void*(__attribute__((thiscall))*)(void*);
using OpenLog = int(__attribute__((thiscall))*)(void*, const char*, const char*, const char*, const char*);

}  // namespace

TEST(SampleLogging, ExportsExactlyWhatTallowhubImports)
{
    const std::string hub = besideProgram("tallowhub.dll");
    for (const std::string library : {"tallowqel.dll", "tallowcore.dll"})
        EXPECT_EQ(exportedNames(sample(library)), importedNames(hub, library)) << library;
}

TEST(SampleLogging, WritesEachCallToTheLogBesideIt)
{
    ScratchFolder folder;
    for (const std::string library : {"tallowqel.dll", "tallowcore.dll"})
        ASSERT_TRUE(CopyFileA(sample(library).c_str(), (folder / library).c_str(), FALSE));
    {
        Library qel(folder / "tallowqel.dll");
        qel.function<QelContext>("QelContext")(4, 0xBEEF);
        qel.function<QelGenericLogEvent>("QelGenericLogEvent")(1, 2, 3, 4, 5, 6, 7);
        Library core(folder / "tallowcore.dll");
        alignas(16) unsigned char component[64] = {};
        core.function<Construct>("??0CVexPlenwickComponent@@QAE@XZ")(component);
        EXPECT_EQ(core.function<OpenLog>("?OpenLog@CVexPlenwickComponent@@QAEHPBD000@Z")(component, "C:\\P\\a.loc",
                                                                                        nullptr, nullptr, nullptr),
                  1);
    }
    EXPECT_EQ(readFile(folder / "tallow-sample.log"),
              "tallowqel: context 4 = 0x0000beef\r\n"
              "tallowqel: event 1 2 3 4 0x00000005 0x00000006 0x00000007\r\n"
              "tallowcore: would open the log viewer for \"C:\\P\\a.loc\" (null, null, null)\r\n");
}
