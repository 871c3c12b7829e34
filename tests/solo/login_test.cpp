// LoginToProject as the host calls it: records by offset, the project
// selection through tallowprojects.dll, and the failure codes.
#include "library.h"
#include "pe_tables.h"
#include "scratch_folder.h"
#include "selection_double.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdint>
#include <cstring>
#include <thread>

using namespace testing_support;

namespace {

using LoginFunction = int(__cdecl*)(int, void*, void**);

constexpr int projectFileOffset = 12;
constexpr size_t recordSize = 80;
constexpr size_t selectionSize = 517;

// A LoginRequest as the host lays it out: 32 bytes, the project file at 12,
// every other word the host's own (filled with a pattern the library must
// leave alone).
struct Request {
    uint32_t words[8];
    explicit Request(const char* projectFile)
    {
        for (uint32_t& word : words) word = 0xA5A5A5A5u;
        setProjectFile(projectFile);
    }
    void setProjectFile(const char* path) { memcpy(reinterpret_cast<char*>(words) + projectFileOffset, &path, 4); }
    const char* projectFile() const
    {
        const char* path;
        memcpy(&path, reinterpret_cast<const char*>(words) + projectFileOffset, 4);
        return path;
    }
    bool hostWordsIntact() const
    {
        for (int i : {0, 1, 2, 4, 5, 6, 7})
            if (words[i] != 0xA5A5A5A5u) return false;
        return true;
    }
};

std::string bstrText(const void* record, int offset)
{
    BSTR value;
    memcpy(&value, static_cast<const char*>(record) + offset, 4);
    return value ? std::string(value, value + SysStringLen(value)) : std::string("<null>");
}

// The host frees the strings of a record, then leaves the block to the library.
// Frees the record's strings as the host does and forgets them, so that a
// record released twice frees nothing twice.
void releaseStrings(void* record)
{
    if (!record) return;
    for (int offset = 0; offset < 76; offset += 4) {
        BSTR value;
        memcpy(&value, static_cast<char*>(record) + offset, 4);
        SysFreeString(value);
        memset(static_cast<char*>(record) + offset, 0, 4);
    }
}

bool allZero(const void* record)
{
    const auto* bytes = static_cast<const unsigned char*>(record);
    return std::all_of(bytes, bytes + recordSize, [](unsigned char b) { return b == 0; });
}

size_t taskBlockSize(const void* block)
{
    IMalloc* allocator = nullptr;
    if (FAILED(CoGetMalloc(1, &allocator))) return 0;
    const size_t size = allocator->GetSize(const_cast<void*>(block));
    allocator->Release();
    return size;
}

const char* const demoProject =
    "<Project><Name>Demo</Name><Comment>c</Comment><Location>C:\\Work\\Demo</Location>"
    "<TestAssetPath>C:\\P</TestAssetPath></Project>";

// The double of tallowprojects.dll, preloaded by full path.
struct SelectionDouble {
    explicit SelectionDouble(const char* folder = "tallowprojects")
        : library(besideProgram(std::string(folder) + "\\tallowprojects.dll"))
    {
    }
    int calls() const { return library.function<DialogCallsFunction>("dialogCalls")(); }
    Library library;
};

class SoloLogin : public testing::Test {
protected:
    Library solo{"tallowsolo.dll"};
    LoginFunction login = solo.function<LoginFunction>("LoginToProject");
    ScratchFolder folder;
    void* info = nullptr;

    ~SoloLogin() override
    {
        releaseStrings(info);
        // The block is the library's, freed at the next login.
        CoTaskMemFree(info);
    }

    std::string writeProject(const std::string& name, const std::string& xml = demoProject)
    {
        const std::string path = folder / name;
        writeFile(path, xml);
        return path;
    }
};

}  // namespace

TEST_F(SoloLogin, FillsTheRecordAndLeavesTheHostsWordsAlone)
{
    const std::string path = writeProject("Demo.project");
    Request request(path.c_str());
    ASSERT_EQ(login(0x12345678, &request, &info), 1);
    EXPECT_TRUE(request.hostWordsIntact());
    EXPECT_EQ(request.projectFile(), path.c_str());
    const struct {
        int offset;
        const char* text;
    } fields[] = {
        {0, "Demo"},
        {4, "c"},
        {8, "C:\\Work\\Demo"},
        {12, "C:\\P"},
        {16, "C:\\P\\Scripts"},
        {20, "C:\\P\\DataPools"},
        {24, "C:\\P\\Log"},
        {28, "C:\\P\\Scripts\\dat"},
        {32, "C:\\P\\Scripts\\dll"},
        {36, "C:\\P\\Scripts\\externC"},
        {40, "C:\\P\\Scripts\\idl"},
        {44, "C:\\P\\Scripts\\include"},
        {48, "C:\\P\\Scripts\\javaProxies"},
        {52, "C:\\P\\Scripts\\lls"},
        {56, "C:\\P\\Scripts\\VexBas32"},
        {60, "C:\\P\\Scripts\\vp"},
        {64, "C:\\P\\Scripts\\Win32"},
        {68, "admin"},
        {72, "C:\\P"},
    };
    for (const auto& field : fields) EXPECT_EQ(bstrText(info, field.offset), field.text) << field.offset;
    int flags;
    memcpy(&flags, static_cast<char*>(info) + 76, 4);
    EXPECT_EQ(flags, 0x11);
}

