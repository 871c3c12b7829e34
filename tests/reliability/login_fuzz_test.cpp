// Standalone LoginToProject, called as the host calls it, over project files
// that are cut short, damaged, nested deep, crowded, oversized, foreign, or
// dressed in byte-order marks, declarations, comments and entities. Whatever
// the file holds, the call answers 1, 105 or 118, fills the record as those
// results promise, leaves the host's request as it was and changes no file.
#include "folder_snapshot.h"
#include "fuzz_rounds.h"
#include "generated_files.h"
#include "host_records.h"
#include "library.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

using namespace reliability;
using namespace testing_support;
using tallow::ProjectInfo;

namespace {

using LoginFunction = int(__cdecl*)(int, void*, ProjectInfo**);

// Folders derived from the asset root, field by field.
const std::pair<BSTR ProjectInfo::*, const char*> assetFolders[] = {
    {&ProjectInfo::scriptsPath, "\\Scripts"},
    {&ProjectInfo::datPath, "\\Scripts\\dat"},
    {&ProjectInfo::dllPath, "\\Scripts\\dll"},
    {&ProjectInfo::idlPath, "\\Scripts\\idl"},
    {&ProjectInfo::externCPath, "\\Scripts\\externC"},
    {&ProjectInfo::includePath, "\\Scripts\\include"},
    {&ProjectInfo::javaProxiesPath, "\\Scripts\\javaProxies"},
    {&ProjectInfo::llsPath, "\\Scripts\\lls"},
    {&ProjectInfo::basicPath, "\\Scripts\\VexBas32"},
    {&ProjectInfo::vpPath, "\\Scripts\\vp"},
    {&ProjectInfo::win32Path, "\\Scripts\\Win32"},
    {&ProjectInfo::logPath, "\\Log"},
    {&ProjectInfo::dataPoolsPath, "\\DataPools"},
};

std::string ansiText(BSTR text)
{
    return ansiOf(std::wstring(text, SysStringLen(text)));
}

// A LoginRequest inside a larger block of the host's: every byte but the
// project file's pointer holds a pattern the library must leave alone.
struct GuardedRequest {
    unsigned char bytes[64];
    explicit GuardedRequest(const char* projectFile)
    {
        memset(bytes, 0xA5, sizeof bytes);
        memcpy(bytes + 12, &projectFile, 4);
    }
};

class LoginFuzz : public testing::Test {
protected:
    ~LoginFuzz() override
    {
        releaseStrings();
        CoTaskMemFree(info);
        std::printf("project files checked unchanged: %d\n", filesChecked);
    }

    // The host frees the record's strings before the next login.
    void releaseStrings()
    {
        if (!info) return;
        BSTR* fields = reinterpret_cast<BSTR*>(info);
        for (int i = 0; i < 19; ++i) SysFreeString(std::exchange(fields[i], nullptr));
    }

    // Logs in to `bytes` as a project file and checks what any result
    // promises; with `expected`, also the result and texts it names.
    int logInTo(const std::string& bytes, const std::optional<ExpectedProject>& expected = std::nullopt)
    {
        writeFile(path, bytes);
        const FolderSnapshot before = snapshotOf(folder.path());
        const GuardedRequest untouched(path.c_str());
        GuardedRequest request = untouched;
        releaseStrings();

        const int result = login(0x5EED, request.bytes, &info);

        EXPECT_TRUE(result == 1 || result == 105 || result == 118) << "result " << result;
        EXPECT_EQ(memcmp(request.bytes, untouched.bytes, sizeof request.bytes), 0) << "the request is the host's";
        const FolderSnapshot after = snapshotOf(folder.path());
        EXPECT_TRUE(after == before) << "changed: " << differences(before, after);
        ++filesChecked;
        EXPECT_NE(info, nullptr);
        if (!info) return result;
        expectRecordOf(result);
        if (expected) {
            EXPECT_EQ(result, expected->result);
            if (result == expected->result && result != 105) {
                EXPECT_EQ(ansiText(info->name), expected->name);
                EXPECT_EQ(ansiText(info->comment), expected->comment);
                EXPECT_EQ(ansiText(info->location), expected->location);
                if (result == 1) {
                    EXPECT_EQ(ansiText(info->assetPath), expected->assetRoot);
                }
            }
        }
        return result;
    }

