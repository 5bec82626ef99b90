// Making a new entry the system's default Internet connection: two autodial switches and
// the default-entry value, whose place depends on the operating-system class.
#pragma once

#include <cstdint>

#include "dialup/DialupApi.h"
#include "dialup/OsClass.h"

enum class RegistryRoot { CurrentUser, LocalMachine };

typedef void* RegistryKey;  // an open key; null means none

// The registry writes the core needs. The shell implements it with the real registry;
// tests fake it. Keys are only ever opened, never created.
class RegistryWriter {
public:
    virtual ~RegistryWriter() = default;

    // Opens the existing key `path` under `root` for writing. Null when the key does not
    // exist or cannot be opened for writing.
    virtual RegistryKey OpenKeyForWriting(RegistryRoot root, const char* path) = 0;

    // Sets a 4-byte REG_DWORD value. True when written.
    virtual bool SetDword(RegistryKey key, const char* name, uint32_t data) = 0;

    // Sets a REG_SZ value of `byteCount` bytes from `text`; `byteCount` counts the
    // terminating zero. True when written.
    virtual bool SetString(RegistryKey key, const char* name, const char* text,
                           uint32_t byteCount) = 0;

    virtual void CloseKey(RegistryKey key) = 0;
};

extern const char kInternetSettingsKey[];  // HKCU: Software\...\Internet Settings
extern const char kAutodialDefaultKey[];   // HKLM: SOFTWARE\Microsoft\RAS AutoDial\Default
extern const char kRemoteAccessKey[];      // HKCU: RemoteAccess

// Makes `entryName` (code page 932, at most 256 bytes are used) the default connection that
// Windows dials. From XP on through the call Windows documents for it: RasSetAutodialAddressA
// with no address (the user's own default for an entry of the user's phonebook, the
// machine's for an all-users one), read back with RasGetAutodialAddressA; where the user's own
// default still names another entry, that one ranks first, so the entry is named the user's
// default too ("InternetProfile" in the per-user "RemoteAccess" key) and read back again.
// Where the call has no default connection (9x, where it is missing; NT 4 and 2000, which
// refuse a null address with 87), or is not bound: "DefaultInternet" in the machine-wide
// autodial key on class 9, "InternetProfile" in the per-user "RemoteAccess" key on every
// other class. Only when the entry is the default does it switch autodial on
// ("EnableAutodial" 1, "NoNetAutodial" 0 under the per-user Internet settings; a missing key is
// skipped). True when the entry was made the default connection; false, with autodial left as
// it was, otherwise.
// The program runs as invoked: it asks for no elevation, since an elevated run may belong to
// another account, whose per-user settings and phonebook are not the subscriber's.
bool MakeDefaultConnection(RegistryWriter& registry, const DialupApi& api, OsClass osClass,
                           const char* entryName);
