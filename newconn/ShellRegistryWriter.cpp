// Registry writes for the default connection.
#include "newconn/ShellRegistryWriter.h"

#include <windows.h>

#include <cstring>

#include "dialup/RasTypes.h"

namespace {

// A 32-bit program on 64-bit Windows: its HKEY_LOCAL_MACHINE\SOFTWARE writes would land in
// the 32-bit view, which Windows does not read for the default connection. IsWow64Process is
// there from XP SP2 on; where it is missing, no 64-bit Windows runs the program.
bool RunsUnderWow64() {
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, BOOL*);
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    const auto isWow64 =
        kernel != nullptr ? reinterpret_cast<IsWow64ProcessFn>(
                                reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
                          : nullptr;
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

RegistryKey ShellRegistryWriter::OpenKeyForWriting(RegistryRoot root, const char* path) {
    HKEY key = nullptr;
    const bool machine = root == RegistryRoot::LocalMachine;
    const REGSAM view = machine && RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
    if (RegOpenKeyExA(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, path, 0,
                      KEY_READ | KEY_WRITE | view, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

bool ShellRegistryWriter::ReadDword(RegistryKey key, const char* name, uint32_t* data) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
        return false;
    }
    *data = value;
    return true;
}

bool ShellRegistryWriter::ReadString(RegistryKey key, const char* name, std::string* text) {
    char data[RAS_MaxEntryName + 2] = {};
    DWORD type = 0;
    DWORD size = sizeof(data) - 1;
    if (RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, &type,
                         reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return false;
    }
    text->assign(data, strnlen(data, size));
    return true;
}

bool ShellRegistryWriter::DeleteValue(RegistryKey key, const char* name) {
    const LONG deleted = RegDeleteValueA(static_cast<HKEY>(key), name);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

bool ShellRegistryWriter::SetDword(RegistryKey key, const char* name, uint32_t data) {
    const DWORD value = data;
    return RegSetValueExA(static_cast<HKEY>(key), name, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool ShellRegistryWriter::SetString(RegistryKey key, const char* name, const char* text,
                                    uint32_t byteCount) {
    return RegSetValueExA(static_cast<HKEY>(key), name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text), byteCount) == ERROR_SUCCESS;
}

void ShellRegistryWriter::CloseKey(RegistryKey key) {
    if (key != nullptr) {
        RegCloseKey(static_cast<HKEY>(key));
    }
}
