// Dialog base: creation, the message-map dispatcher and the Win32 return rules.
#include "ui/Dialog.h"

#include "ui/Control.h"
#include "ui/DataExchange.h"

namespace {

// Messages whose dialog-procedure result is the message's result itself.
bool ReturnsDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return true;
        default:
            return false;
    }
}

HHOOK filterHook = nullptr;
int modalDepth = 0;

// True when the dialog template names neither a place (x, y other than 0, 0) nor a
// centring style: the dialog manager would leave such a window in a corner.
bool TemplateGivesNoPosition(UINT templateId, DWORD style) {
    if ((style & (DS_CENTER | DS_CENTERMOUSE)) != 0) {
        return false;
    }
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const BYTE* bytes =
        loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD size = found != nullptr ? SizeofResource(module, found) : 0;
    // DLGTEMPLATEEX: version 1 and signature 0xFFFF, then x and y at bytes 18 and 20;
    // DLGTEMPLATE has them at bytes 10 and 12.
    const bool extended =
        size >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    const DWORD at = extended ? 18 : 10;
    if (bytes == nullptr || size < at + 4) {
        return true;
    }
    return bytes[at] == 0 && bytes[at + 1] == 0 && bytes[at + 2] == 0 && bytes[at + 3] == 0;
}

// Centres `window` over its visible owner, or else in the work area of its screen, and
// keeps it inside that work area.
void CentreWindow(HWND window) {
    RECT own;
    GetWindowRect(window, &own);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT around = work;
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &around);
    }
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG x = around.left + (around.right - around.left - width) / 2;
    LONG y = around.top + (around.bottom - around.top - height) / 2;
    x = x + width > work.right ? work.right - width : x;
    y = y + height > work.bottom ? work.bottom - height : y;
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Dialog::Dialog(UINT templateId, HWND owner) : templateId_(templateId), owner_(owner) {}

Dialog::~Dialog() {
    Destroy();
}

INT_PTR Dialog::RunModal() {
    modal_ = true;
    if (modalDepth++ == 0) {
        filterHook =
            SetWindowsHookExA(WH_MSGFILTER, &Dialog::MessageFilter, nullptr, GetCurrentThreadId());
    }
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner_,
                        &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (--modalDepth == 0 && filterHook != nullptr) {
        UnhookWindowsHookEx(filterHook);
        filterHook = nullptr;
    }
    modal_ = false;
    return result;
}

bool Dialog::Create(HWND owner) {
    owner_ = owner;
    modal_ = false;
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                              &Dialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Destroy() {
    if (hwnd_ != nullptr && !modal_) {
        DestroyWindow(hwnd_);
    }
}

void Dialog::End(INT_PTR result) {
    if (hwnd_ == nullptr) {
        return;
    }
    if (modal_) {
        EndDialog(hwnd_, result);
    } else {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    dataBound_ = true;
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    UpdateData(true);
    End(IDOK);
}

void Dialog::OnCancel() {
    End(IDCANCEL);
}

bool Dialog::PreTranslateMessage(MSG*) {
    return false;
}

void Dialog::ShowOnTaskBar() {
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) | WS_EX_APPWINDOW);
}

