// Server-mode LoginToProject and getScriptByName over whatever a project
// server may answer: null, empty, foreign and megabyte texts, texts with NULs
// inside, paths of every shape, and attribute values of every Automation type.
// The record receives exact copies of the server's texts, the converted
// attribute values, and the name and location split from the server's paths;
// a value that does not convert fails the call; no reference is left behind.
#include "fake_server.h"
#include "fuzz_rounds.h"
#include "host_side.h"
#include "hub_library.h"
#include "xml_text.h"

#include <gtest/gtest.h>

using namespace reliability;
using fake::FakeServer;
using fake::Text;
using fake::Value;
using tallow::CountedBlock;
using tallow::CountedString;
using tallow::ScriptInfo;

namespace {

Text randomServerText(Random& random)
{
    switch (random.below(8)) {
    case 0: return std::nullopt;
    case 1: return std::wstring();
    case 2: {
        const std::vector<std::wstring> paths{
            L"D:\\work\\Alpha.prj", L"D:Alpha", L"\\\\srv\\share\\A.b.c", L"a/b\\c.d/e", L"D:\\", L".prj",
            L"C:\\dir.with.dots\\file", L"x:", L"::", L"D:\\work\\", L"..\\..\\x.y",
        };
        return random.pick(paths);
    }
    case 3: return std::wstring(L"D:\\a\\b") + std::wstring(1, L'\0') + L"\\c.d";
    case 4: return L"D:\\" + std::wstring(random.between(250, 600), L'p') + L"\\" +
                   std::wstring(random.between(250, 300), L'n') + L".x";
    case 5: return std::wstring(1, static_cast<wchar_t>(0xD800 + random.below(0x800))) + L"\\n.e";
    case 6: return std::wstring((1u << 20) + random.below(100), L'm');
    default: return randomText(random, false).text;
    }
}

Value randomAttribute(Random& random)
{
    VARIANT raw;
    VariantInit(&raw);
    switch (random.below(12)) {
    case 0: return Value::text(randomText(random, false).text);
    case 1: return Value::text(std::wstring(L"ab\0cd", 5));
    case 2: return Value::nullText();
    case 3: return Value::number(static_cast<long>(random.engine()()));
    case 4: {
        const std::vector<double> numbers{0.5, -1e300, 1e300, 3.0, 1e-320};
        V_VT(&raw) = VT_R8;
        V_R8(&raw) = random.pick(numbers);
        break;
    }
    case 5:
        V_VT(&raw) = VT_BOOL;
        V_BOOL(&raw) = random.percent(50) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case 6:
        V_VT(&raw) = VT_DATE;
        V_DATE(&raw) = static_cast<double>(random.below(80000)) / 3.0;
        break;
    case 7: break;  // VT_EMPTY
    case 8: return Value::null();
    case 9:
        V_VT(&raw) = VT_ERROR;
        V_ERROR(&raw) = DISP_E_PARAMNOTFOUND;
        break;
    case 10: {
        const std::vector<std::wstring> numbers{L"42", L" 7 ", L"-2147483648", L"2147483648", L"0x10", L"3.9", L""};
        return Value::text(random.pick(numbers));
    }
    default:
        V_VT(&raw) = VT_UI4;
        V_UI4(&raw) = static_cast<ULONG>(random.engine()());
    }
    return Value::copyOf(raw);
}

// The value converted as the library converts it; nullopt when it does not.
std::optional<std::wstring> asText(const Value& value)
{
    const VARIANT& v = value.get();
    if (V_VT(&v) == VT_BSTR) {
        if (!V_BSTR(&v)) return std::wstring(L"<null>");
        return std::wstring(V_BSTR(&v));  // up to the first NUL
    }
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return std::nullopt;
    std::wstring text(V_BSTR(&converted), SysStringLen(V_BSTR(&converted)));
    VariantClear(&converted);
    return text;
}

std::optional<long> asNumber(const Value& value)
{
    const VARIANT& v = value.get();
    if (V_VT(&v) == VT_I4) return V_I4(&v);
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&v), 0, VT_I4))) return std::nullopt;
    return V_I4(&converted);
}

std::wstring fieldText(BSTR field)
{
    return field ? std::wstring(field, SysStringLen(field)) : std::wstring(L"<null>");
}

std::wstring copyText(const Text& text)
{
    return text ? *text : std::wstring(L"<null>");
}

std::wstring wideOf(const std::string& ansi)
{
    if (ansi.empty()) return std::wstring();
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                        &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

// A server path in the ANSI code page, read as a C string (up to its first
// NUL), split into drive, folder and base name; parts cut to 255 bytes.
struct Split {
    std::string drive, folder, baseName;
};
Split split(const Text& path)
{
    std::string text = path ? ansiOf(*path) : std::string();
    text = text.c_str();
    Split parts;
    if (text.size() >= 2 && text[1] == ':') {
        parts.drive = text.substr(0, 2);
        text = text.substr(2);
    }
    const size_t separator = text.find_last_of("\\/");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    parts.folder = text.substr(0, nameStart).substr(0, 255);
    const std::string rest = text.substr(nameStart);
    parts.baseName = rest.substr(0, rest.rfind('.')).substr(0, 255);
    return parts;
}

const wchar_t* const loginAttributes[] = {L"VexBasicPath", L"DATPath", L"Win32Path", L"VPPath", L"LLSPath",
                                          L"DLLPath"};

}  // namespace

