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

bool NameInRegistry(RegistryWriter& registry, OsClass osClass, const char* name) {
    const bool machineWide = osClass == 9;
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

bool NameThroughAutodial(const DialupApi& api, const char* name) {
    if (api.RasSetAutodialAddressA == nullptr) {
        return false;
    }
    RASAUTODIALENTRYA entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = kRasAutodialEntrySize;
    CopyField(entry.szEntry, name);
    return api.RasSetAutodialAddressA(nullptr, 0, &entry, sizeof(entry), 1) == 0;
}

}  // namespace

bool MakeDefaultConnection(RegistryWriter& registry, const DialupApi& api, OsClass osClass,
                           const char* entryName) {
    char name[RAS_MaxEntryName + 1];
    CopyField(name, entryName);
    if (!NameInRegistry(registry, osClass, name) && !NameThroughAutodial(api, name)) {
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
