// The substitute dial-up library's operations over the phonebook file.
#include "sim/SimRasApi.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "dialup/DialupApi.h"
#include "settings/ByteText.h"
#include "sim/PhonebookFile.h"
#include "sim/SimFaults.h"
#include "sim/SimPlatform.h"
#include "sim/SimVersion.h"

#define SIM_CHECK_PROTOTYPE(name, type)                       \
    static_assert(std::is_same<decltype(&name), type>::value, \
                  #name " must have the platform's prototype");
DIALUP_OPERATIONS(SIM_CHECK_PROTOTYPE)
#undef SIM_CHECK_PROTOTYPE

const char kSimHiddenPassword[] = "****************";

namespace {

const char kPhonebookVariable[] = "RASSIM_PHONEBOOK";
const char kUserPhonebookVariable[] = "RASSIM_USER_PHONEBOOK";
const char kRightsVariable[] = "RASSIM_RIGHTS";

// Runs one operation under RASSIM_FAIL: counts the call, then fails it before anything
// happens, answers success with nothing done, or does it and then fails or ends the process.
template <typename Body>
RasDword SimCall(const char* operation, Body body) {
    const SimFault fault = NextSimFault(operation);
    switch (fault.mode) {
        case SimFaultMode::Fail:
            return fault.code;
        case SimFaultMode::Empty:
            return 0;
        default:
            break;
    }
    const RasDword result = body();
    if (fault.mode == SimFaultMode::Kill) {
        EndSimProcess();
    }
    if (fault.mode == SimFaultMode::After && result == 0) {
        return fault.code;
    }
    return result;
}

bool EqualsPathNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        x = (x >= 'A' && x <= 'Z') ? static_cast<char>(x - 'A' + 'a') : x;
        y = (y >= 'A' && y <= 'Z') ? static_cast<char>(y - 'A' + 'a') : y;
        if (x != y) {
            return false;
        }
    }
    return true;
}

// The phonebook that a null phonebook argument means: the all-users one.
bool AllUsersPath(std::string* path) {
    if (ReadSimEnvironment(kPhonebookVariable, path) && !path->empty()) {
        return true;
    }
    return DefaultSimPhonebookPath(path);
}

// The user's own phonebook, from Windows 2000 on: RASSIM_USER_PHONEBOOK (set but empty:
// none), else where Windows keeps it.
bool UserPath(SimWindows version, std::string* path) {
    if (!HasTwoPhonebooks(version)) {
        return false;
    }
    if (ReadSimEnvironment(kUserPhonebookVariable, path)) {
        return !path->empty();
    }
    return DefaultSimUserPhonebookPath(path);
}

bool StandardUser() {
    std::string rights;
    return ReadSimEnvironment(kRightsVariable, &rights) && rights == "standard";
}

struct OpenPhonebook {
    std::string path;
    bool allUsers = false;  // the all-users phonebook (or, before 2000, the only one)
    bool user = false;      // the user's own phonebook
    SimPhonebookFile book;
};

