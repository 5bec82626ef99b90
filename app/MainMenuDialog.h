// The main menu (template 102): a styled heading and the two jobs.
#pragma once

#include "app/HeadingLabel.h"
#include "ui/Dialog.h"

class DialnestApp;

class MainMenuDialog : public Dialog {
public:
    explicit MainMenuDialog(DialnestApp& app);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool PreTranslateMessage(MSG* msg) override;

private:
    bool OnSysCommand(WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool OnPaint(WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool OnQueryDragIcon(WPARAM wParam, LPARAM lParam, LRESULT* result);
    void OnNewConnectionClicked();
    void OnMigrationClicked();
    void ApplyProviderSettings();

    DialnestApp& app_;
    HICON icon_;
    HeadingLabel heading_;

    DIALNEST_DECLARE_MESSAGE_MAP()
};
