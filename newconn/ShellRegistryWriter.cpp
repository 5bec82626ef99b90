// Registry writes for the default connection.
#include "newconn/ShellRegistryWriter.h"

#include <windows.h>

RegistryKey ShellRegistryWriter::OpenKeyForWriting(RegistryRoot root, const char* path) {
    HKEY key = nullptr;
    const HKEY base = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (RegOpenKeyExA(base, path, 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
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
