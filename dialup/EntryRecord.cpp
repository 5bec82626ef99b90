// Probing, reading and writing one entry's properties.
#include "dialup/EntryRecord.h"

#include <cstring>

#include "dialup/PhonebookEntries.h"
#include "settings/ByteText.h"

namespace {

size_t RecordsFor(RasDword bytes) {
    const size_t records = (static_cast<size_t>(bytes) + sizeof(RASENTRYA) - 1) / sizeof(RASENTRYA);
    return records < 1 ? 1 : records;
}

}  // namespace

void EntryRecord::Release() {
    std::vector<RASENTRYA>().swap(buffer);
    bufferSize = 0;
    structureSize = 0;
    phonebook.clear();
    std::vector<unsigned char>().swap(deviceInfo);
    withDeviceInfo = false;
}

RasDword ProbeStructureSize(const DialupApi& api, RasDword* structureSize) {
    *structureSize = 0;
    if (api.RasGetEntryPropertiesA == nullptr) {
        return kMissingOperation;
    }
    RasDword size = 0;
    const RasDword result =
        api.RasGetEntryPropertiesA(nullptr, "", nullptr, &size, nullptr, nullptr);
    if (result != 0 && result != ERROR_BUFFER_TOO_SMALL) {
        return result;
    }
    if (size == 0) {
        return ERROR_INVALID_SIZE;
    }
    *structureSize = size < sizeof(RASENTRYA) ? size : static_cast<RasDword>(sizeof(RASENTRYA));
    return 0;
}

