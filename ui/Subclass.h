// Subclassing a window by replacing its window procedure, which every Windows from 95 on
// offers. (The common controls' subclass helpers are exported by name only from XP on.)
// One subclass of ours per window; the window procedure it replaces gets what the handler
// passes on with CallPreviousProc.
#pragma once

#include <windows.h>

// `context` is the handler's own; the handler answers every message of the window.
using SubclassHandler = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    void* context);

// False when `window` is null, already has a subclass of ours, or cannot be changed.
bool AttachSubclass(HWND window, SubclassHandler handler, void* context);

// Lets the window go. Safe while the window is handling a message, and after it is gone.
void DetachSubclass(HWND window);

// The window procedure that the subclass replaced (also right after DetachSubclass).
LRESULT CallPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
