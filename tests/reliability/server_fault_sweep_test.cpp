// Every server call that LoginToProject, getScriptByName and createScript
// make, failed in turn in each way a project server can fail it: a failure
// HRESULT, a null interface answer, and an attribute value that cannot be
// turned into text or a number. The calls are taken from the journal of a
// clean run, so a call the library adds later is swept too. Each faulted call
// must give the export's failure result, keep exactly the fields stored before
// the failure, stop calling the server, and leave no reference behind.
#include "fake_server.h"
#include "host_side.h"
#include "hub_library.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using fake::FakeServer;
using fake::Value;
using tallow::CountedBlock;
using tallow::CountedString;
using tallow::ScriptInfo;

namespace {

// One call of a journal as FakeServer::fail names it: without the object's
// label, and counted among the calls of the same name.
struct Call {
    std::string name;
    int occurrence;
    bool operator==(const Call& other) const { return name == other.name && occurrence == other.occurrence; }
};

std::vector<Call> callsOf(const std::vector<std::string>& journal)
{
    std::vector<Call> calls;
    std::map<std::string, int> seen;
    for (const std::string& entry : journal) {
        const std::string name = entry.substr(entry.find('.') + 1);
        calls.push_back(Call{name, ++seen[name]});
    }
    return calls;
}

size_t positionOf(const std::vector<Call>& calls, const Call& call)
{
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i] == call) return i;
    throw std::logic_error("no call " + call.name);
}

bool answersAnInterface(const std::string& call)
{
    for (const char* prefix : {"CurrentProject", "NewScript", "GetScript(", "CurrentUser", "AssetKinds", "Item("})
        if (call.rfind(prefix, 0) == 0) return true;
    return false;
}

// The attribute a GetAttribute call reads ("" for any other call).
std::wstring attributeRead(const std::string& call)
{
    const std::string prefix = "GetAttribute(";
    if (call.rfind(prefix, 0) != 0) return std::wstring();
    const std::string name = call.substr(prefix.size(), call.size() - prefix.size() - 1);
    return std::wstring(name.begin(), name.end());
}

// Failure answers of the server: plain, with an error object, and the kinds
// a remote server gives when it runs out of memory or goes away.
struct Refusal {
    HRESULT result;
    bool rich;
};
const Refusal refusals[] = {
    {E_FAIL, false},
    {DISP_E_EXCEPTION, true},
    {E_OUTOFMEMORY, false},
    {RPC_E_DISCONNECTED, true},
};

// An object without a default value: the Automation conversion asks it for
// one through IDispatch and is refused. It lives as long as the test.
class ValuelessObject final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** answer) override
    {
        *answer = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
        *answer = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    LONG refs = 1;
};

struct Unconvertible {
    std::string what;
    Value value;
};

Value fromVariant(VARIANT& raw)
{
    Value value = Value::copyOf(raw);
    VariantClear(&raw);
    return value;
}

// Attribute values that the conversion to `type` refuses; each is checked
// against VariantChangeType itself before the library meets it.
std::vector<Unconvertible> unconvertibleTo(VARTYPE type, ValuelessObject& valueless)
{
    std::vector<Unconvertible> values{{"VT_NULL", Value::null()}};
    VARIANT raw;
    VariantInit(&raw);
    V_VT(&raw) = VT_ERROR;
    V_ERROR(&raw) = DISP_E_PARAMNOTFOUND;
    values.push_back({"VT_ERROR", fromVariant(raw)});
    V_VT(&raw) = VT_ARRAY | VT_I4;
    V_ARRAY(&raw) = SafeArrayCreateVector(VT_I4, 0, 2);
    values.push_back({"array", fromVariant(raw)});
    V_VT(&raw) = VT_DISPATCH;
    V_DISPATCH(&raw) = &valueless;
    valueless.AddRef();
    values.push_back({"object without a value", fromVariant(raw)});
    if (type == VT_I4) {
        values.push_back({"text that is no number", Value::text(L"x")});
        values.push_back({"number too large", Value::text(L"99999999999")});
        V_VT(&raw) = VT_R8;
        V_R8(&raw) = 1e300;
        values.push_back({"double too large", fromVariant(raw)});
    }
    for (const Unconvertible& u : values) {
        VARIANT converted;
        VariantInit(&converted);
        const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&u.value.get()), 0, type);
        VariantClear(&converted);
        if (SUCCEEDED(hr)) throw std::logic_error(u.what + " converts after all");
    }
    return values;
}

// One fault to inject at one call of a clean run.
struct Fault {
    std::string what;
    std::function<void(FakeServer&)> inject;
    bool nullAnswer;
};

