// The default connection's registry values and the file that stands in for the registry.
#include "sim/SimRegistry.h"

#include <vector>

#include "settings/ByteText.h"
#include "sim/PhonebookFile.h"
#include "sim/SimPlatform.h"

const char kSimUserDefaultKey[] = "RemoteAccess";
const char kSimUserDefaultValue[] = "InternetProfile";
const char kSimMachineDefaultKey[] = "SOFTWARE\\Microsoft\\RAS AutoDial\\Default";
const char kSimMachineDefaultValue[] = "DefaultInternet";
const char kSim64BitMachineDefaultKey[] =
    "SOFTWARE\\Dialnest-sim 64-bit view\\Microsoft\\RAS AutoDial\\Default";

bool SimPlaysWow64() {
    std::string wow64;
    return ReadSimEnvironment("RASSIM_WOW64", &wow64) && wow64 == "1";
}

const char* SimMachineDefaultKey() {
    return SimPlaysWow64() ? kSim64BitMachineDefaultKey : kSimMachineDefaultKey;
}

namespace {

struct FileKey {
    std::string name;                                         // "HKLM\path" or "HKCU\path"
    std::vector<std::pair<std::string, std::string>> values;  // name, typed value
};

std::string KeyName(SimHive hive, const std::string& key) {
    return (hive == SimHive::LocalMachine ? "HKLM\\" : "HKCU\\") + key;
}

bool FilePath(std::string* path) {
    return ReadSimEnvironment("RASSIM_REGISTRY", path) && !path->empty();
}

std::vector<FileKey> ParseFile(const std::string& bytes) {
    std::vector<FileKey> keys;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        end = end == std::string::npos ? bytes.size() : end;
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t close = line.rfind(']');
        if (!line.empty() && line[0] == '[' && close != std::string::npos) {
            keys.push_back(FileKey{line.substr(1, close - 1), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (!keys.empty() && equals != std::string::npos && line[0] != ';') {
            keys.back().values.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        }
    }
    return keys;
}

std::string FormatFile(const std::vector<FileKey>& keys) {
    std::string bytes = "; Registry stand-in of the substitute dial-up library\r\n";
    for (const FileKey& key : keys) {
        bytes += "[" + key.name + "]\r\n";
        for (const auto& value : key.values) {
            bytes += value.first + "=" + value.second + "\r\n";
        }
    }
    return bytes;
}

bool ReadFile(std::vector<FileKey>* keys) {
    std::string path;
    std::string bytes;
    if (!FilePath(&path) || ReadSimFile(path, &bytes) == SimReadResult::Failed) {
        return false;
    }
    *keys = ParseFile(bytes);
    return true;
}

FileKey* Find(std::vector<FileKey>& keys, const std::string& name) {
    for (FileKey& key : keys) {
        if (EqualsNoCase(key.name.c_str(), name.c_str())) {
            return &key;
        }
    }
    return nullptr;
}

// Runs `change` on the key (made when missing) and saves the file.
template <typename Change>
bool ChangeFile(SimHive hive, const std::string& keyPath, Change change) {
    std::string path;
    std::vector<FileKey> keys;
    if (!FilePath(&path) || !ReadFile(&keys)) {
        return false;
    }
    FileKey* key = Find(keys, KeyName(hive, keyPath));
    if (key == nullptr) {
        keys.push_back(FileKey{KeyName(hive, keyPath), {}});
        key = &keys.back();
    }
    change(key);
    return ReplaceSimFile(path, FormatFile(keys));
}

}  // namespace

bool ReadSimRegistryFile(SimHive hive, const std::string& key, const std::string& name,
                         std::string* typed) {
    std::vector<FileKey> keys;
    const FileKey* found = ReadFile(&keys) ? Find(keys, KeyName(hive, key)) : nullptr;
    if (found == nullptr) {
        return false;
    }
    for (const auto& value : found->values) {
        if (EqualsNoCase(value.first.c_str(), name.c_str())) {
            const bool text = value.second.compare(0, 3, "sz:") == 0;
            *typed = text
                         ? "sz:" + UnescapeSimText(value.second.data() + 3, value.second.size() - 3)
                         : value.second;
            return true;
        }
    }
    return false;
}

bool WriteSimRegistryFile(SimHive hive, const std::string& key, const std::string& name,
                          const std::string* typed) {
    return ChangeFile(hive, key, [&](FileKey* found) {
        auto& values = found->values;
        for (auto value = values.begin(); value != values.end(); ++value) {
            if (EqualsNoCase(value->first.c_str(), name.c_str())) {
                values.erase(value);
                break;
            }
        }
        if (typed == nullptr) {
            return;
        }
        const bool text = typed->compare(0, 3, "sz:") == 0;
        values.emplace_back(
            name, text ? "sz:" + EscapeSimText(typed->c_str() + 3, SimTextPlace::Value) : *typed);
    });
}

bool SimRegistryFileHasKey(SimHive hive, const std::string& key) {
    std::vector<FileKey> keys;
    return ReadFile(&keys) && Find(keys, KeyName(hive, key)) != nullptr;
}

bool AddSimRegistryFileKey(SimHive hive, const std::string& key) {
    return ChangeFile(hive, key, [](FileKey*) {});
}
