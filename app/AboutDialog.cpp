// Version-information box over its template; no state and no handlers of its own.
#include "app/AboutDialog.h"

#include "res/resource.h"

AboutDialog::AboutDialog(HWND owner) : Dialog(IDD_ABOUTBOX, owner) {}
