// The user-name change dialog (template 135): confirms one Flets ISDN entry's switch to the
// new domain, with password and modem unlocked by their own check boxes.
#pragma once

#include "dialup/DialupApi.h"
#include "migrate/MigrationUi.h"
#include "migrate/SavedPasswordBox.h"
#include "ui/Dialog.h"

class UserNameChangeDialog : public Dialog {
public:
    explicit UserNameChangeDialog(const DialupApi& api);
    ~UserNameChangeDialog() override;

    // Set before the run; read back after IDOK.
    UserNameChangeFields fields;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;

private:
    void OnEditModemClicked();
    void OnEditPasswordClicked();
    void OnModemListSelChange();
    void OnPasswordChange();

    const DialupApi& api_;
    HICON icon_;
    HWND passwordBox_ = nullptr;
    HWND modemList_ = nullptr;
    SavedPasswordBox password_;

    DIALNEST_DECLARE_MESSAGE_MAP()
};
