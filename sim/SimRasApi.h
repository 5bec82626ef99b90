// The substitute dial-up library: every operation of DIALUP_OPERATIONS with the platform's
// prototype and exported name, working on the substitute phonebook files (PhonebookFile.h).
// Exported undecorated from rasapi32.dll; natively linked into the unit tests.
//
// Common behaviour of every operation:
// - It behaves as the Windows version of CurrentSimWindows() (SimVersion.h): record sizes,
//   required fields, what a saved password reads as, one phonebook or two.
// - RASSIM_FAIL, read at every call, injects faults (SimFaults.h); the calls are counted and,
//   natively, recorded (ResetSimCallRecord).
// - A null phonebook is the all-users one: RASSIM_PHONEBOOK, else the default path
//   (SimPlatform.h). From Windows 2000 on, RASSIM_USER_PHONEBOOK names the user's own, which
//   only enumeration with no phonebook lists and only its own path opens. A file is read anew
//   at every call and replaced atomically at every change. A missing file is an empty
//   phonebook; an unreadable one gives 621, an unwritable one 624, no file name at all 621.
//   RASSIM_RIGHTS=standard refuses changes to the all-users phonebook with 5 from 2000 on.
// - Null required pointers give 610, a dwSize of no structure version the Windows version
//   knows 632 (RasEnumDevicesA: 1784), an unknown entry 623. Entry names compare ignoring the case
//   of A-Z.
// - Text is code page 932 bytes; every copy into a record field is bounded.
#pragma once

#include <string>
#include <vector>

#include "dialup/RasTypes.h"

// Error numbers of the substitute beyond those the program acts on (RasTypes.h).
enum : RasDword {
    kSimErrorAccessDenied = 5,            // ERROR_ACCESS_DENIED
    kSimErrorInvalidHandle = 6,           // ERROR_INVALID_HANDLE
    kSimErrorNotSupported = 50,           // ERROR_NOT_SUPPORTED
    kSimErrorInvalidParameter = 87,       // ERROR_INVALID_PARAMETER
    kSimErrorInvalidName = 123,           // ERROR_INVALID_NAME
    kSimErrorAlreadyExists = 183,         // ERROR_ALREADY_EXISTS
    kSimErrorCannotWritePhonebook = 624,  // ERROR_CANNOT_WRITE_PHONEBOOK
    kSimErrorPortNotAvailable = 633,      // ERROR_PORT_NOT_AVAILABLE
};

enum : RasDword { kSimCredentialsDomain = 0x00000004 };  // RASCM_Domain

// The password that RasGetCredentialsA reports for a saved one, and that RasSetCredentialsA
// takes as "keep the saved password".
extern const char kSimHiddenPassword[];  // sixteen asterisks

// Starts counting every operation's calls afresh (for "Operation#k"); with `recording`,
// also keeps each call's operation name, in order, until the next reset.
void ResetSimCallRecord(bool recording);

// The operations called since the last ResetSimCallRecord(true), in order.
std::vector<std::string> SimCallRecord();

extern "C" {

// Devices of the all-users phonebook file in file order (152 bytes each). Null buffer or too
// small a stated size: 603 with the needed bytes and the count. On success *bytes is the
// bytes used. No size or no count pointer: 87.
RasDword RASAPI_CALL RasEnumDevicesA(RASDEVINFOA* devices, RasDword* bytes, RasDword* count);

// Entry names in file order, in records of the caller's dwSize (264, or from 2000 on 532 with
// REN_AllUsers or REN_User and the phonebook's path); with no phonebook, the all-users entries
// and then the user's own. `reserved` must be null (else 50). Sizes as for RasEnumDevicesA;
// with no buffer the records are of the version's newest form.
RasDword RASAPI_CALL RasEnumEntriesA(const char* reserved, const char* phonebook,
                                     RASENTRYNAMEA* entries, RasDword* bytes, RasDword* count);

// The entry's properties (null or "" entry: the default entry) in the structure version of
// dwSize, followed by its alternate numbers (dwAlternateOffset = dwSize when there are any).
// No buffer: 603 and the version's own structure size plus the numbers; a stated size below
// dwSize plus the numbers: 603 and that. From 2000 on guidId is the entry's own id. On 98 the
// entry's device settings go to `deviceInfo` (*deviceInfoSize, when given, becomes their
// size; too small a buffer, or none for settings there are: 603); elsewhere the size is 0.
RasDword RASAPI_CALL RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword* entrySize,
                                            unsigned char* deviceInfo, RasDword* deviceInfoSize);