    // What each result promises of the record: 105 leaves it all zero, 118
    // fills name, comment and location only, 1 fills every field from the
    // asset root; no text is longer than its buffer allows.
    void expectRecordOf(int result)
    {
        const ProjectInfo& record = *info;
        if (result == 105) {
            const ProjectInfo zero{};
            EXPECT_EQ(memcmp(&record, &zero, sizeof zero), 0);
            return;
        }
        for (BSTR field : {record.name, record.comment, record.location}) ASSERT_NE(field, nullptr);
        EXPECT_LE(ansiText(record.name).size(), 255u);
        EXPECT_LE(ansiText(record.comment).size(), 259u);
        EXPECT_LE(ansiText(record.location).size(), 259u);
        if (result == 118) {
            const BSTR* fields = reinterpret_cast<const BSTR*>(&record);
            for (int i = 3; i < 19; ++i) EXPECT_EQ(fields[i], nullptr) << "field " << i;
            EXPECT_EQ(record.flags, 0);
            return;
        }
        ASSERT_NE(record.assetPath, nullptr);
        const std::wstring root(record.assetPath, SysStringLen(record.assetPath));
        EXPECT_LE(ansiOf(root).size(), 259u);
        for (const auto& [field, suffix] : assetFolders) {
            ASSERT_NE(record.*field, nullptr) << suffix;
            EXPECT_EQ(std::wstring(record.*field, SysStringLen(record.*field)),
                      root + std::wstring(suffix, suffix + strlen(suffix)));
        }
        ASSERT_NE(record.projectPath, nullptr);
        EXPECT_EQ(std::wstring(record.projectPath, SysStringLen(record.projectPath)), root);
        ASSERT_NE(record.userName, nullptr);
        EXPECT_EQ(std::wstring(record.userName), L"admin");
        EXPECT_EQ(record.flags, 0x11);
    }

    Library solo{"tallowsolo.dll"};
    LoginFunction login = solo.function<LoginFunction>("LoginToProject");
    ScratchFolder folder;
    const std::string path = folder / "Fuzz.project";
    ProjectInfo* info = nullptr;
    int filesChecked = 0;
};

// A file with each element once, as a project's own file would be.
ProjectFileContent tidyProject(const std::wstring& name, const std::wstring& assetRoot)
{
    ProjectFileContent file;
    XmlText nameText, commentText, locationText, rootText;
    nameText.append(name);
    commentText.append(L"a & b <c>");
    locationText.append(L"C:\\Work\\Demo");
    rootText.append(assetRoot);
    file.bytes = "<Project><Name>" + nameText.markup + "</Name><Comment>" + commentText.markup +
                 "</Comment><Location>" + locationText.markup + "</Location><TestAssetPath>" + rootText.markup +
                 "</TestAssetPath></Project>";
    file.texts = {{"Name", {nameText.text}},
                  {"Comment", {commentText.text}},
                  {"Location", {locationText.text}},
                  {"TestAssetPath", {rootText.text}}};
    return file;
}

std::string repeated(const std::string& item, size_t times)
{
    std::string text;
    text.reserve(item.size() * times);
    for (size_t i = 0; i < times; ++i) text += item;
    return text;
}

std::string utf16(const std::string& utf8, bool bigEndian)
{
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], units);
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : wide) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

TEST_F(LoginFuzz, FilesCutShortAtEveryLength)
{
    const ProjectFileContent tidy = tidyProject(L"D\u00E9mo \u4E2D", L"C:\\Work\\Demo\\TestAssets");
    const ExpectedProject whole = expectedProject(tidy);
    ASSERT_EQ(whole.result, 1);
    struct Spelling {
        const char* what;
        std::string bytes;
        size_t rootEnd;  // the file loads once it holds this many bytes
    };
    const std::string plain = "\xEF\xBB\xBF" + tidy.bytes + "\r\n";
    const std::string wide = utf16(tidy.bytes + "\r\n", false);
    const Spelling spellings[] = {
        {"UTF-8 with byte-order mark", plain, plain.size() - 2},
        {"UTF-16", wide, wide.size() - 4},
    };
    for (const Spelling& spelling : spellings) {
        for (size_t length = 0; length <= spelling.bytes.size(); ++length) {
            SCOPED_TRACE(std::string(spelling.what) + " cut to " + std::to_string(length) + " bytes");
            const std::string cut = spelling.bytes.substr(0, length);
            if (length < spelling.rootEnd) {
                logInTo(cut, ExpectedProject{105, "", "", "", ""});
            } else if (length == spelling.rootEnd || length == spelling.bytes.size()) {
                logInTo(cut, whole);
            } else {
                // Half a line break after the root, or half a UTF-16 unit.
                const int result = logInTo(cut);
                EXPECT_TRUE(result == 1 || result == 105);
            }
        }
    }
}

