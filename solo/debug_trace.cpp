#include "debug_trace.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

namespace tallow {

void debugTrace(const char* format, ...)
{
    va_list values;
    va_start(values, format);
    sendTraceLine(traceLineSize, format, values);
    va_end(values);
}

// The bounded form of wvsprintfA: a longer line keeps its beginning.
void sendTraceLine(size_t lineSize, const char* format, va_list values)
{
    if (!format || lineSize == 0) return;
    std::vector<char> line(lineSize, '\0');
    wvnsprintfA(line.data(), static_cast<int>(lineSize), format, values);
    line[lineSize - 1] = '\0';
    OutputDebugStringA(line.data());
}

}  // namespace tallow
