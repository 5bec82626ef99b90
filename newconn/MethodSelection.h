// What a selection change of the form's connection-method list does: apply the chosen
// row, snap back to the row applied last, or nothing.
#pragma once

#include "newconn/FormMessage.h"
#include "settings/MethodMenu.h"

enum class MethodSelectionAction {
    Apply,     // put accessPointNumber into the number edit and domainText into the label
    SnapBack,  // show `message`, then select row lastMethodIndex again
    Nothing,   // leave the form as it is
};

struct MethodSelection {
    MethodSelectionAction action = MethodSelectionAction::Nothing;
    int lastMethodIndex = -1;                 // the form's lastMethodIndex afterwards
    const char* accessPointNumber = nullptr;  // Apply only: points into the chosen item
    const char* domainText = nullptr;         // Apply only: points into the chosen item
    FormMessage message;  // SnapBack only: 接続方法を選択してください
};

// `selectedIndex` is the list's selection (-1 for none), `item` the record of that row (null
// when the row carries none), `lastMethodIndex` the row applied last (-1 while none has
// been). A row is applied when one is selected, it carries a record and its kind is not 9.
// Otherwise, once a row has been applied, the form snaps back to it with the method prompt
// in the application's message box; before that, nothing happens. The form runs this at the
// end of its initialisation too, for the row that loading selected.
MethodSelection DecideMethodSelection(int selectedIndex, const MethodMenuItem* item,
                                      int lastMethodIndex);
