// The binding to the dial-up phonebook functions: the library handle and one entry point
// per operation, each typed with the platform's prototype (ANSI forms). The shell fills it
// by run-time loading; natively the tests fill it with the substitute library's functions.
#pragma once

#include "dialup/RasTypes.h"

typedef RasDword(RASAPI_CALL* RasEnumDevicesFn)(RASDEVINFOA* devices, RasDword* bytes,
                                                RasDword* count);
typedef RasDword(RASAPI_CALL* RasEnumEntriesFn)(const char* reserved, const char* phonebook,
                                                RASENTRYNAMEA* entries, RasDword* bytes,
                                                RasDword* count);
typedef RasDword(RASAPI_CALL* RasGetEntryPropertiesFn)(const char* phonebook, const char* entry,
                                                       RASENTRYA* entryInfo, RasDword* entrySize,
                                                       unsigned char* deviceInfo,
                                                       RasDword* deviceInfoSize);
typedef RasDword(RASAPI_CALL* RasSetEntryPropertiesFn)(const char* phonebook, const char* entry,
                                                       RASENTRYA* entryInfo, RasDword entrySize,
                                                       unsigned char* deviceInfo,
                                                       RasDword deviceInfoSize);
typedef RasDword(RASAPI_CALL* RasDeleteEntryFn)(const char* phonebook, const char* entry);
typedef RasDword(RASAPI_CALL* RasGetEntryDialParamsFn)(const char* phonebook,
                                                       RASDIALPARAMSA* params,
                                                       RasBool* hasPassword);
typedef RasDword(RASAPI_CALL* RasSetEntryDialParamsFn)(const char* phonebook,
                                                       RASDIALPARAMSA* params,
                                                       RasBool removePassword);
typedef RasDword(RASAPI_CALL* RasGetCredentialsFn)(const char* phonebook, const char* entry,
                                                   RASCREDENTIALSA* credentials);
typedef RasDword(RASAPI_CALL* RasSetCredentialsFn)(const char* phonebook, const char* entry,
                                                   RASCREDENTIALSA* credentials,
                                                   RasBool clearCredentials);
// Windows 2000 and later (absent on the 9x family): whether a name may name an entry (123
// when it may not, 183 when the phonebook already has it).
typedef RasDword(RASAPI_CALL* RasValidateEntryNameFn)(const char* phonebook, const char* entry);
// The AutoDial mapping; a null address means the default Internet connection.
typedef RasDword(RASAPI_CALL* RasSetAutodialAddressFn)(const char* address, RasDword reserved,
                                                       RASAUTODIALENTRYA* entries, RasDword bytes,
                                                       RasDword count);
typedef RasDword(RASAPI_CALL* RasGetAutodialAddressFn)(const char* address, RasDword* reserved,
                                                       RASAUTODIALENTRYA* entries, RasDword* bytes,
                                                       RasDword* count);
// Resolved only to tell that the library is usable; nothing is ever dialled.
typedef RasDword(RASAPI_CALL* RasDialFn)(void* extensions, const char* phonebook,
                                         RASDIALPARAMSA* params, RasDword notifierType,
                                         void* notifier, void** connection);
typedef RasDword(RASAPI_CALL* RasHangUpFn)(void* connection);

// Every bound operation: exported name and entry-point type. One list for the table below,
// the run-time binding and the substitute library's exports.
#define DIALUP_OPERATIONS(X)                           \
    X(RasEnumDevicesA, RasEnumDevicesFn)               \
    X(RasEnumEntriesA, RasEnumEntriesFn)               \
    X(RasGetEntryPropertiesA, RasGetEntryPropertiesFn) \
    X(RasSetEntryPropertiesA, RasSetEntryPropertiesFn) \
    X(RasDeleteEntryA, RasDeleteEntryFn)               \
    X(RasGetEntryDialParamsA, RasGetEntryDialParamsFn) \
    X(RasSetEntryDialParamsA, RasSetEntryDialParamsFn) \
    X(RasGetCredentialsA, RasGetCredentialsFn)         \
    X(RasSetCredentialsA, RasSetCredentialsFn)         \
    X(RasValidateEntryNameA, RasValidateEntryNameFn)   \
    X(RasSetAutodialAddressA, RasSetAutodialAddressFn) \
    X(RasGetAutodialAddressA, RasGetAutodialAddressFn) \
    X(RasDialA, RasDialFn)                             \
    X(RasHangUpA, RasHangUpFn)

// An entry point is empty when the library lacks the operation. Bound exactly when
// `library` is set. Listing asks every phonebook (null phonebook path); each call for an entry
// names the phonebook the listing reported for it (null where none is reported).
struct DialupApi {
    void* library = nullptr;
#define DIALUP_MEMBER(name, type) type name = nullptr;
    DIALUP_OPERATIONS(DIALUP_MEMBER)
#undef DIALUP_MEMBER

    bool IsBound() const {
        return library != nullptr;
    }
};
