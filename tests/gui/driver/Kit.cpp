// Provider kits and Wine-side settings for GUI tests.
#include "driver/Kit.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "driver/GuiDriver.h"

namespace {

std::wstring W(const std::string& utf8) {
    return FromUtf8(utf8);
}

std::string TempFolder() {
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    return ToUtf8(path);
}

bool CopyOver(const std::string& from, const std::string& to) {
    return CopyFileW(W(from).c_str(), W(to).c_str(), FALSE) != FALSE;
}

}  // namespace

std::string BuildFolder() {
    char value[MAX_PATH] = {};
    if (GetEnvironmentVariableA("DIALNEST_BUILD", value, sizeof(value)) > 0) {
        return value;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string path = ToUtf8(self);
    // tests\gui\dialnest_gui_tests.exe lies two folders below the build folder.
    for (int i = 0; i < 3; ++i) path = path.substr(0, path.find_last_of('\\'));
    return path;
}

std::string SourcePath(const std::string& relative) {
    std::string path = std::string("Z:") + DIALNEST_SOURCE_DIR + "/" + relative;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

Kit::Kit(const std::string& subfolder) {
    static int serial = 0;
    root_ = TempFolder() + "dialnest-gui-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    CreateDirectoryW(W(root_).c_str(), nullptr);
    folder_ = root_;
    for (size_t at = 0; at < subfolder.size();) {
        const size_t end = std::min(subfolder.find('\\', at), subfolder.size());
        folder_ += "\\" + subfolder.substr(at, end - at);
        CreateDirectoryW(W(folder_).c_str(), nullptr);
        at = end + 1;
    }
    CopyOver(BuildFolder() + "\\Dialnest.exe", ExePath());
    SetEnvironmentVariableW(L"RASSIM_PHONEBOOK", W(PhonebookPath()).c_str());
    SetEnvironmentVariableW(L"RASSIM_FAIL", nullptr);
}

Kit::~Kit() {
    std::wstring from = W(root_);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

void Kit::WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream out(W(PathTo(name)).c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Kit::CopyIn(const std::string& from, const std::string& name) const {
    return CopyOver(from, PathTo(name));
}

void Kit::CopySampleKit() const {
    const std::string sample = SourcePath("examples/kit");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(W(sample + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            const std::string name = ToUtf8(found.cFileName);
            CopyIn(sample + "\\" + name, name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool Kit::PackSampleKit() const {
    DWORD status = 0;
    RunKitTool("pack \"" + SourcePath("examples/kit") + "\" -o \"" + ExePath() + "\"", &status);
    return status == 0;
}

void Kit::WriteText(const std::string& name, const std::string& utf8) const {
    WriteBytes(name, ToCp932(utf8));
}

std::string Kit::ReadBytes(const std::string& name) const {
    std::ifstream in(W(PathTo(name)).c_str(), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void Kit::Remove(const std::string& name) const {
    DeleteFileW(W(PathTo(name)).c_str());
}

std::string Kit::ReadPhonebook() const {
    return FromCp932(ReadBytes("phonebook.ini"));
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
    char old[4096];
    const DWORD n = GetEnvironmentVariableA(name, old, sizeof(old));
    hadOld_ = n > 0 && n < sizeof(old);
    if (hadOld_)
        old_ = old;
    SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableA(name_.c_str(), hadOld_ ? old_.c_str() : nullptr);
}

ScopedSystemLibrary::ScopedSystemLibrary(const std::string& dllPath) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    target_ = ToUtf8(system) + "\\rasapi32.dll";
    backup_ = target_ + ".dialnest-test";
    MoveFileExW(W(target_).c_str(), W(backup_).c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!dllPath.empty())
        CopyOver(dllPath, target_);
}

ScopedSystemLibrary::~ScopedSystemLibrary() {
    DeleteFileW(W(target_).c_str());
    MoveFileExW(W(backup_).c_str(), W(target_).c_str(), MOVEFILE_REPLACE_EXISTING);
}

namespace {
const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\Dialnest.exe";
}

ScopedWindowsVersion::ScopedWindowsVersion(const char* version) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>(strlen(version) + 1));
        RegCloseKey(key);
    }
}

ScopedWindowsVersion::~ScopedWindowsVersion() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kAppDefaults);
}

namespace {
const char kDesktop[] = "Control Panel\\Desktop";
}

ScopedLogPixels::ScopedLogPixels(DWORD dpi) {
    DWORD size = sizeof(old_);
    hadOld_ = RegGetValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", RRF_RT_REG_DWORD, nullptr,
                           &old_, &size) == ERROR_SUCCESS;
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &dpi, sizeof(dpi));
}

ScopedLogPixels::~ScopedLogPixels() {
    if (hadOld_) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &old_, sizeof(old_));
    } else {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels");
    }
}

