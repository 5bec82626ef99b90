// Data-exchange helpers.
#include "ui/DataExchange.h"

#include <vector>

#include "settings/ByteText.h"
#include "ui/Control.h"
#include "ui/Dialog.h"

void ReadControlText(HWND window, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    buffer[0] = '\0';
    if (window == nullptr) {
        return;
    }
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) {
        return;
    }
    std::vector<char> whole(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, whole.data(), length + 1);
    CopyText(buffer, size < kControlTextSize ? size : kControlTextSize, whole.data());
    // The control may be a password box; what it held must not linger in freed memory.
    WipeBytes(whole.data(), whole.size());
}

void DataExchange::Text(int id, char* buffer, size_t size) {
    HWND control = dialog_.Item(id);
    if (saving_) {
        ReadControlText(control, buffer, size);
    } else if (control != nullptr) {
        SetWindowTextA(control, buffer);
    }
}

void DataExchange::Check(int id, int& value) {
    HWND control = dialog_.Item(id);
    if (control == nullptr) {
        return;
    }
    if (saving_) {
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

static bool IsRadioButton(HWND window) {
    const LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) &&
           (SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

void DataExchange::Radio(int firstId, int& value) {
    HWND control = dialog_.Item(firstId);
    if (control == nullptr) {
        return;
    }
    if (saving_) {
        value = -1;
    }
    int index = 0;
    HWND radio = control;
    do {
        if (saving_) {
            if (SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = index;
            }
        } else {
            SendMessageA(radio, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
        radio = GetWindow(radio, GW_HWNDNEXT);
    } while (radio != nullptr && IsRadioButton(radio) &&
             !(GetWindowLongA(radio, GWL_STYLE) & WS_GROUP));
}

void DataExchange::ListIndex(int id, int& value) {
    HWND control = dialog_.Item(id);
    if (control == nullptr) {
        return;
    }
    if (saving_) {
        value = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    } else {
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    }
}

void DataExchange::Bind(int id, Control& control) {
    if (control.Handle() == nullptr) {
        control.Attach(dialog_.Item(id));
    }
}

void DataExchange::Bind(int id, HWND& control) {
    if (control == nullptr) {
        control = dialog_.Item(id);
    }
}
