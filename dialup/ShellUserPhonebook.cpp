// The user's own phonebook file and its folder.
#include "dialup/ShellUserPhonebook.h"

#include <windows.h>

#include <cstring>

#include "dialup/DialupLibrary.h"

namespace {

const int kCsidlAppData = 0x001A;
const int kCsidlFlagCreate = 0x8000;
typedef HRESULT(WINAPI* GetFolderPathFn)(HWND, int, HANDLE, DWORD, char*);

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ShellUserPhonebook::Prepare(std::string* path) {
    char appData[MAX_PATH + 1] = "";
    bool found = false;
    if (HMODULE shell = LoadSystemLibrary("SHELL32.DLL")) {
        const GetFolderPathFn getFolder = reinterpret_cast<GetFolderPathFn>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
        found =
            getFolder != nullptr &&
            SUCCEEDED(getFolder(nullptr, kCsidlAppData | kCsidlFlagCreate, nullptr, 0, appData)) &&
            appData[0] != '\0';
        FreeLibrary(shell);
    }
    if (!found) {
        return false;
    }
    std::string file = appData;
    if (file.back() != '\\') {
        file += '\\';
    }
    file += kUserPhonebookBelowAppData;
    // Each folder below the application-data one, made in turn where it is missing.
    for (size_t at = file.find('\\', strlen(appData)); at != std::string::npos;
         at = file.find('\\', at + 1)) {
        const std::string folder = file.substr(0, at);
        if (!IsFolder(folder) && !CreateDirectoryA(folder.c_str(), nullptr) && !IsFolder(folder)) {
            return false;
        }
    }
    *path = file;
    return true;
}
