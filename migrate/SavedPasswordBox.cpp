// Replacing a saved password's placeholder whole.
#include "migrate/SavedPasswordBox.h"

#include <cstring>

#include "dialup/SavedPassword.h"
#include "settings/ByteText.h"
#include "ui/DataExchange.h"

namespace {
constexpr size_t kBoxTextSize = 255;  // what a control read holds
}

void SavedPasswordBox::Attach(HWND box) {
    box_ = box;
    char shown[kBoxTextSize];
    ReadControlText(box_, shown, sizeof(shown));
    showsPlaceholder_ = strcmp(shown, kSavedPasswordPlaceholder) == 0;
    WipeBytes(shown, sizeof(shown));
}

void SavedPasswordBox::OnChange() {
    if (box_ == nullptr || !showsPlaceholder_ || replacing_) {
        return;
    }
    char now[kBoxTextSize];
    ReadControlText(box_, now, sizeof(now));
    if (strcmp(now, kSavedPasswordPlaceholder) != 0) {
        showsPlaceholder_ = false;
        char typed[kBoxTextSize];
        TypedOverPlaceholder(now, typed, sizeof(typed));
        replacing_ = true;
        SetWindowTextA(box_, typed);
        replacing_ = false;
        const WPARAM end = static_cast<WPARAM>(strlen(typed));
        SendMessageA(box_, EM_SETSEL, end, static_cast<LPARAM>(end));
        WipeBytes(typed, sizeof(typed));
    }
    WipeBytes(now, sizeof(now));
}