// The faults for each call of a clean run's journal: every refusal, a null
// answer where the call answers an interface, and every unconvertible value
// where it reads an attribute. `setAttribute` puts a value where the call
// reads it.
std::vector<std::pair<size_t, Fault>> faultsFor(
    const std::vector<Call>& calls, ValuelessObject& valueless,
    const std::function<VARTYPE(const std::wstring&)>& attributeType,
    const std::function<void(FakeServer&, const std::wstring&, const Value&)>& setAttribute)
{
    std::vector<std::pair<size_t, Fault>> faults;
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call call = calls[i];
        for (const Refusal& refusal : refusals) {
            char what[96];
            snprintf(what, sizeof what, "refused with %08lx%s", refusal.result, refusal.rich ? " (rich)" : "");
            faults.push_back({i, Fault{what,
                                       [call, refusal](FakeServer& s) {
                                           s.fail(call.name, refusal.result, refusal.rich, call.occurrence);
                                       },
                                       false}});
        }
        if (answersAnInterface(call.name))
            faults.push_back(
                {i, Fault{"null answer", [call](FakeServer& s) { s.answerNull(call.name, call.occurrence); }, true}});
        const std::wstring attribute = attributeRead(call.name);
        if (attribute.empty()) continue;
        for (const Unconvertible& u : unconvertibleTo(attributeType(attribute), valueless)) {
            const Value value = u.value;
            faults.push_back({i, Fault{u.what, [=](FakeServer& s) { setAttribute(s, attribute, value); }, false}});
        }
    }
    return faults;
}

// Where a faulted run must have stopped: a refused call or an unconvertible
// value ends the run at that call; a null answer ends it at the next call on
// the missing object, which is never made.
void expectStoppedAt(const std::vector<Call>& clean, const std::vector<Call>& faulted, size_t at, bool nullAnswer)
{
    ASSERT_LE(faulted.size(), clean.size());
    EXPECT_TRUE(std::equal(faulted.begin(), faulted.end(), clean.begin())) << "the calls follow the clean run";
    if (nullAnswer) {
        EXPECT_GT(faulted.size(), at);
        EXPECT_LT(faulted.size(), clean.size());
    } else {
        EXPECT_EQ(faulted.size(), at + 1) << "nothing is called after the failing call";
    }
}

// Fields a faulted run has stored: those whose value came from a call that
// returned, and that was not the refused one.
size_t callsCompleted(const std::vector<Call>& faulted, bool nullAnswer)
{
    return nullAnswer ? faulted.size() : faulted.size() - 1;
}

// --- LoginToProject ------------------------------------------------------------

// The call whose answer completes each field of the record.
const std::map<size_t, Call> loginFieldSources{
    {basicPath, {"GetAttribute(VexBasicPath)", 1}},
    {datPath, {"GetAttribute(DATPath)", 1}},
    {userName, {"ProjectFile", 1}},  // stored together with the name
    {name, {"ProjectFile", 1}},
    {scriptsPath, {"Path", 1}},
    {win32Path, {"GetAttribute(Win32Path)", 1}},
    {vpPath, {"GetAttribute(VPPath)", 1}},
    {llsPath, {"GetAttribute(LLSPath)", 1}},
    {dllPath, {"GetAttribute(DLLPath)", 1}},
    {location, {"LocationFile", 1}},
    {projectPath, {"ProjectPath", 1}},
    {dataPoolsPath, {"Path", 2}},
};
const std::map<std::int32_t, Call> loginFlagSources{
    {0x01, {"HasPermission(Script, 1)", 1}},
    {0x10, {"HasPermission(Log, 1)", 1}},
};

std::map<size_t, std::wstring> textsOf(const void* record)
{
    std::map<size_t, std::wstring> texts;
    for (size_t offset : projectInfoTextOffsets)
        if (BSTR field = fieldAt(record, offset)) texts[offset] = textOf(field);
    return texts;
}

class ServerFaultSweep : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(hub.initialize(), 0); }
    ~ServerFaultSweep() override { freeRecordStrings(info); }

    int login()
    {
        freeRecordStrings(info);
        HostRequest request{"D:\\work\\Alpha.prj", "user", "secret"};
        return hub.loginToProject(0, &request, &info);
    }

    FakeServer server;
    HubLibrary hub;
    ValuelessObject valueless;
    void* info = nullptr;
    int faultsInjected = 0;
};

}  // namespace

