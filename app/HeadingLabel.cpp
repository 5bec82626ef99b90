// Heading label of the main menu.
#include "app/HeadingLabel.h"

#include <shellapi.h>

#include <vector>

#include "app/HeadingFit.h"
#include "dialup/DialupBinding.h"
#include "settings/ByteText.h"
#include "ui/DpiScale.h"
#include "ui/WindowDpi.h"

namespace {

// The shell library is large and only a click on the label needs it, so it is loaded then
// rather than with the program. It stays loaded: the shell may keep working after the call.
void OpenWithShell(const char* text) {
    HMODULE shell = LoadSystemLibrary("SHELL32.DLL");
    if (shell == nullptr) {
        return;
    }
    const auto open = reinterpret_cast<decltype(&ShellExecuteA)>(
        reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    if (open != nullptr) {
        open(nullptr, "open", text, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

}  // namespace

HeadingLabel::HeadingLabel()
    : textColor_(GetSysColor(COLOR_WINDOWTEXT)),
      normalBrush_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      flashBrush_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      fontDescription_() {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(fontDescription_), &fontDescription_);
    font_ = CreateFontIndirectA(&fontDescription_);
    (void)link_;
    (void)transparent_;
}

HeadingLabel::~HeadingLabel() {
    if (font_ != nullptr)
        DeleteObject(font_);
    if (normalBrush_ != nullptr)
        DeleteObject(normalBrush_);
    if (flashBrush_ != nullptr)
        DeleteObject(flashBrush_);
}

void HeadingLabel::RecreateFont() {
    if (designHeight_ != 0) {
        fontDescription_.lfHeight = -FittingHeight(ScaleForDpi(designHeight_, WindowDpi(hwnd_)));
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = CreateFontIndirectA(&fontDescription_);
    if (hwnd_ != nullptr) {
        // The static draws with the font it was given, whatever the colour handler selects.
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void HeadingLabel::SetBold(int bold) {
    fontDescription_.lfWeight = bold != 0 ? FW_BOLD : FW_NORMAL;
    RecreateFont();
}

void HeadingLabel::SetSize(int height) {
    designHeight_ = height;
    RecreateFont();
}

int HeadingLabel::FittingHeight(int wanted) const {
    if (hwnd_ == nullptr) {
        return wanted;
    }
    RECT room = {};
    GetClientRect(hwnd_, &room);
    const int length = GetWindowTextLengthA(hwnd_);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(hwnd_, text.data(), length + 1);
    HDC dc = GetDC(hwnd_);
    if (dc == nullptr) {
        return wanted;
    }
    LOGFONTA probe = fontDescription_;
    const int fitted = FitHeadingSize(wanted, room.right, room.bottom, [&](int size) {
        probe.lfHeight = -size;
        HeadingExtent e;
        HFONT font = CreateFontIndirectA(&probe);
        if (font == nullptr) {
            e.width = e.height = 0x7FFFFFFF;  // a size Windows cannot make does not fit
            return e;
        }
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text.data(), length, &extent);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, previous);
        DeleteObject(font);
        e.width = extent.cx;
        e.height = metrics.tmHeight;
        return e;
    });
    ReleaseDC(hwnd_, dc);
    return fitted;
}

void HeadingLabel::SetFace(const char* face) {
    CopyField(fontDescription_.lfFaceName, face);
    RecreateFont();
}

LRESULT HeadingLabel::OnReflectedColor(UINT colorType, HDC dc) {
    if (colorType == CTLCOLOR_STATIC) {
        SelectObject(dc, font_);
        SetTextColor(dc, textColor_);
        SetBkMode(dc, TRANSPARENT);
    }
    const HBRUSH brush = (flashType_ == 2 && !flashState_) ? flashBrush_ : normalBrush_;
    return reinterpret_cast<LRESULT>(brush);
}

LRESULT HeadingLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kReflectBase + WM_CTLCOLORMSGBOX &&
        message <= kReflectBase + WM_CTLCOLORSTATIC) {
        return OnReflectedColor(message - kReflectBase - WM_CTLCOLORMSGBOX,
                                reinterpret_cast<HDC>(wParam));
    }
    switch (message) {
        case WM_TIMER:
            flashState_ = !flashState_;
            if (flashType_ == 1) {
                SetWindowTextA(hwnd_, flashState_ ? "" : savedText_.c_str());
            } else if (flashType_ == 2) {
                InvalidateRect(hwnd_, nullptr, FALSE);
                UpdateWindow(hwnd_);
            }
            break;
        case WM_LBUTTONDOWN: {
            const int length = GetWindowTextLengthA(hwnd_);
            std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
            GetWindowTextA(hwnd_, text.data(), length + 1);
            OpenWithShell(text.data());
            break;
        }
        case kDpiChangedAfterParent:
            // The dialog has just handed every control its rescaled dialog font.
            if (designHeight_ != 0) {
                RecreateFont();
            }
            break;
        case WM_SETTEXT: {
            // Another text may need another size to fit.
            const LRESULT result = Default(message, wParam, lParam);
            if (designHeight_ != 0) {
                RecreateFont();
            }
            return result;
        }
        case WM_SETCURSOR:
            if (cursor_ != nullptr) {
                SetCursor(cursor_);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}
