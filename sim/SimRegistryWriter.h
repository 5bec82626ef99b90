// The core's registry over the substitute's stand-in (RASSIM_REGISTRY), where there is no
// Windows registry: the one its dial-up calls read, for the kit tool's restore and the unit
// tests. On Windows the programs use the registry itself (ShellRegistryWriter).
#pragma once

#include <cstdlib>
#include <deque>
#include <string>

#include "newconn/DefaultConnection.h"
#include "sim/SimRegistry.h"

// Its overrides are written here, as FolderJournalStore's are: the library is built without
// run-time type information, and tests built with it derive from and check its classes.
class SimRegistryWriter : public RegistryWriter {
public:
    RegistryKey OpenKeyForWriting(RegistryRoot root, const char* path) override {
        return Open(root, path);
    }
    bool ReadDword(RegistryKey key, const char* name, uint32_t* data) override {
        std::string text;
        if (!Read(key, name, "dword:", &text)) {
            return false;
        }
        *data = static_cast<uint32_t>(strtoul(text.c_str(), nullptr, 10));
        return true;
    }
    bool ReadString(RegistryKey key, const char* name, std::string* text) override {
        return Read(key, name, "sz:", text);
    }
    bool DeleteValue(RegistryKey key, const char* name) override {
        return Write(key, name, nullptr);
    }
    bool SetDword(RegistryKey key, const char* name, uint32_t data) override {
        const std::string typed = "dword:" + std::to_string(data);
        return Write(key, name, &typed);
    }
    bool SetString(RegistryKey key, const char* name, const char* text,
                   uint32_t byteCount) override {
        const std::string typed = "sz:" + std::string(text, byteCount > 0 ? byteCount - 1 : 0);
        return Write(key, name, &typed);
    }
    void CloseKey(RegistryKey) override {}

private:
    struct Key {
        SimHive hive;
        std::string path;
    };
    RegistryKey Open(RegistryRoot root, const char* path);
    // The value of `name` when it is of `type` ("sz:", "dword:"), without that mark.
    bool Read(RegistryKey key, const char* name, const char* type, std::string* value) const;
    bool Write(RegistryKey key, const char* name, const std::string* typed) const;

    std::deque<Key> opened_;  // handed out as handles; a deque keeps them in place
};
