// Migration job entry.
#include "migrate/MigrationJob.h"

#include "app/DialnestApp.h"

void RunMigrationJob(DialnestApp&, HWND) {}
