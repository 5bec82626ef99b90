// Access-point change dialog.
#include "migrate/AccessPointChangeDialog.h"

#include "dialup/ModemCombo.h"
#include "migrate/EntryChange.h"
#include "res/resource.h"
#include "settings/ByteText.h"
#include "ui/DataExchange.h"
#include "ui/ShellUserSide.h"

const MessageMapEntry* AccessPointChangeDialog::MessageMap() const {
    static const MessageMapEntry entries[] = {
        DIALNEST_ON_COMMAND(BN_CLICKED, IDC_CHANGE_EDIT_USER_NAME,
                            &AccessPointChangeDialog::OnEditUserNameClicked),
        DIALNEST_ON_COMMAND(BN_CLICKED, IDC_CHANGE_EDIT_PASSWORD,
                            &AccessPointChangeDialog::OnEditPasswordClicked),
        DIALNEST_ON_COMMAND(BN_CLICKED, IDC_CHANGE_EDIT_MODEM,
                            &AccessPointChangeDialog::OnEditModemClicked),
        DIALNEST_ON_COMMAND(CBN_SELCHANGE, IDC_CHANGE_MODEM_LIST,
                            &AccessPointChangeDialog::OnModemListSelChange),
        DIALNEST_ON_COMMAND(EN_CHANGE, IDC_CHANGE_PASSWORD,
                            &AccessPointChangeDialog::OnPasswordChange),
        DIALNEST_END_MESSAGE_MAP,
    };
    return entries;
}

AccessPointChangeDialog::AccessPointChangeDialog(const DialupApi& api)
    : Dialog(IDD_ACCESS_POINT_CHANGE),
      api_(api),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DIALNEST))) {}

AccessPointChangeDialog::~AccessPointChangeDialog() {
    WipeBytes(fields.password, sizeof(fields.password));
}

void AccessPointChangeDialog::DoDataExchange(DataExchange& dx) {
    dx.Bind(IDC_CHANGE_PASSWORD, passwordBox_);
    dx.Bind(IDC_CHANGE_USER_NAME, userNameBox_);
    dx.Bind(IDC_CHANGE_MODEM_LIST, modemList_);
    dx.Text(IDC_CHANGE_ENTRY_NAME, fields.entryName);
    dx.Text(IDC_CHANGE_NEW_NUMBER, fields.newNumber);
    dx.Text(IDC_CHANGE_PASSWORD, fields.password);
    dx.Text(IDC_CHANGE_USER_NAME, fields.userName);
    dx.Check(IDC_CHANGE_EDIT_USER_NAME, fields.editUserName);
    dx.Check(IDC_CHANGE_EDIT_MODEM, fields.editModem);
    dx.Check(IDC_CHANGE_EDIT_PASSWORD, fields.editPassword);
    dx.Text(IDC_CHANGE_OLD_NUMBER, fields.oldNumber);
    dx.Text(IDC_CHANGE_DOMAIN, fields.domain);
}

BOOL AccessPointChangeDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    ShowOnTaskBar();
    SetIcons(icon_);
    FillModemCombo(modemList_, api_, fields.modemName);
    WidenLabelsToText({IDC_CHANGE_DOMAIN});
    UpdateData(true);
    UnlockWithBox(userNameBox_, fields.editUserName, false);
    UnlockWithBox(modemList_, fields.editModem, false);
    UnlockWithBox(passwordBox_, fields.editPassword, false);
    password_.Attach(passwordBox_);
    return TRUE;
}

void AccessPointChangeDialog::OnOK() {
    UpdateData(true);
    if (const unsigned numberRefused = CheckNewNumber(fields.newNumber)) {
        ShellUserSide(hwnd_).ShowProgramMessage(Message{numberRefused}, MessageIcon::Warning);
        return;
    }
    // A user name that can never log in is refused before the dialog closes.
    if (const unsigned problem = CheckAcceptedUserName(fields)) {
        Message refusal{problem};
        refusal.text = fields.domain;
        ShellUserSide(hwnd_).ShowProgramMessage(refusal, MessageIcon::Warning);
        GotoControl(IDC_CHANGE_USER_NAME);
        return;
    }
    End(IDOK);
}

void AccessPointChangeDialog::OnEditUserNameClicked() {
    UpdateData(true);
    UnlockWithBox(userNameBox_, fields.editUserName, true);
}

void AccessPointChangeDialog::OnEditPasswordClicked() {
    UpdateData(true);
    UnlockWithBox(passwordBox_, fields.editPassword, true);
}

void AccessPointChangeDialog::OnEditModemClicked() {
    UpdateData(true);
    UnlockWithBox(modemList_, fields.editModem, true);
}

void AccessPointChangeDialog::OnPasswordChange() {
    password_.OnChange();
}

void AccessPointChangeDialog::OnModemListSelChange() {
    ReadControlText(modemList_, fields.modemName, sizeof(fields.modemName));
}