TEST_F(LoginFuzz, HostileShapes)
{
    struct Shape {
        std::string what;
        std::string bytes;
        std::optional<ExpectedProject> expected;  // exact outcome, where the rules fix it
    };
    const ExpectedProject notLoaded{105, "", "", "", ""};
    const std::string tidy = tidyProject(L"Demo", L"C:\\T").bytes;
    const ExpectedProject tidyOutcome = expectedProject(tidyProject(L"Demo", L"C:\\T"));
    const std::string body = tidy.substr(9, tidy.size() - 19);  // the four elements without the root
    const auto withBody = [&](const std::string& before, const std::string& after) {
        return before + body + after;
    };
    std::vector<Shape> shapes{
        {"empty file", "", notLoaded},
        {"one byte", "<", notLoaded},
        {"byte-order mark alone", "\xEF\xBB\xBF", notLoaded},
        {"white space alone", " \r\n\t", notLoaded},
        {"root alone", "<Project/>", ExpectedProject{118, "", "", "", ""}},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + tidy, tidyOutcome},
        {"UTF-16 little-endian", utf16(tidy, false), tidyOutcome},
        {"UTF-16 big-endian", utf16(tidy, true), tidyOutcome},
        {"UTF-16 mark before UTF-8 text", "\xFF\xFE" + tidy, std::nullopt},
        {"UTF-32 mark", std::string("\xFF\xFE\0\0", 4) + tidy, std::nullopt},
        {"declaration", "<?xml version=\"1.0\"?>" + tidy, notLoaded},
        {"declaration naming UTF-16", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + tidy, notLoaded},
        {"declaration naming a code page", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + tidy, notLoaded},
        {"comment first", "<!--x-->" + tidy, notLoaded},
        {"comment last", tidy + "<!--x-->", tidyOutcome},
        {"comments between elements", withBody("<Project><!--a-->", "<!--b--></Project>"), tidyOutcome},
        {"processing instruction first", "<?pi x?>" + tidy, notLoaded},
        {"document type", "<!DOCTYPE Project>" + tidy, notLoaded},
        {"external entity", "<!DOCTYPE Project [<!ENTITY x SYSTEM \"file:///C:/windows/win.ini\">]>" + tidy,
         notLoaded},
        {"undefined entity", "<Project><Name>&nbsp;</Name></Project>", notLoaded},
        {"character reference to NUL", "<Project><Name>&#0;</Name></Project>", notLoaded},
        {"character reference to a lone surrogate", "<Project><Name>&#xD800;</Name></Project>", notLoaded},
        {"NUL byte in text", std::string("<Project><Name>a\0b</Name></Project>", 35), notLoaded},
        {"control character", "<Project><Name>a\x01" "b</Name></Project>", notLoaded},
        {"invalid UTF-8", "<Project><Name>caf\xE9</Name>" + body + "</Project>", notLoaded},
        {"overlong UTF-8", "<Project><Name>\xC0\xAF</Name></Project>", notLoaded},
        {"duplicated attribute", "<Project a=\"1\" a=\"2\">" + body + "</Project>", notLoaded},
        {"unclosed root", "<Project>" + body, notLoaded},
        {"two roots", tidy + tidy, notLoaded},
        {"text after the root", tidy + "tail", notLoaded},
        {"mismatched tag", "<Project><Name>x</name>" + body + "</Project>", notLoaded},
        {"duplicated Name", withBody("<Project><Name>Other</Name>", "</Project>"),
         ExpectedProject{1, "", "a & b <c>", "C:\\Work\\Demo", "C:\\T"}},
        {"duplicated TestAssetPath", withBody("<Project>", "<TestAssetPath>C:\\U</TestAssetPath></Project>"),
         ExpectedProject{118, "Demo", "a & b <c>", "C:\\Work\\Demo", ""}},
        {"names differing in case", "<Project><name>x</name><NAME>y</NAME>" + body + "</Project>", tidyOutcome},
        {"the four as attributes only",
         "<Project Name=\"a\" Comment=\"b\" Location=\"c\" TestAssetPath=\"d\"/>",
         ExpectedProject{118, "", "", "", ""}},
        {"CDATA values",
         "<Project><Name><![CDATA[<Demo> & co]]></Name><TestAssetPath><![CDATA[C:\\T]]></TestAssetPath></Project>",
         ExpectedProject{1, "<Demo> & co", "", "", "C:\\T"}},
        {"entities and references",
         "<Project><Name>&lt;&amp;&gt;&quot;&apos;&#233;&#x4E2D;&#x1F600;</Name><TestAssetPath>C:\\T</TestAssetPath>"
         "</Project>",
         ExpectedProject{1, ansiOf(L"<&>\"'\u00E9\u4E2D\U0001F600"), "", "", "C:\\T"}},
        {"5000 other elements", "<Project>" + repeated("<Other a=\"1\">x</Other>", 5000) + body + "</Project>",
         tidyOutcome},
        {"5000 Name elements", withBody("<Project>" + repeated("<Name>n</Name>", 5000), "</Project>"),
         ExpectedProject{1, "", "a & b <c>", "C:\\Work\\Demo", "C:\\T"}},
        {"5000 TestAssetPath elements", "<Project>" + repeated("<TestAssetPath>t</TestAssetPath>", 5000) +
                                            "</Project>",
         ExpectedProject{118, "", "", "", ""}},
        // The DOM checks attributes for duplicates pairwise, so a few thousand do.
        {"3000 attributes", "<Project " + [] {
             std::string attributes;
             for (int i = 0; i < 3000; ++i) attributes += "a" + std::to_string(i) + "=\"1\" ";
             return attributes;
         }() + ">" + body + "</Project>",
         tidyOutcome},
    };
    // Nesting: shallow files load; deep ones may be refused by the DOM, but
    // a file that loads must read right.
    for (size_t depth : {10u, 100u, 250u, 1000u, 100000u}) {
        const std::string open = repeated("<Level>", depth), close = repeated("</Level>", depth);
        shapes.push_back({"elements nested " + std::to_string(depth) + " deep",
                          "<Project>" + open + body + close + "</Project>",
                          depth <= 100 ? std::optional<ExpectedProject>(tidyOutcome) : std::nullopt});
    }
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        logInTo(shape.bytes, shape.expected);
    }
}

