// The migration job as the main menu's button starts it: progress window, context, run.
#pragma once

#include <windows.h>

#include "dialup/DialupApi.h"
#include "settings/DataFiles.h"

// Shows the progress window owned by `menu` (already hidden), runs the whole migration
// with its dialogs and final message, and destroys the window again.
void RunMigrationJob(DialupApi& dialup, const DataFiles& files, HWND menu);
