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
