// Run-time loading of the dial-up library through one typed table.
#include "dialup/DialupLibrary.h"

#include <windows.h>

#include "settings/ByteText.h"

namespace {

const char kLibraryName[] = "RASAPI32.DLL";
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

template <class Fn>
Fn Resolve(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool RestrictLibrarySearch() {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    const SetDefaultDllDirectoriesFn restrict =
        kernel != nullptr ? Resolve<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories")
                          : nullptr;
    return restrict != nullptr&& restrict(kSearchSystem32) != FALSE;
}

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

std::string UserAppDataFolder() {
    constexpr int kCsidlAppData = 0x001A;
    constexpr int kCsidlFlagCreate = 0x8000;
    typedef HRESULT(WINAPI * GetFolderPathFn)(HWND, int, HANDLE, DWORD, char*);
    typedef BOOL(WINAPI * GetSpecialFolderPathFn)(HWND, char*, int, BOOL);
    char path[MAX_PATH + 1] = "";
    bool found = false;
    if (HMODULE shell = LoadSystemLibrary("SHELL32.DLL")) {
        const auto getFolder = Resolve<GetFolderPathFn>(shell, "SHGetFolderPathA");
        const auto getSpecial = Resolve<GetSpecialFolderPathFn>(shell, "SHGetSpecialFolderPathA");
        if (getFolder != nullptr) {
            found =
                SUCCEEDED(getFolder(nullptr, kCsidlAppData | kCsidlFlagCreate, nullptr, 0, path));
        }
        if (!found && getSpecial != nullptr) {
            found = getSpecial(nullptr, path, kCsidlAppData, TRUE) != 0;
        }
        FreeLibrary(shell);
    }
    std::string folder = found ? path : "";
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

bool LoadDialupLibrary(DialupApi& api) {
    api = DialupApi();
    HMODULE library = LoadSystemLibrary(kLibraryName);
    if (library == nullptr) {
        return false;
    }
    api.library = library;
#define DIALUP_RESOLVE(name, type) api.name = Resolve<type>(library, #name);
    DIALUP_OPERATIONS(DIALUP_RESOLVE)
#undef DIALUP_RESOLVE
    return true;
}

void ReleaseDialup(DialupApi& api) {
    if (api.library != nullptr) {
        FreeLibrary(static_cast<HMODULE>(api.library));
    }
    api = DialupApi();
}
