// Window-procedure subclassing with its state in a window property.
#include "ui/Subclass.h"

#include <new>

namespace {

const char kProperty[] = "DialnestSubclass";

struct Subclass {
    WNDPROC previous;
    SubclassHandler handler;  // null once let go while another subclass stands above ours
    void* context;
};

Subclass* Find(HWND window) {
    return static_cast<Subclass*>(GetPropA(window, kProperty));
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void Free(HWND window, Subclass* subclass) {
    RemovePropA(window, kProperty);
    delete subclass;
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Subclass* subclass = Find(window);
    if (subclass == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const LRESULT result =
        subclass->handler != nullptr
            ? subclass->handler(window, message, wParam, lParam, subclass->context)
            : CallWindowProcA(subclass->previous, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The handler may have let go already; whatever is left goes with the window.
        subclass = Find(window);
        if (subclass != nullptr) {
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass->previous));
            Free(window, subclass);
        }
    }
    return result;
}

}  // namespace

bool AttachSubclass(HWND window, SubclassHandler handler, void* context) {
    if (window == nullptr || handler == nullptr || Find(window) != nullptr) {
        return false;
    }
    Subclass* subclass = new (std::nothrow) Subclass{nullptr, handler, context};
    if (subclass == nullptr || !SetPropA(window, kProperty, subclass)) {
        delete subclass;
        return false;
    }
    SetLastError(0);
    const LONG_PTR previous =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    if (previous == 0 && GetLastError() != 0) {
        Free(window, subclass);
        return false;
    }
    subclass->previous = reinterpret_cast<WNDPROC>(previous);
    return true;
}

void DetachSubclass(HWND window) {
    Subclass* subclass = window != nullptr ? Find(window) : nullptr;
    if (subclass == nullptr) {
        return;
    }
    const WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (current != &SubclassProc) {
        // Someone subclassed the window after us: our procedure stays in their chain and
        // only passes messages on from now on.
        subclass->handler = nullptr;
        return;
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass->previous));
    Free(window, subclass);
}

LRESULT CallPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Subclass* subclass = Find(window);
    // Once let go, the window's own procedure is again the one we replaced.
    const WNDPROC previous = subclass != nullptr
                                 ? subclass->previous
                                 : reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (previous == nullptr || previous == &SubclassProc) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
