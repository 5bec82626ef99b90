// One phonebook entry's properties as the dial-up library hands them over: the RASENTRYA
// of the structure version this Windows speaks, followed by the entry's alternate numbers,
// in one buffer that is written back whole, and on the 9x family the entry's device
// settings. The one probe-and-read of an entry, shared by the creation's look-up of the entry
// it replaces, the migration's examination and the journal.
#pragma once

#include <string>
#include <vector>

#include "dialup/DialupApi.h"
#include "dialup/OsClass.h"

// Larger reported sizes are taken as a fault of the phonebook.
constexpr RasDword kMaxEntrySize = 64 * 1024;

struct EntryRecord {
    // The structure, then whatever follows it (the alternate-number list that
    // dwAlternateOffset points into); never smaller than sizeof(RASENTRYA), zero-filled
    // beyond what the library wrote.
    std::vector<RASENTRYA> buffer;
    RasDword bufferSize = 0;     // bytes the library asked for: the entry's own size probe
    RasDword structureSize = 0;  // dwSize: the structure version
    std::string phonebook;       // where the entry was read; empty: the default phonebook
    // The 9x family keeps the modem's settings with the entry (opaque TAPI data) and drops
    // them at a write that does not hand them back: read with the properties there
    // (`withDeviceInfo`), written back with them. Empty elsewhere.
    std::vector<unsigned char> deviceInfo;
    bool withDeviceInfo = false;

    RASENTRYA* Entry() { return buffer.empty() ? nullptr : buffer.data(); }
    const RASENTRYA* Entry() const { return buffer.empty() ? nullptr : buffer.data(); }
    void Release();
};

// The RASENTRYA size this Windows speaks: the size reported for the default entry ("", no
// buffer; result 0 or 603), cut to sizeof(RASENTRYA), the newest form the program knows
// (later versions accept the older sizes). 0 with the size, or the failure's number: the
// probe's own result, 632 for a reported size of 0, 120 without the operation.
RasDword ProbeStructureSize(const DialupApi& api, RasDword* structureSize);

// Reads entry `name` of `phonebook` (null or "": the default phonebook): the structure size,
// the entry's own size probe (0 or 603) for the buffer, then the read with that buffer size;
// on the 9x family (`osClass` 6 or less) the device settings with them. Returns 0 with
// `record` filled (dwSize set to the structure size), 623 when there is no such entry, at
// the probe or at the read (it went in between), or the failure's number (632 for a probe
// of 0 or more than kMaxEntrySize bytes, or device settings of more, 13 for a read that left
// the record unfilled: no device type and no framing protocol); `record` is then released.
RasDword ReadEntryRecord(const DialupApi& api, OsClass osClass, const char* phonebook,
                         const char* name, EntryRecord* record);

// Writes the whole record (structure and alternate numbers, and the device settings it
// holds) under `name` in the record's phonebook, stating its buffer size. 0 or the
// phonebook's error number (120 without the operation).
RasDword WriteEntryRecord(const DialupApi& api, const char* name, EntryRecord& record);

// After a write of entry `name` reported failure (it may have applied the change all the
// same): reads the entry back and, unless it still holds exactly `asRead` (device settings
// included), writes `asRead` back whole. 0 when the entry is as read again; else the failure's
// number.
RasDword PutBackEntryRecord(const DialupApi& api, const char* name, EntryRecord& asRead);

// After a write that was to create entry `name` in `phonebook` reported failure: deletes the
// entry when it is there after all. 0 when there is no such entry again; else the failure's
// number.
RasDword RemoveUnwantedEntry(const DialupApi& api, const char* phonebook, const char* name);

// Entry `name`'s credentials (NT family) as `mask` asks for them: the user's own, or, where
// those hold no user name, the all-users default credentials every user of the entry starts
// from (XP and later; `*defaults` is then true, and a write of them must say so with
// RASCM_DefaultCreds). 0, or the number of the read of the user's own.
RasDword ReadEntryCredentials(const DialupApi& api, const char* phonebook, const char* name,
                              RasDword mask, RASCREDENTIALSA* credentials, bool* defaults);

// The user name saved for entry `name` of `phonebook` (credentials on the NT family, the
// defaults where the user has none of their own; dial parameters on the others): for the
// journal's record, and to learn whether a write of it that reported failure went in all the
// same. 0, or the read's error number (and the name empty). The password is wiped unread.
RasDword ReadSavedUserName(const DialupApi& api, const char* phonebook, const char* name,
                           bool ntFamily, std::string* userName);

// Saves `userName` for entry `name` of `phonebook`, where ReadSavedUserName reads it, and
// nothing else: the saved password stays as the phonebook has it (the 9x family saves both
// together, so there it goes back as just read, or stays removed). The name is read back: 0
// when it is saved, else the failure's number (13 when the write reported success but the
// name did not change, as for an empty name, which a dial-parameter write leaves as it was).
RasDword WriteSavedUserName(const DialupApi& api, const char* phonebook, const char* name,
                            bool ntFamily, const std::string& userName);

// Entry `name`'s dial parameters as saved, with the password as far as this Windows
// reveals it (the 9x family: the password itself), to put back with PutBackDialParams.
// 0, or the failure's number: 120 without the operation, 13 for a success that did not
// say whether a password is saved (nothing was filled in).
RasDword ReadDialParams(const DialupApi& api, const char* phonebook, const char* name,
                        RASDIALPARAMSA* params, bool* passwordSaved);

// The 9x family reveals the saved password, so a refused write of an entry's dial
// parameters can be undone exactly: reads them back and, unless they still hold what
// `asRead` holds (`passwordSaved`: whether a password was saved at all), writes `asRead`
// back, removing the password when none was saved. 0 when they read as `asRead` again;
// else the failure's number (120 when they must be written without the operation, 13 when
// the write did not bring them back, as for an empty user name, which a write never sets).
RasDword PutBackDialParams(const DialupApi& api, const char* phonebook,
                           const RASDIALPARAMSA& asRead, bool passwordSaved);
