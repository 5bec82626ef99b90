// The registry stand-in as the core's registry.
#include "sim/SimRegistryWriter.h"

#include <cstdlib>
#include <cstring>

RegistryKey SimRegistryWriter::OpenKeyForWriting(RegistryRoot root, const char* path) {
    const SimHive hive =
        root == RegistryRoot::LocalMachine ? SimHive::LocalMachine : SimHive::CurrentUser;
    if (!SimRegistryFileHasKey(hive, path)) {
        return nullptr;
    }
    opened_.push_back(Key{hive, path});
    return &opened_.back();
}

bool SimRegistryWriter::Read(RegistryKey key, const char* name, const char* type,
                             std::string* value) const {
    const Key* place = static_cast<const Key*>(key);
    std::string typed;
    const size_t length = strlen(type);
    if (!ReadSimRegistryFile(place->hive, place->path, name, &typed) ||
        typed.compare(0, length, type) != 0) {
        return false;
    }
    *value = typed.substr(length);
    return true;
}

bool SimRegistryWriter::Write(RegistryKey key, const char* name, const std::string* typed) const {
    const Key* place = static_cast<const Key*>(key);
    return WriteSimRegistryFile(place->hive, place->path, name, typed);
}

bool SimRegistryWriter::ReadDword(RegistryKey key, const char* name, uint32_t* data) {
    std::string text;
    if (!Read(key, name, "dword:", &text)) {
        return false;
    }
    *data = static_cast<uint32_t>(strtoul(text.c_str(), nullptr, 10));
    return true;
}

bool SimRegistryWriter::ReadString(RegistryKey key, const char* name, std::string* text) {
    return Read(key, name, "sz:", text);
}

bool SimRegistryWriter::DeleteValue(RegistryKey key, const char* name) {
    return Write(key, name, nullptr);
}

bool SimRegistryWriter::SetDword(RegistryKey key, const char* name, uint32_t data) {
    const std::string typed = "dword:" + std::to_string(data);
    return Write(key, name, &typed);
}

bool SimRegistryWriter::SetString(RegistryKey key, const char* name, const char* text,
                                  uint32_t byteCount) {
    const std::string typed = "sz:" + std::string(text, byteCount > 0 ? byteCount - 1 : 0);
    return Write(key, name, &typed);
}

void SimRegistryWriter::CloseKey(RegistryKey) {}
