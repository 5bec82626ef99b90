// Listing the phonebook's entry names.
#include "dialup/PhonebookEntries.h"

#include <cstddef>

namespace {

// Far more entries than any phonebook holds; a larger reported size is taken as a fault.
constexpr size_t kMaxEnumeratedEntries = 65536;

}  // namespace

bool EnumerateEntries(const DialupApi& api, std::vector<RASENTRYNAMEA>* entries) {
    if (entries == nullptr) {
        return false;
    }
    entries->clear();
    if (api.RasEnumEntriesA == nullptr) {
        return false;
    }
    std::vector<RASENTRYNAMEA> buffer(1, RASENTRYNAMEA{});
    buffer[0].dwSize = kRasEntryNameSize;
    RasDword bytes = 0;
    RasDword count = 0;
    RasDword result = api.RasEnumEntriesA(nullptr, nullptr, buffer.data(), &bytes, &count);
    if (result == ERROR_BUFFER_TOO_SMALL) {
        size_t records = (static_cast<size_t>(bytes) + kRasEntryNameSize - 1) / kRasEntryNameSize;
        if (records == 0) {
            records = 1;
        }
        if (records > kMaxEnumeratedEntries) {
            return false;
        }
        buffer.assign(records, RASENTRYNAMEA{});
        buffer[0].dwSize = kRasEntryNameSize;
    }
    // The stated size is always what the buffer really holds, never more.
    bytes = static_cast<RasDword>(buffer.size() * kRasEntryNameSize);
    count = 0;
    result = api.RasEnumEntriesA(nullptr, nullptr, buffer.data(), &bytes, &count);
    if (result != 0) {
        return false;
    }
    if (count < buffer.size()) {
        buffer.resize(count);
    }
    for (RASENTRYNAMEA& entry : buffer) {
        entry.szEntryName[sizeof(entry.szEntryName) - 1] = '\0';
    }
    entries->swap(buffer);
    return true;
}