TEST_F(SoloLogin, ANullProjectFileOrRequestChangesNothing)
{
    SelectionDouble dialog;
    void* const earlier = reinterpret_cast<void*>(0x1234);
    void* record = earlier;
    Request request(nullptr);
    EXPECT_EQ(login(0, &request, &record), 0);
    EXPECT_EQ(login(0, nullptr, &record), 0);
    EXPECT_EQ(record, earlier);
    EXPECT_TRUE(request.hostWordsIntact());
    EXPECT_EQ(dialog.calls(), 0);
}

TEST_F(SoloLogin, FailureCodesOfTheProjectFile)
{
    const struct {
        const char* what;
        std::string xml;
        int result;
    } cases[] = {
        {"declaration first", std::string("<?xml version=\"1.0\"?>") + demoProject, 105},
        {"empty", "", 105},
        {"malformed", "<Project><Name>Demo</Project>", 105},
        {"no TestAssetPath", "<Project><Name>Demo</Name></Project>", 118},
        {"two TestAssetPath", "<Project><TestAssetPath>A</TestAssetPath><TestAssetPath>B</TestAssetPath></Project>",
         118},
    };
    for (const auto& c : cases) {
        const std::string path = writeProject("case.project", c.xml);
        Request request(path.c_str());
        EXPECT_EQ(login(0, &request, &info), c.result) << c.what;
        ASSERT_NE(info, nullptr) << c.what;
        EXPECT_EQ(bstrText(info, 12), "<null>") << c.what;
        releaseStrings(info);
    }
}

TEST_F(SoloLogin, AFolderSkipsTheDialogAndDoesNotLoad)
{
    SelectionDouble dialog;
    Request request(folder.path().c_str());
    EXPECT_EQ(login(0, &request, &info), 105);
    EXPECT_EQ(dialog.calls(), 0);
    EXPECT_EQ(request.projectFile(), folder.path().c_str());
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(allZero(info));
}

TEST_F(SoloLogin, ANullInfoGives100AfterTheDialogIfThereWasOne)
{
    SelectionDouble dialog;
    const std::string existing = writeProject("Demo.project");
    Request present(existing.c_str());
    EXPECT_EQ(login(0, &present, nullptr), 100);
    EXPECT_EQ(dialog.calls(), 0);

    dialog.library.function<ChooseInBufferFunction>("chooseInBuffer")(existing.c_str(),
                                                                      static_cast<int>(existing.size() + 1));
    const std::string missing = folder / "missing.project";
    Request absent(missing.c_str());
    EXPECT_EQ(login(0, &absent, nullptr), 100);
    EXPECT_EQ(dialog.calls(), 1);
    EXPECT_STREQ(absent.projectFile(), existing.c_str());
}

TEST_F(SoloLogin, TheDialogsChoiceGoesIntoANewBufferAndIsOpened)
{
    SelectionDouble dialog;
    const std::string chosen = writeProject("Chosen.project");
    dialog.library.function<ChooseInBufferFunction>("chooseInBuffer")(chosen.c_str(),
                                                                      static_cast<int>(chosen.size() + 1));
    const std::string missing = folder / "missing.project";
    Request request(missing.c_str());
    ASSERT_EQ(login(0, &request, &info), 1);
    EXPECT_EQ(dialog.calls(), 1);
    EXPECT_EQ(dialog.library.function<ReceivedBlockSizeFunction>("receivedBlockSize")(), selectionSize);
    EXPECT_EQ(dialog.library.function<ReceivedFirstByteFunction>("receivedFirstByte")(), 0)
        << "the dialog receives an empty string";
    EXPECT_NE(request.projectFile(), missing.c_str());
    EXPECT_STREQ(request.projectFile(), chosen.c_str());
    EXPECT_EQ(taskBlockSize(request.projectFile()), selectionSize);
    EXPECT_TRUE(request.hostWordsIntact());
    EXPECT_EQ(bstrText(info, 0), "Demo");
}

