// New-connection form.
#include "newconn/NewConnectionDialog.h"

#include "app/DialnestApp.h"
#include "res/resource.h"

NewConnectionDialog::NewConnectionDialog(DialnestApp& app, HWND owner)
    : Dialog(IDD_NEW_CONNECTION, owner), app_(app) {}

BOOL NewConnectionDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    app_.SetMainWindow(hwnd_);
    return TRUE;
}

bool NewConnectionDialog::PreTranslateMessage(MSG* msg) { return IsEnterOrEscapeDown(msg); }