TEST_F(ServerFaultSweep, LoginToProjectAtEveryCall)
{
    const auto cleanAttributes = server.newScript.attributes;
    ASSERT_EQ(login(), 1);
    const std::vector<Call> clean = callsOf(server.journal);
    const std::map<size_t, std::wstring> cleanTexts = textsOf(info);
    ASSERT_EQ(cleanTexts.size(), loginFieldSources.size());

    const auto faults = faultsFor(
        clean, valueless, [](const std::wstring&) { return VARTYPE(VT_BSTR); },
        [](FakeServer& s, const std::wstring& attribute, const Value& value) {
            s.newScript.attributes[attribute] = value;
        });
    for (const auto& [at, fault] : faults) {
        SCOPED_TRACE(clean[at].name + " #" + std::to_string(clean[at].occurrence) + ": " + fault.what);
        server.newScript.attributes = cleanAttributes;
        fault.inject(server);
        server.journal.clear();
        ++faultsInjected;

        EXPECT_EQ(login(), 0);
        const std::vector<Call> faulted = callsOf(server.journal);
        expectStoppedAt(clean, faulted, at, fault.nullAnswer);
        const size_t completed = callsCompleted(faulted, fault.nullAnswer);
        std::map<size_t, std::wstring> expected;
        for (const auto& [offset, source] : loginFieldSources)
            if (positionOf(clean, source) < completed) expected[offset] = cleanTexts.at(offset);
        EXPECT_EQ(textsOf(info), expected);
        std::int32_t flags = 0;
        for (const auto& [bit, source] : loginFlagSources)
            if (positionOf(clean, source) < completed) flags |= bit;
        EXPECT_EQ(flagsOf(info), flags);

        // The next clean login leaves the library with the server and its new
        // project, and nothing the faulted run took.
        server.newScript.attributes = cleanAttributes;
        ASSERT_EQ(login(), 1);
        EXPECT_EQ(server.outstandingReferences(), 2);
    }
    std::printf("faults injected into LoginToProject: %d\n", faultsInjected);
}

TEST_F(ServerFaultSweep, GetScriptByNameAtEveryCall)
{
    ASSERT_EQ(login(), 1);
    fake::Script stored;
    stored.attributes = {{L"Description", Value::text(L"Logs in")}, {L"Type", Value::number(2)}};
    stored.scriptPath = std::wstring(L"D:\\work\\Alpha\\Scripts\\Login.rec");
    stored.compiledPath = std::wstring(L"D:\\work\\Alpha\\Scripts\\Win32\\Login.vxc");

    // A record as the host keeps it, with a copy of each block of its own.
    struct HostScript {
        ScriptInfo record{};
        std::vector<CountedString> hostCopies;
        HostScript()
        {
            for (CountedBlock** field : {&record.name, &record.description, &record.compiledPath, &record.scriptPath}) {
                CountedString::fromAnsi("old").storeInto(*field);
                hostCopies.push_back(CountedString::share(*field));
            }
            record.type = 9;
        }
        ~HostScript()
        {
            for (CountedBlock* block : {record.name, record.description, record.compiledPath, record.scriptPath})
                tallow::releaseCountedReference(block);
        }
    };
    const auto lookUp = [&](HostScript& script) {
        ScriptInfo* variable = &script.record;
        const int result = hub.getScriptByName("Login", &variable);
        EXPECT_EQ(variable, &script.record);
        return result;
    };

    server.scripts[L"Login"] = stored;
    server.journal.clear();
    HostScript cleanScript;
    ASSERT_EQ(lookUp(cleanScript), 0);
    const std::vector<Call> clean = callsOf(server.journal);
    const ScriptInfo& filled = cleanScript.record;

    using Field = CountedBlock* ScriptInfo::*;
    const std::vector<std::pair<Field, Call>> fieldSources{
        {&ScriptInfo::description, {"GetAttribute(Description)", 1}},
        {&ScriptInfo::scriptPath, {"ScriptPath", 1}},
        {&ScriptInfo::compiledPath, {"CompiledPath", 1}},
    };
    const Call typeSource{"GetAttribute(Type)", 1};
    const auto textOfBlock = [](const CountedBlock* block) {
        return block && block->wide ? std::wstring(block->wide, SysStringLen(block->wide)) : std::wstring(L"<none>");
    };

    const auto faults = faultsFor(
        clean, valueless,
        [](const std::wstring& attribute) { return VARTYPE(attribute == L"Type" ? VT_I4 : VT_BSTR); },
        [](FakeServer& s, const std::wstring& attribute, const Value& value) {
            s.scripts[L"Login"].attributes[attribute] = value;
        });
    for (const auto& [at, fault] : faults) {
        SCOPED_TRACE(clean[at].name + " #" + std::to_string(clean[at].occurrence) + ": " + fault.what);
        server.scripts[L"Login"] = stored;
        fault.inject(server);
        server.journal.clear();
        ++faultsInjected;
        HostScript script;
        const ScriptInfo before = script.record;

        EXPECT_EQ(lookUp(script), 1);
        const std::vector<Call> faulted = callsOf(server.journal);
        expectStoppedAt(clean, faulted, at, fault.nullAnswer);
        const size_t completed = callsCompleted(faulted, fault.nullAnswer);
        EXPECT_EQ(script.record.name, before.name);
        for (const auto& [field, source] : fieldSources) {
            if (positionOf(clean, source) < completed) {
                EXPECT_NE(script.record.*field, before.*field);
                EXPECT_EQ(textOfBlock(script.record.*field), textOfBlock(filled.*field));
            } else {
                EXPECT_EQ(script.record.*field, before.*field);
            }
            if (script.record.*field != before.*field) {
                EXPECT_EQ((script.record.*field)->refs, 1u);
            }
        }
        EXPECT_EQ(script.record.type, positionOf(clean, typeSource) < completed ? filled.type : before.type);
        // A replaced block lost the record's reference and kept the host's.
        for (const CountedString& copy : script.hostCopies) {
            const bool kept = copy.block() == script.record.name || copy.block() == script.record.description ||
                              copy.block() == script.record.compiledPath || copy.block() == script.record.scriptPath;
            EXPECT_EQ(copy.block()->refs, kept ? 2u : 1u);
            EXPECT_STREQ(copy.wide(), L"old");
        }
        EXPECT_EQ(server.outstandingReferences(), 2);
    }
    std::printf("faults injected into getScriptByName: %d\n", faultsInjected);
}

