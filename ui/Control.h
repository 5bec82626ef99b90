// A subclassed child control of ours. It receives its own messages first and may answer
// the colour requests that the parent dialog reflects back to it.
#pragma once

#include <windows.h>

// Colour requests come back to the control as kReflectBase + WM_CTLCOLOR*.
constexpr UINT kReflectBase = WM_USER + 0x1C00;

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Subclasses `window`; false when it is null or already attached elsewhere.
    bool Attach(HWND window);
    HWND Handle() const { return hwnd_; }

protected:
    // Own message handling; return Default(...) for what is not handled here.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnDetached() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                void* context);
    void Detach();
};
