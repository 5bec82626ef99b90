// Migration progress window.
#include "migrate/MigrationProgressWindow.h"

#include <commctrl.h>

#include "migrate/MigrationMessages.h"
#include "res/resource.h"
#include "ui/DataExchange.h"
#include "ui/ShellUserSide.h"

const MessageMapEntry* MigrationProgressWindow::MessageMap() const {
    static const MessageMapEntry entries[] = {
        DIALNEST_ON_MESSAGE(MigrationStartMessage, &MigrationProgressWindow::OnMigrationStart),
        DIALNEST_ON_MESSAGE(MigrationStepMessage, &MigrationProgressWindow::OnMigrationStep),
        DIALNEST_ON_MESSAGE(MigrationEntryMessage, &MigrationProgressWindow::OnMigrationEntry),
        DIALNEST_ON_MESSAGE(MigrationFinishedMessage,
                            &MigrationProgressWindow::OnMigrationFinished),
        DIALNEST_END_MESSAGE_MAP,
    };
    return entries;
}

MigrationProgressWindow::MigrationProgressWindow(UserSide& user)
    : Dialog(IDD_MIGRATION_PROGRESS),
      user_(user),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DIALNEST))) {}

void MigrationProgressWindow::DoDataExchange(DataExchange& dx) {
    dx.Bind(IDC_PROGRESS_TEXT, status_);
    dx.Bind(IDC_PROGRESS_BAR, progress_);
}

BOOL MigrationProgressWindow::OnInitDialog() {
    Dialog::OnInitDialog();
    // Its own task-bar button, since the main menu is hidden while the run goes on.
    ShowOnTaskBar();
    SetIcons(icon_);
    SendMessageA(progress_, PBM_SETRANGE32, 0, 5);
    SendMessageA(progress_, PBM_SETPOS, 0, 0);
    return TRUE;
}

void MigrationProgressWindow::RepaintNow(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool MigrationProgressWindow::OnMigrationStart(WPARAM, LPARAM lParam, LRESULT* result) {
    // The 32-bit form: a phonebook of 65 536 entries or more must not wrap to a short bar.
    SendMessageA(progress_, PBM_SETRANGE32, 0, lParam);
    SendMessageA(progress_, PBM_SETPOS, 0, 0);
    RepaintNow(progress_);
    *result = 0;
    return true;
}

bool MigrationProgressWindow::OnMigrationStep(WPARAM, LPARAM lParam, LRESULT* result) {
    SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(lParam), 0);
    RepaintNow(progress_);
    *result = 0;
    return true;
}

bool MigrationProgressWindow::OnMigrationEntry(WPARAM, LPARAM lParam, LRESULT* result) {
    const char* name = reinterpret_cast<const char*>(lParam);
    if (name == nullptr) {
        *result = -1;
        return true;
    }
    char text[1024];
    FormatMessageText(Message{IDS_CHECKING_ENTRY, name}, text, sizeof(text));
    SetWindowTextA(status_, text);
    RepaintNow(status_);
    *result = 0;
    return true;
}

bool MigrationProgressWindow::OnMigrationFinished(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const LRESULT upper = SendMessageA(progress_, PBM_GETRANGE, FALSE, 0);
    SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(upper), 0);
    RepaintNow(progress_);
    SetWindowTextA(status_, "");
    RepaintNow(status_);
    user_.ShowAppMessage(FinalMigrationMessage(static_cast<int>(wParam), static_cast<int>(lParam)),
                         MessageIcon::Information);
    *result = 0;
    return true;
}
