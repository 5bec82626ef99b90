// Dial-up library binding through one typed table.
#include "dialup/DialupBinding.h"

#include <windows.h>

#include "app/ShellUserSide.h"
#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

const char kLibraryName[] = "RASAPI32.DLL";

template <class Fn>
Fn Resolve(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

// Never a bare name: the search order would find a copy planted beside the program.
HMODULE LoadSystemLibrary(const char* fileName) {
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, sizeof(path));
    if (n == 0 || n >= sizeof(path)) {
        return nullptr;
    }
    if (!AppendTextExact(path, sizeof(path), "\\") ||
        !AppendTextExact(path, sizeof(path), fileName)) {
        return nullptr;
    }
    return LoadLibraryA(path);
}

void BindDialup(DialupApi& api) {
    api = DialupApi();
    HMODULE library = LoadSystemLibrary(kLibraryName);
    if (library == nullptr) {
        return;
    }
    api.library = library;
#define DIALUP_RESOLVE(name, type) api.name = Resolve<type>(library, #name);
    DIALUP_OPERATIONS(DIALUP_RESOLVE)
#undef DIALUP_RESOLVE
    if (api.RasDialA == nullptr || api.RasHangUpA == nullptr) {
        ShowMessageBox(nullptr, Message{IDS_RASAPI_ERROR}, IDS_PRODUCT_NAME,
                       MB_OK | MB_ICONEXCLAMATION);
        ReleaseDialup(api);
    }
}

void ReleaseDialup(DialupApi& api) {
    if (api.library != nullptr) {
        FreeLibrary(static_cast<HMODULE>(api.library));
    }
    api = DialupApi();
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