TEST_F(ServerFaultSweep, CreateScriptAtEveryCall)
{
    ASSERT_EQ(login(), 1);
    fake::Script old;
    old.attributes = {{L"Description", Value::text(L"old")}};

    struct Scenario {
        const char* what;
        int mode;
        bool present;
        int cleanResult;
    };
    const Scenario scenarios[] = {
        {"mode 0, absent", 0, false, 0},
        {"mode 0, present", 0, true, 5},
        {"mode 1, present", 1, true, 0},
        {"mode 2, present", 2, true, 0},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        const auto arrange = [&] {
            server.scripts.clear();
            if (scenario.present) server.scripts[L"Rec"] = old;
            server.journal.clear();
        };
        ScriptInfo record{};
        CountedString::fromAnsi("Rec").storeInto(record.name);
        CountedString::fromAnsi("Records a login").storeInto(record.description);
        record.type = 4;
        const ScriptInfo before = record;

        arrange();
        ASSERT_EQ(hub.createScript(scenario.mode, &record), scenario.cleanResult);
        const std::vector<Call> clean = callsOf(server.journal);
        const auto deletion = std::find(clean.begin(), clean.end(), Call{"DeleteScript(Rec)", 1});

        const auto faults = faultsFor(
            clean, valueless, [](const std::wstring&) { return VARTYPE(VT_BSTR); },
            [](FakeServer&, const std::wstring&, const Value&) {});
        for (const auto& [at, fault] : faults) {
            SCOPED_TRACE(clean[at].name + ": " + fault.what);
            arrange();
            fault.inject(server);
            ++faultsInjected;
            const int result = hub.createScript(scenario.mode, &record);
            const std::vector<Call> faulted = callsOf(server.journal);
            const auto stored = server.scripts.find(L"Rec");

            if (at == 0) {
                // Whether the script is there is all that GetScript tells: a
                // refusal means absent, any answer present.
                const bool seenPresent = fault.nullAnswer;
                const int expected = seenPresent && scenario.mode == 0 ? 5 : 0;
                EXPECT_EQ(result, expected);
                if (expected == 0) {
                    ASSERT_NE(stored, server.scripts.end());
                    EXPECT_EQ(stored->second.attributes[L"Description"].describe(), "BSTR:Records a login");
                }
            } else {
                EXPECT_EQ(result, 1);
                expectStoppedAt(clean, faulted, at, fault.nullAnswer);
                // The old script is gone only when the deletion went through.
                const bool deleted = deletion != clean.end() && static_cast<size_t>(deletion - clean.begin()) < at;
                if (scenario.present && !deleted) {
                    ASSERT_NE(stored, server.scripts.end());
                    EXPECT_EQ(stored->second.attributes[L"Description"].describe(), "BSTR:old");
                } else {
                    EXPECT_EQ(stored, server.scripts.end());
                }
            }
            EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << "the record is only read";
            EXPECT_EQ(record.name->refs, 1u);
            EXPECT_EQ(record.description->refs, 1u);
            EXPECT_EQ(server.outstandingReferences(), 2);
        }
        tallow::releaseCountedReference(record.name);
        tallow::releaseCountedReference(record.description);
    }
    std::printf("faults injected into createScript: %d\n", faultsInjected);
}
