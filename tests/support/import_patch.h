// Replaces one entry of a loaded module's import address table, so that a test
// can intercept a system call (a message box, say) made by a library under test.
#pragma once

#include <windows.h>

namespace testing_support {

// Points `module`'s import of `function` from `dll` at `replacement` while the
// object lives; the original entry comes back afterwards.
class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    ~ImportPatch();

    void* original() const { return original_; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

}  // namespace testing_support
