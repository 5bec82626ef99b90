// Default-connection registry values.
#include "newconn/DefaultConnection.h"

#include <cstring>

#include "dialup/RasTypes.h"
#include "settings/ByteText.h"

const char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kAutodialDefaultKey[] = "SOFTWARE\\Microsoft\\RAS AutoDial\\Default";
const char kRemoteAccessKey[] = "RemoteAccess";

namespace {

// One of the registry values that name the default before XP: the machine's on class 9,
// the user's otherwise.
RegistryKey OpenDefaultKey(RegistryWriter& registry, bool machineWide) {
    return machineWide ? registry.OpenKeyForWriting(RegistryRoot::LocalMachine, kAutodialDefaultKey)
                       : registry.OpenKeyForWriting(RegistryRoot::CurrentUser, kRemoteAccessKey);
}

const char* DefaultValueName(bool machineWide) {
    return machineWide ? "DefaultInternet" : "InternetProfile";
}

bool NameInRegistry(RegistryWriter& registry, bool machineWide, const char* name) {
    RegistryKey target = OpenDefaultKey(registry, machineWide);
    if (target == nullptr) {
        return false;
    }
    const bool named = registry.SetString(target, DefaultValueName(machineWide), name,
                                          static_cast<uint32_t>(strlen(name) + 1));
    registry.CloseKey(target);
    return named;
}

// RasSetAutodialAddressA for the default connection: `address` null names `name` the
// default, "" with an empty name removes it.
RasDword SetThroughAutodial(const DialupApi& api, const char* address, const char* name) {
    if (api.RasSetAutodialAddressA == nullptr) {
        return kMissingOperation;
    }
    RASAUTODIALENTRYA entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = kRasAutodialEntrySize;
    CopyField(entry.szEntry, name);
    return api.RasSetAutodialAddressA(address, 0, &entry, sizeof(entry), 1);
}

// The default connection Windows dials, as RasGetAutodialAddressA names it ("": none). 0, or
// the call's error: kMissingOperation without it, 87 before XP, which has no default.
RasDword ReadDialledDefault(const DialupApi& api, std::string* name) {
    name->clear();
    if (api.RasGetAutodialAddressA == nullptr) {
        return kMissingOperation;
    }
    RASAUTODIALENTRYA entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = kRasAutodialEntrySize;
    RasDword bytes = sizeof(entry);
    RasDword count = 0;
    const RasDword read = api.RasGetAutodialAddressA(nullptr, nullptr, &entry, &bytes, &count);
    if (read == 0 && count == 1) {
        char named[RAS_MaxEntryName + 1];
        CopyField(named, entry.szEntry);
        *name = named;
    }
    return read;
}

// Whether the default connection Windows dials is `name`. Without the read-back call, what
// the setting call said (`set`); a read that fails tells nothing, so it is not.
bool DialsEntry(const DialupApi& api, const char* name, bool set) {
    std::string dialled;
    const RasDword read = ReadDialledDefault(api, &dialled);
    return read == kMissingOperation ? set : read == 0 && EqualsNoCase(dialled.c_str(), name);
}

// After RasSetAutodialAddressA answered `set`: true when Windows dials `name`; where the
// user's own default still names another entry, which ranks above the machine's that the call
// set, after naming it the user's default too.
bool NamedThroughCall(RegistryWriter& registry, const DialupApi& api, const char* name,
                      RasDword set) {
    return DialsEntry(api, name, set == 0) ||
           (NameInRegistry(registry, false, name) && DialsEntry(api, name, true));
}

// The default as MakeDefaultConnection names it, without autodial: true when Windows dials
// `name` afterwards (or, where it cannot say, the value naming it was written).
bool NameDefault(RegistryWriter& registry, const DialupApi& api, OsClass osClass,
                 const char* name) {
    const RasDword set =
        IsNtFamily(osClass) ? SetThroughAutodial(api, nullptr, name) : kMissingOperation;
    if (set == kMissingOperation || set == ERROR_INVALID_PARAMETER_) {
        return NameInRegistry(registry, osClass == 9, name);
    }
    return NamedThroughCall(registry, api, name, set);
}

// The default as `place` keeps it now ("": none).
void DefaultAt(RegistryWriter& registry, const DialupApi& api, DefaultPlace place,
               std::string* name) {
    name->clear();
    if (place == DefaultPlace::Call) {
        ReadDialledDefault(api, name);
        return;
    }
    const bool machineWide = place == DefaultPlace::MachineValue;
    RegistryKey key = OpenDefaultKey(registry, machineWide);
    if (key != nullptr) {
        registry.ReadString(key, DefaultValueName(machineWide), name);
        registry.CloseKey(key);
    }
}

// Removes the default naming `name` from `place`: through the call, which removes the one
// dialled (the user's own first), or the registry value.
bool RemoveDefault(RegistryWriter& registry, const DialupApi& api, DefaultPlace place,
                   const char* name) {
    if (place == DefaultPlace::Call) {
        std::string dialled = name;
        for (int tries = 0; tries < 2 && EqualsNoCase(dialled.c_str(), name); ++tries) {
            if (SetThroughAutodial(api, "", "") != 0 || ReadDialledDefault(api, &dialled) != 0) {
                return false;
            }
        }
        return !EqualsNoCase(dialled.c_str(), name);
    }
    const bool machineWide = place == DefaultPlace::MachineValue;
    RegistryKey key = OpenDefaultKey(registry, machineWide);
    if (key == nullptr) {
        return false;
    }
    const bool removed = registry.DeleteValue(key, DefaultValueName(machineWide));
    registry.CloseKey(key);
    return removed;
}

// "EnableAutodial" and "NoNetAutodial" set, or removed where below 0.
void SetAutodial(RegistryWriter& registry, int64_t enable, int64_t noNet) {
    RegistryKey settings =
        registry.OpenKeyForWriting(RegistryRoot::CurrentUser, kInternetSettingsKey);
    if (settings == nullptr) {
        return;
    }
    const char* names[] = {"EnableAutodial", "NoNetAutodial"};
    const int64_t values[] = {enable, noNet};
    for (int i = 0; i < 2; ++i) {
        if (values[i] < 0) {
            registry.DeleteValue(settings, names[i]);
        } else {
            registry.SetDword(settings, names[i], static_cast<uint32_t>(values[i]));
        }
    }
    registry.CloseKey(settings);
}

}  // namespace