namespace {

RasDword ReadRecord(const DialupApi& api, bool withDeviceInfo, const char* phonebook,
                    const char* name, EntryRecord* record) {
    record->Release();
    if (name == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    RasDword structureSize = 0;
    const RasDword probed = ProbeStructureSize(api, &structureSize);
    if (probed != 0) {
        return probed;
    }
    const char* book = PhonebookArgument(phonebook);
    RasDword bufferSize = 0;
    RasDword deviceSize = 0;
    RasDword* deviceSizeArgument = withDeviceInfo ? &deviceSize : nullptr;
    const RasDword probe =
        api.RasGetEntryPropertiesA(book, name, nullptr, &bufferSize, nullptr, deviceSizeArgument);
    if (probe != 0 && probe != ERROR_BUFFER_TOO_SMALL) {
        return probe;
    }
    if (bufferSize == 0 || bufferSize > kMaxEntrySize || deviceSize > kMaxEntrySize) {
        return ERROR_INVALID_SIZE;
    }
    record->buffer.assign(RecordsFor(bufferSize), RASENTRYA{});
    record->buffer[0].dwSize = structureSize;
    record->deviceInfo.assign(deviceSize, 0);
    RasDword stated = bufferSize;
    const RasDword read = api.RasGetEntryPropertiesA(
        book, name, record->buffer.data(), &stated,
        deviceSize != 0 ? record->deviceInfo.data() : nullptr, deviceSizeArgument);
    if (read != 0) {
        record->Release();
        return read;
    }
    // Every entry has a device type and a framing protocol; a record with neither is the
    // zeroed buffer handed in, which must not be taken for (or written back as) the entry.
    const RASENTRYA& entry = record->buffer[0];
    if (entry.szDeviceType[0] == '\0' && entry.dwFramingProtocol == 0) {
        record->Release();
        return kUnfilledRead;
    }
    // Whatever the read left there, a write must name the version this buffer holds.
    record->buffer[0].dwSize = structureSize;
    record->bufferSize = bufferSize;
    record->structureSize = structureSize;
    record->phonebook = book != nullptr ? book : "";
    // Settings that shrank between the probe and the read are as long as the read said.
    record->deviceInfo.resize(deviceSize < record->deviceInfo.size() ? deviceSize
                                                                     : record->deviceInfo.size());
    record->withDeviceInfo = withDeviceInfo;
    return 0;
}

}  // namespace

RasDword ReadEntryRecord(const DialupApi& api, OsClass osClass, const char* phonebook,
                         const char* name, EntryRecord* record) {
    return ReadRecord(api, !IsNtFamily(osClass), phonebook, name, record);
}

RasDword WriteEntryRecord(const DialupApi& api, const char* name, EntryRecord& record) {
    if (api.RasSetEntryPropertiesA == nullptr) {
        return kMissingOperation;
    }
    if (record.Entry() == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    unsigned char* deviceInfo = record.deviceInfo.empty() ? nullptr : record.deviceInfo.data();
    return api.RasSetEntryPropertiesA(PhonebookArgument(record.phonebook.c_str()), name,
                                      record.Entry(), record.bufferSize, deviceInfo,
                                      static_cast<RasDword>(record.deviceInfo.size()));
}

RasDword PutBackEntryRecord(const DialupApi& api, const char* name, EntryRecord& asRead) {
    EntryRecord now;
    if (ReadRecord(api, asRead.withDeviceInfo, asRead.phonebook.c_str(), name, &now) == 0 &&
        now.bufferSize == asRead.bufferSize &&
        memcmp(now.Entry(), asRead.Entry(), asRead.bufferSize) == 0 &&
        now.deviceInfo == asRead.deviceInfo) {
        return 0;
    }
    return WriteEntryRecord(api, name, asRead);
}

RasDword RemoveUnwantedEntry(const DialupApi& api, const char* phonebook, const char* name) {
    if (api.RasGetEntryPropertiesA == nullptr || api.RasDeleteEntryA == nullptr) {
        return kMissingOperation;
    }
    const char* book = PhonebookArgument(phonebook);
    RasDword size = 0;
    if (api.RasGetEntryPropertiesA(book, name, nullptr, &size, nullptr, nullptr) ==
        ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
        return 0;
    }
    const RasDword deleted = api.RasDeleteEntryA(book, name);
    return deleted == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY ? 0 : deleted;
}

RasDword ReadEntryCredentials(const DialupApi& api, const char* phonebook, const char* name,
                              RasDword mask, RASCREDENTIALSA* credentials, bool* defaults) {
    *defaults = false;
    memset(credentials, 0, sizeof(*credentials));
    credentials->dwSize = kRasCredentialsSize;
    credentials->dwMask = mask;
    if (api.RasGetCredentialsA == nullptr) {
        return kMissingOperation;
    }
    const char* book = PhonebookArgument(phonebook);
    const RasDword result = api.RasGetCredentialsA(book, name, credentials);
    if (result != 0 || strnlen(credentials->szUserName, 1) != 0) {
        return result;
    }
    RASCREDENTIALSA shared{};
    shared.dwSize = kRasCredentialsSize;
    shared.dwMask = mask | RASCM_DefaultCreds;
    // Before XP there are none: the read fails or gives the user's own empty ones again.
    if (api.RasGetCredentialsA(book, name, &shared) == 0 && strnlen(shared.szUserName, 1) != 0) {
        *credentials = shared;
        credentials->dwMask &= ~RASCM_DefaultCreds;
        *defaults = true;
    }
    WipeBytes(&shared, sizeof(shared));
    return 0;
}

RasDword ReadSavedUserName(const DialupApi& api, const char* phonebook, const char* name,
                           bool ntFamily, std::string* userName) {
    userName->clear();
    if (ntFamily) {
        RASCREDENTIALSA credentials;
        bool defaults = false;
        const RasDword result =
            ReadEntryCredentials(api, phonebook, name, RASCM_UserName, &credentials, &defaults);
        if (result == 0 && (credentials.dwMask & RASCM_UserName) != 0) {
            userName->assign(credentials.szUserName,
                             strnlen(credentials.szUserName, sizeof(credentials.szUserName)));
        }
        WipeBytes(&credentials, sizeof(credentials));
        return result;
    }
    RASDIALPARAMSA params;
    bool saved = false;
    const RasDword result = ReadDialParams(api, phonebook, name, &params, &saved);
    if (result == 0) {
        userName->assign(params.szUserName, strnlen(params.szUserName, sizeof(params.szUserName)));
    }
    WipeBytes(&params, sizeof(params));
    return result;
}

namespace {

RasDword WriteUserNameOnly(const DialupApi& api, const char* phonebook, const char* name,
                           bool ntFamily, const std::string& userName) {
    const char* book = PhonebookArgument(phonebook);
    if (ntFamily) {
        RASCREDENTIALSA credentials;
        bool defaults = false;
        RasDword result =
            ReadEntryCredentials(api, phonebook, name, RASCM_UserName, &credentials, &defaults);
        WipeBytes(&credentials, sizeof(credentials));
        if (result != 0) {
            return result;
        }
        if (api.RasSetCredentialsA == nullptr) {
            return kMissingOperation;
        }
        credentials.dwSize = kRasCredentialsSize;
        credentials.dwMask =
            RASCM_UserName | (defaults ? RasDword{RASCM_DefaultCreds} : RasDword{0});
        CopyField(credentials.szUserName, userName.c_str());
        result = api.RasSetCredentialsA(book, name, &credentials, 0);
        WipeBytes(&credentials, sizeof(credentials));
        return result;
    }
    RASDIALPARAMSA params;
    bool passwordSaved = false;
    RasDword result = ReadDialParams(api, phonebook, name, &params, &passwordSaved);
    if (result == 0) {
        CopyField(params.szUserName, userName.c_str());
        result = api.RasSetEntryDialParamsA == nullptr
                     ? kMissingOperation
                     : api.RasSetEntryDialParamsA(book, &params, passwordSaved ? 0 : 1);
    }
    WipeBytes(&params, sizeof(params));
    return result;
}

}  // namespace

RasDword WriteSavedUserName(const DialupApi& api, const char* phonebook, const char* name,
                            bool ntFamily, const std::string& userName) {
    const RasDword written = WriteUserNameOnly(api, phonebook, name, ntFamily, userName);
    if (written != 0) {
        return written;
    }
    std::string saved;
    const RasDword read = ReadSavedUserName(api, phonebook, name, ntFamily, &saved);
    if (read != 0) {
        return read;
    }
    return saved == userName ? RasDword{0} : RasDword{kUnfilledRead};
}

RasDword ReadDialParams(const DialupApi& api, const char* phonebook, const char* name,
                        RASDIALPARAMSA* params, bool* passwordSaved) {
    memset(params, 0, sizeof(*params));
    params->dwSize = kRasDialParamsSize;
    CopyField(params->szEntryName, name);
    *passwordSaved = false;
    if (api.RasGetEntryDialParamsA == nullptr) {
        return kMissingOperation;
    }
    // Neither TRUE nor FALSE: still there after a success, it tells of a read that filled
    // nothing in, whose empty user name and password must not be put back for the saved ones.
    RasBool hasPassword = -1;
    const RasDword result =
        api.RasGetEntryDialParamsA(PhonebookArgument(phonebook), params, &hasPassword);
    if (result != 0) {
        return result;
    }
    if (hasPassword == -1) {
        return kUnfilledRead;
    }
    *passwordSaved = hasPassword != 0;
    return 0;
}

RasDword PutBackDialParams(const DialupApi& api, const char* phonebook,
                           const RASDIALPARAMSA& asRead, bool passwordSaved) {
    RASDIALPARAMSA params;
    auto asReadAgain = [&]() {
        bool saved = false;
        return ReadDialParams(api, phonebook, asRead.szEntryName, &params, &saved) == 0 &&
               saved == passwordSaved &&
               strncmp(params.szUserName, asRead.szUserName, sizeof(params.szUserName)) == 0 &&
               strncmp(params.szPassword, asRead.szPassword, sizeof(params.szPassword)) == 0 &&
               strncmp(params.szDomain, asRead.szDomain, sizeof(params.szDomain)) == 0;
    };
    RasDword result = 0;
    if (!asReadAgain()) {
        params = asRead;
        result = api.RasSetEntryDialParamsA == nullptr
                     ? kMissingOperation
                     : api.RasSetEntryDialParamsA(PhonebookArgument(phonebook), &params,
                                                  passwordSaved ? 0 : 1);
        // An empty user name or domain is documented to leave the saved one as it is.
        if (result == 0 && !asReadAgain()) {
            result = kUnfilledRead;
        }
    }
    WipeBytes(&params, sizeof(params));
    return result;
}
