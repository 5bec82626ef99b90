// The access-point change dialog (template 134): confirms one entry's switch to the new
// access point, with user name, password and modem unlocked by their own check boxes.
#pragma once

#include "dialup/DialupApi.h"
#include "migrate/MigrationUi.h"
#include "migrate/SavedPasswordBox.h"
#include "ui/Dialog.h"

class AccessPointChangeDialog : public Dialog {
public:
    explicit AccessPointChangeDialog(const DialupApi& api);
    ~AccessPointChangeDialog() override;

    // Set before the run; read back after IDOK.
    AccessPointChangeFields fields;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;

private:
    void OnEditUserNameClicked();
    void OnEditPasswordClicked();
    void OnEditModemClicked();
    void OnModemListSelChange();
    void OnPasswordChange();

    const DialupApi& api_;
    HICON icon_;
    HWND passwordBox_ = nullptr;
    HWND userNameBox_ = nullptr;
    HWND modemList_ = nullptr;
    SavedPasswordBox password_;

    DIALNEST_DECLARE_MESSAGE_MAP()
};
