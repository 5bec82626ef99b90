// Start-up sequence and exit of the application.
#include "app/DialnestApp.h"

#include <commctrl.h>

#include "app/MainMenuDialog.h"
#include "dialup/DialupBinding.h"
#include "journal/ProgramJournal.h"
#include "newconn/NewConnectionDialog.h"
#include "res/resource.h"
#include "ui/ShellUserSide.h"

namespace {

constexpr UINT kJapaneseCodePage = 932;

// The provider's files and every text the program shows or writes are Shift-JIS handed to
// the ANSI calls: under another code page for programs (an English Windows, or the UTF-8
// option) the entry would be made under a garbled name. Said through the Unicode call, which
// shows it whatever the code page; 9x shows no Japanese outside a Japanese edition.
bool RefuseForeignCodePage() {
    if (GetACP() == kJapaneseCodePage) {
        return false;
    }
    const bool nineX = !IsNtFamily(QueryOsClass());
    wchar_t text[1024];
    wchar_t caption[64];
    LoadWideText(nineX ? IDS_CODE_PAGE_NOT_JAPANESE_9X : IDS_CODE_PAGE_NOT_JAPANESE, text, 1024);
    LoadWideText(AFX_IDS_APP_TITLE, caption, 64);
    MessageBoxW(nullptr, text, caption, MB_OK | MB_ICONEXCLAMATION);
    return true;
}

}  // namespace

bool DialnestApp::InitInstance() {
    // Before anything is written, recovered or shown.
    if (RefuseForeignCodePage()) {
        return false;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // A damaged kit inside the program file: it says so and does nothing else.
    if (IsDamaged(files_.Carried())) {
        ShowMessageBox(nullptr, Message{IDS_CARRIED_KIT_DAMAGED}, IDS_PRODUCT_NAME,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    BindDialup(dialup_);
    if (!dialup_.IsBound()) {
        ShowMessageBox(nullptr, Message{IDS_NO_DIALUP}, IDS_ERROR_CAPTION,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // One run at a time: a second one would take the first one's open change for one left
    // by a run that ended.
    if (!ClaimProgramRun()) {
        ShowMessageBox(nullptr, Message{IDS_ALREADY_RUNNING}, IDS_PRODUCT_NAME,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // A change the last run began and never finished is put back before anything else.
    RecoveryReport recovery;
    RecoverJournal(ProgramJournalStore(), dialup_, QueryOsClass(), &recovery);
    ShellUserSide recoveryUser(nullptr);
    TellRecovery(recovery, recoveryUser);
    // Run from inside an archive that was never extracted, the program finds none of its
    // files; a form without them can create nothing, so the message is the last word.
    char missing[kPathSize];
    if (NoProviderFilePresent(files_, missing, sizeof(missing))) {
        Message message{IDS_NO_PROVIDER_FILES};
        message.text = missing;
        ShowMessageBox(nullptr, message, IDS_PRODUCT_NAME, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (AccessPointTableExists()) {
        MainMenuDialog menu(*this);
        SetMainWindow(&menu);
        menu.RunModal();
    } else {
        NewConnectionDialog form(dialup_, files_, nullptr);
        SetMainWindow(&form);
        form.RunModal();
    }
    SetMainWindow(nullptr);
    return false;
}

int DialnestApp::ExitInstance() {
    ReleaseDialup(dialup_);
    return 0;
}

bool DialnestApp::AccessPointTableExists() const {
    // Any object of these names counts; the content is not looked at.
    for (const char* name : {kGeneralTableFile, kPhsTableFile, kPairTableFile}) {
        char path[kPathSize];
        if (FindDataFile(files_, name, path)) {
            return true;
        }
    }
    return false;
}

DialnestApp& TheApp() {
    static DialnestApp app;
    return app;
}
