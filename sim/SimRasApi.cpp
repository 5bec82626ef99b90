// The substitute dial-up library's operations over the phonebook file.
#include "sim/SimRasApi.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include <type_traits>

#include "dialup/DialupApi.h"
#include "settings/ByteText.h"
#include "sim/PhonebookFile.h"
#include "sim/SimPlatform.h"

#define SIM_CHECK_PROTOTYPE(name, type)                       \
    static_assert(std::is_same<decltype(&name), type>::value, \
                  #name " must have the platform's prototype");
DIALUP_OPERATIONS(SIM_CHECK_PROTOTYPE)
#undef SIM_CHECK_PROTOTYPE

const char kSimHiddenPassword[] = "****************";

namespace {

const char kFailVariable[] = "RASSIM_FAIL";
const char kPhonebookVariable[] = "RASSIM_PHONEBOOK";

void TrimBlanks(std::string* text) {
    const size_t first = text->find_first_not_of(" \t");
    if (first == std::string::npos) {
        text->clear();
        return;
    }
    const size_t last = text->find_last_not_of(" \t");
    *text = text->substr(first, last - first + 1);
}

// Calls of each operation since the process started or the record was last reset, and,
// while recording, every call's operation name in order.
struct CallRecord {
    std::map<std::string, unsigned long> counts;
    bool recording = false;
    std::vector<std::string> calls;
};

CallRecord& Record() {
    static CallRecord record;
    return record;
}

bool IsDecimal(const std::string& text, size_t maxDigits) {
    return !text.empty() && text.size() <= maxDigits &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

// True when RASSIM_FAIL fails this call of `operation` (its `call`-th since the count
// began); `result` is the number. An item is "Operation:number" (every call) or
// "Operation#k:number" (only the k-th call). Items without a name, a colon, a plain
// decimal number that fits 32 bits or, after "#", a call number from 1 are ignored.
bool InjectedFault(const char* operation, unsigned long call, RasDword* result) {
    std::string list;
    if (!ReadSimEnvironment(kFailVariable, &list)) {
        return false;
    }
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t comma = list.find(',', pos);
        if (comma == std::string::npos) {
            comma = list.size();
        }
        const std::string item = list.substr(pos, comma - pos);
        pos = comma + 1;
        const size_t colon = item.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        std::string name = item.substr(0, colon);
        std::string number = item.substr(colon + 1);
        TrimBlanks(&number);
        unsigned long only = 0;  // 0: every call
        const size_t hash = name.find('#');
        if (hash != std::string::npos) {
            std::string ordinal = name.substr(hash + 1);
            TrimBlanks(&ordinal);
            if (!IsDecimal(ordinal, 9) || (only = strtoul(ordinal.c_str(), nullptr, 10)) == 0) {
                continue;
            }
            name.resize(hash);
        }
        TrimBlanks(&name);
        if (name != operation || !IsDecimal(number, 10) || (only != 0 && only != call)) {
            continue;
        }
        const unsigned long long value = strtoull(number.c_str(), nullptr, 10);
        if (value > 0xFFFFFFFFull) {
            continue;
        }
        *result = static_cast<RasDword>(value);
        return true;
    }
    return false;
}

unsigned long CountCall(const char* operation) {
    CallRecord& record = Record();
    if (record.recording) {
        record.calls.push_back(operation);
    }
    return ++record.counts[operation];
}

// Counts the call, then fails it when RASSIM_FAIL says so.
#define SIM_INJECTED_FAULT()                                        \
    do {                                                            \
        RasDword fault;                                             \
        if (InjectedFault(__func__, CountCall(__func__), &fault)) { \
            return fault;                                           \
        }                                                           \
    } while (0)

}  // namespace

void ResetSimCallRecord(bool recording) {
    CallRecord& record = Record();
    record.counts.clear();
    record.calls.clear();
    record.recording = recording;
}

std::vector<std::string> SimCallRecord() {
    return Record().calls;
}

namespace {

struct OpenPhonebook {
    std::string path;
    SimPhonebookFile book;
};

RasDword Open(const char* phonebook, OpenPhonebook* open) {
    if (phonebook != nullptr && phonebook[0] != '\0') {
        open->path = phonebook;
    } else if (!ReadSimEnvironment(kPhonebookVariable, &open->path) || open->path.empty()) {
        if (!DefaultSimPhonebookPath(&open->path)) {
            return ERROR_CANNOT_OPEN_PHONEBOOK;
        }
    }
    std::string bytes;
    switch (ReadSimFile(open->path, &bytes)) {
        case SimReadResult::Missing:
            open->book = SimPhonebookFile();
            return 0;
        case SimReadResult::Read:
            open->book = ParsePhonebook(bytes.data(), bytes.size());
            return 0;
        case SimReadResult::Failed:
            break;
    }
    return ERROR_CANNOT_OPEN_PHONEBOOK;
}

RasDword Save(const OpenPhonebook& open) {
    if (!ReplaceSimFile(open.path, FormatPhonebook(open.book))) {
        return kSimErrorCannotWritePhonebook;
    }
    return 0;
}

// Copies a text field of a caller's record, which may lack its terminator.
template <size_t N, size_t M>
void CopyRecordField(char (&dst)[N], const char (&src)[M]) {
    CopyTextN(dst, N, src, strnlen(src, M));
}

// The entry that "" stands for: what a new entry starts from.
SimEntry DefaultEntry() {
    SimEntry entry = MakeSimEntry("");
    entry.properties.dwfNetProtocols = RASNP_Ip;
    entry.properties.dwFramingProtocol = RASFP_Ppp;
    entry.properties.dwType = 1;  // RASET_Phone
    return entry;
}

}  // namespace

extern "C" {

RasDword RASAPI_CALL RasEnumDevicesA(RASDEVINFOA* devices, RasDword* bytes, RasDword* count) {
    SIM_INJECTED_FAULT();
    if (bytes == nullptr || count == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    if (devices != nullptr && devices->dwSize != kRasDevInfoSize) {
        return ERROR_INVALID_SIZE;
    }
    OpenPhonebook open;
    const RasDword opened = Open(nullptr, &open);
    if (opened != 0) {
        return opened;
    }
    const std::vector<SimDevice> list = ReportedDevices(open.book);
    const RasDword needed = static_cast<RasDword>(list.size() * kRasDevInfoSize);
    if (needed > 0 && (devices == nullptr || *bytes < needed)) {
        *bytes = needed;
        *count = static_cast<RasDword>(list.size());
        return ERROR_BUFFER_TOO_SMALL;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        RASDEVINFOA& record = devices[i];
        memset(&record, 0, sizeof record);
        record.dwSize = kRasDevInfoSize;
        CopyField(record.szDeviceType, list[i].type);
        CopyField(record.szDeviceName, list[i].name);
    }
    *bytes = needed;
    *count = static_cast<RasDword>(list.size());
    return 0;
}

RasDword RASAPI_CALL RasEnumEntriesA(const char* reserved, const char* phonebook,
                                     RASENTRYNAMEA* entries, RasDword* bytes, RasDword* count) {
    SIM_INJECTED_FAULT();
    if (reserved != nullptr) {
        return kSimErrorNotSupported;
    }
    if (bytes == nullptr || count == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    // The record's dwSize is checked even when the stated size is 0: a caller probing with
    // a single record (the usual way) still says which form it speaks.
    if (entries != nullptr && entries->dwSize != kRasEntryNameSize) {
        return ERROR_INVALID_SIZE;
    }
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    const size_t n = open.book.entries.size();
    const RasDword needed = static_cast<RasDword>(n * kRasEntryNameSize);
    if (needed > 0 && (entries == nullptr || *bytes < needed)) {
        *bytes = needed;
        *count = static_cast<RasDword>(n);
        return ERROR_BUFFER_TOO_SMALL;
    }
    for (size_t i = 0; i < n; ++i) {
        RASENTRYNAMEA& record = entries[i];
        memset(&record, 0, sizeof record);
        record.dwSize = kRasEntryNameSize;
        CopyField(record.szEntryName, open.book.entries[i].name);
    }
    *bytes = needed;
    *count = static_cast<RasDword>(n);
    return 0;
}

RasDword RASAPI_CALL RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword* entrySize,
                                            unsigned char* /*deviceInfo*/,
                                            RasDword* deviceInfoSize) {
    SIM_INJECTED_FAULT();
    if (entrySize == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    SimEntry found;
    if (entry == nullptr || entry[0] == '\0') {
        found = DefaultEntry();
    } else {
        OpenPhonebook open;
        const RasDword opened = Open(phonebook, &open);
        if (opened != 0) {
            return opened;
        }
        const SimEntry* stored = FindSimEntry(&open.book, entry);
        if (stored == nullptr) {
            return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
        }
        found = *stored;
    }
    if (deviceInfoSize != nullptr) {
        *deviceInfoSize = 0;
    }
    if (entryInfo == nullptr || *entrySize < kRasEntrySize) {
        *entrySize = kRasEntrySize;
        return ERROR_BUFFER_TOO_SMALL;
    }
    if (entryInfo->dwSize < kRasEntrySize) {
        return ERROR_INVALID_SIZE;
    }
    const RasDword callerSize = entryInfo->dwSize;
    memcpy(entryInfo, &found.properties, sizeof(RASENTRYA));
    entryInfo->dwSize = callerSize;
    *entrySize = kRasEntrySize;
    return 0;
}

RasDword RASAPI_CALL RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword entrySize,
                                            unsigned char* /*deviceInfo*/,
                                            RasDword /*deviceInfoSize*/) {
    SIM_INJECTED_FAULT();
    if (entry == nullptr || entryInfo == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    if (!IsValidEntryName(entry)) {
        return kSimErrorInvalidName;
    }
    if (entrySize < kRasEntrySize || entryInfo->dwSize < kRasEntrySize) {
        return ERROR_INVALID_SIZE;
    }
    RASENTRYA properties;
    memcpy(&properties, entryInfo, sizeof properties);
    SanitizeEntryProperties(&properties);

    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    SimEntry* stored = FindSimEntry(&open.book, entry);
    if (stored != nullptr) {
        stored->properties = properties;
    } else {
        open.book.entries.push_back(MakeSimEntry(entry));
        open.book.entries.back().properties = properties;
    }
    return Save(open);
}

RasDword RASAPI_CALL RasDeleteEntryA(const char* phonebook, const char* entry) {
    SIM_INJECTED_FAULT();
    if (entry == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    std::vector<SimEntry>& entries = open.book.entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (EqualsEntryName(entries[i].name, entry)) {
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
            return Save(open);
        }
    }
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

RasDword RASAPI_CALL RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool* hasPassword) {
    SIM_INJECTED_FAULT();
    if (params == nullptr || hasPassword == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    if (params->dwSize != kRasDialParamsSize) {
        return ERROR_INVALID_SIZE;
    }
    char name[RAS_MaxEntryName + 1];
    CopyRecordField(name, params->szEntryName);
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    const SimEntry* stored = FindSimEntry(&open.book, name);
    if (stored == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    memset(params, 0, sizeof *params);
    params->dwSize = kRasDialParamsSize;
    CopyField(params->szEntryName, name);
    CopyField(params->szUserName, stored->userName);
    CopyField(params->szPassword, stored->password);
    CopyField(params->szDomain, stored->domain);
    *hasPassword = stored->password[0] != '\0' ? 1 : 0;
    return 0;
}

RasDword RASAPI_CALL RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool removePassword) {
    SIM_INJECTED_FAULT();
    if (params == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    if (params->dwSize != kRasDialParamsSize) {
        return ERROR_INVALID_SIZE;
    }
    char name[RAS_MaxEntryName + 1];
    CopyRecordField(name, params->szEntryName);
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    SimEntry* stored = FindSimEntry(&open.book, name);
    if (stored == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    CopyRecordField(stored->userName, params->szUserName);
    CopyRecordField(stored->domain, params->szDomain);
    if (removePassword) {
        WipeBytes(stored->password, sizeof stored->password);
    } else {
        CopyRecordField(stored->password, params->szPassword);
    }
    return Save(open);
}

RasDword RASAPI_CALL RasGetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials) {
    SIM_INJECTED_FAULT();
    if (entry == nullptr || credentials == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    if (credentials->dwSize != kRasCredentialsSize) {
        return ERROR_INVALID_SIZE;
    }
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    const SimEntry* stored = FindSimEntry(&open.book, entry);
    if (stored == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    const RasDword mask = credentials->dwMask;
    memset(credentials, 0, sizeof *credentials);
    credentials->dwSize = kRasCredentialsSize;
    credentials->dwMask = mask;
    if (mask & RASCM_UserName) {
        CopyField(credentials->szUserName, stored->userName);
    }
    if ((mask & RASCM_Password) && stored->password[0] != '\0') {
        // The NT family never hands out a saved password, only this placeholder.
        CopyField(credentials->szPassword, kSimHiddenPassword);
    }
    if (mask & kSimCredentialsDomain) {
        CopyField(credentials->szDomain, stored->domain);
    }
    return 0;
}

RasDword RASAPI_CALL RasSetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials, RasBool clearCredentials) {
    SIM_INJECTED_FAULT();
    if (entry == nullptr || credentials == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    if (credentials->dwSize != kRasCredentialsSize) {
        return ERROR_INVALID_SIZE;
    }
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    SimEntry* stored = FindSimEntry(&open.book, entry);
    if (stored == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    const RasDword mask = credentials->dwMask;
    if (mask & RASCM_UserName) {
        if (clearCredentials) {
            stored->userName[0] = '\0';
        } else {
            CopyRecordField(stored->userName, credentials->szUserName);
        }
    }
    if (mask & RASCM_Password) {
        const size_t length = strnlen(credentials->szPassword, sizeof credentials->szPassword);
        if (clearCredentials) {
            WipeBytes(stored->password, sizeof stored->password);
        } else if (length != strlen(kSimHiddenPassword) ||
                   memcmp(credentials->szPassword, kSimHiddenPassword, length) != 0) {
            CopyRecordField(stored->password, credentials->szPassword);
        }
    }
    if (mask & kSimCredentialsDomain) {
        if (clearCredentials) {
            stored->domain[0] = '\0';
        } else {
            CopyRecordField(stored->domain, credentials->szDomain);
        }
    }
    return Save(open);
}

RasDword RASAPI_CALL RasDialA(void* /*extensions*/, const char* /*phonebook*/,
                              RASDIALPARAMSA* /*params*/, RasDword /*notifierType*/,
                              void* /*notifier*/, void** connection) {
    SIM_INJECTED_FAULT();
    if (connection != nullptr) {
        *connection = nullptr;
    }
    return kSimErrorPortNotAvailable;
}

RasDword RASAPI_CALL RasHangUpA(void* /*connection*/) {
    SIM_INJECTED_FAULT();
    return kSimErrorInvalidHandle;
}

}  // extern "C"
