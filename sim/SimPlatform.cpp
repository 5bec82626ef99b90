// The substitute phonebook's system layer: Win32 on Windows, POSIX natively.
#include "sim/SimPlatform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A phonebook beyond this is not ours; refusing it keeps a stray path from eating memory.
const long kMaxFileBytes = 16L * 1024 * 1024;

}  // namespace

SimReadResult ReadSimFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return errno == ENOENT ? SimReadResult::Missing : SimReadResult::Failed;
    }
    char buffer[16384];
    bool ok = true;
    for (;;) {
        const size_t n = fread(buffer, 1, sizeof buffer, file);
        bytes->append(buffer, n);
        if (bytes->size() > static_cast<size_t>(kMaxFileBytes)) {
            ok = false;
            break;
        }
        if (n < sizeof buffer) {
            ok = ferror(file) == 0;
            break;
        }
    }
    fclose(file);
    return ok ? SimReadResult::Read : SimReadResult::Failed;
}

#ifdef _WIN32

bool ReadSimEnvironment(const char* name, std::string* value) {
    // The Win32 call rather than getenv: the C runtime's copy of the environment does not
    // see changes made with SetEnvironmentVariable after start-up. Read as UTF-16 and
    // converted here, because Wine's GetEnvironmentVariableA cuts a value that holds
    // double-byte characters to its length in characters (a phonebook in a Japanese folder
    // would then be looked for under a cut path).
    value->clear();
    wchar_t wideName[64];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, 64) == 0) {
        return false;
    }
    const DWORD size = GetEnvironmentVariableW(wideName, nullptr, 0);  // terminator included
    if (size == 0) {
        return false;
    }
    std::wstring wide(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName, &wide[0], size);
    if (length >= size) {
        return false;  // changed in between
    }
    if (length == 0) {
        return true;  // set, but empty
    }
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), nullptr,
                                          0, nullptr, nullptr);
    if (bytes <= 0) {
        return false;
    }
    value->assign(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), &(*value)[0], bytes,
                        nullptr, nullptr);
    return true;
}

bool DefaultSimPhonebookPath(std::string* path) {
    std::string appData;
    if (!ReadSimEnvironment("APPDATA", &appData) || appData.empty()) {
        return false;
    }
    const std::string folder = appData + "\\Dialnest-sim";
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    *path = folder + "\\phonebook.ini";
    return true;
}

bool DefaultSimUserPhonebookPath(std::string* path) {
    std::string appData;
    if (!ReadSimEnvironment("APPDATA", &appData) || appData.empty()) {
        return false;
    }
    *path = appData + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
    return true;
}

namespace {

HKEY RootOf(SimHive hive) {
    return hive == SimHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

bool ReadSimRegistryText(SimHive hive, const char* key, const char* name, std::string* text) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(RootOf(hive), key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return false;
    }
    char data[1024];
    DWORD type = 0;
    DWORD size = sizeof data - 1;
    const LONG read =
        RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (read != ERROR_SUCCESS || type != REG_SZ) {
        return false;
    }
    data[size] = '\0';
    text->assign(data, strnlen(data, size));
    return true;
}

bool WriteSimRegistryText(SimHive hive, const char* key, const char* name,
                          const std::string* text) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(RootOf(hive), key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG written =
        text != nullptr
            ? RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                             static_cast<DWORD>(text->size() + 1))
            : RegDeleteValueA(opened, name);
    RegCloseKey(opened);
    return written == ERROR_SUCCESS || (text == nullptr && written == ERROR_FILE_NOT_FOUND);
}

bool QuerySimSystemVersion(unsigned* major, unsigned* minor, bool* nineX) {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) {
        return false;
    }
    *major = info.dwMajorVersion;
    *minor = info.dwMinorVersion;
    *nineX = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    return true;
}

uint64_t SimUniqueSeed() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const uint64_t clock = static_cast<uint64_t>(time(nullptr)) * 1000 + now.wMilliseconds;
    return (clock << 20) ^ GetCurrentThreadId();
}

void EndSimProcess() {
    ExitProcess(3);
}

#ifdef RASSIM_DLL

