// setLogParam and genericLogEvent: context values and log events handed on to
// the logging service (tallowqel) unchanged.
#include "exports.h"
#include "outside_libraries.h"
#include "structured_guard.h"

extern "C" int __cdecl setLogParam(const tallow::LogParams* params)
{
    if (!params) return 1;
    // The record is read inside the frame too: an unreadable one counts as a
    // caught failure like a throw from the logging service.
    const bool returned = tallow::guarded([params] {
        QelContext(4, params->contextValue4);
        QelContext(5, params->contextValue5);
    });
    return returned ? 0 : 1;
}

// No frame of its own: whatever QelGenericLogEvent raises reaches the host.
extern "C" int __cdecl genericLogEvent(std::uint16_t value1, std::uint16_t value2, std::uint16_t value3,
                                       std::uint16_t value4, std::uint32_t value5, std::uint32_t value6,
                                       std::uint32_t value7)
{
    return QelGenericLogEvent(value1, value2, value3, value4, value5, value6, value7);
}
