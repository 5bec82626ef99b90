// In-memory phonebook behind a DialupApi for the entry-creation tests.
#include "FakeDialup.h"

#include <cstring>

#include "settings/ByteText.h"

namespace {

FakePhonebook fake;

std::string Called(const char* what, const char* phonebook, const char* entry) {
    return std::string(what) + entry + (phonebook != nullptr ? std::string("|") + phonebook : "");
}

RasDword RASAPI_CALL EnumEntries(const char*, const char*, RASENTRYNAMEA* entries, RasDword* bytes,
                                 RasDword* count) {
    fake.calls.push_back("Enum");
    fake.enumStatedSizes.push_back(*bytes);
    fake.enumFirstRecordSizes.push_back(entries != nullptr ? entries->dwSize : 0);
    if (fake.enumResult != 0) {
        return fake.enumResult;
    }
    const RasDword form = entries != nullptr ? entries->dwSize : kRasEntryNameSize;
    if (form != kRasEntryNameSize && (form != kRasEntryName2000Size || fake.shortFormOnly)) {
        return ERROR_INVALID_SIZE;
    }
    const RasDword needed = static_cast<RasDword>(fake.entries.size() * form);
    if (*bytes < needed) {
        *count = static_cast<RasDword>(fake.entries.size());
        *bytes = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    *count = fake.enumFillsCount ? static_cast<RasDword>(fake.entries.size()) : *count;
    if (!fake.enumFillsRecords) {
        return 0;
    }
    for (size_t i = 0; i < fake.entries.size(); ++i) {
        if (form == kRasEntryName2000Size) {
            RASENTRYNAMEA_2000* record = reinterpret_cast<RASENTRYNAMEA_2000*>(entries) + i;
            record->dwSize = form;
            CopyField(record->szEntryName, fake.entries[i].name.c_str());
            CopyField(record->szPhonebookPath, fake.entries[i].phonebook.c_str());
        } else {
            entries[i].dwSize = form;
            CopyField(entries[i].szEntryName, fake.entries[i].name.c_str());
        }
    }
    return 0;
}

RasDword RASAPI_CALL GetEntryProperties(const char* phonebook, const char* entry,
                                        RASENTRYA* entryInfo, RasDword* entrySize, unsigned char*,
                                        RasDword*) {
    fake.calls.push_back(Called(entryInfo == nullptr ? "Probe:" : "Get:", phonebook, entry));
    if (entry[0] == '\0') {
        *entrySize = fake.probeSize;
        return fake.probeResult;
    }
    if (fake.namedProbeResult != 0) {
        return fake.namedProbeResult;
    }
    const FakeEntry* stored = fake.Find(entry);
    if (stored == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    if (entryInfo == nullptr || *entrySize < stored->size) {
        *entrySize = stored->size;
        return ERROR_BUFFER_TOO_SMALL;
    }
    if (fake.namedReadResult != 0 || !fake.namedReadFills) {
        return fake.namedReadResult;
    }
    memcpy(entryInfo, stored->bytes.data(), stored->bytes.size());
    return 0;
}

RasDword RASAPI_CALL SetEntryProperties(const char* phonebook, const char* entry,
                                        RASENTRYA* entryInfo, RasDword entrySize, unsigned char*,
                                        RasDword) {
    fake.calls.push_back(Called("Set:", phonebook, entry));
    RasDword result = 0;
    if (!fake.setResults.empty()) {
        result = fake.setResults.front();
        fake.setResults.erase(fake.setResults.begin());
    }
    if (result != 0) {
        return result;
    }
    FakeEntry* stored = fake.Find(entry);
    if (stored == nullptr) {
        fake.entries.push_back(FakeEntry{});
        stored = &fake.entries.back();
    }
    stored->name = entry;
    stored->size = entrySize;
    // Reads every byte the caller claims to hand over, so a short buffer shows under ASan.
    const unsigned char* from = reinterpret_cast<const unsigned char*>(entryInfo);
    stored->bytes.assign(from, from + entrySize);
    memset(&stored->record, 0, sizeof(stored->record));
    memcpy(&stored->record, from, entrySize < sizeof(RASENTRYA) ? entrySize : sizeof(RASENTRYA));
    return 0;
}

RasDword RASAPI_CALL DeleteEntry(const char* phonebook, const char* entry) {
    fake.calls.push_back(Called("Delete:", phonebook, entry));
    if (fake.deleteResult != 0) {
        return fake.deleteResult;
    }
    for (size_t i = 0; i < fake.entries.size(); ++i) {
        if (EqualsNoCase(fake.entries[i].name.c_str(), entry)) {
            fake.entries.erase(fake.entries.begin() + static_cast<long>(i));
            return 0;
        }
    }
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

RasDword RASAPI_CALL SetEntryDialParams(const char* phonebook, RASDIALPARAMSA* params,
                                        RasBool removePassword) {
    fake.calls.push_back(Called("DialParams:", phonebook, params->szEntryName));
    fake.lastDialParams = *params;
    fake.lastRemovePassword = removePassword;
    if (fake.dialParamsResult != 0) {
        return fake.dialParamsResult;
    }
    FakeEntry* stored = fake.Find(params->szEntryName);
    if (stored == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    stored->hasDialParams = true;
    stored->userName = params->szUserName;
    stored->password = params->szPassword;
    return 0;
}

// The saved user name, read unrecorded: the journal's look at the entry before a change.
RasDword RASAPI_CALL GetCredentials(const char*, const char* entry, RASCREDENTIALSA* credentials) {
    const FakeEntry* stored = fake.Find(entry);
    CopyField(credentials->szUserName, stored != nullptr ? stored->userName.c_str() : "");
    return stored != nullptr ? 0u : RasDword{ERROR_CANNOT_FIND_PHONEBOOK_ENTRY};
}

RasDword RASAPI_CALL GetEntryDialParams(const char*, RASDIALPARAMSA* params, RasBool* has) {
    const FakeEntry* stored = fake.Find(params->szEntryName);
    CopyField(params->szUserName, stored != nullptr ? stored->userName.c_str() : "");
    *has = 0;
    return stored != nullptr ? 0u : RasDword{ERROR_CANNOT_FIND_PHONEBOOK_ENTRY};
}

}  // namespace

FakeEntry* FakePhonebook::Find(const std::string& name) {
    for (FakeEntry& entry : entries) {
        if (EqualsNoCase(entry.name.c_str(), name.c_str())) {
            return &entry;
        }
    }
    return nullptr;
}

void FakePhonebook::Add(const std::string& name, const char* localNumber) {
    FakeEntry entry;
    entry.name = name;
    entry.size = kRasEntrySize;
    entry.record.dwSize = kRasEntrySize;
    CopyField(entry.record.szLocalPhoneNumber, localNumber);
    // Windows keeps a device and a framing protocol for every entry.
    CopyField(entry.record.szDeviceType, "modem");
    entry.record.dwFramingProtocol = RASFP_Ppp;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&entry.record);
    entry.bytes.assign(bytes, bytes + sizeof(entry.record));
    entry.hasDialParams = true;
    entry.userName = "old@old.example";
    entry.password = "oldpass";
    entries.push_back(entry);
}

FakePhonebook& Fake() {
    return fake;
}

void ResetFake() {
    fake = FakePhonebook{};
}

DialupApi FakeDialupApi() {
    DialupApi api;
    api.library = &fake;
    api.RasEnumEntriesA = EnumEntries;
    api.RasGetEntryPropertiesA = GetEntryProperties;
    api.RasSetEntryPropertiesA = SetEntryProperties;
    api.RasDeleteEntryA = DeleteEntry;
    api.RasSetEntryDialParamsA = SetEntryDialParams;
    api.RasGetCredentialsA = GetCredentials;
    api.RasGetEntryDialParamsA = GetEntryDialParams;
    return api;
}
