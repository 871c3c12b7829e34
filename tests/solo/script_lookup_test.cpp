// getScriptByName as the host calls it: the counted strings of a ScriptInfo
// read by offset, and the existence test of the script file.
#include "host_records.h"
#include "library.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testing_support;
using tallow::CountedBlock;
using tallow::CountedString;

namespace {

using LookupFunction = int(__cdecl*)(const char*, void**);

// A ScriptInfo as the host lays it out, its fields read by offset.
struct Script {
    unsigned char bytes[20] = {};
    CountedBlock* block(int offset) const
    {
        CountedBlock* value;
        memcpy(&value, bytes + offset, 4);
        return value;
    }
    void setBlock(int offset, CountedBlock* value) { memcpy(bytes + offset, &value, 4); }
    std::string text(int offset) const
    {
        const CountedBlock* value = block(offset);
        if (!value || !value->wide) return std::string();
        return std::string(value->wide, value->wide + SysStringLen(value->wide));
    }
    int type() const
    {
        int value;
        memcpy(&value, bytes + 16, 4);
        return value;
    }
    explicit Script(const std::string& folder)
    {
        if (folder.empty()) return;
        CountedBlock* field = nullptr;
        CountedString::fromAnsi(folder.c_str()).storeInto(field);
        setBlock(12, field);
    }
    ~Script()
    {
        for (int offset = 0; offset < 16; offset += 4) tallow::releaseCountedReference(block(offset));
    }
};

constexpr int description = 4;
constexpr int compiledPath = 8;
constexpr int scriptPath = 12;

class SoloScriptLookup : public testing::Test {
protected:
    Library solo{"tallowsolo.dll"};
    LookupFunction lookup = solo.function<LookupFunction>("getScriptByName");

    int find(const char* name, Script& script)
    {
        void* record = script.bytes;
        const int result = lookup(name, &record);
        EXPECT_EQ(record, script.bytes) << "the host's pointer is never changed";
        return result;
    }
};

}  // namespace

TEST_F(SoloScriptLookup, BuildsBothFileNamesFromTheFolder)
{
    const struct {
        const char* folder;
        const char* name;
        const char* script;
        const char* compiled;
    } cases[] = {
        {"C:\\P\\Scripts", "Login", "C:\\P\\Scripts\\Login.rec", "C:\\P\\Scripts\\Win32\\Login.vxc"},
        {"", "Login", "\\Login.rec", "\\Win32\\Login.vxc"},
        {"C:\\P\\", "Login", "C:\\P\\\\Login.rec", "C:\\P\\\\Win32\\Login.vxc"},
        {"C:\\P", nullptr, "C:\\P\\.rec", "C:\\P\\Win32\\.vxc"},
        {"C:\\P", "caf\xE9", "C:\\P\\caf\xE9.rec", "C:\\P\\Win32\\caf\xE9.vxc"},
    };
    for (const auto& c : cases) {
        Script script(c.folder);
        EXPECT_EQ(find(c.name, script), 0) << c.script;
        EXPECT_EQ(script.text(scriptPath), c.script);
        EXPECT_EQ(script.text(compiledPath), c.compiled);
        ASSERT_NE(script.block(description), nullptr);
        ASSERT_NE(script.block(description)->wide, nullptr) << "empty text, not a null one";
        EXPECT_EQ(SysStringLen(script.block(description)->wide), 0u);
        EXPECT_EQ(script.block(description)->refs, 1u);
        EXPECT_EQ(script.type(), 1);
        EXPECT_EQ(script.block(0), nullptr) << "the name field is not used";
    }
}

TEST_F(SoloScriptLookup, AnswersOneOnlyWhenTheScriptFileExists)
{
    ScratchFolder folder;
    CreateDirectoryA((folder / "Win32").c_str(), nullptr);
    writeFile(folder / "Win32\\Compiled.vxc", "");
    writeFile(folder / "Login.rec", "");
    CreateDirectoryA((folder / "Folder.rec").c_str(), nullptr);
    const struct {
        const char* name;
        int result;
    } cases[] = {{"Login", 1}, {"Compiled", 0}, {"Folder", 1}, {"login", 1}, {"Missing", 0}};
    for (const auto& c : cases) {
        Script script(folder.path());
        EXPECT_EQ(find(c.name, script), c.result) << c.name;
    }
}

TEST_F(SoloScriptLookup, ReplacedFieldsLoseExactlyOneReference)
{
    Script script("C:\\P");
    CountedBlock* folder = script.block(scriptPath);
    CountedBlock* oldDescription = nullptr;
    CountedString::fromAnsi("old").storeInto(oldDescription);
    script.setBlock(description, oldDescription);
    const CountedString hostFolder = CountedString::share(folder);
    const CountedString hostDescription = CountedString::share(oldDescription);
    find("Login", script);
    EXPECT_EQ(folder->refs, 1u) << "only the host's copy is left";
    EXPECT_STREQ(hostFolder.wide(), L"C:\\P");
    EXPECT_EQ(oldDescription->refs, 1u);
    EXPECT_NE(script.block(description), oldDescription);
    EXPECT_EQ(script.block(scriptPath)->refs, 1u);
    EXPECT_EQ(script.block(compiledPath)->refs, 1u);
}

TEST_F(SoloScriptLookup, NullRecordPointersAnswerZero)
{
    EXPECT_EQ(lookup("Login", nullptr), 0);
    void* record = nullptr;
    EXPECT_EQ(lookup("Login", &record), 0);
    EXPECT_EQ(record, nullptr);
}
