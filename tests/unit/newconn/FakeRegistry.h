// A registry for the default-connection tests: only the listed keys exist; every write is
// recorded as "<root>\<key>:<value>=<type>:<data>" and, with `intoSim`, also made in the
// substitute's registry, where its dial-up calls read it.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "newconn/DefaultConnection.h"
#include "sim/SimRegistry.h"

class FakeRegistry : public RegistryWriter {
public:
    std::set<std::pair<RegistryRoot, std::string>> existingKeys;
    std::vector<std::string> writes;
    int openKeys = 0;           // opened and not yet closed
    bool refuseWrites = false;  // every value write fails, as under a key without write access
    bool intoSim = false;

    void AddKey(RegistryRoot root, const char* path) { existingKeys.insert({root, path}); }

    RegistryKey OpenKeyForWriting(RegistryRoot root, const char* path) override {
        if (existingKeys.count({root, path}) == 0) {
            return nullptr;
        }
        opened_.push_back({root, path});
        ++openKeys;
        return &opened_.back();
    }

    bool ReadDword(RegistryKey key, const char* name, uint32_t* data) override {
        std::string typed;
        if (!Read(key, name, &typed) || typed.compare(0, 6, "dword:") != 0) {
            return false;
        }
        *data = static_cast<uint32_t>(std::stoul(typed.substr(6)));
        return true;
    }

    bool ReadString(RegistryKey key, const char* name, std::string* text) override {
        std::string typed;
        if (!Read(key, name, &typed) || typed.compare(0, 3, "sz:") != 0) {
            return false;
        }
        *text = typed.substr(3);
        return true;
    }

    bool DeleteValue(RegistryKey key, const char* name) override {
        if (refuseWrites) {
            return false;
        }
        writes.push_back(Where(key) + ":" + name + " deleted");
        return Write(key, name, nullptr);
    }

    bool SetDword(RegistryKey key, const char* name, uint32_t data) override {
        if (refuseWrites) {
            return false;
        }
        writes.push_back(Where(key) + ":" + name + "=dword:" + std::to_string(data));
        const std::string typed = "dword:" + std::to_string(data);
        return Write(key, name, &typed);
    }

    bool SetString(RegistryKey key, const char* name, const char* text,
                   uint32_t byteCount) override {
        if (refuseWrites) {
            return false;
        }
        // Exactly the bytes the registry would store, the terminating zero included.
        writes.push_back(Where(key) + ":" + name + "=sz:" + std::string(text, byteCount));
        const std::string typed = "sz:" + std::string(text, byteCount - 1);
        return Write(key, name, &typed);
    }

    void CloseKey(RegistryKey) override { --openKeys; }

private:
    struct Open {
        RegistryRoot root;
        std::string path;
    };

    // The values as set: kept here, or with `intoSim` in the substitute's registry.
    bool Write(RegistryKey key, const char* name, const std::string* typed) {
        const std::string where = Where(key) + ":" + name;
        if (!intoSim) {
            typed != nullptr ? void(values_[where] = *typed) : void(values_.erase(where));
            return true;
        }
        return WriteSimRegistryFile(HiveOf(key), static_cast<const Open*>(key)->path, name, typed);
    }

    bool Read(RegistryKey key, const char* name, std::string* typed) const {
        if (intoSim) {
            return ReadSimRegistryFile(HiveOf(key), static_cast<const Open*>(key)->path, name,
                                       typed);
        }
        const auto found = values_.find(Where(key) + ":" + name);
        if (found == values_.end()) {
            return false;
        }
        *typed = found->second;
        return true;
    }

    static SimHive HiveOf(RegistryKey key) {
        return static_cast<const Open*>(key)->root == RegistryRoot::CurrentUser
                   ? SimHive::CurrentUser
                   : SimHive::LocalMachine;
    }

    static std::string Where(RegistryKey key) {
        const Open* open = static_cast<const Open*>(key);
        return std::string(open->root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\") +
               open->path;
    }

    std::deque<Open> opened_;  // a deque keeps handed-out handles valid
    std::map<std::string, std::string> values_;
};
