// The small captionless notice shown while the entry is being created (template 143).
#pragma once

#include "ui/Dialog.h"

class CreationNotice : public Dialog {
public:
    CreationNotice();
    // Creates it modeless over `owner`, shows it without activating it and paints it now,
    // since no message loop runs until the creation is over.
    void Open(HWND owner);

protected:
    BOOL OnInitDialog() override;
};
