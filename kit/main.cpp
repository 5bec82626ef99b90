// dialnest-kit: checks a provider kit as Dialnest reads it, and previews a migration.
#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include "dialup/DialupLibrary.h"
#endif

#include "kit/KitTool.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    RestrictLibrarySearch();
    // The reports are UTF-8; a console shows them so while the tool runs, and then goes back
    // to the code page it had.
    const UINT previous = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    const int status = RunKitTool(argc, argv, stdout, stderr);
    if (previous != 0) {
        SetConsoleOutputCP(previous);
    }
    return status;
#else
    return RunKitTool(argc, argv, stdout, stderr);
#endif
}
