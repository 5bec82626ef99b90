// New-connection form: initialisation, method selection and Create.
#include "newconn/NewConnectionDialog.h"

#include <imm.h>

#include "dialup/DialupBinding.h"
#include "dialup/ModemCombo.h"
#include "dialup/ShellUserPhonebook.h"
#include "journal/ProgramJournal.h"
#include "newconn/CreationNotice.h"
#include "newconn/EntryCreation.h"
#include "newconn/FormChecks.h"
#include "newconn/FormTexts.h"
#include "newconn/MethodSelection.h"
#include "newconn/ShellRegistryWriter.h"
#include "res/resource.h"
#include "ui/DataExchange.h"

const MessageMapEntry* NewConnectionDialog::MessageMap() const {
    static const MessageMapEntry entries[] = {
        DIALNEST_ON_COMMAND(CBN_SELCHANGE, IDC_METHOD_LIST,
                            &NewConnectionDialog::OnMethodListSelChange),
        DIALNEST_ON_MESSAGE(WM_DESTROY, &NewConnectionDialog::OnDestroy),
        DIALNEST_END_MESSAGE_MAP,
    };
    return entries;
}

NewConnectionDialog::NewConnectionDialog(DialupApi& dialup, const DataFiles& files, HWND owner)
    : Dialog(IDD_NEW_CONNECTION, owner),
      dialup_(dialup),
      files_(files),
      user_(nullptr),
      logo_(user_),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DIALNEST))) {}

NewConnectionDialog::~NewConnectionDialog() = default;

void NewConnectionDialog::DoDataExchange(DataExchange& dx) {
    dx.Radio(IDC_TONE, diallingMode_);
    dx.Check(IDC_MAKE_DEFAULT, makeDefault_);
    dx.ListIndex(IDC_METHOD_LIST, methodIndex_);
}

BOOL NewConnectionDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    user_.SetOwner(hwnd_);

    ShowOnTaskBar();
    SetIcons(icon_);

    // User name and number are plain ASCII; no conversion window should get in the way.
    ImmAssociateContext(Item(IDC_USER_NAME), nullptr);
    ImmAssociateContext(Item(IDC_ACCESS_POINT_NUMBER), nullptr);

    char logoPath[kPathSize];
    if (FindDataFile(files_, kLogoFile, logoPath)) {
        ShowWindow(Item(IDC_LOGO), SW_SHOW);
        logo_.Attach(Item(IDC_LOGO));
        logo_.Load(files_, logoPath);
    }

    FillModemList();
    FillMethodList();

    FormTexts texts;
    if (ReadFormTexts(files_, &texts)) {
        if (texts.domain[0] != '\0')
            ShowDomain(texts.domain);
        if (texts.hasCaption)
            SetWindowTextA(hwnd_, texts.caption);
        if (texts.hasEntryName)
            SetDlgItemTextA(hwnd_, IDC_ENTRY_NAME, texts.entryName);
        if (texts.hasTelNumber)
            SetDlgItemTextA(hwnd_, IDC_ACCESS_POINT_NUMBER, texts.telNumber);
    }

    ApplyMethodSelection();
    return TRUE;
}

void NewConnectionDialog::FillModemList() {
    FillModemCombo(Item(IDC_MODEM_LIST), dialup_, nullptr);
}

void NewConnectionDialog::ClearMethodList() {
    SendMessageA(Item(IDC_METHOD_LIST), CB_RESETCONTENT, 0, 0);
    methods_.clear();
}

void NewConnectionDialog::FillMethodList() {
    ClearMethodList();
    bool hasPhsRow = false;
    if (!LoadMethodMenu(files_, &methods_, &hasPhsRow)) {
        return;
    }
    HWND list = Item(IDC_METHOD_LIST);
    for (MethodMenuItem& item : methods_) {
        const LRESULT row =
            SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.displayName));
        if (row >= 0) {
            SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    if (!methods_.empty()) {
        SendMessageA(list, CB_SETCURSEL, 0, 0);
    }
    if (hasPhsRow) {
        char note[512];
        LoadText(IDS_PHS_NOTE, note, sizeof(note));
        SetDlgItemTextA(hwnd_, IDC_HINT, note);
    }
}

void NewConnectionDialog::OnMethodListSelChange() {
    ApplyMethodSelection();
}

void NewConnectionDialog::ApplyMethodSelection() {
    UpdateData(true);
    HWND list = Item(IDC_METHOD_LIST);
    const MethodMenuItem* item = nullptr;
    if (methodIndex_ >= 0) {
        const LRESULT data =
            SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(methodIndex_), 0);
        if (data != CB_ERR && data != 0) {
            item = reinterpret_cast<const MethodMenuItem*>(data);
        }
    }
    const MethodSelection decision = DecideMethodSelection(methodIndex_, item, lastMethodIndex_);
    switch (decision.action) {
        case MethodSelectionAction::Apply:
            lastMethodIndex_ = decision.lastMethodIndex;
            SetDlgItemTextA(hwnd_, IDC_ACCESS_POINT_NUMBER, decision.accessPointNumber);
            ShowDomain(decision.domainText);
            break;
        case MethodSelectionAction::SnapBack:
            ShowFormMessage(user_, decision.message);
            SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(lastMethodIndex_), 0);
            break;
        case MethodSelectionAction::Nothing:
            break;
    }
}

