// The application object: binds the dial-up library, runs exactly one modal top-level
// window (the main menu when an access-point table exists, else the new-connection form)
// and releases the library at exit.
#pragma once

#include <windows.h>

#include "app/ShellDataFiles.h"
#include "dialup/DialupApi.h"
#include "ui/Dialog.h"

class DialnestApp {
public:
    // Runs the start-up sequence and the one window. Always false: there is no message
    // loop of the application's own, so exit handling follows at once.
    bool InitInstance();
    // Releases the dial-up library if it is loaded.
    int ExitInstance();

    DialupApi& Dialup() { return dialup_; }
    const DataFiles& Files() const { return files_; }
    // The modal top-level window that is running; set just before it runs.
    HWND MainWindow() const { return mainWindow_ != nullptr ? mainWindow_->Handle() : nullptr; }
    void SetMainWindow(Dialog* window) { mainWindow_ = window; }

private:
    bool AccessPointTableExists() const;

    DialupApi dialup_;
    ShellDataFiles files_;
    Dialog* mainWindow_ = nullptr;
};

DialnestApp& TheApp();
