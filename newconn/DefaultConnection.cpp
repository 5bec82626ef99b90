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

// One of the Part's registry values: the machine's default on class 9, the user's otherwise.
bool NameInRegistry(RegistryWriter& registry, bool machineWide, const char* name) {
    RegistryKey target =
        machineWide ? registry.OpenKeyForWriting(RegistryRoot::LocalMachine, kAutodialDefaultKey)
                    : registry.OpenKeyForWriting(RegistryRoot::CurrentUser, kRemoteAccessKey);
    if (target == nullptr) {
        return false;
    }
    const bool named =
        registry.SetString(target, machineWide ? "DefaultInternet" : "InternetProfile", name,
                           static_cast<uint32_t>(strlen(name) + 1));
    registry.CloseKey(target);
    return named;
}

RasDword NameThroughAutodial(const DialupApi& api, const char* name) {
    RASAUTODIALENTRYA entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = kRasAutodialEntrySize;
    CopyField(entry.szEntry, name);
    return api.RasSetAutodialAddressA(nullptr, 0, &entry, sizeof(entry), 1);
}

// Whether the default connection Windows dials is `name`. Without the read-back call, what
// the setting call said (`set`); a read that fails tells nothing, so it is not.
bool DialsEntry(const DialupApi& api, const char* name, bool set) {
    if (api.RasGetAutodialAddressA == nullptr) {
        return set;
    }
    RASAUTODIALENTRYA entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = kRasAutodialEntrySize;
    RasDword bytes = sizeof(entry);
    RasDword count = 0;
    if (api.RasGetAutodialAddressA(nullptr, nullptr, &entry, &bytes, &count) != 0 || count != 1) {
        return false;
    }
    char named[RAS_MaxEntryName + 1];
    CopyField(named, entry.szEntry);
    return EqualsNoCase(named, name);
}

}  // namespace

bool MakeDefaultConnection(RegistryWriter& registry, const DialupApi& api, OsClass osClass,
                           const char* entryName) {
    char name[RAS_MaxEntryName + 1];
    CopyField(name, entryName);
    const RasDword set = IsNtFamily(osClass) && api.RasSetAutodialAddressA != nullptr
                             ? NameThroughAutodial(api, name)
                             : kMissingOperation;
    bool made = false;
    if (set == kMissingOperation || set == ERROR_INVALID_PARAMETER_) {
        made = NameInRegistry(registry, osClass == 9, name);
    } else if (DialsEntry(api, name, set == 0)) {
        made = true;
    } else {
        // The user's own default ranks above the machine's that the call set.
        made = NameInRegistry(registry, false, name) && DialsEntry(api, name, true);
    }
    if (!made) {
        return false;
    }

    // Autodial dials the default connection; with the old default still named it would dial
    // that one, so it is switched on only once the new entry is the default.
    RegistryKey settings =
        registry.OpenKeyForWriting(RegistryRoot::CurrentUser, kInternetSettingsKey);
    if (settings != nullptr) {
        registry.SetDword(settings, "EnableAutodial", 1);
        registry.SetDword(settings, "NoNetAutodial", 0);
        registry.CloseKey(settings);
    }
    return true;
}
