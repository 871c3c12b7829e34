// A second process that changes the install directory's files, for the tests
// of changes made at the same time. It waits for the named event to be set,
// so that every worker starts at once, then works through its arguments:
//   store_worker <event> register <project file>...
//   store_worker <event> mode <library> <display name> ...
// The exit code is the number of changes that did not answer 1.
#include "project_store.h"
#include "store_functions.h"

#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 3 || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 100;
    const HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, argv[1]);
    if (!start || WaitForSingleObject(start, 60000) != WAIT_OBJECT_0) return 101;
    CloseHandle(start);
    int failures = 0;
    try {
        if (strcmp(argv[2], "register") == 0) {
            for (int i = 3; i < argc; ++i)
                if (tallow::registerProjectFile(argv[i]) != 1) ++failures;
        } else if (strcmp(argv[2], "mode") == 0) {
            for (int i = 3; i + 1 < argc; i += 2) {
                tallow::ProjectStore store;
                if (store.addMode(argv[i], argv[i + 1]) != 1) ++failures;
            }
        } else {
            failures = 102;
        }
    } catch (const tallow::ComError&) {
        failures = 103;
    }
    CoUninitialize();
    return failures;
}
