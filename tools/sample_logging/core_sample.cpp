// A sample of the log viewer's component: CVexPlenwickComponent's default
// constructor and OpenLog, exported under their MSVC-decorated names with
// MSVC's thiscall convention (object in ECX, callee pops the arguments).
// OpenLog opens no viewer: it prints and logs what it would open.
#include "sample_log_file.h"

#include <cstdio>
#include <string>

namespace {

// What the constructor leaves in the caller's storage, so that OpenLog can
// tell a constructed instance.
struct Component {
    unsigned long mark;
};
constexpr unsigned long componentMark = 0x53414D50;  // "SAMP"

std::string shown(const char* text)
{
    return text ? "\"" + std::string(text) + "\"" : std::string("null");
}

}  // namespace

extern "C" {

// Exported as ??0CVexPlenwickComponent@@QAE@XZ; answers `this` as MSVC's constructors do.
void* __attribute__((thiscall)) constructComponent(void* self)
{
    static_cast<Component*>(self)->mark = componentMark;
    return self;
}

// Exported as ?OpenLog@CVexPlenwickComponent@@QAEHPBD000@Z: 1 when it would
// open the viewer, 0 for an instance the constructor did not make.
int __attribute__((thiscall)) openLog(void* self, const char* locationFile, const char* second, const char* third,
                                      const char* fourth)
{
    if (static_cast<const Component*>(self)->mark != componentMark) return 0;
    const std::string line = "tallowcore: would open the log viewer for " + shown(locationFile) + " (" +
                             shown(second) + ", " + shown(third) + ", " + shown(fourth) + ")";
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    sample_logging::appendToLog(line);
    return 1;
}

}
