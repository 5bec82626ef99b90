// Main menu window: heading, system-menu about item, minimised painting and the two jobs.
#include "app/MainMenuDialog.h"

#include "app/AboutDialog.h"
#include "app/DialnestApp.h"
#include "app/HeadingFit.h"
#include "app/MainMenuSettings.h"
#include "migrate/MigrationJob.h"
#include "newconn/NewConnectionDialog.h"
#include "res/resource.h"
#include "ui/DataExchange.h"
#include "ui/ShellUserSide.h"

const MessageMapEntry* MainMenuDialog::MessageMap() const {
    static const MessageMapEntry entries[] = {
        DIALNEST_ON_MESSAGE(WM_SYSCOMMAND, &MainMenuDialog::OnSysCommand),
        DIALNEST_ON_MESSAGE(WM_PAINT, &MainMenuDialog::OnPaint),
        DIALNEST_ON_MESSAGE(WM_QUERYDRAGICON, &MainMenuDialog::OnQueryDragIcon),
        DIALNEST_ON_COMMAND(BN_CLICKED, IDC_NEW_CONNECTION,
                            &MainMenuDialog::OnNewConnectionClicked),
        DIALNEST_ON_COMMAND(BN_CLICKED, IDC_MIGRATION, &MainMenuDialog::OnMigrationClicked),
        DIALNEST_END_MESSAGE_MAP,
    };
    return entries;
}

namespace {
const char kHeadingFace[] = "MS \x83\x53\x83\x56\x83\x62\x83\x4e";  // MS ゴシック in code page 932
}  // namespace

MainMenuDialog::MainMenuDialog(DialnestApp& app)
    : Dialog(IDD_MAIN_MENU, nullptr),
      app_(app),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DIALNEST))) {}

void MainMenuDialog::DoDataExchange(DataExchange& dx) {
    dx.Bind(IDC_HEADING, heading_);
}

BOOL MainMenuDialog::OnInitDialog() {
    Dialog::OnInitDialog();

    HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
    char aboutText[256];
    LoadText(IDS_ABOUTBOX, aboutText, sizeof(aboutText));
    if (systemMenu != nullptr && aboutText[0] != '\0') {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }
    SetIcons(icon_);

    heading_.SetFace(kHeadingFace);
    heading_.SetBold(TRUE);
    heading_.SetSize(kDefaultHeadingSize);
    ApplyProviderSettings();
    return TRUE;
}

void MainMenuDialog::ApplyProviderSettings() {
    MainMenuSettings settings;
    if (!ReadMainMenuSettings(app_.Files(), &settings)) {
        return;
    }
    if (settings.hasCaption) {
        SetWindowTextA(hwnd_, settings.caption);
    }
    if (settings.hasHeading) {
        SetDlgItemTextA(hwnd_, IDC_HEADING, settings.heading);
    }
    if (settings.headingSize > 1) {
        heading_.SetSize(settings.headingSize);
    }
}

bool MainMenuDialog::PreTranslateMessage(MSG* msg) {
    return IsEnterOrEscapeDown(msg) || MoveFocusByArrow(msg);
}

bool MainMenuDialog::OnSysCommand(WPARAM wParam, LPARAM, LRESULT* result) {
    if ((wParam & 0xFFF0) != IDM_ABOUTBOX) {
        return false;
    }
    AboutDialog about(hwnd_);
    about.RunModal();
    *result = 0;
    return true;
}

bool MainMenuDialog::OnPaint(WPARAM, LPARAM, LRESULT* result) {
    if (!IsIconic(hwnd_)) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    SendMessageA(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(hwnd_, &client);
    DrawIcon(dc, (client.right - client.left - iconWidth + 1) / 2,
             (client.bottom - client.top - iconHeight + 1) / 2, icon_);
    EndPaint(hwnd_, &paint);
    *result = 0;
    return true;
}

bool MainMenuDialog::OnQueryDragIcon(WPARAM, LPARAM, LRESULT* result) {
    *result = reinterpret_cast<LRESULT>(icon_);
    return true;
}

void MainMenuDialog::OnNewConnectionClicked() {
    NewConnectionDialog form(app_.Dialup(), app_.Files(), nullptr);
    ShowWindow(hwnd_, SW_HIDE);
    app_.SetMainWindow(&form);
    const INT_PTR result = form.RunModal();
    app_.SetMainWindow(this);
    End(result);
}

void MainMenuDialog::OnMigrationClicked() {
    ShowWindow(hwnd_, SW_HIDE);
    RunMigrationJob(app_.Dialup(), app_.Files(), hwnd_);
    End(IDCANCEL);
}
