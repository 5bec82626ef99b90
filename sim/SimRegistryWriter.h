// The core's registry over the substitute's stand-in (RASSIM_REGISTRY), where there is no
// Windows registry: the one its dial-up calls read, for the kit tool's restore and the unit
// tests. On Windows the programs use the registry itself (ShellRegistryWriter).
#pragma once

#include <deque>
#include <string>

#include "newconn/DefaultConnection.h"
#include "sim/SimRegistry.h"

class SimRegistryWriter : public RegistryWriter {
public:
    RegistryKey OpenKeyForWriting(RegistryRoot root, const char* path) override;
    bool ReadDword(RegistryKey key, const char* name, uint32_t* data) override;
    bool ReadString(RegistryKey key, const char* name, std::string* text) override;
    bool DeleteValue(RegistryKey key, const char* name) override;
    bool SetDword(RegistryKey key, const char* name, uint32_t data) override;
    bool SetString(RegistryKey key, const char* name, const char* text,
                   uint32_t byteCount) override;
    void CloseKey(RegistryKey key) override;

private:
    struct Key {
        SimHive hive;
        std::string path;
    };
    bool Read(RegistryKey key, const char* name, const char* type, std::string* value) const;
    bool Write(RegistryKey key, const char* name, const std::string* typed) const;

    std::deque<Key> opened_;  // handed out as handles; a deque keeps them in place
};
