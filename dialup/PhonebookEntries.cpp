// Listing the phonebook's entry names.
#include "dialup/PhonebookEntries.h"

#include <cstddef>
#include <cstring>

#include "settings/ByteText.h"

namespace {

// Far more entries than any phonebook holds; a larger reported size is taken as a fault.
constexpr size_t kMaxEnumeratedEntries = 65536;

void CopyPhonebook(const RASENTRYNAMEA_2000& record, PhonebookEntryName* entry) {
    CopyTextN(entry->phonebook, sizeof(entry->phonebook), record.szPhonebookPath,
              strnlen(record.szPhonebookPath, sizeof(record.szPhonebookPath)));
    entry->allUsers = record.dwFlags == REN_AllUsers;
}

void CopyPhonebook(const RASENTRYNAMEA&, PhonebookEntryName* entry) {
    entry->phonebook[0] = '\0';
    entry->allUsers = false;
}

// The library's prototype names the short form; the version in dwSize says which it is.
RASENTRYNAMEA* AsEntryNames(RASENTRYNAMEA_2000* records) {
    return reinterpret_cast<RASENTRYNAMEA*>(records);
}

RASENTRYNAMEA* AsEntryNames(RASENTRYNAMEA* records) {
    return records;
}

template <typename Record>
RasDword EnumerateAs(const DialupApi& api, std::vector<PhonebookEntryName>* entries) {
    const RasDword recordSize = sizeof(Record);
    std::vector<Record> buffer(1, Record{});
    buffer[0].dwSize = recordSize;
    RasDword bytes = 0;
    RasDword count = 0;
    RasDword result =
        api.RasEnumEntriesA(nullptr, nullptr, AsEntryNames(buffer.data()), &bytes, &count);
    if (result == ERROR_BUFFER_TOO_SMALL) {
        size_t records = (static_cast<size_t>(bytes) + recordSize - 1) / recordSize;
        if (records == 0) {
            records = 1;
        }
        if (records > kMaxEnumeratedEntries) {
            return ERROR_INVALID_SIZE;
        }
        buffer.assign(records, Record{});
        buffer[0].dwSize = recordSize;
    }
    // The stated size is always what the buffer really holds, never more. The count starts
    // past what the buffer holds, so that a success that left it unset cannot pass for an
    // empty phonebook.
    bytes = static_cast<RasDword>(buffer.size() * recordSize);
    count = static_cast<RasDword>(buffer.size() + 1);
    result = api.RasEnumEntriesA(nullptr, nullptr, AsEntryNames(buffer.data()), &bytes, &count);
    if (result != 0) {
        return result;
    }
    if (count > buffer.size()) {
        return kUnfilledRead;
    }
    entries->assign(count, PhonebookEntryName{});
    for (size_t i = 0; i < count; ++i) {
        const Record& record = buffer[i];
        // No entry is nameless: an empty name is a record the library never wrote.
        if (record.szEntryName[0] == '\0') {
            entries->clear();
            return kUnfilledRead;
        }
        CopyTextN((*entries)[i].name, sizeof((*entries)[i].name), record.szEntryName,
                  strnlen(record.szEntryName, sizeof(record.szEntryName)));
        CopyPhonebook(record, &(*entries)[i]);
    }
    return 0;
}

}  // namespace

RasDword EnumerateEntries(const DialupApi& api, std::vector<PhonebookEntryName>* entries) {
    if (entries == nullptr) {
        return ERROR_BUFFER_INVALID;
    }
    entries->clear();
    if (api.RasEnumEntriesA == nullptr) {
        return kMissingOperation;
    }
    const RasDword result = EnumerateAs<RASENTRYNAMEA_2000>(api, entries);
    if (result != ERROR_INVALID_SIZE) {
        return result;
    }
    entries->clear();
    const RasDword shortForm = EnumerateAs<RASENTRYNAMEA>(api, entries);
    if (shortForm != 0) {
        entries->clear();
    }
    return shortForm;
}

const PhonebookEntryName* FindEntryNamed(const std::vector<PhonebookEntryName>& entries,
                                         const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (const PhonebookEntryName& entry : entries) {
        if (EqualsNoCase(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}
