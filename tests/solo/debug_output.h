// Captures the lines a library sends to the debugger output. Under Wine,
// OutputDebugStringA first raises DBG_PRINTEXCEPTION_C; a vectored handler
// takes the line from the exception and lets the program go on.
#pragma once

#include <string>
#include <vector>

namespace solo_testing {

// Collects every line sent on any thread while it lives. One at a time.
class DebugOutput {
public:
    DebugOutput();
    ~DebugOutput();
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;

    std::vector<std::string> lines() const;

private:
    void* handler_;
};

}  // namespace solo_testing
