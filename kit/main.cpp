// dialnest-kit: checks a provider kit as Dialnest reads it, and previews a migration.
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

#include "kit/KitTool.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // The reports are UTF-8; a console shows them so.
    SetConsoleOutputCP(CP_UTF8);
#endif
    return RunKitTool(argc, argv, stdout, stderr);
}
