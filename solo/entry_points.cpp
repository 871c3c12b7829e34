// The standalone library's exports.
#include "exports.h"

// Nothing to set up in standalone mode.
extern "C" int __cdecl Initialize()
{
    return 0;
}

// Scripts are plain files in standalone mode: creating one is the host's
// affair, so nothing is read or changed here.
extern "C" int __cdecl createScript(int, tallow::ScriptInfo*)
{
    return 0;
}
