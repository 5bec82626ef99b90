// The user's own phonebook file and its folder.
#include "dialup/ShellUserPhonebook.h"

#include <windows.h>

#include "dialup/DialupLibrary.h"

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ShellUserPhonebook::Prepare(std::string* path) {
    const std::string appData = UserAppDataFolder();
    if (appData.empty()) {
        return false;
    }
    const std::string file = appData + "\\" + kUserPhonebookBelowAppData;
    // Each folder below the application-data one, made in turn where it is missing.
    for (size_t at = file.find('\\', appData.size() + 1); at != std::string::npos;
         at = file.find('\\', at + 1)) {
        const std::string folder = file.substr(0, at);
        if (!IsFolder(folder) && !CreateDirectoryA(folder.c_str(), nullptr) && !IsFolder(folder)) {
            return false;
        }
    }
    *path = file;
    return true;
}

bool MayChangeAllUsersPhonebook() {
    typedef BOOL(WINAPI * AllocateSidFn)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD,
                                         DWORD, DWORD, DWORD, DWORD, DWORD, PSID*);
    typedef BOOL(WINAPI * CheckMembershipFn)(HANDLE, PSID, PBOOL);
    typedef PVOID(WINAPI * FreeSidFn)(PSID);
    HMODULE advapi = GetModuleHandleA("ADVAPI32.DLL");
    if (advapi == nullptr) {
        return true;
    }
    const auto allocate = reinterpret_cast<AllocateSidFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "AllocateAndInitializeSid")));
    const auto check = reinterpret_cast<CheckMembershipFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "CheckTokenMembership")));
    const auto release =
        reinterpret_cast<FreeSidFn>(reinterpret_cast<void*>(GetProcAddress(advapi, "FreeSid")));
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (allocate == nullptr || check == nullptr || release == nullptr ||
        !allocate(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                  &administrators)) {
        return true;
    }
    BOOL member = TRUE;
    if (!check(nullptr, administrators, &member)) {
        member = TRUE;  // what cannot be asked is left to the phonebook to refuse
    }
    release(administrators);
    return member != FALSE;
}