namespace {

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// RASSIM_RIGHTS=standard plays a standard user's process: its token has the Administrators
// group deny-only (from Vista on also an administrator's program that is not elevated). The
// thread that loads the library, the program's one thread, gets such a token, so that a
// program asking Windows about its rights is answered as the substitute plays them. Looked
// up, as 9x has none of it.
void PlayStandardUserToken() {
    std::string rights;
    if (!ReadSimEnvironment("RASSIM_RIGHTS", &rights) || rights != "standard") {
        return;
    }
    typedef BOOL(WINAPI * OpenTokenFn)(HANDLE, DWORD, HANDLE*);
    typedef BOOL(WINAPI * AllocateSidFn)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD,
                                         DWORD, DWORD, DWORD, DWORD, DWORD, PSID*);
    typedef BOOL(WINAPI * RestrictFn)(HANDLE, DWORD, DWORD, SID_AND_ATTRIBUTES*, DWORD,
                                      LUID_AND_ATTRIBUTES*, DWORD, SID_AND_ATTRIBUTES*, HANDLE*);
    typedef BOOL(WINAPI * DuplicateFn)(HANDLE, DWORD, SECURITY_ATTRIBUTES*,
                                       SECURITY_IMPERSONATION_LEVEL, TOKEN_TYPE, HANDLE*);
    typedef BOOL(WINAPI * SetThreadTokenFn)(HANDLE*, HANDLE);
    typedef PVOID(WINAPI * FreeSidFn)(PSID);
    HMODULE advapi = GetModuleHandleA("ADVAPI32.DLL");
    if (advapi == nullptr) {
        return;
    }
    const auto openToken = Lookup<OpenTokenFn>(advapi, "OpenProcessToken");
    const auto allocate = Lookup<AllocateSidFn>(advapi, "AllocateAndInitializeSid");
    const auto restrict = Lookup<RestrictFn>(advapi, "CreateRestrictedToken");
    const auto duplicate = Lookup<DuplicateFn>(advapi, "DuplicateTokenEx");
    const auto setThreadToken = Lookup<SetThreadTokenFn>(advapi, "SetThreadToken");
    const auto freeSid = Lookup<FreeSidFn>(advapi, "FreeSid");
    HANDLE process = nullptr;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    SID_AND_ATTRIBUTES administrators = {nullptr, 0};
    if (openToken == nullptr || allocate == nullptr || restrict == nullptr ||
        duplicate == nullptr || setThreadToken == nullptr || freeSid == nullptr ||
        !openToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process)) {
        return;
    }
    HANDLE restricted = nullptr;
    HANDLE impersonation = nullptr;
    if (allocate(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                 &administrators.Sid)&& restrict(process, 0, 1, &administrators, 0, nullptr, 0,
                                                 nullptr, &restricted) &&
        duplicate(restricted, TOKEN_IMPERSONATE | TOKEN_QUERY, nullptr, SecurityImpersonation,
                  TokenImpersonation, &impersonation)) {
        setThreadToken(nullptr, impersonation);
    }
    for (HANDLE token : {process, restricted, impersonation}) {
        if (token != nullptr) {
            CloseHandle(token);
        }
    }
    if (administrators.Sid != nullptr) {
        freeSid(administrators.Sid);
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        PlayStandardUserToken();
    }
    return TRUE;
}

#endif

bool ReplaceSimFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x10000000u ? 0x10000000u : static_cast<DWORD>(left);
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    // A reader (a test driver looking at the file) may hold it open for a moment.
    for (int attempt = 0; ok; ++attempt) {
        if (MoveFileExA(temporary.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            break;
        }
        const DWORD error = GetLastError();
        ok = attempt < 20 && (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION);
        if (ok) {
            Sleep(50);
        }
    }
    if (!ok) {
        DeleteFileA(temporary.c_str());
    }
    return ok;
}

#else

bool ReadSimEnvironment(const char* name, std::string* value) {
    const char* text = getenv(name);
    if (text == nullptr) {
        value->clear();
        return false;
    }
    *value = text;
    return true;
}

bool DefaultSimPhonebookPath(std::string* path) {
    path->clear();
    return false;
}

bool DefaultSimUserPhonebookPath(std::string* path) {
    path->clear();
    return false;
}

bool QuerySimSystemVersion(unsigned* /*major*/, unsigned* /*minor*/, bool* /*nineX*/) {
    return false;
}

bool ReadSimRegistryText(SimHive hive, const char* key, const char* name, std::string* text) {
    std::string typed;
    if (!ReadSimRegistryFile(hive, key, name, &typed) || typed.compare(0, 3, "sz:") != 0) {
        return false;
    }
    *text = typed.substr(3);
    return true;
}

bool WriteSimRegistryText(SimHive hive, const char* key, const char* name,
                          const std::string* text) {
    const std::string typed = text != nullptr ? "sz:" + *text : std::string();
    return WriteSimRegistryFile(hive, key, name, text != nullptr ? &typed : nullptr);
}

uint64_t SimUniqueSeed() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return (static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec)) ^
           (static_cast<uint64_t>(getpid()) << 44);
}

void EndSimProcess() {
    _exit(3);
}

bool ReplaceSimFile(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        if (ok) {
            done += static_cast<size_t>(n);
        }
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

#endif
