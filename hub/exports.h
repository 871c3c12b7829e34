// The exports of the server-mode library: undecorated cdecl functions that
// return a 32-bit int (names fixed by the host).
#pragma once

#include "host_records.h"
#include "project_server.h"

extern "C" {
int __cdecl Initialize();
int __cdecl GetOrvisServer(tallow::IProjectServer** server);
int __cdecl LoginToProject(int reserved, const tallow::LoginRequest* request, tallow::ProjectInfo** info);
int __cdecl getScriptByName(const char* name, tallow::ScriptInfo** script);
int __cdecl createScript(int mode, tallow::ScriptInfo* script);
}

#include <cstdint>

namespace tallow {

// The host's record for setLogParam: four 32-bit words, of which only the
// second and fourth are read, and passed on as the bits the host stored.
struct LogParams {
    std::uint32_t firstWord;
    std::uint32_t contextValue4;
    std::uint32_t thirdWord;
    std::uint32_t contextValue5;
};
static_assert(sizeof(LogParams) == 16 && offsetof(LogParams, contextValue4) == 4 &&
              offsetof(LogParams, contextValue5) == 12);

}  // namespace tallow

extern "C" {
int __cdecl setLogParam(const tallow::LogParams* params);
int __cdecl genericLogEvent(std::uint16_t value1, std::uint16_t value2, std::uint16_t value3, std::uint16_t value4,
                            std::uint32_t value5, std::uint32_t value6, std::uint32_t value7);
int __cdecl launchViewer();
}
