// Migration job: the steps of the main menu's migration button.
#include "migrate/MigrationJob.h"

#include <memory>

#include "app/DialnestApp.h"
#include "app/ShellUserSide.h"
#include "dialup/DialupBinding.h"
#include "migrate/MigrationContext.h"
#include "migrate/MigrationProgressWindow.h"
#include "migrate/ShellMigrationUi.h"

void RunMigrationJob(DialnestApp& app, HWND menu) {
    // The run's messages have no owner window; the application's box picks the active one.
    ShellUserSide user(nullptr);
    MigrationProgressWindow progress(user);
    progress.Create(menu);
    ShowWindow(progress.Handle(), SW_SHOW);
    UpdateWindow(progress.Handle());

    ShellMigrationUi ui(app.Dialup(), progress.Handle());
    std::unique_ptr<MigrationContext> context(
        new MigrationContext(app.Files(), app.Dialup(), user, ui, QueryOsClass()));
    context->RunMigration();
    progress.Destroy();
    context.reset();
}
