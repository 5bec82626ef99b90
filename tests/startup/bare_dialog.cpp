// The least a dialog program does: one template shown modally, nothing else. The yardstick
// of the start-up benchmark. "form" on the command line picks the form's size, anything
// else the main menu's.
#include <windows.h>

#include <cstring>

static INT_PTR CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const int id = strstr(commandLine, "form") != nullptr ? 2 : 1;
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(id), nullptr, BareProc, 0));
}
