// Subclassed controls through the common-controls subclass chain.
#include "ui/Control.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 0x444E;  // ours, among other subclasses of the window
}

Control::~Control() {
    Detach();
}

bool Control::Attach(HWND window) {
    if (window == nullptr || hwnd_ != nullptr) {
        return false;
    }
    if (!SetWindowSubclass(window, &Control::SubclassProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    hwnd_ = window;
    return true;
}

void Control::Detach() {
    if (hwnd_ != nullptr) {
        RemoveWindowSubclass(hwnd_, &Control::SubclassProc, kSubclassId);
        hwnd_ = nullptr;
        OnDetached();
    }
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Control::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR refData) {
    Control* control = reinterpret_cast<Control*>(refData);
    if (message == WM_NCDESTROY) {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        control->Detach();
        return result;
    }
    return control->WindowProc(message, wParam, lParam);
}
