// Program entry: one job per run, then exit handling.
#include <windows.h>

#include "app/DialnestApp.h"
#include "dialup/DialupLibrary.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: the program is started from a downloads folder.
    RestrictLibrarySearch();
    DialnestApp& app = TheApp();
    if (app.InitInstance()) {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return app.ExitInstance();
}