namespace {
const char kAppOverrides[] = "Software\\Wine\\AppDefaults\\Dialnest.exe\\DllOverrides";
}

ScopedDllOverride::ScopedDllOverride(const char* dll, const char* loadOrder) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kAppOverrides, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(loadOrder),
                       static_cast<DWORD>(strlen(loadOrder) + 1));
        RegCloseKey(key);
    }
}

ScopedDllOverride::~ScopedDllOverride() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kAppOverrides);
}

bool ReadRegistryString(HKEY root, const char* key, const char* value, std::string* out) {
    char data[1024] = {};
    DWORD size = sizeof(data) - 1;
    DWORD type = 0;
    if (RegGetValueA(root, key, value, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return false;
    }
    *out = FromCp932(std::string(data, size > 0 ? size - 1 : 0));
    return true;
}

bool ReadRegistryDword(HKEY root, const char* key, const char* value, DWORD* out) {
    DWORD size = sizeof(*out);
    DWORD type = 0;
    return RegGetValueA(root, key, value, RRF_RT_ANY, &type, out, &size) == ERROR_SUCCESS &&
           type == REG_DWORD;
}

void WriteRegistryString(HKEY root, const char* key, const char* value, const std::string& utf8) {
    const std::string text = ToCp932(utf8);
    RegSetKeyValueA(root, key, value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void DeleteRegistryValue(HKEY root, const char* key, const char* value) {
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_WRITE, &handle) == ERROR_SUCCESS) {
        RegDeleteValueA(handle, value);
        RegCloseKey(handle);
    }
}

void EnsureRegistryKey(HKEY root, const char* key) {
    HKEY handle;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) ==
        ERROR_SUCCESS) {
        RegCloseKey(handle);
    }
}

void DeleteRegistryKey(HKEY root, const char* key) {
    RegDeleteKeyA(root, key);
}

std::string RunKitTool(const std::string& arguments, DWORD* status) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring outPath = std::wstring(temp) + L"dialnest-kit-output.txt";
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                             &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    std::wstring command =
        FromUtf8("\"" + BuildFolder() + "\\kit\\dialnest-kit.exe\" " + arguments);
    PROCESS_INFORMATION process = {};
    *status = 99;
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::string text;
    SetFilePointer(out, 0, nullptr, FILE_BEGIN);
    char block[4096];
    DWORD n = 0;
    while (ReadFile(out, block, sizeof(block), &n, nullptr) && n > 0) text.append(block, n);
    CloseHandle(out);
    DeleteFileW(outPath.c_str());
    return text;
}

std::string UnixPathOf(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* unix = toUnix != nullptr ? toUnix(W(windowsPath).c_str()) : nullptr;
    const std::string path = unix != nullptr ? unix : "";
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

std::string RunNativeKitTool(const std::vector<std::string>& arguments, DWORD* status) {
    // Wine starts a Unix program but hands it no pipe and learns no exit status of it: its
    // shell writes both into files, the status last.
    const std::string out = TempFolder() + "dialnest-native-kit";
    const auto quoted = [](const std::string& text) {
        std::string q = "'";
        for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    std::string line = "env -i";
    size_t at = 0;  // leading NAME=VALUE words are the program's environment
    for (; at < arguments.size() && arguments[at][0] != '-' &&
           arguments[at].find('=') != std::string::npos;
         ++at)
        line += " " + quoted(arguments[at]);
    line += " " + quoted(DIALNEST_SOURCE_DIR "/build/native/kit/dialnest-kit");
    for (; at < arguments.size(); ++at) line += " " + quoted(arguments[at]);
    const std::string to = quoted(UnixPathOf(out));
    DeleteFileW(W(out + ".status").c_str());
    std::ofstream(W(out + ".sh").c_str(), std::ios::binary)
        << line << " >" << to << " 2>&1; echo $? >" << to << ".part && mv " << to << ".part " << to
        << ".status\n";
    std::wstring command = W("Z:\\bin\\sh " + UnixPathOf(out + ".sh"));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (int i = 0;
         i < 300 && GetFileAttributesW(W(out + ".status").c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    *status = 99;
    std::ifstream(W(out + ".status").c_str()) >> *status;
    std::ostringstream said;
    said << std::ifstream(W(out).c_str(), std::ios::binary).rdbuf();
    return said.str();
}
