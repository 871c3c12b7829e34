// Loads an asset library the way the host does and reports which of the
// host's entry points it offers. Usage: load_check LIBRARY.dll
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_check LIBRARY.dll\n");
        return 2;
    }
    HMODULE library = LoadLibraryA(argv[1]);
    if (!library) {
        std::printf("%s: cannot be loaded (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    std::printf("%s: loaded at %p\n", argv[1], static_cast<void*>(library));
    static const char* const entryPoints[] = {"Initialize", "GetOrvisServer", "LoginToProject", "getScriptByName",
                                              "createScript", "setLogParam", "genericLogEvent", "launchViewer"};
    for (const char* name : entryPoints)
        std::printf("  %-16s %s\n", name, GetProcAddress(library, name) ? "offered" : "-");
    FreeLibrary(library);
    return 0;
}
