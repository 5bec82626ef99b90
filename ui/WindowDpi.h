// The DPI a window is drawn at, on every Windows from 98 on.
#pragma once

#include <windows.h>

// Sent to each child of a per-monitor window after the window itself has followed a DPI
// change (moved to a monitor of another scale); older headers lack the number.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The DPI of `window`'s monitor where Windows keeps one per window (Windows 10 1607 and
// later, looked up at run time), else the screen's LOGPIXELSY, which every Windows reports
// (and which a system-aware program sees for all monitors). Never less than 1.
int WindowDpi(HWND window);
