// Loads an asset library as the host does: LoadLibrary, GetProcAddress by the
// undecorated name, and calls through cdecl function pointers.
#pragma once

#include <windows.h>
#include <stdexcept>
#include <string>

namespace testing_support {

class Library {
public:
    explicit Library(const std::string& file) : module_(LoadLibraryA(file.c_str()))
    {
        if (!module_) throw std::runtime_error("cannot load " + file + ", error " + std::to_string(GetLastError()));
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() { FreeLibrary(module_); }

    HMODULE module() const { return module_; }

    // The export `name` as a pointer of type F (e.g. int (__cdecl*)(void)).
    template <class F>
    F function(const char* name) const
    {
        FARPROC address = GetProcAddress(module_, name);
        if (!address) throw std::runtime_error(std::string("missing export ") + name);
        return reinterpret_cast<F>(address);
    }

private:
    HMODULE module_;
};

}  // namespace testing_support
