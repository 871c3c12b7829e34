// A sample logging service: QelContext and QelGenericLogEvent as tallowhub.dll
// calls them, each written to the sample log as one line.
#include "sample_log_file.h"

#include <cstdint>
#include <cstdio>

extern "C" {

int __cdecl QelContext(int code, std::uint32_t value)
{
    char line[80];
    std::snprintf(line, sizeof line, "tallowqel: context %d = 0x%08lx", code, static_cast<unsigned long>(value));
    sample_logging::appendToLog(line);
    return 0;
}

int __cdecl QelGenericLogEvent(std::uint16_t value1, std::uint16_t value2, std::uint16_t value3,
                               std::uint16_t value4, std::uint32_t value5, std::uint32_t value6,
                               std::uint32_t value7)
{
    char line[160];
    std::snprintf(line, sizeof line, "tallowqel: event %u %u %u %u 0x%08lx 0x%08lx 0x%08lx", value1, value2, value3,
                  value4, static_cast<unsigned long>(value5), static_cast<unsigned long>(value6),
                  static_cast<unsigned long>(value7));
    sample_logging::appendToLog(line);
    return 0;
}

}
