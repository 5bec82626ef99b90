// The default-connection values in the real registry: existing keys only.
#pragma once

#include "newconn/DefaultConnection.h"

class ShellRegistryWriter : public RegistryWriter {
public:
    RegistryKey OpenKeyForWriting(RegistryRoot root, const char* path) override;
    bool ReadDword(RegistryKey key, const char* name, uint32_t* data) override;
    bool ReadString(RegistryKey key, const char* name, std::string* text) override;
    bool DeleteValue(RegistryKey key, const char* name) override;
    bool SetDword(RegistryKey key, const char* name, uint32_t data) override;
    bool SetString(RegistryKey key, const char* name, const char* text,
                   uint32_t byteCount) override;
    void CloseKey(RegistryKey key) override;
};
