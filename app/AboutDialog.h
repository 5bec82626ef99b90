// The version-information box, opened from the main menu's system menu.
#pragma once

#include "ui/Dialog.h"

class AboutDialog : public Dialog {
public:
    explicit AboutDialog(HWND owner);
};
