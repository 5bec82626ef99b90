// The substitute dial-up library: every operation of DIALUP_OPERATIONS with the platform's
// prototype and exported name, working on the substitute phonebook file (PhonebookFile.h).
// Exported undecorated from rasapi32.dll; natively linked into the unit tests.
//
// Common behaviour of every operation:
// - RASSIM_FAIL ("Operation:number,..."), read at every call, makes a named operation return
//   that number at once without doing anything; "Operation#k:number" fails only the k-th
//   call of that operation since the process started (natively: since ResetSimCallRecord).
// - The phonebook file is the `phonebook` argument when given, else RASSIM_PHONEBOOK, else
//   the default path (SimPlatform.h); it is read anew at every call and replaced atomically
//   at every change. A missing file is an empty phonebook; an unreadable one gives 621, an
//   unwritable one 624, no file name at all 621.
// - Null required pointers give 610, a record whose dwSize is not the one spoken 632, an
//   unknown entry 623. Entry names compare ignoring the case of A-Z.
// - Text is code page 932 bytes; every copy into a record field is bounded.
#pragma once

#include <string>
#include <vector>

#include "dialup/RasTypes.h"

// Error numbers of the substitute beyond those the program acts on (RasTypes.h).
enum : RasDword {
    kSimErrorInvalidHandle = 6,           // ERROR_INVALID_HANDLE
    kSimErrorNotSupported = 50,           // ERROR_NOT_SUPPORTED
    kSimErrorInvalidName = 123,           // ERROR_INVALID_NAME
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

// Devices in file order (152 bytes each). Null buffer or too small a stated size: 603 with
// the needed bytes and the count. On success *bytes is the bytes used.
RasDword RASAPI_CALL RasEnumDevicesA(RASDEVINFOA* devices, RasDword* bytes, RasDword* count);

// Entry names in file order (264 bytes each); `reserved` must be null (else 50). Sizes as
// for RasEnumDevicesA.
RasDword RASAPI_CALL RasEnumEntriesA(const char* reserved, const char* phonebook,
                                     RASENTRYNAMEA* entries, RasDword* bytes, RasDword* count);

// The entry's properties (null or "" entry: the default entry). No buffer or a stated size
// below 2884: 603 and 2884. dwSize must be at least 2884; the first 2884 bytes are filled and
// dwSize is kept. *deviceInfoSize, when given, becomes 0 (no device-specific data).
RasDword RASAPI_CALL RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword* entrySize,
                                            unsigned char* deviceInfo, RasDword* deviceInfoSize);

// Creates the entry, or replaces the properties of the existing one of that name (which
// keeps its stored name, place and credentials). Names of 1 to 256 bytes without control
// bytes; others give 123. Both `entrySize` and dwSize must be at least 2884. Device-specific
// data is ignored.
RasDword RASAPI_CALL RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword entrySize,
                                            unsigned char* deviceInfo, RasDword deviceInfoSize);

// Deletes the entry with its credentials.
RasDword RASAPI_CALL RasDeleteEntryA(const char* phonebook, const char* entry);

// The entry named by params->szEntryName (dwSize 1052): user name, password as stored and
// domain; the numbers come back empty. *hasPassword tells whether a password is saved.
RasDword RASAPI_CALL RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool* hasPassword);

// Saves user name, domain and password of an existing entry; `removePassword` clears the
// password instead.
RasDword RASAPI_CALL RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool removePassword);

// The fields that dwMask asks for (dwSize 540); dwMask is left as given. A saved password
// reads as kSimHiddenPassword, none as "".
RasDword RASAPI_CALL RasGetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials);

// Saves (or, with `clearCredentials`, clears) the fields that dwMask names. A password equal
// to kSimHiddenPassword keeps the saved one.
RasDword RASAPI_CALL RasSetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials, RasBool clearCredentials);

// Never dials: 633, and *connection (when given) null.
RasDword RASAPI_CALL RasDialA(void* extensions, const char* phonebook, RASDIALPARAMSA* params,
                              RasDword notifierType, void* notifier, void** connection);

// There is never a connection: 6.
RasDword RASAPI_CALL RasHangUpA(void* connection);

}  // extern "C"
