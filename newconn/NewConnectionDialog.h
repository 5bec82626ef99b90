// The new-connection form (template 129).
#pragma once

#include "ui/Dialog.h"

class DialnestApp;

class NewConnectionDialog : public Dialog {
public:
    NewConnectionDialog(DialnestApp& app, HWND owner);

protected:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG* msg) override;

private:
    DialnestApp& app_;
};
