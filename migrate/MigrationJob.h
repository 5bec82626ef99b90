// The migration job as the main menu's button starts it: progress window, context, run.
#pragma once

#include <windows.h>

class DialnestApp;

// Shows the progress window owned by `menu` (already hidden), runs the whole migration
// with its dialogs and final message, and destroys the window again.
void RunMigrationJob(DialnestApp& app, HWND menu);
