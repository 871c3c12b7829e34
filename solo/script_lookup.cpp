// getScriptByName: a standalone script is a file in the project's script folder.
#include "exports.h"
#include "result_codes.h"

// On entry the record's scriptPath holds the script folder; on return it holds
// folder\name.rec and compiledPath folder\Win32\name.vxc. The answer is 1 when
// the script file (or a folder of that name) exists. A failure part way keeps
// the fields replaced so far and answers 0.
extern "C" int __cdecl getScriptByName(const char* name, tallow::ScriptInfo** script)
{
    using namespace tallow;
    if (!script || !*script) return result::no;
    try {
        ScriptInfo& record = **script;
        const CountedString folder = CountedString::share(record.scriptPath);
        const CountedString scriptName = CountedString::fromAnsi(name);
        CountedString::fromWide(L"", 0).storeInto(record.description);
        record.type = 1;
        const CountedString scriptPath =
            folder + CountedString::fromAnsi("\\") + scriptName + CountedString::fromAnsi(".rec");
        scriptPath.storeInto(record.scriptPath);
        (folder + CountedString::fromAnsi("\\Win32\\") + scriptName + CountedString::fromAnsi(".vxc"))
            .storeInto(record.compiledPath);
        return GetFileAttributesA(scriptPath.narrow()) != INVALID_FILE_ATTRIBUTES ? result::done : result::no;
    } catch (...) {
        return result::no;
    }
}
