// DPI of a window: the per-window query where it exists, the screen's otherwise.
#include "ui/WindowDpi.h"

#include "ui/DpiScale.h"

namespace {

// The published prototype; the import is made at run time so the program loads on Windows
// that lack it.
typedef UINT(WINAPI* GetDpiForWindowFunction)(HWND window);

GetDpiForWindowFunction LookUpGetDpiForWindow() {
    HMODULE user = GetModuleHandleA("USER32.DLL");
    if (user == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return kDesignDpi;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    static const GetDpiForWindowFunction getDpiForWindow = LookUpGetDpiForWindow();
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return ScreenDpi();
}
