// The migration job as the main menu starts it.
#pragma once

#include <windows.h>

class DialnestApp;

void RunMigrationJob(DialnestApp& app, HWND menu);
