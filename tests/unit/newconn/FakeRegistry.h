// A registry for the default-connection tests: only the listed keys exist; every write is
// recorded as "<root>\<key>:<value>=<type>:<data>".
#pragma once

#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "newconn/DefaultConnection.h"

class FakeRegistry : public RegistryWriter {
public:
    std::set<std::pair<RegistryRoot, std::string>> existingKeys;
    std::vector<std::string> writes;
    int openKeys = 0;           // opened and not yet closed
    bool refuseWrites = false;  // every value write fails, as under a key without write access

    void AddKey(RegistryRoot root, const char* path) { existingKeys.insert({root, path}); }

    RegistryKey OpenKeyForWriting(RegistryRoot root, const char* path) override {
        if (existingKeys.count({root, path}) == 0) {
            return nullptr;
        }
        opened_.push_back({root, path});
        ++openKeys;
        return &opened_.back();
    }

    // Nothing is there before the test's writes, and reads never see them.
    bool ReadDword(RegistryKey, const char*, uint32_t*) override { return false; }
    bool ReadString(RegistryKey, const char*, std::string*) override { return false; }

    bool DeleteValue(RegistryKey key, const char* name) override {
        if (refuseWrites) {
            return false;
        }
        writes.push_back(Where(key) + ":" + name + " deleted");
        return true;
    }

    bool SetDword(RegistryKey key, const char* name, uint32_t data) override {
        if (refuseWrites) {
            return false;
        }
        writes.push_back(Where(key) + ":" + name + "=dword:" + std::to_string(data));
        return true;
    }

    bool SetString(RegistryKey key, const char* name, const char* text,
                   uint32_t byteCount) override {
        if (refuseWrites) {
            return false;
        }
        // Exactly the bytes the registry would store, the terminating zero included.
        writes.push_back(Where(key) + ":" + name + "=sz:" + std::string(text, byteCount));
        return true;
    }

    void CloseKey(RegistryKey) override { --openKeys; }

private:
    struct Open {
        RegistryRoot root;
        std::string path;
    };

    static std::string Where(RegistryKey key) {
        const Open* open = static_cast<const Open*>(key);
        return std::string(open->root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\") +
               open->path;
    }

    std::deque<Open> opened_;  // a deque keeps handed-out handles valid
};
