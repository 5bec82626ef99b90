// The modeless progress window of a migration run (template 142), driven by four
// synchronous messages from the driver; each handler repaints at once, because no message
// loop runs while the driver works.
#pragma once

#include "ui/Dialog.h"

class UserSide;

enum : UINT {
    MigrationStartMessage = WM_APP + 1,     // lParam: number of entries
    MigrationStepMessage = WM_APP + 2,      // lParam: index of the entry about to be examined
    MigrationEntryMessage = WM_APP + 3,     // lParam: the entry name (code page 932)
    MigrationFinishedMessage = WM_APP + 4,  // wParam: changed count, lParam: found count
};

class MigrationProgressWindow : public Dialog {
public:
    explicit MigrationProgressWindow(UserSide& user);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

private:
    bool OnMigrationStart(WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool OnMigrationStep(WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool OnMigrationEntry(WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool OnMigrationFinished(WPARAM wParam, LPARAM lParam, LRESULT* result);
    static void RepaintNow(HWND control);

    UserSide& user_;
    HICON icon_;
    HWND status_ = nullptr;    // static 205
    HWND progress_ = nullptr;  // progress bar 206

    DIALNEST_DECLARE_MESSAGE_MAP()
};
