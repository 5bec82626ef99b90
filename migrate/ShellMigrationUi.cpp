// Confirmation dialogs and progress messages of a migration run.
#include "migrate/ShellMigrationUi.h"

#include "migrate/AccessPointChangeDialog.h"
#include "migrate/MigrationProgressWindow.h"
#include "migrate/UserNameChangeDialog.h"

bool ShellMigrationUi::ConfirmAccessPointChange(AccessPointChangeFields& fields) {
    AccessPointChangeDialog dialog(api_);
    dialog.fields = fields;
    if (dialog.RunModal() != IDOK) {
        return false;
    }
    fields = dialog.fields;
    return true;
}

bool ShellMigrationUi::ConfirmUserNameChange(UserNameChangeFields& fields) {
    UserNameChangeDialog dialog(api_);
    dialog.fields = fields;
    if (dialog.RunModal() != IDOK) {
        return false;
    }
    fields = dialog.fields;
    return true;
}

void ShellMigrationUi::MigrationStart(unsigned entryCount) {
    SendMessageA(progressWindow_, MigrationStartMessage, 0, static_cast<LPARAM>(entryCount));
}

void ShellMigrationUi::MigrationStep(unsigned index) {
    SendMessageA(progressWindow_, MigrationStepMessage, 0, static_cast<LPARAM>(index));
}

void ShellMigrationUi::MigrationEntry(const char* entryName) {
    SendMessageA(progressWindow_, MigrationEntryMessage, 0, reinterpret_cast<LPARAM>(entryName));
}

void ShellMigrationUi::MigrationFinished(int changedCount, int foundCount) {
    SendMessageA(progressWindow_, MigrationFinishedMessage, static_cast<WPARAM>(changedCount),
                 static_cast<LPARAM>(foundCount));
}
