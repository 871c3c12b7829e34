#include "project_selection.h"

#include <cstring>
#include <memory>

namespace tallow {
namespace {

using LaunchSelectProjectDlg = void(__cdecl*)(char** path);

struct TaskMemoryFree {
    void operator()(char* block) const { CoTaskMemFree(block); }
};
using TaskMemory = std::unique_ptr<char, TaskMemoryFree>;

// A zero-filled block from the allocator shared with the dialog and the host.
char* newSelectionBuffer()
{
    auto* buffer = static_cast<char*>(CoTaskMemAlloc(selectionBufferSize));
    if (!buffer) throw ComError(E_OUTOFMEMORY);
    memset(buffer, 0, selectionBufferSize);
    return buffer;
}

}  // namespace

// The dialog's outcome is not examined: whatever path it leaves is opened. It
// receives an empty string, so a dialog that writes nothing leads to a file
// that does not load. It may put a block of its own (CoTaskMemAlloc) in place
// of the buffer and then owns the one it received; the library frees whichever
// block the variable holds afterwards. At most 516 characters of it are copied,
// whether or not the dialog terminated them.
bool selectProjectFile(LoginRequest& request)
{
    HMODULE dialogLibrary = GetModuleHandleA("tallowprojects.dll");
    if (!dialogLibrary) dialogLibrary = LoadLibraryA("tallowprojects.dll");
    if (!dialogLibrary) return false;
    const auto launch =
        reinterpret_cast<LaunchSelectProjectDlg>(GetProcAddress(dialogLibrary, "LaunchSelectProjectDlg"));
    if (!launch) return false;

    char* chosen = newSelectionBuffer();
    launch(&chosen);
    const TaskMemory dialogBlock(chosen);

    char* kept = newSelectionBuffer();
    request.projectFile = kept;
    if (chosen) memcpy(kept, chosen, strnlen(chosen, selectionBufferSize - 1));
    return true;
}

}  // namespace tallow