void NewConnectionDialog::ShowDomain(const char* domain) {
    SetDlgItemTextA(hwnd_, IDC_DOMAIN_LABEL, domain);
    WidenLabelsToText({IDC_DOMAIN_LABEL});
}

void NewConnectionDialog::OnOK() {
    UpdateData(true);
    CreationInputs inputs = {};
    ReadControlText(Item(IDC_ENTRY_NAME), inputs.entryName, sizeof(inputs.entryName));
    ReadControlText(Item(IDC_USER_NAME), inputs.userName, sizeof(inputs.userName));
    ReadControlText(Item(IDC_PASSWORD), inputs.password, sizeof(inputs.password));
    ReadControlText(Item(IDC_ACCESS_POINT_NUMBER), inputs.accessPointNumber,
                    sizeof(inputs.accessPointNumber));
    ReadControlText(Item(IDC_MODEM_LIST), inputs.modemName, sizeof(inputs.modemName));
    ReadControlText(Item(IDC_DOMAIN_LABEL), inputs.domainText, sizeof(inputs.domainText));
    inputs.pulse = diallingMode_ == 1;
    inputs.makeDefault = makeDefault_ != 0;

    CreateFormValues values;
    values.entryName = inputs.entryName;
    values.userName = inputs.userName;
    values.password = inputs.password;
    values.accessPointNumber = inputs.accessPointNumber;
    values.modemName = inputs.modemName;
    values.domainText = inputs.domainText;
    values.diallingMode = diallingMode_;
    values.lastMethodIndex = lastMethodIndex_;
    values.methodRowCount =
        static_cast<int>(SendMessageA(Item(IDC_METHOD_LIST), CB_GETCOUNT, 0, 0));
    const FormMessage problem = CheckCreateForm(values);
    if (problem.kind != MessageBoxKind::None) {
        ShowFormMessage(user_, problem);
        GotoField(problem.field);
        return;
    }
    const OsClass osClass = QueryOsClass();
    // Refused here rather than in the creation, so the form stays open for another value.
    FormMessage refused = CheckValuesFit(inputs, osClass);
    if (refused.kind == MessageBoxKind::None) {
        refused = CheckEntryName(dialup_, inputs.entryName);
    }
    if (refused.kind != MessageBoxKind::None) {
        ShowFormMessage(user_, refused);
        GotoField(refused.field);
        return;
    }
    ExistingEntry existing;
    if (!ConfirmCreation(dialup_, osClass, user_, inputs.entryName, &existing)) {
        // Not overwritten: the name is what the subscriber changes next.
        GotoField(FormField::EntryName);
        return;
    }

    CreationNotice notice;
    notice.Open(hwnd_);
    ShellRegistryWriter registry;
    ShellUserPhonebook own;
    const Creation created = CreateEntry(inputs, existing, dialup_, files_, user_, registry,
                                         osClass, &ProgramJournal(), &own);
    notice.Destroy();

    if (created == Creation::Failed) {
        user_.ShowProgramMessage(Message{IDS_CREATE_FAILED}, MessageIcon::Warning);
    } else {
        user_.ShowProgramMessage(Message{IDS_CREATED}, MessageIcon::Information);
        if (created == Creation::CreatedNotDefault) {
            user_.ShowProgramMessage(Message{IDS_NOT_DEFAULT_CONNECTION}, MessageIcon::Warning);
        }
    }
    End(IDOK);
}

void NewConnectionDialog::GotoField(FormField field) {
    static const struct {
        FormField field;
        int controlId;
    } kFieldControls[] = {
        {FormField::EntryName, IDC_ENTRY_NAME},
        {FormField::UserName, IDC_USER_NAME},
        {FormField::Password, IDC_PASSWORD},
        {FormField::AccessPointNumber, IDC_ACCESS_POINT_NUMBER},
        {FormField::Method, IDC_METHOD_LIST},
        {FormField::Modem, IDC_MODEM_LIST},
        {FormField::DiallingMode, IDC_TONE},
    };
    for (const auto& entry : kFieldControls) {
        if (entry.field == field) {
            GotoControl(entry.controlId);
        }
    }
}

bool NewConnectionDialog::OnDestroy(WPARAM, LPARAM, LRESULT*) {
    ClearMethodList();
    return false;
}

void NewConnectionDialog::OnDestroyed() {
    methods_.clear();
}

bool NewConnectionDialog::PreTranslateMessage(MSG* msg) {
    return IsEnterOrEscapeDown(msg);
}
