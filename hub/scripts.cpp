// getScriptByName and createScript: a script's description, kind and files
// read from the current project, and new scripts made there.
#include "attribute_values.h"
#include "exports.h"
#include "hub_state.h"
#include "server_calls.h"

namespace tallow {
namespace {

// createScript's answer when a script of that name exists and the mode is 0.
constexpr int scriptExists = 5;

// The BSTR inside a counted string (null when it holds none).
BSTR bstrOf(const CountedString& text)
{
    return text.block() ? text.block()->wide : nullptr;
}

// Fills `record` from the script `name`. Each field is stored as soon as it is
// known, so a failure leaves the fields written before it with their new values.
void readScript(const ComPtr<IServerProject>& project, const char* name, ScriptInfo& record)
{
    const Bstr scriptName = bstrFromAnsi(name);
    const ComPtr<IServerScript> script = server::getScript(project, scriptName.get());
    CountedString::fromBstr(attributeText(script, L"Description")).storeInto(record.description);
    record.type = attributeNumber(script, L"Type");
    CountedString::fromBstr(server::scriptPath(script)).storeInto(record.scriptPath);
    CountedString::fromBstr(server::compiledPath(script)).storeInto(record.compiledPath);
}

bool scriptPresent(const ComPtr<IServerProject>& project, BSTR name)
{
    try {
        server::getScript(project, name);
        return true;
    } catch (const ComError&) {
        return false;
    }
}

// Makes the script named in `record` on the server, as `mode` says.
int createOnServer(const ComPtr<IServerProject>& project, int mode, const ScriptInfo& record)
{
    const CountedString name = CountedString::share(record.name);
    if (scriptPresent(project, bstrOf(name))) {
        if (mode == 0) return scriptExists;
        if (mode == 1) server::deleteScript(project, bstrOf(name));
    }

    const ComPtr<IServerScript> script = server::newScript(project);
    {
        const CountedString text = CountedString::share(record.description);
        Variant description;
        V_VT(&description.get()) = VT_BSTR;
        V_BSTR(&description.get()) = SysAllocStringLen(text.wide(), text.length());
        if (!V_BSTR(&description.get())) throw ComError(E_OUTOFMEMORY);
        server::setAttribute(script, L"Description", description.get());
    }
    VARIANT number;
    V_VT(&number) = VT_I4;
    V_I4(&number) = record.type;
    server::setAttribute(script, L"Type", number);
    V_I4(&number) = 1;
    server::setAttribute(script, L"Developed", number);
    server::saveAs(script, bstrOf(name));
    return 0;
}

}  // namespace
}  // namespace tallow

// Result 0 when the record was filled, 1 on any failure. Without a current
// project or a record nothing is touched.
extern "C" int __cdecl getScriptByName(const char* name, tallow::ScriptInfo** script)
{
    using namespace tallow;
    const auto project = ComPtr<IServerProject>::borrow(currentProject());
    if (!project || !script || !*script) return 1;
    try {
        readScript(project, name, **script);
        return 0;
    } catch (...) {
        // ComError is the failure raised inside; no exception may reach the host.
        return 1;
    }
}

// Result 0 when the script was made, 5 when it exists and `mode` is 0, 1 on
// failure. Without a current project or a record nothing is touched.
extern "C" int __cdecl createScript(int mode, tallow::ScriptInfo* script)
{
    using namespace tallow;
    const auto project = ComPtr<IServerProject>::borrow(currentProject());
    if (!project || !script) return 1;
    try {
        return createOnServer(project, mode, *script);
    } catch (...) {
        // ComError is the failure raised inside; no exception may reach the host.
        return 1;
    }
}
