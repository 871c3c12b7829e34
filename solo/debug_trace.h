// Lines for the debugger output: the library's only diagnostics. Nothing
// switches them off.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace tallow {

// Bytes of a debugTrace line, terminator included.
constexpr size_t traceLineSize = 1024;

// Formats the values as wvsprintfA does and sends the line to the debugger
// output, cut to traceLineSize - 1 bytes.
void debugTrace(const char* format, ...);
// The same for a line of at most `lineSize` bytes, terminator included.
void sendTraceLine(size_t lineSize, const char* format, va_list values);

}  // namespace tallow
