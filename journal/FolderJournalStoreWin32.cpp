// The journal's folder on Windows, and the user's folder for it.
#include <windows.h>

#include <algorithm>

#include "dialup/DialupLibrary.h"
#include "journal/FolderJournalStore.h"

namespace {

typedef BOOL(WINAPI* MoveFileExFn)(const char*, const char*, DWORD);

// Parents that cannot be made (a share's server part, say) are left to the last step.
bool MakeFolders(const std::string& folder) {
    for (size_t at = 0; at < folder.size(); ++at) {
        if (folder[at] == '\\' && at > 0 && folder[at - 1] != ':' && folder[at - 1] != '\\') {
            CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
        }
    }
    const DWORD attributes = CreateDirectoryA(folder.c_str(), nullptr)
                                 ? FILE_ATTRIBUTE_DIRECTORY
                                 : GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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
    char buffer[16384];  // a run file of one change, read in one call
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

std::string JournalFilePath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

// The new file is written and flushed beside the old one as "<name>.new", then put in its
// place: in one step where Windows has one (MoveFileExA, NT family). The 9x family has no
// replacing rename: the old file is renamed "<name>.old", the new one takes its name, and
// the old one is deleted. An end between the renames leaves "<name>.old" and a whole
// "<name>.new", which Read then takes and the next replace first puts in its place; a
// "<name>.new" without "<name>.old" beside it is a write that never finished, and is
// ignored. `steps` (tests) ends the replace after that many of its steps, as an end of
// the process would; -1 runs it whole.
bool ReplaceJournalFileBy(const std::string& folder, const std::string& name,
                          const std::string& bytes, bool renames, int steps) {
    if (folder.empty() || !MakeFolders(folder)) {
        return false;
    }
    const std::string path = JournalFilePath(folder, name);
    const std::string fresh = path + ".new";
    const std::string old = path + ".old";
    auto step = [&steps]() { return steps < 0 || steps-- > 0; };
    // Writing "<name>.new" anew would overwrite what may be the one whole copy.
    if (!Exists(path) && Exists(old) &&
        (!step() || !MoveFileA((Exists(fresh) ? fresh : old).c_str(), path.c_str()))) {
        return false;
    }
    if (!step()) {
        return false;
    }
    if (!WriteFlushed(fresh, bytes)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    const MoveFileExFn move = renames ? nullptr : MoveFileEx();
    if (move != nullptr) {
        if (!step()) {
            return false;
        }
        if (move(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileA(old.c_str());
            return true;
        }
    }
    if (!step()) {
        return false;
    }
    DeleteFileA(old.c_str());
    if (Exists(path) && (!step() || !MoveFileA(path.c_str(), old.c_str()))) {
        return false;
    }
    if (!step() || !MoveFileA(fresh.c_str(), path.c_str())) {
        return false;
    }
    if (step()) {
        DeleteFileA(old.c_str());
    }
    return true;
}

bool ReplaceJournalFile(const std::string& folder, const std::string& name,
                        const std::string& bytes) {
    return ReplaceJournalFileBy(folder, name, bytes, false, -1);
}

bool ReadJournalFile(const std::string& folder, const std::string& name, std::string* bytes) {
    const std::string path = JournalFilePath(folder, name);
    if (Exists(path)) {
        return ReadWhole(path, bytes);
    }
    bytes->clear();
    return Exists(path + ".old") &&
           ReadWhole(Exists(path + ".new") ? path + ".new" : path + ".old", bytes);
}

std::vector<std::string> ListJournalFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    const auto endsWith = [](const std::string& name, const std::string& end) {
        return name.size() > end.size() &&
               name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    do {
        std::string name = found.cFileName;
        // "<name>.old" without "<name>" stands for it (see Replace); listing every name
        // (no suffix) gives each as it is.
        if (!suffix.empty() && endsWith(name, suffix + ".old")) {
            name.resize(name.size() - 4);
            if (Exists(JournalFilePath(folder, name))) {
                continue;
            }
        }
        if (endsWith(name, suffix) && name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveJournalFile(const std::string& folder, const std::string& name) {
    return DeleteFileA(JournalFilePath(folder, name).c_str()) != 0;
}

intptr_t ClaimJournalFile(const std::string& folder, const std::string& name) {
    if (folder.empty() || !MakeFolders(folder)) {
        return -1;
    }
    // Shared with no one: while this process lives, every other open of it fails.
    const HANDLE file =
        CreateFileA(JournalFilePath(folder, name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
}

void ReleaseJournalFile(intptr_t handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool JournalFileHeld(const std::string& folder, const std::string& name) {
    const HANDLE file = CreateFileA(JournalFilePath(folder, name).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_SHARING_VIOLATION;
    }
    CloseHandle(file);
    return false;
}

// The per-user application-data folder (UserAppDataFolder); else, as Windows 98 keeps it
// without user profiles, the Windows folder's "Application Data".
std::string UserJournalFolder() {
    const std::string appData = UserAppDataFolder();
    if (!appData.empty()) {
        return appData + "\\Dialnest\\Journal";
    }
    char path[MAX_PATH + 1] = "";
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
