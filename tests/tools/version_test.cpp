// Version resources of the libraries and tools.
#include "pe_tables.h"
#include "version.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::besideProgram;

TEST(VersionResources, EachModuleNamesItselfAndTheVersion)
{
    for (const std::string file : {"tallowsolo.dll", "tallowhub.dll", "tallowadmin.exe", "tallowhost.exe"}) {
        const std::string path = besideProgram(file);
        DWORD ignored = 0;
        std::vector<char> data(GetFileVersionInfoSizeA(path.c_str(), &ignored));
        ASSERT_FALSE(data.empty()) << file;
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) << file;

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) << file;
        EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(TALLOW_VERSION_MINOR, TALLOW_VERSION_MAJOR)));
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(file.size() > 4 && file.substr(file.size() - 4) == ".dll"
                                                            ? VFT_DLL
                                                            : VFT_APP))
            << file;

        for (const auto& [field, expected] : {std::pair<std::string, std::string>{"OriginalFilename", file},
                                              {"FileVersion", TALLOW_VERSION_TEXT}}) {
            char* text = nullptr;
            ASSERT_TRUE(VerQueryValueA(data.data(), ("\\StringFileInfo\\040904B0\\" + field).c_str(),
                                       reinterpret_cast<void**>(&text), &length))
                << file << " " << field;
            EXPECT_EQ(std::string(text), expected) << file;
        }
    }
}