void Dialog::SetIcons(HICON icon) {
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Dialog::GotoControl(int id) {
    HWND control = Item(id);
    if (control != nullptr) {
        SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

void Dialog::UnlockWithBox(HWND field, int ticked, bool follow) {
    EnableWindow(field, ticked != 0);
    if (follow && ticked != 0) {
        SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    }
}

bool Dialog::MoveFocusByArrow(const MSG* msg) {
    if (msg->message != WM_KEYDOWN || (msg->wParam != VK_UP && msg->wParam != VK_DOWN &&
                                       msg->wParam != VK_LEFT && msg->wParam != VK_RIGHT)) {
        return false;
    }
    const bool previous = msg->wParam == VK_UP || msg->wParam == VK_LEFT;
    // Keys go to the control with the focus; none has it when they reach the dialog itself.
    HWND next = msg->hwnd != hwnd_ ? GetNextDlgTabItem(hwnd_, msg->hwnd, previous) : nullptr;
    if (next != nullptr) {
        SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    }
    return true;
}

void Dialog::WidenLabelsToText(std::initializer_list<int> ids) {
    HDC dc = GetDC(hwnd_);
    if (dc == nullptr) {
        return;
    }
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    LONG shortfall = 0;
    LONG edge = 0;  // the column's right edge, in client coordinates
    for (const int id : ids) {
        HWND label = Item(id);
        char text[512];
        const int length = GetWindowTextA(label, text, sizeof(text));
        SIZE extent = {};
        RECT room = {};
        GetTextExtentPoint32A(dc, text, length, &extent);
        GetWindowRect(label, &room);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&room), 2);
        shortfall = extent.cx - (room.right - room.left) > shortfall
                        ? extent.cx - (room.right - room.left)
                        : shortfall;
        edge = room.right > edge ? room.right : edge;
    }
    SelectObject(dc, previous);
    ReleaseDC(hwnd_, dc);
    RECT window = {};
    GetWindowRect(hwnd_, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
    const LONG spare = (monitor.rcWork.right - monitor.rcWork.left) - (window.right - window.left);
    shortfall = shortfall < spare ? shortfall : spare;
    if (shortfall <= 0) {
        return;
    }
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = {};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        const LONG kind = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
        char type[16] = {};
        GetClassNameA(child, type, sizeof(type));
        const bool pushButton =
            lstrcmpiA(type, "Button") == 0 && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
        LONG move = 0;
        LONG grow = 0;
        if (r.left >= edge) {
            move = shortfall;
        } else if (r.right >= edge) {
            grow = shortfall;
        } else if (pushButton) {
            move = shortfall / 2;
        }
        if (move == 0 && grow == 0) {
            continue;
        }
        // A drop-down list's window height is its dropped height: left alone unless grown.
        SetWindowPos(child, nullptr, r.left + move, r.top, r.right - r.left + grow,
                     r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (grow == 0 ? SWP_NOSIZE : 0));
    }
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + shortfall,
                 window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreWindow(hwnd_);
}

bool Dialog::IsEnterOrEscapeDown(const MSG* msg) {
    return msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
}

LRESULT CALLBACK Dialog::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        HWND root = msg->hwnd != nullptr ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
        // Only our own dialogs; a message box's loop passes through untouched.
        if (root != nullptr && GetWindowLongPtrA(root, DWLP_DLGPROC) ==
                                   reinterpret_cast<LONG_PTR>(&Dialog::DialogProc)) {
            Dialog* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(root, DWLP_USER));
            if (dialog != nullptr && dialog->PreTranslateMessage(msg)) {
                return 1;
            }
        }
    }
    return CallNextHookEx(filterHook, code, wParam, lParam);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<Dialog*>(lParam);
        dialog->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        if (TemplateGivesNoPosition(dialog->templateId_,
                                    static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)))) {
            CentreWindow(hwnd);
        }
        return dialog->OnInitDialog();
    }
    dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT) and after WM_NCDESTROY
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        dialog->OnDestroyed();
        return FALSE;
    }
    return dialog->Dispatch(message, wParam, lParam);
}

const MessageMapEntry* Dialog::FindEntry(UINT message, WPARAM wParam) const {
    const MessageMapEntry* entry = MessageMap();
    if (entry == nullptr) {
        return nullptr;
    }
    for (; entry->message != 0; ++entry) {
        if (entry->message != message) {
            continue;
        }
        if (message != WM_COMMAND ||
            (entry->code == HIWORD(wParam) && entry->id == LOWORD(wParam))) {
            return entry;
        }
    }
    return nullptr;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    // A control of ours answers its own colour request (reflection).
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && lParam != 0) {
        const LRESULT brush =
            SendMessageA(reinterpret_cast<HWND>(lParam), kReflectBase + message, wParam, lParam);
        if (brush != 0) {
            return static_cast<INT_PTR>(brush);
        }
    }
    const MessageMapEntry* entry = FindEntry(message, wParam);
    if (entry != nullptr && entry->onCommand != nullptr) {
        (this->*(entry->onCommand))();
        return TRUE;
    }
    if (entry != nullptr && entry->onMessage != nullptr) {
        LRESULT result = 0;
        if (!(this->*(entry->onMessage))(wParam, lParam, &result)) {
            return FALSE;
        }
        if (ReturnsDirectly(message)) {
            return static_cast<INT_PTR>(result);
        }
        if (hwnd_ != nullptr) {
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}
