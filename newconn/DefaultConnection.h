// Making a new entry the system's default Internet connection: two autodial switches and
// the default entry, named through the dial-up library or, where it has no call for it, in
// a registry value whose place depends on the operating-system class; and putting back the
// default connection a creation found.
#pragma once

#include <cstdint>
#include <string>

#include "dialup/DialupApi.h"
#include "dialup/OsClass.h"
#include "journal/JournalRecord.h"

enum class RegistryRoot { CurrentUser, LocalMachine };

typedef void* RegistryKey;  // an open key; null means none

// The registry values the core reads and writes. The shell implements it with the real
// registry; tests fake it. Keys are only ever opened, never created.
class RegistryWriter {
public:
    virtual ~RegistryWriter() = default;

    // Opens the existing key `path` under `root` for reading and writing. Null when the key
    // does not exist or cannot be opened so.
    virtual RegistryKey OpenKeyForWriting(RegistryRoot root, const char* path) = 0;

    // A REG_DWORD value, and a REG_SZ one (code page 932); false when it is not there or of
    // another type.
    virtual bool ReadDword(RegistryKey key, const char* name, uint32_t* data) = 0;
    virtual bool ReadString(RegistryKey key, const char* name, std::string* text) = 0;

    // Removes the value; true also when it was not there.
    virtual bool DeleteValue(RegistryKey key, const char* name) = 0;

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

// The default connection and autodial as they are now, for the journal of a creation that
// is to make a new one: the entry RasGetAutodialAddressA names (XP and later), or where it
// has none to give, the registry value MakeDefaultConnection would write, with where it was
// read; "EnableAutodial" and "NoNetAutodial". `before->recorded` is set.
void ReadDefaultConnection(RegistryWriter& registry, const DialupApi& api, OsClass osClass,
                           DefaultBefore* before);

// What putting back the default connection a creation of `entryName` found does, or did.
enum class DefaultPutBack {
    None,          // the creation did not make its entry the default
    Before,        // the default names the entry it named before the creation again
    Removed,       // no default any more: there was none, or its entry is gone
    ChangedSince,  // the default no longer names `entryName`: left as it is, autodial too
    Failed,        // it could not be put back
};

// Puts back the default connection `before` found (`beforeExists`: its entry is still
// there), in the place it was read, once the creation of `entryName` was undone; with `apply`
// false, only says what it would do. Only while the default there still names `entryName`:
// the default before is named again (through the call as MakeDefaultConnection names it,
// the user's own too where that ranks first; or the registry value), or where there was none
// or its entry is gone, the default naming `entryName` is removed (RasSetAutodialAddressA
// with an empty address, until the one dialled names it no more; or the registry value);
// then "EnableAutodial" and "NoNetAutodial" go back as they were (removed where they were
// not there).
DefaultPutBack PutBackDefaultConnection(RegistryWriter& registry, const DialupApi& api,
                                        const char* entryName, const DefaultBefore& before,
                                        bool beforeExists, bool apply);
