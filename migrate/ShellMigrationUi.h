// The migration's user side for real: the two confirmation dialogs run modally and the
// progress reported to the progress window by synchronous messages.
#pragma once

#include <windows.h>

#include "dialup/DialupApi.h"
#include "migrate/MigrationUi.h"

class ShellMigrationUi : public MigrationUi {
public:
    // `progressWindow` may be null: no progress is reported then.
    ShellMigrationUi(const DialupApi& api, HWND progressWindow)
        : api_(api), progressWindow_(progressWindow) {}

    bool ConfirmAccessPointChange(AccessPointChangeFields& fields) override;
    bool ConfirmUserNameChange(UserNameChangeFields& fields) override;
    bool HasProgressWindow() const override { return progressWindow_ != nullptr; }
    void MigrationStart(unsigned entryCount) override;
    void MigrationStep(unsigned index) override;
    void MigrationEntry(const char* entryName) override;
    void MigrationFinished(int changedCount, int foundCount) override;

private:
    const DialupApi& api_;
    HWND progressWindow_;
};