TEST_F(SoloLogin, ABlockTheDialogPutsInPlaceIsCopiedFrom)
{
    SelectionDouble dialog;
    const std::string chosen = writeProject("Chosen.project");
    dialog.library.function<ChooseOwnBlockFunction>("chooseOwnBlock")(chosen.c_str());
    const std::string missing = folder / "missing.project";
    Request request(missing.c_str());
    ASSERT_EQ(login(0, &request, &info), 1);
    EXPECT_NE(static_cast<const void*>(request.projectFile()),
              dialog.library.function<OwnBlockFunction>("ownBlock")());
    EXPECT_STREQ(request.projectFile(), chosen.c_str());
}

TEST_F(SoloLogin, ADialogThatChoosesNothingLeadsTo105)
{
    SelectionDouble dialog;
    const std::string missing = folder / "missing.project";
    Request request(missing.c_str());
    EXPECT_EQ(login(0, &request, &info), 105);
    EXPECT_EQ(dialog.calls(), 1);
    EXPECT_STREQ(request.projectFile(), "");
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(allZero(info));
}

// At most 516 characters and a terminator are kept, whatever the dialog left:
// an unterminated buffer of its own or a block of any length.
TEST_F(SoloLogin, TheKeptPathHoldsAtMost516Characters)
{
    SelectionDouble dialog;
    const auto inBuffer = dialog.library.function<ChooseInBufferFunction>("chooseInBuffer");
    const auto ownBlock = dialog.library.function<ChooseOwnBlockFunction>("chooseOwnBlock");
    const std::string missing = folder / "missing.project";
    const struct {
        const char* what;
        std::string path;
        bool terminated;
        bool replace;
    } cases[] = {
        {"516 in the buffer", std::string(516, 'a'), true, false},
        {"517 unterminated in the buffer", std::string(517, 'b'), false, false},
        {"516 in a block", std::string(516, 'c'), true, true},
        {"517 in a block", std::string(517, 'd'), true, true},
        {"8192 in a block", std::string(8192, 'e'), true, true},
    };
    for (const auto& c : cases) {
        if (c.replace)
            ownBlock(c.path.c_str());
        else
            inBuffer(c.path.c_str(), static_cast<int>(c.path.size() + (c.terminated ? 1 : 0)));
        Request request(missing.c_str());
        EXPECT_EQ(login(0, &request, &info), 105) << c.what;
        EXPECT_EQ(taskBlockSize(request.projectFile()), selectionSize) << c.what;
        EXPECT_EQ(strnlen(request.projectFile(), selectionSize), 516u) << c.what;
        EXPECT_EQ(std::string(request.projectFile()), c.path.substr(0, 516)) << c.what;
    }
}

TEST_F(SoloLogin, WithoutTheDialogLibraryOrItsExportNothingChanges)
{
    const std::string missing = folder / "missing.project";
    void* const earlier = reinterpret_cast<void*>(0x1234);
    void* record = earlier;
    Request request(missing.c_str());
    EXPECT_EQ(login(0, &request, &record), 0);
    EXPECT_EQ(GetModuleHandleA("tallowprojects.dll"), nullptr);

    SelectionDouble withoutDialog("tallowprojects_without_dialog");
    EXPECT_EQ(login(0, &request, &record), 0);
    EXPECT_EQ(record, earlier);
    EXPECT_EQ(request.projectFile(), missing.c_str());
    EXPECT_TRUE(request.hostWordsIntact());
}

TEST_F(SoloLogin, TheDialogLibraryIsLoadedOnceAndKept)
{
    const std::string doubleFolder = besideProgram("tallowprojects");
    ASSERT_TRUE(SetDllDirectoryA(doubleFolder.c_str()));
    const std::string missing = folder / "missing.project";
    Request first(missing.c_str());
    EXPECT_EQ(login(0, &first, &info), 105);
    SetDllDirectoryA(nullptr);
    const HMODULE loaded = GetModuleHandleA("tallowprojects.dll");
    ASSERT_NE(loaded, nullptr) << "the library loaded it";

    const std::string chosen = writeProject("Chosen.project");
    reinterpret_cast<ChooseOwnBlockFunction>(GetProcAddress(loaded, "chooseOwnBlock"))(chosen.c_str());
    Request second(missing.c_str());
    EXPECT_EQ(login(0, &second, &info), 1);
    EXPECT_EQ(reinterpret_cast<DialogCallsFunction>(GetProcAddress(loaded, "dialogCalls"))(), 2);
}

// A thread without COM has no XML service: the failure stays inside the
// library, which answers 105 with a new, empty record.
TEST_F(SoloLogin, AFailingXmlServiceGives105)
{
    const std::string path = writeProject("Demo.project");
    const std::string earlierPath = writeProject("Earlier.project");
    Request earlier(earlierPath.c_str());
    ASSERT_EQ(login(0, &earlier, &info), 1);
    releaseStrings(info);
    int result = -1;
    std::thread withoutCom([&] {
        Request request(path.c_str());
        result = login(0, &request, &info);
    });
    withoutCom.join();
    EXPECT_EQ(result, 105);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(allZero(info));
}