// Creates the entry, or replaces the properties of the existing one of that name (which
// keeps its stored name, place and credentials; fields past the caller's structure version
// keep theirs). A name RasValidateEntryNameA refuses gives 123. dwSize must
// be a known structure version and `entrySize` at least that (632). The alternate numbers
// given replace the stored ones; a list outside the buffer or without its final NUL gives
// 610. From XP on, an empty number, device name or device type, or a zero framing protocol
// or (when the structure has it) type gives 87. The record's guidId is never taken: from 2000
// on a new entry gets a fresh id, which it keeps. On 98 the device settings given (none: no
// settings) replace the entry's; elsewhere they are ignored.
RasDword RASAPI_CALL RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword entrySize,
                                            unsigned char* deviceInfo, RasDword deviceInfoSize);

// Deletes the entry with its credentials.
RasDword RASAPI_CALL RasDeleteEntryA(const char* phonebook, const char* entry);

// The entry named by params->szEntryName: user name, password and domain; the numbers come
// back empty. The password is the saved one before 2000, kSimHiddenPassword from 2000 on.
// *hasPassword tells whether a password is saved (on 98 an empty one too).
RasDword RASAPI_CALL RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool* hasPassword);

// Saves user name, domain and password of an existing entry; `removePassword` clears the
// password instead. An empty user name leaves user name and password as saved (NT 4 still
// takes the password), an empty domain the domain. From 2000 on, kSimHiddenPassword keeps
// the saved password. On 98 an empty password without `removePassword` is saved as such.
RasDword RASAPI_CALL RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool removePassword);

// The fields that dwMask asks for (dwSize 540): from XP on, with RASCM_DefaultCreds, the
// entry's default credentials (before XP the flag is dropped). A saved password reads as
// kSimHiddenPassword, none as "". dwMask is left as given, except that from XP on
// RASCM_Password is cleared when no password is saved.
RasDword RASAPI_CALL RasGetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials);

// Saves (or, with `clearCredentials`, clears) the fields that dwMask names, from XP on with
// RASCM_DefaultCreds the entry's default credentials: refused (5) for an entry of the user's
// own phonebook and, for a standard user, for an all-users entry; each user's own credentials
// of an all-users entry are theirs to set. A password equal to kSimHiddenPassword keeps the
// saved one. An entry that is not there, or no record: 87.
RasDword RASAPI_CALL RasSetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials, RasBool clearCredentials);

// 0 for a name that may name a new entry of the phonebook, 183 when it already names one, 123
// for a name the documentation refuses (see RasSetEntryPropertiesA).
RasDword RASAPI_CALL RasValidateEntryNameA(const char* phonebook, const char* entry);

// From XP on, with no address, makes the one entry given the default Internet connection:
// the user's own (HKCU "RemoteAccess" "InternetProfile") when the entry is in the user's
// phonebook, else the machine's (HKLM "SOFTWARE\Microsoft\RAS AutoDial\Default"
// "DefaultInternet", in the 64-bit view under RASSIM_WOW64; a standard user: 5). With ""
// and an empty name it removes the default that RasGetAutodialAddressA reads. The entry must
// exist (623), the record be of 272 bytes (632). Before XP a null address gives 87; other
// addresses are not kept (50); on 98 there is no such operation (120).
RasDword RASAPI_CALL RasSetAutodialAddressA(const char* address, RasDword reserved,
                                            RASAUTODIALENTRYA* entries, RasDword bytes,
                                            RasDword count);

// From XP on, with no address, the default Internet connection: the user's own when set,
// else the machine's; none gives 0 with no bytes and no entries. Sizes as for the
// enumerations. Before XP a null address gives 87.
RasDword RASAPI_CALL RasGetAutodialAddressA(const char* address, RasDword* reserved,
                                            RASAUTODIALENTRYA* entries, RasDword* bytes,
                                            RasDword* count);

// Never dials: 633, and *connection (when given) null.
RasDword RASAPI_CALL RasDialA(void* extensions, const char* phonebook, RASDIALPARAMSA* params,
                              RasDword notifierType, void* notifier, void** connection);

// There is never a connection: 6.
RasDword RASAPI_CALL RasHangUpA(void* connection);

}  // extern "C"
