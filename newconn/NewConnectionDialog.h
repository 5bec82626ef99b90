// The new-connection form (template 129): fills itself from the provider's files and the
// phonebook, applies the chosen connection method, checks the input and creates the entry.
#pragma once

#include <vector>

#include "dialup/DialupApi.h"
#include "logo/LogoPictureControl.h"
#include "newconn/FormMessage.h"
#include "settings/DataFiles.h"
#include "settings/MethodMenu.h"
#include "ui/Dialog.h"
#include "ui/ShellUserSide.h"

class NewConnectionDialog : public Dialog {
public:
    // Reads the provider files through `files` and writes through `dialup`; both outlive
    // the form.
    NewConnectionDialog(DialupApi& dialup, const DataFiles& files, HWND owner);
    ~NewConnectionDialog() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool PreTranslateMessage(MSG* msg) override;
    void OnOK() override;
    void OnDestroyed() override;

private:
    void OnMethodListSelChange();
    bool OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT* result);
    void FillModemList();
    void FillMethodList();
    void ClearMethodList();
    void ApplyMethodSelection();
    // Label 1021 shows `domain`, grown with the form to hold it on one line.
    void ShowDomain(const char* domain);
    // Focuses the control of `field` after its message; nothing for FormField::None.
    void GotoField(FormField field);

    DialupApi& dialup_;
    const DataFiles& files_;
    ShellUserSide user_;
    LogoPictureControl logo_;
    HICON icon_;
    std::vector<MethodMenuItem> methods_;  // the records the rows of list 1024 carry

    int diallingMode_ = 0;  // 0 tone, 1 pulse, -1 none
    int makeDefault_ = 1;
    int methodIndex_ = 0;
    int lastMethodIndex_ = -1;

    DIALNEST_DECLARE_MESSAGE_MAP()
};
