// The registry stand-in as the core's registry.
#include "sim/SimRegistryWriter.h"

#include <cstring>

RegistryKey SimRegistryWriter::Open(RegistryRoot root, const char* path) {
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