// Values at the edges of the buffers and far beyond, one element at a time:
// names are cut to 255 bytes, comments and locations to 259, and an asset
// root of more than 259 bytes is refused.
TEST_F(LoginFuzz, ValuesAtTheEdgesOfTheBuffers)
{
    Random random(7);
    for (const char* tag : {"Name", "Comment", "Location", "TestAssetPath"}) {
        std::vector<size_t> lengths = boundaryLengths();
        lengths.push_back(2u << 20);
        for (size_t length : lengths) {
            SCOPED_TRACE(std::string(tag) + " of " + std::to_string(length) + " bytes");
            ProjectFileContent file = tidyProject(L"Demo", L"C:\\T");
            const XmlText value = textOfAnsiLength(random, length);
            const std::string open = std::string("<") + tag + ">", close = std::string("</") + tag + ">";
            const size_t start = file.bytes.find(open) + open.size();
            file.bytes.replace(start, file.bytes.find(close) - start, value.markup);
            file.texts[tag] = {value.text};
            logInTo(file.bytes, expectedProject(file));
        }
    }
}

TEST_F(LoginFuzz, GeneratedFilesReadAsTheRulesSay)
{
    for (std::uint32_t seed : fuzzSeeds(150, 1)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        const ProjectFileContent file = generateProjectFile(random, true);
        logInTo(file.bytes, expectedProject(file));
        if (HasFailure()) break;
    }
}

TEST_F(LoginFuzz, DamagedFilesGiveTheirCodes)
{
    for (std::uint32_t seed : fuzzSeeds(300, 2)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        const ProjectFileContent file = generateProjectFile(random, false);
        std::string how;
        const std::string bytes = damaged(file.bytes, random, how);
        SCOPED_TRACE(how);
        logInTo(bytes);
        if (HasFailure()) break;
    }
}

TEST_F(LoginFuzz, RandomBytes)
{
    for (std::uint32_t seed : fuzzSeeds(100, 3)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        std::string bytes(random.below(random.percent(90) ? 64 : 70000), '\0');
        const std::string alphabet =
            std::string("<>/=\"'&;#!?[]- \r\n\t\xEF\xBB\xBF\xFF\xFE\0", 24) + "NameTestAssetPath";
        for (char& c : bytes) c = random.percent(50) ? static_cast<char>(random.below(256))
                                                     : alphabet[random.below(alphabet.size())];
        logInTo(bytes);
        if (HasFailure()) break;
    }
}