TEST(ServerAnswersFuzz, LoginTakesWhateverTheServerAnswers)
{
    FakeServer server;
    HubLibrary hub;
    ASSERT_EQ(hub.initialize(), 0);
    void* info = nullptr;
    HostRequest request{"D:\\work\\Alpha.prj", "user", "secret"};
    int logins = 0;
    for (std::uint32_t seed : fuzzSeeds(300, 41)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        server.projectFile = randomServerText(random);
        server.locationFile = randomServerText(random);
        server.projectPath = randomServerText(random);
        server.userName = randomServerText(random);
        server.assetKindPaths = {{L"Script", randomServerText(random)}, {L"Datapool", randomServerText(random)}};
        server.permissions = {{L"Script", static_cast<long>(random.below(3)) - 1},
                              {L"Log", static_cast<long>(random.below(3)) - 1}};
        for (const wchar_t* attribute : loginAttributes)
            server.newScript.attributes[attribute] = randomAttribute(random);

        freeRecordStrings(info);
        const int result = hub.loginToProject(0, &request, &info);
        ++logins;
        bool converts = true;
        for (const wchar_t* attribute : loginAttributes)
            converts = converts && asText(server.newScript.attributes[attribute]).has_value();
        EXPECT_EQ(result, converts ? 1 : 0);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(server.outstandingReferences(), 2);
        if (result != 1) continue;  // what a failure keeps is the fault sweep's affair

        const Split name = split(server.projectFile);
        const Split location = split(server.locationFile);
        EXPECT_EQ(fieldText(fieldAt(info, 0)), wideOf(name.baseName));
        EXPECT_EQ(fieldText(fieldAt(info, 8)), wideOf(location.drive + location.folder));
        EXPECT_EQ(fieldText(fieldAt(info, 16)), copyText(server.assetKindPaths[L"Script"]));
        EXPECT_EQ(fieldText(fieldAt(info, 20)), copyText(server.assetKindPaths[L"Datapool"]));
        EXPECT_EQ(fieldText(fieldAt(info, 68)), copyText(server.userName));
        EXPECT_EQ(fieldText(fieldAt(info, 72)), copyText(server.projectPath));
        const std::pair<size_t, const wchar_t*> attributeFields[] = {
            {56, L"VexBasicPath"}, {28, L"DATPath"}, {64, L"Win32Path"},
            {60, L"VPPath"},       {52, L"LLSPath"}, {32, L"DLLPath"},
        };
        for (const auto& [offset, attribute] : attributeFields)
            EXPECT_EQ(fieldText(fieldAt(info, offset)), *asText(server.newScript.attributes[attribute]))
                << fake::narrow(attribute, wcslen(attribute));
        for (size_t offset : {4u, 12u, 24u, 36u, 40u, 44u, 48u}) EXPECT_EQ(fieldAt(info, offset), nullptr);
        EXPECT_EQ(flagsOf(info), (server.permissions[L"Script"] ? 0x01 : 0) | (server.permissions[L"Log"] ? 0x10 : 0));
        if (HasFailure()) break;
    }
    freeRecordStrings(info);
    std::printf("logins checked: %d\n", logins);
}

TEST(ServerAnswersFuzz, ScriptLookUpTakesWhateverTheServerAnswers)
{
    FakeServer server;
    HubLibrary hub;
    ASSERT_EQ(hub.initialize(), 0);
    void* info = nullptr;
    HostRequest request{"D:\\work\\Alpha.prj", "user", "secret"};
    ASSERT_EQ(hub.loginToProject(0, &request, &info), 1);
    int lookUps = 0;
    for (std::uint32_t seed : fuzzSeeds(300, 42)) {
        SCOPED_TRACE(seedLabel(seed));
        Random random(seed);
        fake::Script script;
        script.attributes = {{L"Description", randomAttribute(random)}, {L"Type", randomAttribute(random)}};
        script.scriptPath = randomServerText(random);
        script.compiledPath = randomServerText(random);
        server.scripts[L"S"] = script;

        ScriptInfo record{};
        CountedString::fromAnsi("S").storeInto(record.name);
        ScriptInfo* variable = &record;
        const int result = hub.getScriptByName("S", &variable);
        ++lookUps;
        const std::optional<std::wstring> description = asText(script.attributes[L"Description"]);
        const std::optional<long> type = asNumber(script.attributes[L"Type"]);
        EXPECT_EQ(result, description && type ? 0 : 1);
        if (result == 0) {
            const auto text = [](const CountedBlock* block) {
                return block && block->wide ? std::wstring(block->wide, SysStringLen(block->wide))
                                            : std::wstring(L"<null>");
            };
            EXPECT_EQ(text(record.description), *description == L"<null>" ? L"<null>" : *description);
            EXPECT_EQ(record.type, *type);
            EXPECT_EQ(text(record.scriptPath), copyText(script.scriptPath));
            EXPECT_EQ(text(record.compiledPath), copyText(script.compiledPath));
            for (const CountedBlock* block : {record.description, record.scriptPath, record.compiledPath}) {
                ASSERT_NE(block, nullptr);
                EXPECT_EQ(block->refs, 1u);
            }
        }
        EXPECT_EQ(server.outstandingReferences(), 2);
        for (CountedBlock* block : {record.name, record.description, record.compiledPath, record.scriptPath})
            tallow::releaseCountedReference(block);
        if (HasFailure()) break;
    }
    freeRecordStrings(info);
    std::printf("look-ups checked: %d\n", lookUps);
}
