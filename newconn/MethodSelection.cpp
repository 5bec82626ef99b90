// Selection rule of the connection-method list.
#include "newconn/MethodSelection.h"

#include "res/resource.h"

MethodSelection DecideMethodSelection(int selectedIndex, const MethodMenuItem* item,
                                      int lastMethodIndex) {
    MethodSelection result;
    result.lastMethodIndex = lastMethodIndex;
    if (selectedIndex >= 0 && item != nullptr && IsChoosableMethod(*item)) {
        result.action = MethodSelectionAction::Apply;
        result.lastMethodIndex = selectedIndex;
        result.accessPointNumber = item->accessPointNumber;
        result.domainText = item->domainText;
        return result;
    }
    if (lastMethodIndex >= 0) {
        result.action = MethodSelectionAction::SnapBack;
        result.message = FormMessage{MessageBoxKind::App, IDS_CHOOSE_METHOD, MessageIcon::Warning};
    }
    return result;
}
