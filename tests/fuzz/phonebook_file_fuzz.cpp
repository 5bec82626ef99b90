// libFuzzer target: any bytes as the substitute phonebook's file. What the parser keeps
// must survive the trip through the writer: parse, write, parse again gives the same
// entries and devices, and writing that again gives the same bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzModels.h"
#include "sim/PhonebookFile.h"

namespace {

// One entry's section as the writer puts it: every kept field, escaped.
std::string Section(const SimEntry& entry) {
    SimPhonebookFile one;
    one.entries.push_back(entry);
    return FormatPhonebook(one);
}

void CheckSame(const SimPhonebookFile& a, const SimPhonebookFile& b) {
    Check(a.entries.size() == b.entries.size(), "entry count after the round trip");
    for (size_t i = 0; i < a.entries.size(); ++i) {
        const SimEntry& x = a.entries[i];
        const SimEntry& y = b.entries[i];
        Check(strcmp(x.name, y.name) == 0, "entry name after the round trip");
        Check(strcmp(x.userName, y.userName) == 0 && strcmp(x.password, y.password) == 0 &&
                  strcmp(x.domain, y.domain) == 0,
              "credentials after the round trip");
        Check(Section(x) == Section(y), "entry fields after the round trip");
    }
    Check(a.hasDevicesSection == b.hasDevicesSection && a.devices.size() == b.devices.size(),
          "device list after the round trip");
    for (size_t i = 0; i < a.devices.size(); ++i) {
        Check(strcmp(a.devices[i].type, b.devices[i].type) == 0 &&
                  strcmp(a.devices[i].name, b.devices[i].name) == 0,
              "device after the round trip");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SimPhonebookFile first = ParsePhonebook(reinterpret_cast<const char*>(data), size);
    for (size_t i = 0; i < first.entries.size(); ++i) {
        const SimEntry& entry = first.entries[i];
        Check(IsValidEntryName(entry.name), "a kept entry name the phonebook refuses");
        for (size_t j = 0; j < i; ++j) {
            Check(!EqualsEntryName(first.entries[j].name, entry.name), "two entries, one name");
        }
    }
    const std::string written = FormatPhonebook(first);
    const SimPhonebookFile second = ParsePhonebook(written.data(), written.size());
    CheckSame(first, second);
    Check(FormatPhonebook(second) == written, "writing the read file changes it");
    return 0;
}
