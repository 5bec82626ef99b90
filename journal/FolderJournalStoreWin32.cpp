// The journal's folder on Windows, and the user's folder for it.
#include <windows.h>

#include <algorithm>

#include "dialup/DialupLibrary.h"
#include "journal/FolderJournalStore.h"

namespace {

const int kCsidlAppData = 0x001A;
const int kCsidlFlagCreate = 0x8000;

typedef HRESULT(WINAPI* GetFolderPathFn)(HWND, int, HANDLE, DWORD, char*);
typedef BOOL(WINAPI* GetSpecialFolderPathFn)(HWND, char*, int, BOOL);
typedef BOOL(WINAPI* MoveFileExFn)(const char*, const char*, DWORD);

bool MakeFolders(const std::string& folder) {
    for (size_t at = 3; at <= folder.size(); ++at) {
        if (at == folder.size() || folder[at] == '\\') {
            const std::string part = folder.substr(0, at);
            if (!CreateDirectoryA(part.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                return false;
            }
        }
    }
    return true;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteFlushed(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

bool ReadWhole(const std::string& path, std::string* bytes) {
    bytes->clear();
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char buffer[4096];
    DWORD n = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &n, nullptr) != 0) && n > 0) {
        bytes->append(buffer, n);
    }
    CloseHandle(file);
    return ok;
}

// MoveFileExA exists on the 9x family only as a stub that fails; it is looked up so that a
// program that names it still starts on any version.
MoveFileExFn MoveFileEx() {
    static const MoveFileExFn move = reinterpret_cast<MoveFileExFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "MoveFileExA")));
    return move;
}

}  // namespace

std::string FolderJournalStore::PathOf(const std::string& name) const {
    return folder_ + "\\" + name;
}

// The new file is written and flushed beside the old one as "<name>.new", then put in its
// place: in one step where Windows has one (MoveFileExA, NT family); on the 9x family the
// old file is deleted and the new one renamed, and Read takes a whole "<name>.new" when an
// end between the two left no "<name>".
bool FolderJournalStore::Replace(const std::string& name, const std::string& bytes) {
    if (!MakeFolders(folder_)) {
        return false;
    }
    const std::string path = PathOf(name);
    const std::string fresh = path + ".new";
    if (!WriteFlushed(fresh, bytes)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    const MoveFileExFn move = MoveFileEx();
    if (move != nullptr &&
        move(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    if (Exists(path) && !DeleteFileA(path.c_str())) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    return MoveFileA(fresh.c_str(), path.c_str()) != 0;
}

bool FolderJournalStore::Read(const std::string& name, std::string* bytes) const {
    const std::string path = PathOf(name);
    if (Exists(path)) {
        return ReadWhole(path, bytes);
    }
    // Only a replace ended between its delete and its rename leaves this file alone; it
    // was flushed whole before the delete.
    return ReadWhole(path + ".new", bytes);
}

std::vector<std::string> FolderJournalStore::List(const std::string& suffix) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = found.cFileName;
        // "<name>.new" alone stands for "<name>" (see Replace).
        const std::string newSuffix = suffix + ".new";
        if (name.size() > newSuffix.size() &&
            name.compare(name.size() - newSuffix.size(), newSuffix.size(), newSuffix) == 0) {
            name.resize(name.size() - 4);
            if (Exists(PathOf(name))) {
                continue;
            }
        }
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool FolderJournalStore::Remove(const std::string& name) {
    DeleteFileA((PathOf(name) + ".new").c_str());
    return DeleteFileA(PathOf(name).c_str()) != 0;
}

// The per-user application-data folder: SHGetFolderPathA (2000 and later, Me), else
// SHGetSpecialFolderPathA (the shell of Windows 98 and of 95 with the desktop update),
// both looked up at run time; else, as Windows 98 keeps it without user profiles, the
// Windows folder's "Application Data".
std::string UserJournalFolder() {
    char path[MAX_PATH + 1] = "";
    bool found = false;
    if (HMODULE shell = LoadSystemLibrary("SHELL32.DLL")) {
        const GetFolderPathFn getFolder = reinterpret_cast<GetFolderPathFn>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
        const GetSpecialFolderPathFn getSpecial = reinterpret_cast<GetSpecialFolderPathFn>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSpecialFolderPathA")));
        if (getFolder != nullptr) {
            found =
                SUCCEEDED(getFolder(nullptr, kCsidlAppData | kCsidlFlagCreate, nullptr, 0, path));
        }
        if (!found && getSpecial != nullptr) {
            found = getSpecial(nullptr, path, kCsidlAppData, TRUE) != 0;
        }
        FreeLibrary(shell);
    }
    if (!found || path[0] == '\0') {
        const UINT n = GetWindowsDirectoryA(path, MAX_PATH - 20);
        if (n == 0 || n >= MAX_PATH - 20) {
            return std::string();
        }
        std::string folder = path;
        if (folder.back() != '\\') {
            folder += '\\';
        }
        return folder + "Application Data\\Dialnest\\Journal";
    }
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder + "\\Dialnest\\Journal";
}
