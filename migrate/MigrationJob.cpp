// Migration job: the steps of the main menu's migration button.
#include "migrate/MigrationJob.h"

#include <memory>

#include "dialup/DialupBinding.h"
#include "dialup/ShellUserPhonebook.h"
#include "journal/ProgramJournal.h"
#include "migrate/MigrationContext.h"
#include "migrate/MigrationProgressWindow.h"
#include "migrate/ShellMigrationUi.h"
#include "ui/ShellUserSide.h"

void RunMigrationJob(DialupApi& dialup, const DataFiles& files, HWND menu) {
    // The run's messages have no owner window; the application's box picks the active one.
    ShellUserSide user(nullptr);
    MigrationProgressWindow progress(user);
    progress.Create(menu);
    ShowWindow(progress.Handle(), SW_SHOW);
    UpdateWindow(progress.Handle());

    ShellMigrationUi ui(dialup, progress.Handle());
    std::unique_ptr<MigrationContext> context(
        new MigrationContext(files, dialup, user, ui, QueryOsClass()));
    context->journal = &ProgramJournal();
    context->allUsersChangeable = MayChangeAllUsersPhonebook();
    context->RunMigration();
    progress.Destroy();
    context.reset();
}
