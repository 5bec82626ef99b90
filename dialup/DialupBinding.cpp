// Dial-up library binding through one typed table.
#include "dialup/DialupBinding.h"

#include <windows.h>

#include "res/resource.h"
#include "ui/ShellUserSide.h"

void BindDialup(DialupApi& api) {
    if (!LoadDialupLibrary(api)) {
        return;
    }
    if (api.RasDialA == nullptr || api.RasHangUpA == nullptr) {
        ShowMessageBox(nullptr, Message{IDS_RASAPI_ERROR}, IDS_PRODUCT_NAME,
                       MB_OK | MB_ICONEXCLAMATION);
        ReleaseDialup(api);
    }
}

OsClass QueryOsClass() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    static_assert(sizeof(OSVERSIONINFOA) == 148, "version information size");
    OsVersionFacts facts = {};
    facts.queried = GetVersionExA(&info) != FALSE;
    facts.platformId = info.dwPlatformId;
    facts.majorVersion = info.dwMajorVersion;
    facts.minorVersion = info.dwMinorVersion;
    facts.buildNumber = info.dwBuildNumber;
    return ClassifyOs(facts);
}
