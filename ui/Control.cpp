// Subclassed controls.
#include "ui/Control.h"

#include "ui/Subclass.h"

Control::~Control() {
    Detach();
}

bool Control::Attach(HWND window) {
    if (window == nullptr || hwnd_ != nullptr) {
        return false;
    }
    if (!AttachSubclass(window, &Control::SubclassProc, this)) {
        return false;
    }
    hwnd_ = window;
    return true;
}

void Control::Detach() {
    if (hwnd_ != nullptr) {
        DetachSubclass(hwnd_);
        hwnd_ = nullptr;
        OnDetached();
    }
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Control::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallPreviousProc(hwnd_, message, wParam, lParam);
}

LRESULT Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                              void* context) {
    Control* control = static_cast<Control*>(context);
    if (message == WM_NCDESTROY) {
        const LRESULT result = CallPreviousProc(hwnd, message, wParam, lParam);
        control->Detach();
        return result;
    }
    return control->WindowProc(message, wParam, lParam);
}
