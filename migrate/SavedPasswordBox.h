// The password box of the migration dialogs, which shows the placeholder Windows hands out
// for a saved password: whatever the subscriber types into it replaces the placeholder
// whole, so the saved password never becomes part of a new one.
#pragma once

#include <windows.h>

class SavedPasswordBox {
public:
    // Once the dialog has filled `box`: whether it shows the placeholder.
    void Attach(HWND box);
    // The box's EN_CHANGE.
    void OnChange();

private:
    HWND box_ = nullptr;
    bool showsPlaceholder_ = false;
    bool replacing_ = false;
};