bool MakeDefaultConnection(RegistryWriter& registry, const DialupApi& api, OsClass osClass,
                           const char* entryName) {
    char name[RAS_MaxEntryName + 1];
    CopyField(name, entryName);
    if (!NameDefault(registry, api, osClass, name)) {
        return false;
    }
    // Autodial dials the default connection; with the old default still named it would dial
    // that one, so it is switched on only once the new entry is the default.
    SetAutodial(registry, 1, 0);
    return true;
}

void ReadDefaultConnection(RegistryWriter& registry, const DialupApi& api, OsClass osClass,
                           DefaultBefore* before) {
    *before = DefaultBefore();
    before->recorded = true;
    // Where RasGetAutodialAddressA names nothing (before XP), the value the creation writes.
    before->place = ReadDialledDefault(api, &before->dialled) == 0 ? DefaultPlace::Call
                    : osClass == 9                                 ? DefaultPlace::MachineValue
                                                                   : DefaultPlace::UserValue;
    DefaultAt(registry, api, before->place, &before->dialled);
    RegistryKey settings =
        registry.OpenKeyForWriting(RegistryRoot::CurrentUser, kInternetSettingsKey);
    if (settings != nullptr) {
        uint32_t value = 0;
        if (registry.ReadDword(settings, "EnableAutodial", &value)) {
            before->enableAutodial = value;
        }
        if (registry.ReadDword(settings, "NoNetAutodial", &value)) {
            before->noNetAutodial = value;
        }
        registry.CloseKey(settings);
    }
}

DefaultPutBack PutBackDefaultConnection(RegistryWriter& registry, const DialupApi& api,
                                        const char* entryName, const DefaultBefore& before,
                                        bool beforeExists, bool apply) {
    if (!before.recorded) {
        return DefaultPutBack::None;
    }
    std::string now;
    DefaultAt(registry, api, before.place, &now);
    if (!EqualsNoCase(now.c_str(), entryName)) {
        return DefaultPutBack::ChangedSince;
    }
    const bool back = !before.dialled.empty() && beforeExists;
    const DefaultPutBack outcome = back ? DefaultPutBack::Before : DefaultPutBack::Removed;
    if (!apply) {
        return outcome;
    }
    const char* dialled = before.dialled.c_str();
    const bool done =
        !back ? RemoveDefault(registry, api, before.place, entryName)
        : before.place == DefaultPlace::Call
            ? NamedThroughCall(registry, api, dialled, SetThroughAutodial(api, nullptr, dialled))
            : NameInRegistry(registry, before.place == DefaultPlace::MachineValue, dialled);
    if (!done) {
        return DefaultPutBack::Failed;
    }
    SetAutodial(registry, before.enableAutodial, before.noNetAutodial);
    return outcome;
}
