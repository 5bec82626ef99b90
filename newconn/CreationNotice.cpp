// Creation notice window.
#include "newconn/CreationNotice.h"

#include "res/resource.h"

CreationNotice::CreationNotice() : Dialog(IDD_CREATION_NOTICE) {}

BOOL CreationNotice::OnInitDialog() {
    Dialog::OnInitDialog();
    // The form keeps the activation and the focus while the notice stands.
    return FALSE;
}

void CreationNotice::Open(HWND owner) {
    if (!Create(owner)) {
        return;
    }
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}
