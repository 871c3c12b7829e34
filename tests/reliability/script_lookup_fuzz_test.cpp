// Standalone getScriptByName, called as the host calls it, with script names
// and script folders of every kind: missing, empty, foreign, bytes that are no
// text in any code page, paths of the buffers' edge lengths and of megabytes,
// separators and wildcards. The call answers 1 exactly when the script file is
// there, builds both file names from the folder and the name unchanged, moves
// every counted reference as it should, writes nothing past the 20 bytes of
// the host's record and touches no file.
#include "folder_snapshot.h"
#include "fuzz_rounds.h"
#include "host_records.h"
#include "library.h"
#include "scratch_folder.h"
#include "xml_text.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace reliability;
using namespace testing_support;
using tallow::CountedBlock;
using tallow::CountedString;
using tallow::ScriptInfo;

namespace {

using LookupFunction = int(__cdecl*)(const char*, ScriptInfo**);

std::wstring wideOf(const std::string& ansi)
{
    if (ansi.empty()) return std::wstring();
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                        &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

std::wstring textOf(const CountedBlock* block)
{
    return block && block->wide ? std::wstring(block->wide, SysStringLen(block->wide)) : std::wstring();
}

// A script name as the host may pass it (null included).
struct Name {
    bool null;
    std::string text;
};

Name randomName(Random& random)
{
    switch (random.below(8)) {
    case 0: return {true, ""};
    case 1: return {false, ""};
    case 2: {
        std::string bytes(random.between(1, 40), 'x');
        for (char& c : bytes) c = static_cast<char>(random.between(1, 255));
        return {false, bytes};
    }
    case 3: return {false, ansiOf(textOfAnsiLength(random, random.pick(boundaryLengths())).text)};
    case 4: return {false, std::string((1u << 20) + random.below(64), 'n')};
    case 5: {
        const std::vector<std::string> odd{"..\\..\\x", "a\\b", "*", "?.rec", "CON", "a:b", " ", ".", "Login.rec"};
        return {false, random.pick(odd)};
    }
    default: return {false, ansiOf(randomText(random, false).text)};
    }
}

}  // namespace

TEST(ScriptLookupFuzz, AnyNameInAnyFolder)
{
    Library solo{"tallowsolo.dll"};
    const auto lookup = solo.function<LookupFunction>("getScriptByName");
    ScratchFolder folder;
    int calls = 0;
    for (std::uint32_t seed : fuzzSeeds(400, 21)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        const Name name = randomName(random);

        // The folder the host puts in scriptPath.
        std::wstring folderText;
        bool folderBlock = true;
        switch (random.below(6)) {
        case 0: folderText = wideOf(folder.path()); break;
        case 1: folderText = wideOf(folder.path() + "\\"); break;
        case 2: folderBlock = false; break;
        case 3: folderText = std::wstring(1, static_cast<wchar_t>(0xD800 + random.below(0x800))) + L"\\x"; break;
        case 4: folderText = std::wstring((1u << 20) + random.below(64), L'f'); break;
        default: folderText = randomText(random, false).text;
        }
        // Now and then the script (or a folder of its name) is there.
        const std::wstring expectedScript = folderText + L"\\" + wideOf(name.text) + L".rec";
        const std::string narrowScript = ansiOf(expectedScript);
        if (folderText.rfind(wideOf(folder.path()), 0) == 0 && narrowScript.size() < MAX_PATH &&
            narrowScript.find_first_of("*?", 2) == std::string::npos && random.percent(50)) {
            if (random.percent(80))
                CloseHandle(CreateFileA(narrowScript.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            else
                CreateDirectoryA(narrowScript.c_str(), nullptr);
        }
        const bool exists = GetFileAttributesA(narrowScript.c_str()) != INVALID_FILE_ATTRIBUTES;

        // The record lies at the start of a larger block of the host's.
        alignas(4) unsigned char host[64];
        memset(host, 0xA5, sizeof host);
        auto& record = *reinterpret_cast<ScriptInfo*>(host);
        record = ScriptInfo{};
        CountedString::fromAnsi("host's name").storeInto(record.name);
        CountedString::fromAnsi("old description").storeInto(record.description);
        CountedString::fromAnsi("old compiled path").storeInto(record.compiledPath);
        if (folderBlock) {
            const UINT length = static_cast<UINT>(folderText.size());
            CountedString::fromWide(folderText.data(), length).storeInto(record.scriptPath);
        }
        record.type = 9;
        const CountedString heldName = CountedString::share(record.name);
        const CountedString heldDescription = CountedString::share(record.description);
        const CountedString heldCompiled = CountedString::share(record.compiledPath);
        const CountedString heldFolder = CountedString::share(record.scriptPath);
        const FolderSnapshot before = snapshotOf(folder.path());

        ScriptInfo* variable = &record;
        const int result = lookup(name.null ? nullptr : name.text.c_str(), &variable);
        ++calls;

        EXPECT_EQ(result, exists ? 1 : 0);
        EXPECT_EQ(variable, &record);
        for (size_t i = sizeof(ScriptInfo); i < sizeof host; ++i) ASSERT_EQ(host[i], 0xA5) << "byte " << i;
        EXPECT_EQ(record.name, heldName.block());
        EXPECT_EQ(heldName.block()->refs, 2u);
        ASSERT_NE(record.description, nullptr);
        ASSERT_NE(record.description->wide, nullptr);
        EXPECT_EQ(SysStringLen(record.description->wide), 0u);
        EXPECT_EQ(record.type, 1);
        EXPECT_EQ(textOf(record.scriptPath), expectedScript);
        EXPECT_EQ(textOf(record.compiledPath), folderText + L"\\Win32\\" + wideOf(name.text) + L".vxc");
        for (const CountedBlock* made : {record.description, record.compiledPath, record.scriptPath})
            EXPECT_EQ(made->refs, 1u);
        for (const CountedString* replaced : {&heldDescription, &heldCompiled, &heldFolder}) {
            if (replaced->block()) {
                EXPECT_EQ(replaced->block()->refs, 1u) << "the record's reference is gone";
            }
        }
        EXPECT_TRUE(snapshotOf(folder.path()) == before) << "a look-up writes nothing";

        for (CountedBlock* block : {record.name, record.description, record.compiledPath, record.scriptPath})
            tallow::releaseCountedReference(block);
        if (HasFailure()) break;
    }
    std::printf("look-ups checked: %d\n", calls);
}