RasDword ReadBook(OpenPhonebook* open) {
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

// Opens the named phonebook, or the all-users one for a null or empty name.
RasDword Open(const char* phonebook, OpenPhonebook* open) {
    std::string allUsers;
    const bool hasAllUsers = AllUsersPath(&allUsers);
    if (phonebook != nullptr && phonebook[0] != '\0') {
        open->path = phonebook;
        open->allUsers = hasAllUsers && EqualsPathNoCase(open->path, allUsers);
        std::string own;
        open->user = !open->allUsers && UserPath(CurrentSimWindows(), &own) &&
                     EqualsPathNoCase(open->path, own);
    } else if (hasAllUsers) {
        open->path = allUsers;
        open->allUsers = true;
    } else {
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    }
    return ReadBook(open);
}

// Opens a phonebook to change it. From Windows 2000 on, only an administrator may change
// the all-users phonebook (RASSIM_RIGHTS=standard plays a standard user).
RasDword OpenToWrite(SimWindows version, const char* phonebook, OpenPhonebook* open) {
    const RasDword opened = Open(phonebook, open);
    if (opened != 0) {
        return opened;
    }
    if (open->allUsers && HasTwoPhonebooks(version) && StandardUser()) {
        return kSimErrorAccessDenied;
    }
    return 0;
}

// What the documentation lets name an entry: a name the file can hold, without | > < ? * \ /
// or : (outside double-byte characters), with at least one letter or digit (any
// double-byte or half-width kana character is one), and from 2000 on not starting with ".".
bool IsAcceptedEntryName(SimWindows version, const char* name) {
    if (!IsValidEntryName(name)) {
        return false;
    }
    if (HasTwoPhonebooks(version) && name[0] == '.') {
        return false;
    }
    bool letterOrDigit = false;
    for (const char* p = name; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (IsLeadByte932(c)) {
            letterOrDigit = true;
            ++p;  // IsValidEntryName saw its second byte
        } else if (c >= 0x80 || (c >= '0' && c <= '9') ||
                   ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')) {
            letterOrDigit = true;
        } else if (strchr("|><?*\\/:", c) != nullptr) {
            return false;
        }
    }
    return letterOrDigit;
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

// The bytes of an alternate-number list: each number and its NUL, then one more NUL; none
// for no numbers.
RasDword AlternateBytes(const std::vector<std::string>& numbers) {
    if (numbers.empty()) {
        return 0;
    }
    size_t bytes = 1;
    for (const std::string& number : numbers) {
        bytes += number.size() + 1;
    }
    return static_cast<RasDword>(bytes);
}

// Reads the list at dwAlternateOffset of a caller's buffer of `size` bytes. False when the
// offset lies inside the record or outside the buffer, or the list has no final NUL in it.
bool ReadAlternates(const RASENTRYA* record, RasDword size, std::vector<std::string>* numbers) {
    numbers->clear();
    const RasDword offset = record->dwAlternateOffset;
    if (offset == 0) {
        return true;
    }
    if (offset < record->dwSize || offset >= size) {
        return false;
    }
    const char* at = reinterpret_cast<const char*>(record) + offset;
    const char* end = reinterpret_cast<const char*>(record) + size;
    while (at < end) {
        const size_t length = strnlen(at, static_cast<size_t>(end - at));
        if (at + length == end) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        char number[RAS_MaxPhoneNumber + 1];
        CopyTextN(number, sizeof number, at, length);
        numbers->push_back(number);
        at += length + 1;
    }
    return false;
}

// What a version requires of a record to be written (empty text or zero is missing).
// dwfOptions has no value that means "not given", so every value passes.
bool HasRequiredFields(SimWindows version, const RASENTRYA& record) {
    if (!RequiresEntryFields(version)) {
        return true;
    }
    const bool typeGiven = record.dwSize <= offsetof(RASENTRYA, dwType) || record.dwType != 0;
    return strnlen(record.szLocalPhoneNumber, 1) != 0 && strnlen(record.szDeviceName, 1) != 0 &&
           strnlen(record.szDeviceType, 1) != 0 && record.dwFramingProtocol != 0 && typeGiven;
}

// The first `size` bytes of a caller's record written over `stored`: the fields beyond the
// caller's structure version keep their values.
RASENTRYA MergeRecord(const RASENTRYA& stored, const RASENTRYA* record, RasDword size) {
    RASENTRYA merged = stored;
    memcpy(&merged, record, size < sizeof merged ? size : sizeof merged);
    SanitizeEntryProperties(&merged);
    return merged;
}

// A new entry's id, as Windows assigns one from 2000 on: fresh for every entry made (the
// clock and the process, the phonebook's bytes and the name, and a count of the ids made
// here, mixed), never all zero.
RasGuid NewEntryId(const std::string& book, const char* name) {
    static uint64_t made = 0;
    uint64_t state = SimUniqueSeed() ^ (0x9E3779B97F4A7C15ull * ++made) ^
                     std::hash<std::string>()(book + '\n' + name);
    uint8_t bytes[16];
    for (int half = 0; half < 2; ++half) {
        // splitmix64: every bit of the state reaches every bit of the result.
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        memcpy(bytes + 8 * half, &z, 8);
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // marked as a random id
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
    RasGuid id;
    memcpy(&id, bytes, sizeof id);
    return id;
}

RasDword EnumDevices(RASDEVINFOA* devices, RasDword* bytes, RasDword* count) {
    if (bytes == nullptr || count == nullptr) {
        return kSimErrorInvalidParameter;
    }
    // Documented as ERROR_INVALID_USER_BUFFER here, where the other records give 632.
    if (devices != nullptr && !IsKnownDevInfoSize(CurrentSimWindows(), devices->dwSize)) {
        return ERROR_INVALID_USER_BUFFER_;
    }
    OpenPhonebook open;
    const RasDword opened = Open(nullptr, &open);
    if (opened != 0) {
        return opened;
    }
    const std::vector<SimDevice> list = ReportedDevices(open.book);
    const RasDword needed = static_cast<RasDword>(list.size() * kRasDevInfoSize);
    // A buffer stated smaller than the one record it must hold is too small, devices or none.
    if ((needed > 0 && (devices == nullptr || *bytes < needed)) ||
        (devices != nullptr && *bytes < kRasDevInfoSize)) {
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

struct ListedEntry {
    std::string name;
    bool allUsers;
    std::string path;
};

// The entries of the named phonebook; with none, of the all-users one and then, from 2000
// on, of the user's own.
RasDword ListEntries(SimWindows version, const char* phonebook, std::vector<ListedEntry>* list) {
    OpenPhonebook open;
    RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    for (const SimEntry& entry : open.book.entries) {
        list->push_back({entry.name, open.allUsers, open.path});
    }
    std::string user;
    if ((phonebook == nullptr || phonebook[0] == '\0') && UserPath(version, &user)) {
        OpenPhonebook own;
        own.path = user;
        opened = ReadBook(&own);
        if (opened != 0) {
            return opened;
        }
        for (const SimEntry& entry : own.book.entries) {
            list->push_back({entry.name, false, own.path});
        }
    }
    return 0;
}

RasDword EnumEntries(const char* reserved, const char* phonebook, RASENTRYNAMEA* entries,
                     RasDword* bytes, RasDword* count) {
    if (reserved != nullptr) {
        return kSimErrorNotSupported;
    }
    if (bytes == nullptr || count == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    const SimWindows version = CurrentSimWindows();
    // The record's dwSize is checked even when the stated size is 0: a caller probing with
    // a single record (the usual way) still says which form it speaks.
    if (entries != nullptr && !IsKnownEntryNameSize(version, entries->dwSize)) {
        return ERROR_INVALID_SIZE;
    }
    const RasDword recordSize = entries != nullptr ? entries->dwSize
                                : HasTwoPhonebooks(version)
                                    ? static_cast<RasDword>(sizeof(SimEntryNameLong))
                                    : kRasEntryNameSize;
    std::vector<ListedEntry> list;
    const RasDword listed = ListEntries(version, phonebook, &list);
    if (listed != 0) {
        return listed;
    }
    const RasDword needed = static_cast<RasDword>(list.size() * recordSize);
    if (needed > 0 && (entries == nullptr || *bytes < needed)) {
        *bytes = needed;
        *count = static_cast<RasDword>(list.size());
        return ERROR_BUFFER_TOO_SMALL;
    }
    char* at = reinterpret_cast<char*>(entries);
    for (const ListedEntry& entry : list) {
        memset(at, 0, recordSize);
        RASENTRYNAMEA* record = reinterpret_cast<RASENTRYNAMEA*>(at);
        record->dwSize = recordSize;
        CopyField(record->szEntryName, entry.name.c_str());
        if (recordSize == sizeof(SimEntryNameLong)) {
            SimEntryNameLong* full = reinterpret_cast<SimEntryNameLong*>(at);
            full->dwFlags = entry.allUsers ? REN_AllUsers : REN_User;
            CopyField(full->szPhonebookPath, entry.path.c_str());
        }
        at += recordSize;
    }
    *bytes = needed;
    *count = static_cast<RasDword>(list.size());
    return 0;
}

RasDword GetEntryProperties(const char* phonebook, const char* entry, RASENTRYA* entryInfo,
                            RasDword* entrySize, unsigned char* deviceInfo,
                            RasDword* deviceInfoSize) {
    if (entrySize == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    const SimWindows version = CurrentSimWindows();
    if (entryInfo != nullptr && !IsKnownEntrySize(version, entryInfo->dwSize)) {
        return ERROR_INVALID_SIZE;
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
    // The 9x family hands out the device settings too, into a buffer of their own; later
    // versions use neither argument.
    const bool device = IsNineX(version) && deviceInfoSize != nullptr;
    const RasDword deviceBytes = device ? static_cast<RasDword>(found.deviceInfo.size()) : 0;
    const bool deviceFits =
        deviceBytes == 0 || (deviceInfo != nullptr && *deviceInfoSize >= deviceBytes);
    if (deviceInfoSize != nullptr) {
        *deviceInfoSize = deviceBytes;
    }
    // The structure version asked for, and the alternate numbers right after it.
    const RasDword structure = entryInfo != nullptr ? entryInfo->dwSize : SimEntrySize(version);
    const RasDword list = AlternateBytes(found.alternates);
    const RasDword needed = structure + list;
    if (entryInfo == nullptr || *entrySize < needed || !deviceFits) {
        *entrySize = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    if (deviceBytes != 0) {
        memcpy(deviceInfo, found.deviceInfo.data(), deviceBytes);
    }
    char* bytes = reinterpret_cast<char*>(entryInfo);
    memset(bytes, 0, needed);
    memcpy(bytes, &found.properties,
           structure < sizeof found.properties ? structure : sizeof found.properties);
    entryInfo->dwSize = structure;
    entryInfo->dwAlternateOffset = list != 0 ? structure : 0;
    char* at = bytes + structure;
    for (const std::string& number : found.alternates) {
        memcpy(at, number.c_str(), number.size() + 1);
        at += number.size() + 1;
    }
    *entrySize = needed;
    return 0;
}

RasDword SetEntryProperties(const char* phonebook, const char* entry, RASENTRYA* entryInfo,
                            RasDword entrySize, const unsigned char* deviceInfo,
                            RasDword deviceInfoSize) {
    if (entry == nullptr || entryInfo == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    const SimWindows version = CurrentSimWindows();
    if (!IsAcceptedEntryName(version, entry)) {
        return kSimErrorInvalidName;
    }
    const RasDword structure = entryInfo->dwSize;
    if (!IsKnownEntrySize(version, structure) || entrySize < structure) {
        return ERROR_INVALID_SIZE;
    }
    std::vector<std::string> alternates;
    if (!ReadAlternates(entryInfo, entrySize, &alternates)) {
        return ERROR_BUFFER_INVALID;
    }
    if (!HasRequiredFields(version, *entryInfo)) {
        return kSimErrorInvalidParameter;
    }
    OpenPhonebook open;
    const RasDword opened = OpenToWrite(version, phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    SimEntry* stored = FindSimEntry(&open.book, entry);
    if (stored == nullptr) {
        SimEntry made = MakeSimEntry(entry);
        made.properties = DefaultEntry().properties;
        if (AssignsEntryIds(version)) {
            made.properties.guidId = NewEntryId(FormatPhonebook(open.book), entry);
        }
        open.book.entries.push_back(made);
        stored = &open.book.entries.back();
    }
    // The id is Windows' own: whatever the record says, the entry keeps the one it has.
    const RasGuid id = stored->properties.guidId;
    stored->properties = MergeRecord(stored->properties, entryInfo, structure);
    stored->properties.guidId = id;
    stored->alternates = alternates;
    // Written without device settings, a 9x entry has none afterwards.
    if (IsNineX(version)) {
        stored->deviceInfo.assign(deviceInfo,
                                  deviceInfo != nullptr ? deviceInfo + deviceInfoSize : deviceInfo);
    }
    return Save(open);
}

RasDword DeleteEntry(const char* phonebook, const char* entry) {
    if (entry == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    OpenPhonebook open;
    const RasDword opened = OpenToWrite(CurrentSimWindows(), phonebook, &open);
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

bool IsHiddenPassword(const char* password, size_t size) {
    const size_t length = strnlen(password, size);
    return length == strlen(kSimHiddenPassword) &&
           memcmp(password, kSimHiddenPassword, length) == 0;
}

RasDword GetEntryDialParams(const char* phonebook, RASDIALPARAMSA* params, RasBool* hasPassword) {
    if (params == nullptr || hasPassword == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    const SimWindows version = CurrentSimWindows();
    const RasDword structure = params->dwSize;
    if (!IsKnownDialParamsSize(version, structure)) {
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
    const bool saved = HasSavedPassword(*stored);
    memset(params, 0, structure);
    params->dwSize = structure;
    CopyField(params->szEntryName, name);
    CopyField(params->szUserName, stored->userName);
    if (HidesSavedPassword(version)) {
        CopyField(params->szPassword, saved ? kSimHiddenPassword : "");
    } else {
        CopyField(params->szPassword, stored->password);
    }
    CopyField(params->szDomain, stored->domain);
    *hasPassword = saved ? 1 : 0;
    return 0;
}

RasDword SetEntryDialParams(const char* phonebook, RASDIALPARAMSA* params, RasBool removePassword) {
    if (params == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    const SimWindows version = CurrentSimWindows();
    if (!IsKnownDialParamsSize(version, params->dwSize)) {
        return ERROR_INVALID_SIZE;
    }
    char name[RAS_MaxEntryName + 1];
    CopyRecordField(name, params->szEntryName);
    OpenPhonebook open;
    const RasDword opened = OpenToWrite(version, phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    SimEntry* stored = FindSimEntry(&open.book, name);
    if (stored == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    // An empty user name or domain leaves the saved one, and an empty user name the password
    // too, except on NT 4, which takes the password whatever the user name.
    const bool userNameGiven = strnlen(params->szUserName, 1) != 0;
    if (userNameGiven) {
        CopyRecordField(stored->userName, params->szUserName);
    }
    if (strnlen(params->szDomain, 1) != 0) {
        CopyRecordField(stored->domain, params->szDomain);
    }
    if (removePassword) {
        WipeBytes(stored->password, sizeof stored->password);
        stored->emptyPasswordSaved = false;
    } else if ((userNameGiven || version == SimWindows::Nt4) &&
               (!HidesSavedPassword(version) ||
                !IsHiddenPassword(params->szPassword, sizeof params->szPassword))) {
        CopyRecordField(stored->password, params->szPassword);
        // "The password is set to the empty string": on 9x that is a saved password.
        stored->emptyPasswordSaved = IsNineX(version) && stored->password[0] == '\0';
    }
    return Save(open);
}

RasDword GetCredentials(const char* phonebook, const char* entry, RASCREDENTIALSA* credentials) {
    if (entry == nullptr || credentials == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    const SimWindows version = CurrentSimWindows();
    if (!IsKnownCredentialsSize(version, credentials->dwSize)) {
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
    RasDword mask = credentials->dwMask;
    // Before XP there are no default credentials: the flag asks for nothing.
    if (!HasDefaultCredentials(version)) {
        mask &= ~RASCM_DefaultCreds;
    }
    const bool defaults = (mask & RASCM_DefaultCreds) != 0;
    const char* userName = defaults ? stored->defaultUserName : stored->userName;
    const char* password = defaults ? stored->defaultPassword : stored->password;
    const char* domain = defaults ? stored->defaultDomain : stored->domain;
    const bool saved = defaults ? password[0] != '\0' : HasSavedPassword(*stored);
    memset(credentials, 0, sizeof *credentials);
    credentials->dwSize = kRasCredentialsSize;
    credentials->dwMask = mask;
    if (ReportsSavedPasswordInMask(version) && !saved) {
        credentials->dwMask &= ~RASCM_Password;
    }
    if (mask & RASCM_UserName) {
        CopyField(credentials->szUserName, userName);
    }
    if ((mask & RASCM_Password) && saved) {
        // The NT family never hands out a saved password, only this placeholder.
        CopyField(credentials->szPassword, kSimHiddenPassword);
    }
    if (mask & kSimCredentialsDomain) {
        CopyField(credentials->szDomain, domain);
    }
    return 0;
}

RasDword SetCredentials(const char* phonebook, const char* entry, RASCREDENTIALSA* credentials,
                        RasBool clearCredentials) {
    if (entry == nullptr || credentials == nullptr) {
        return kSimErrorInvalidParameter;
    }
    const SimWindows version = CurrentSimWindows();
    if (!IsKnownCredentialsSize(version, credentials->dwSize)) {
        return ERROR_INVALID_SIZE;
    }
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    SimEntry* stored = FindSimEntry(&open.book, entry);
    if (stored == nullptr) {
        return kSimErrorInvalidParameter;  // documented so for an entry that is not there
    }
    RasDword mask = credentials->dwMask;
    if (!HasDefaultCredentials(version)) {
        mask &= ~RASCM_DefaultCreds;
    }
    const bool defaults = (mask & RASCM_DefaultCreds) != 0;
    // Each user keeps credentials of their own, also for an all-users entry; the defaults
    // belong to an all-users entry and only an administrator sets them.
    if (defaults && HasTwoPhonebooks(version) && (!open.allUsers || StandardUser())) {
        return kSimErrorAccessDenied;
    }
    char* userName = defaults ? stored->defaultUserName : stored->userName;
    char* password = defaults ? stored->defaultPassword : stored->password;
    char* domain = defaults ? stored->defaultDomain : stored->domain;
    if (mask & RASCM_UserName) {
        if (clearCredentials) {
            userName[0] = '\0';
        } else {
            CopyTextN(userName, UNLEN + 1, credentials->szUserName,
                      strnlen(credentials->szUserName, sizeof credentials->szUserName));
        }
    }
    if ((mask & RASCM_Password) &&
        (clearCredentials ||
         !IsHiddenPassword(credentials->szPassword, sizeof credentials->szPassword))) {
        if (clearCredentials) {
            WipeBytes(password, PWLEN + 1);
        } else {
            CopyTextN(password, PWLEN + 1, credentials->szPassword,
                      strnlen(credentials->szPassword, sizeof credentials->szPassword));
        }
        stored->emptyPasswordSaved = stored->emptyPasswordSaved && defaults;
    }
    if (mask & kSimCredentialsDomain) {
        if (clearCredentials) {
            domain[0] = '\0';
        } else {
            CopyTextN(domain, DNLEN + 1, credentials->szDomain,
                      strnlen(credentials->szDomain, sizeof credentials->szDomain));
        }
    }
    return Save(open);
}

RasDword ValidateEntryName(const char* phonebook, const char* entry) {
    if (entry == nullptr) {
        return kSimErrorInvalidParameter;
    }
    const SimWindows version = CurrentSimWindows();
    if (!IsAcceptedEntryName(version, entry)) {
        return kSimErrorInvalidName;
    }
    OpenPhonebook open;
    const RasDword opened = Open(phonebook, &open);
    if (opened != 0) {
        return opened;
    }
    return FindSimEntry(&open.book, entry) != nullptr ? RasDword{kSimErrorAlreadyExists}
                                                      : RasDword{0};
}

// The default Internet connection, from XP on: the user's own (HKCU) or the machine's
// (HKLM, in the 64-bit view on 64-bit Windows), where Windows keeps them.
bool ReadDefault(SimHive hive, std::string* entry) {
    const bool user = hive == SimHive::CurrentUser;
    return ReadSimRegistryText(hive, user ? kSimUserDefaultKey : SimMachineDefaultKey(),
                               user ? kSimUserDefaultValue : kSimMachineDefaultValue, entry) &&
           !entry->empty();
}

RasDword WriteDefault(SimHive hive, const std::string* entry) {
    const bool user = hive == SimHive::CurrentUser;
    return WriteSimRegistryText(hive, user ? kSimUserDefaultKey : SimMachineDefaultKey(),
                                user ? kSimUserDefaultValue : kSimMachineDefaultValue, entry)
               ? RasDword{0}
               : RasDword{kSimErrorAccessDenied};
}

RasDword SetAutodialAddress(const char* address, RasDword reserved, RASAUTODIALENTRYA* entries,
                            RasDword bytes, RasDword count) {
    const SimWindows version = CurrentSimWindows();
    if (version == SimWindows::Win98) {
        return kMissingOperation;  // not there before the NT family
    }
    if (reserved != 0) {
        return kSimErrorInvalidParameter;
    }
    // Before XP a null address is refused, and "" is an address like any other; only the
    // default Internet connection is kept, not the address mapping.
    const bool removes = address != nullptr && address[0] == '\0';
    if (!HasDefaultConnection(version)) {
        return address == nullptr ? kSimErrorInvalidParameter : kSimErrorNotSupported;
    }
    if (address != nullptr && !removes) {
        return kSimErrorNotSupported;
    }
    if (entries == nullptr || count != 1 || bytes < kRasAutodialEntrySize) {
        return kSimErrorInvalidParameter;
    }
    if (entries->dwSize != kRasAutodialEntrySize) {
        return ERROR_INVALID_SIZE;
    }
    if (entries->dwFlags != 0) {
        return kSimErrorInvalidParameter;
    }
    char name[RAS_MaxEntryName + 1];
    CopyRecordField(name, entries->szEntry);
    std::string current;
    if (removes) {
        // The one RasGetAutodialAddressA reads: the user's own, else the machine's.
        if (name[0] != '\0') {
            return kSimErrorInvalidParameter;
        }
        if (ReadDefault(SimHive::CurrentUser, &current)) {
            return WriteDefault(SimHive::CurrentUser, nullptr);
        }
        if (!ReadDefault(SimHive::LocalMachine, &current)) {
            return 0;
        }
        return StandardUser() ? RasDword{kSimErrorAccessDenied}
                              : WriteDefault(SimHive::LocalMachine, nullptr);
    }
    // An entry of the user's own phonebook is the user's default, and wins over an all-users
    // entry of the same name; an all-users entry is the machine's, which only an
    // administrator sets.
    std::string own;
    OpenPhonebook open;
    if (UserPath(version, &own)) {
        open.path = own;
        const RasDword read = ReadBook(&open);
        if (read != 0) {
            return read;
        }
        if (const SimEntry* mine = FindSimEntry(&open.book, name)) {
            current = mine->name;
            return WriteDefault(SimHive::CurrentUser, &current);
        }
    }
    open = OpenPhonebook();
    const RasDword opened = Open(nullptr, &open);
    if (opened != 0) {
        return opened;
    }
    const SimEntry* shared = FindSimEntry(&open.book, name);
    if (shared == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    if (StandardUser()) {
        return kSimErrorAccessDenied;
    }
    current = shared->name;
    return WriteDefault(SimHive::LocalMachine, &current);
}

RasDword GetAutodialAddress(const char* address, RasDword* reserved, RASAUTODIALENTRYA* entries,
                            RasDword* bytes, RasDword* count) {
    const SimWindows version = CurrentSimWindows();
    if (version == SimWindows::Win98) {
        return kMissingOperation;
    }
    if (reserved != nullptr || bytes == nullptr || count == nullptr) {
        return kSimErrorInvalidParameter;
    }
    if (address == nullptr && !HasDefaultConnection(version)) {
        return kSimErrorInvalidParameter;
    }
    if (address != nullptr) {
        return kSimErrorNotSupported;
    }
    if (entries != nullptr && entries->dwSize != kRasAutodialEntrySize) {
        return ERROR_INVALID_SIZE;
    }
    // The user's own default when there is one, else the machine's.
    std::string name;
    if (!ReadDefault(SimHive::CurrentUser, &name) && !ReadDefault(SimHive::LocalMachine, &name)) {
        *bytes = 0;
        *count = 0;
        return 0;
    }
    if (entries == nullptr || *bytes < kRasAutodialEntrySize) {
        *bytes = kRasAutodialEntrySize;
        *count = 1;
        return ERROR_BUFFER_TOO_SMALL;
    }
    memset(entries, 0, kRasAutodialEntrySize);
    entries->dwSize = kRasAutodialEntrySize;
    CopyField(entries->szEntry, name.c_str());
    *bytes = kRasAutodialEntrySize;
    *count = 1;
    return 0;
}

}  // namespace

extern "C" {

RasDword RASAPI_CALL RasEnumDevicesA(RASDEVINFOA* devices, RasDword* bytes, RasDword* count) {
    return SimCall(__func__, [&] { return EnumDevices(devices, bytes, count); });
}

RasDword RASAPI_CALL RasEnumEntriesA(const char* reserved, const char* phonebook,
                                     RASENTRYNAMEA* entries, RasDword* bytes, RasDword* count) {
    return SimCall(__func__,
                   [&] { return EnumEntries(reserved, phonebook, entries, bytes, count); });
}

RasDword RASAPI_CALL RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword* entrySize,
                                            unsigned char* deviceInfo, RasDword* deviceInfoSize) {
    return SimCall(__func__, [&] {
        return GetEntryProperties(phonebook, entry, entryInfo, entrySize, deviceInfo,
                                  deviceInfoSize);
    });
}

RasDword RASAPI_CALL RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RASENTRYA* entryInfo, RasDword entrySize,
                                            unsigned char* deviceInfo, RasDword deviceInfoSize) {
    return SimCall(__func__, [&] {
        return SetEntryProperties(phonebook, entry, entryInfo, entrySize, deviceInfo,
                                  deviceInfoSize);
    });
}

RasDword RASAPI_CALL RasDeleteEntryA(const char* phonebook, const char* entry) {
    return SimCall(__func__, [&] { return DeleteEntry(phonebook, entry); });
}

RasDword RASAPI_CALL RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool* hasPassword) {
    return SimCall(__func__, [&] { return GetEntryDialParams(phonebook, params, hasPassword); });
}

RasDword RASAPI_CALL RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                            RasBool removePassword) {
    return SimCall(__func__, [&] { return SetEntryDialParams(phonebook, params, removePassword); });
}

RasDword RASAPI_CALL RasGetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials) {
    return SimCall(__func__, [&] { return GetCredentials(phonebook, entry, credentials); });
}

RasDword RASAPI_CALL RasSetCredentialsA(const char* phonebook, const char* entry,
                                        RASCREDENTIALSA* credentials, RasBool clearCredentials) {
    return SimCall(__func__,
                   [&] { return SetCredentials(phonebook, entry, credentials, clearCredentials); });
}

RasDword RASAPI_CALL RasValidateEntryNameA(const char* phonebook, const char* entry) {
    return SimCall(__func__, [&] { return ValidateEntryName(phonebook, entry); });
}

RasDword RASAPI_CALL RasSetAutodialAddressA(const char* address, RasDword reserved,
                                            RASAUTODIALENTRYA* entries, RasDword bytes,
                                            RasDword count) {
    return SimCall(__func__,
                   [&] { return SetAutodialAddress(address, reserved, entries, bytes, count); });
}

RasDword RASAPI_CALL RasGetAutodialAddressA(const char* address, RasDword* reserved,
                                            RASAUTODIALENTRYA* entries, RasDword* bytes,
                                            RasDword* count) {
    return SimCall(__func__,
                   [&] { return GetAutodialAddress(address, reserved, entries, bytes, count); });
}

RasDword RASAPI_CALL RasDialA(void* /*extensions*/, const char* /*phonebook*/,
                              RASDIALPARAMSA* /*params*/, RasDword /*notifierType*/,
                              void* /*notifier*/, void** connection) {
    return SimCall(__func__, [&] {
        if (connection != nullptr) {
            *connection = nullptr;
        }
        return static_cast<RasDword>(kSimErrorPortNotAvailable);
    });
}

RasDword RASAPI_CALL RasHangUpA(void* /*connection*/) {
    return SimCall(__func__, [] { return static_cast<RasDword>(kSimErrorInvalidHandle); });
}

}  // extern "C"
