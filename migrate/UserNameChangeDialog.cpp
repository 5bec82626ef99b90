// User-name change dialog.
#include "migrate/UserNameChangeDialog.h"

#include "dialup/ModemCombo.h"
#include "migrate/EntryChange.h"
#include "res/resource.h"
#include "settings/ByteText.h"
#include "ui/DataExchange.h"
#include "ui/ShellUserSide.h"

const MessageMapEntry* UserNameChangeDialog::MessageMap() const {
    static const MessageMapEntry entries[] = {
        DIALNEST_ON_COMMAND(BN_CLICKED, IDC_CHANGE_EDIT_MODEM,
                            &UserNameChangeDialog::OnEditModemClicked),
        DIALNEST_ON_COMMAND(BN_CLICKED, IDC_CHANGE_EDIT_PASSWORD,
                            &UserNameChangeDialog::OnEditPasswordClicked),
        DIALNEST_ON_COMMAND(CBN_SELCHANGE, IDC_CHANGE_MODEM_LIST,
                            &UserNameChangeDialog::OnModemListSelChange),
        DIALNEST_ON_COMMAND(EN_CHANGE, IDC_CHANGE_PASSWORD,
                            &UserNameChangeDialog::OnPasswordChange),
        DIALNEST_END_MESSAGE_MAP,
    };
    return entries;
}

UserNameChangeDialog::UserNameChangeDialog(const DialupApi& api)
    : Dialog(IDD_USER_NAME_CHANGE),
      api_(api),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DIALNEST))) {}

UserNameChangeDialog::~UserNameChangeDialog() {
    WipeBytes(fields.password, sizeof(fields.password));
}

void UserNameChangeDialog::DoDataExchange(DataExchange& dx) {
    dx.Bind(IDC_CHANGE_PASSWORD, passwordBox_);
    dx.Bind(IDC_CHANGE_MODEM_LIST, modemList_);
    dx.Text(IDC_CHANGE_ENTRY_NAME, fields.entryName);
    dx.Text(IDC_CHANGE_PASSWORD, fields.password);
    dx.Text(IDC_CHANGE_PHONE_NUMBER, fields.phoneNumber);
    dx.Text(IDC_CHANGE_OLD_USER_NAME, fields.oldUserName);
    dx.Text(IDC_CHANGE_NEW_USER_NAME, fields.newUserName);
    dx.Text(IDC_CHANGE_OLD_DOMAIN, fields.oldDomain);
    dx.Text(IDC_CHANGE_NEW_DOMAIN, fields.newDomain);
    dx.Check(IDC_CHANGE_EDIT_MODEM, fields.editModem);
    dx.Check(IDC_CHANGE_EDIT_PASSWORD, fields.editPassword);
}

BOOL UserNameChangeDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    ShowOnTaskBar();
    SetIcons(icon_);
    FillModemCombo(modemList_, api_, fields.modemName);
    WidenLabelsToText({IDC_CHANGE_OLD_DOMAIN, IDC_CHANGE_NEW_DOMAIN});
    UpdateData(true);
    UnlockWithBox(modemList_, fields.editModem, false);
    UnlockWithBox(passwordBox_, fields.editPassword, false);
    password_.Attach(passwordBox_);
    return TRUE;
}

void UserNameChangeDialog::OnOK() {
    UpdateData(true);
    // A user name that can never log in is refused before the dialog closes.
    if (const unsigned problem = CheckAcceptedUserName(fields)) {
        Message refusal{problem};
        refusal.text = fields.newDomain;
        ShellUserSide(hwnd_).ShowProgramMessage(refusal, MessageIcon::Warning);
        GotoControl(IDC_CHANGE_NEW_USER_NAME);
        return;
    }
    End(IDOK);
}

void UserNameChangeDialog::OnEditModemClicked() {
    UpdateData(true);
    UnlockWithBox(modemList_, fields.editModem, true);
}

void UserNameChangeDialog::OnEditPasswordClicked() {
    UpdateData(true);
    UnlockWithBox(passwordBox_, fields.editPassword, true);
}

void UserNameChangeDialog::OnPasswordChange() {
    password_.OnChange();
}

void UserNameChangeDialog::OnModemListSelChange() {
    ReadControlText(modemList_, fields.modemName, sizeof(fields.modemName));
}
