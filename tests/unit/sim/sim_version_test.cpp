// The substitute as each Windows version: structure versions, alternate numbers, required
// fields, the saved-password report, two phonebooks and the fault modes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "settings/ByteText.h"
#include "sim/SimFaults.h"
#include "sim/SimRasApi.h"
#include "sim/SimVersion.h"
#include "support/SimPhonebook.h"

namespace {

const char kVersion[] = "RASSIM_WINVER";
const RasDword kDialNt4 = 1052 + 4 + sizeof(void*);  // the callback id is pointer-sized
const RasDword kDial7 = kDialNt4 + 4;

RASENTRYA Complete() {
    RASENTRYA entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    CopyField(entry.szLocalPhoneNumber, "0120");
    CopyField(entry.szDeviceType, "modem");
    CopyField(entry.szDeviceName, "M");
    entry.dwFramingProtocol = RASFP_Ppp;
    entry.dwType = 1;
    return entry;
}

}  // namespace

TEST(SimVersions, NamesAndReportedNumbersPickTheVersion) {
    struct Named {
        const char* name;
        bool known;
        SimWindows version;
    } names[] = {
        {"98", true, SimWindows::Win98},   {"nt4", true, SimWindows::Nt4},
        {"2000", true, SimWindows::Win2000}, {"xp", true, SimWindows::Xp},
        {"vista", true, SimWindows::Vista}, {"7", true, SimWindows::Win7},
        {"10", true, SimWindows::Win10},   {"legacy", true, SimWindows::Legacy},
        {"XP", false, SimWindows::Win98},  {"95", false, SimWindows::Win98},
        {"", false, SimWindows::Win98},
    };
    for (const Named& c : names) {
        SimWindows version = SimWindows::Win98;
        EXPECT_EQ(ParseSimWindows(c.name, &version), c.known) << c.name;
        EXPECT_EQ(version, c.version) << c.name;
    }
    struct Reported {
        unsigned major, minor;
        bool nineX;
        SimWindows version;
    } reported[] = {
        {4, 10, true, SimWindows::Win98}, {4, 0, false, SimWindows::Nt4},
        {5, 0, false, SimWindows::Win2000}, {5, 1, false, SimWindows::Xp},
        {5, 2, false, SimWindows::Xp},    {6, 0, false, SimWindows::Vista},
        {6, 1, false, SimWindows::Win7},  {6, 2, false, SimWindows::Win10},
        {10, 0, false, SimWindows::Win10},
    };
    for (const Reported& c : reported) {
        EXPECT_EQ(SimWindowsFromNumbers(c.major, c.minor, c.nineX), c.version)
            << c.major << "." << c.minor;
    }
}

TEST(SimVersions, EachVersionTakesTheStructureVersionsItKnows) {
    enum Kind { Probe, Entry, EntryName, DialParams, Credentials, DevInfo };
    struct Case {
        const char* version;
        Kind kind;
        RasDword size;      // dwSize given (Probe: none)
        RasDword expected;  // result; for Probe the size reported
    } cases[] = {
        {"98", Probe, 0, 1768},       {"98", Entry, 1768, 0},       {"98", Entry, 1767, 632},
        {"98", Entry, 1796, 632},     {"nt4", Probe, 0, 1796},      {"nt4", Entry, 1768, 0},
        {"nt4", Entry, 1796, 0},      {"nt4", Entry, 2088, 632},    {"2000", Probe, 0, 2088},
        {"2000", Entry, 2088, 0},     {"2000", Entry, 2884, 632},   {"xp", Probe, 0, 2884},
        {"xp", Entry, 2884, 0},       {"xp", Entry, 2948, 632},     {"vista", Probe, 0, 2948},
        {"vista", Entry, 2948, 0},    {"vista", Entry, 3480, 632},  {"7", Probe, 0, 3480},
        {"7", Entry, 3480, 0},        {"7", Entry, 3481, 632},      {"10", Probe, 0, 3480},
        {"10", Entry, 1768, 0},       {"10", Entry, 3484, 632},     {"legacy", Probe, 0, 2884},
        {"legacy", Entry, 2883, 632}, {"legacy", Entry, 4000, 0},   {"98", EntryName, 264, 0},
        {"nt4", EntryName, 532, 632}, {"2000", EntryName, 264, 0},  {"2000", EntryName, 532, 0},
        {"10", EntryName, 536, 632},  {"legacy", EntryName, 532, 632},
        {"98", DialParams, 1052, 0},  {"98", DialParams, kDialNt4, 632},
        {"nt4", DialParams, kDialNt4, 0}, {"vista", DialParams, kDial7, 632},
        {"7", DialParams, kDial7, 0}, {"7", DialParams, kDial7 + 4, 632},
        {"98", Credentials, 540, 0},  {"10", Credentials, 544, 632}, {"98", DevInfo, 152, 0},
        {"10", DevInfo, 156, 1784},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        ASSERT_EQ(book.AddModemEntry("Isp", "M", "", "1", "u", "p"), 0u);
        book.Set(kVersion, c.version);
        std::vector<unsigned char> buffer(4096, 0);
        memcpy(buffer.data(), &c.size, sizeof c.size);
        void* record = buffer.data();
        RasDword bytes = static_cast<RasDword>(buffer.size());
        RasDword count = 0;
        RasBool has = 0;
        RasDword result = 0;
        switch (c.kind) {
            case Probe:
                bytes = 0;
                EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "", nullptr, &bytes, nullptr, nullptr),
                          ERROR_BUFFER_TOO_SMALL);
                result = bytes;
                break;
            case Entry:
                result = api.RasGetEntryPropertiesA(nullptr, "Isp", static_cast<RASENTRYA*>(record),
                                                    &bytes, nullptr, nullptr);
                break;
            case EntryName:
                result = api.RasEnumEntriesA(nullptr, nullptr, static_cast<RASENTRYNAMEA*>(record),
                                             &bytes, &count);
                break;
            case DialParams:
                CopyField(static_cast<RASDIALPARAMSA*>(record)->szEntryName, "Isp");
                result = api.RasGetEntryDialParamsA(nullptr, static_cast<RASDIALPARAMSA*>(record),
                                                    &has);
                break;
            case Credentials:
                result = api.RasGetCredentialsA(nullptr, "Isp", static_cast<RASCREDENTIALSA*>(record));
                break;
            case DevInfo:
                result = api.RasEnumDevicesA(static_cast<RASDEVINFOA*>(record), &bytes, &count);
                break;
        }
        EXPECT_EQ(result, c.expected) << c.version << " kind " << c.kind << " size " << c.size;
    }
}

TEST(SimApi, AlternateNumbersFollowTheRecordAndAreKeptAsGiven) {
    struct Case {
        const char* what;
        std::string list;  // the bytes after the record
        RasDword offset;   // dwAlternateOffset (kRasEntrySize: right after the record)
        RasDword extra;    // stated size beyond the record
        RasDword result;
        std::vector<std::string> kept;
    } cases[] = {
        {"two numbers", std::string("111\0" "0120-22\0\0", 13), kRasEntrySize, 13, 0,
         {"111", "0120-22"}},
        {"none", "", 0, 0, 0, {}},
        {"offset inside the record", std::string("111\0\0", 5), 100, 5, ERROR_BUFFER_INVALID,
         {"old"}},
        {"offset at the end of the buffer", "", kRasEntrySize, 0, ERROR_BUFFER_INVALID, {"old"}},
        {"no final NUL", std::string("111\0" "22", 6), kRasEntrySize, 6, ERROR_BUFFER_INVALID,
         {"old"}},
        {"number cut to 128 bytes", std::string(129, '9') + std::string("\0\0", 2),
         kRasEntrySize, 131, 0, {std::string(128, '9')}},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        std::vector<char> buffer(kRasEntrySize + 200, 0);
        RASENTRYA* record = reinterpret_cast<RASENTRYA*>(buffer.data());
        *record = Complete();
        const std::string old("old\0\0", 5);
        memcpy(buffer.data() + kRasEntrySize, old.data(), old.size());
        record->dwAlternateOffset = kRasEntrySize;
        ASSERT_EQ(api.RasSetEntryPropertiesA(nullptr, "Alt", record, kRasEntrySize + 5, nullptr, 0),
                  0u);

        memset(buffer.data() + kRasEntrySize, 0, 200);
        memcpy(buffer.data() + kRasEntrySize, c.list.data(), c.list.size());
        record->dwAlternateOffset = c.offset;
        EXPECT_EQ(api.RasSetEntryPropertiesA(nullptr, "Alt", record, kRasEntrySize + c.extra,
                                             nullptr, 0),
                  c.result)
            << c.what;

        // The entry's own probe: the newest structure and the list; a read in our structure
        // version finds the list right after it.
        RasDword listBytes = c.kept.empty() ? 0 : 1;
        for (const std::string& number : c.kept) {
            listBytes += static_cast<RasDword>(number.size() + 1);
        }
        RasDword size = 0;
        EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "Alt", nullptr, &size, nullptr, nullptr),
                  ERROR_BUFFER_TOO_SMALL);
        EXPECT_EQ(size, 3480 + listBytes) << c.what;
        std::vector<char> read(kRasEntrySize + 200, '\x7F');
        RASENTRYA* out = reinterpret_cast<RASENTRYA*>(read.data());
        out->dwSize = kRasEntrySize;
        if (listBytes > 0) {
            size = kRasEntrySize + listBytes - 1;
            EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "Alt", out, &size, nullptr, nullptr),
                      ERROR_BUFFER_TOO_SMALL)
                << c.what << ": one byte short";
            EXPECT_EQ(size, kRasEntrySize + listBytes) << c.what;
        }
        size = kRasEntrySize + listBytes;
        ASSERT_EQ(api.RasGetEntryPropertiesA(nullptr, "Alt", out, &size, nullptr, nullptr), 0u);
        EXPECT_EQ(out->dwAlternateOffset, listBytes > 0 ? kRasEntrySize : 0u) << c.what;
        std::vector<std::string> numbers;
        for (const char* at = read.data() + kRasEntrySize; listBytes > 0 && *at != '\0';
             at += strlen(at) + 1) {
            numbers.push_back(at);
        }
        EXPECT_EQ(numbers, c.kept) << c.what;
        EXPECT_EQ(read[kRasEntrySize + listBytes], '\x7F') << c.what << ": nothing past the list";
        EXPECT_EQ(book.ReadFile().find("\r\nAlternateNumber=") != std::string::npos,
                  !c.kept.empty())
            << c.what;
    }
}

TEST(SimApi, NewerVersionsRequireTheDocumentedFields) {
    struct Case {
        const char* what;
        const char* version;
        RasDword size;
        std::function<void(RASENTRYA*)> change;
        RasDword result;
    } cases[] = {
        {"complete", "10", kRasEntrySize, [](RASENTRYA*) {}, 0},
        {"no number", "10", kRasEntrySize, [](RASENTRYA* e) { e->szLocalPhoneNumber[0] = 0; },
         kSimErrorInvalidParameter},
        {"no device name", "xp", kRasEntrySize, [](RASENTRYA* e) { e->szDeviceName[0] = 0; },
         kSimErrorInvalidParameter},
        {"no device type", "10", kRasEntrySize, [](RASENTRYA* e) { e->szDeviceType[0] = 0; },
         kSimErrorInvalidParameter},
        {"no framing", "10", kRasEntrySize, [](RASENTRYA* e) { e->dwFramingProtocol = 0; },
         kSimErrorInvalidParameter},
        {"no type", "xp", kRasEntrySize, [](RASENTRYA* e) { e->dwType = 0; },
         kSimErrorInvalidParameter},
        {"no options", "10", kRasEntrySize, [](RASENTRYA* e) { e->dwfOptions = 0; }, 0},
        {"NT 4 form without a type", "10", 1796, [](RASENTRYA* e) { e->dwType = 0; }, 0},
        {"no type on 2000", "2000", 2088, [](RASENTRYA* e) { e->dwType = 0; }, 0},
        {"no number on 2000", "2000", 2088, [](RASENTRYA* e) { e->szLocalPhoneNumber[0] = 0; },
         0},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        book.Set(kVersion, c.version);
        RASENTRYA entry = Complete();
        entry.dwSize = c.size;
        c.change(&entry);
        EXPECT_EQ(book.api().RasSetEntryPropertiesA(nullptr, "New", &entry, sizeof entry, nullptr, 0),
                  c.result)
            << c.what;
        EXPECT_EQ(book.ReadFile().find("[New]") != std::string::npos, c.result == 0) << c.what;
    }
}

TEST(SimApi, SavedPasswordIsReportedAsEachVersionDocumentsIt) {
    struct Case {
        const char* version;
        const char* saved;
        RasDword mask;              // RasGetCredentialsA's report when both were asked for
        const char* dialPassword;   // what RasGetEntryDialParamsA hands out
        const char* storedAfter;    // after the dial parameters were written back as read
    } cases[] = {
        {"98", "secret", 3, "secret", "secret"},   {"98", "", 3, "", ""},
        {"nt4", "secret", 3, "secret", "secret"},  {"2000", "secret", 3, kSimHiddenPassword, "secret"},
        {"2000", "", 3, "", ""},                   {"xp", "secret", 3, kSimHiddenPassword, "secret"},
        {"xp", "", RASCM_UserName, "", ""},        {"10", "", RASCM_UserName, "", ""},
        {"legacy", "", 3, "", ""},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        ASSERT_EQ(book.AddModemEntry("Isp", "M", "", "1", "user", c.saved), 0u);
        book.Set(kVersion, c.version);
        RASCREDENTIALSA credentials = {};
        credentials.dwSize = sizeof credentials;
        credentials.dwMask = RASCM_UserName | RASCM_Password;
        ASSERT_EQ(api.RasGetCredentialsA(nullptr, "Isp", &credentials), 0u);
        EXPECT_EQ(credentials.dwMask, c.mask) << c.version << " " << c.saved;
        EXPECT_STREQ(credentials.szPassword, c.saved[0] ? kSimHiddenPassword : "") << c.version;

        RASDIALPARAMSA params = {};
        params.dwSize = sizeof params;
        CopyField(params.szEntryName, "Isp");
        RasBool has = 7;
        ASSERT_EQ(api.RasGetEntryDialParamsA(nullptr, &params, &has), 0u);
        EXPECT_STREQ(params.szPassword, c.dialPassword) << c.version << " " << c.saved;
        EXPECT_EQ(has, c.saved[0] ? 1 : 0) << c.version;
        ASSERT_EQ(api.RasSetEntryDialParamsA(nullptr, &params, 0), 0u);
        EXPECT_EQ(book.StoredPassword("Isp"), c.storedAfter) << c.version << " " << c.saved;
    }
    // Before 2000 the placeholder is no handle: it is saved as a password like any other.
    SimPhonebook book;
    ASSERT_EQ(book.AddModemEntry("Isp", "M", "", "1", "user", "secret"), 0u);
    book.Set(kVersion, "nt4");
    RASDIALPARAMSA params = {};
    params.dwSize = sizeof params;
    CopyField(params.szEntryName, "Isp");
    CopyField(params.szPassword, kSimHiddenPassword);
    ASSERT_EQ(book.api().RasSetEntryDialParamsA(nullptr, &params, 0), 0u);
    EXPECT_EQ(book.StoredPassword("Isp"), kSimHiddenPassword);
}

TEST(SimApi, FromWindows2000OnTheUsersOwnPhonebookIsListedBesideTheAllUsersOne) {
    struct Listed {
        std::string name;
        RasDword flags;
        bool inUserBook;
    };
    struct Case {
        const char* version;
        const char* rights;
        std::vector<Listed> listed;  // enumeration with no phonebook
        RasDword writeShared;        // a change of the all-users phonebook, no path given
        RasDword deleteShared;       // the same through its path
    } cases[] = {
        {"nt4", "standard", {{"Shared", 0, false}}, 0, 0},
        {"2000", "admin", {{"Shared", 1, false}, {"Mine", 0, true}}, 0, 0},
        {"2000", "standard", {{"Shared", 1, false}, {"Mine", 0, true}}, kSimErrorAccessDenied,
         kSimErrorAccessDenied},
        {"10", "standard", {{"Shared", 1, false}, {"Mine", 0, true}}, kSimErrorAccessDenied,
         kSimErrorAccessDenied},
        {"10", nullptr, {{"Shared", 1, false}, {"Mine", 0, true}}, 0, 0},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        const std::string user = book.folder().PathTo("user.ini");
        book.WriteFile("[Shared]\nLocalPhoneNumber=1\n");
        book.folder().Write("user.ini", "[Mine]\nLocalPhoneNumber=2\n");
        book.Set("RASSIM_USER_PHONEBOOK", user.c_str());
        book.Set("RASSIM_RIGHTS", c.rights);
        book.Set(kVersion, c.version);
        const bool twoBooks = strcmp(c.version, "nt4") != 0;

        std::vector<SimEntryNameLong> records(4);
        records[0].name.dwSize = twoBooks ? sizeof(SimEntryNameLong) : sizeof(RASENTRYNAMEA);
        RasDword bytes = sizeof(SimEntryNameLong) * 4, count = 0;
        ASSERT_EQ(api.RasEnumEntriesA(nullptr, nullptr, &records[0].name, &bytes, &count), 0u);
        ASSERT_EQ(count, c.listed.size()) << c.version;
        for (size_t i = 0; i < c.listed.size(); ++i) {
            const char* at = reinterpret_cast<const char*>(records.data()) + i * records[0].name.dwSize;
            const SimEntryNameLong* record = reinterpret_cast<const SimEntryNameLong*>(at);
            EXPECT_EQ(record->name.szEntryName, c.listed[i].name) << c.version;
            if (twoBooks) {
                EXPECT_EQ(record->dwFlags, c.listed[i].flags) << c.version;
                EXPECT_EQ(record->szPhonebookPath, c.listed[i].inUserBook ? user : book.path());
            }
        }

        // A null phonebook is the all-users one; the user's own is reached by its path only.
        RASENTRYA entry = {};
        entry.dwSize = 1796;  // known to every version here
        RasDword size = sizeof entry;
        EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "Mine", &entry, &size, nullptr, nullptr),
                  ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
        EXPECT_EQ(api.RasGetEntryPropertiesA(user.c_str(), "Mine", &entry, &size, nullptr, nullptr),
                  0u);
        entry = Complete();
        entry.dwSize = 1796;
        EXPECT_EQ(api.RasSetEntryPropertiesA(user.c_str(), "Mine", &entry, 1796, nullptr, 0), 0u)
            << c.version << ": the user's own phonebook is always theirs to change";
        EXPECT_EQ(api.RasSetEntryPropertiesA(nullptr, "Shared", &entry, 1796, nullptr, 0),
                  c.writeShared)
            << c.version;
        EXPECT_EQ(api.RasDeleteEntryA(book.path().c_str(), "SHARED"), c.deleteShared) << c.version;
    }
}

TEST(SimFaults, ParsesEachFaultForm) {
    struct Case {
        const char* list;
        unsigned long call;
        SimFaultMode mode;
        RasDword code;
    } cases[] = {
        {"RasDeleteEntryA:5", 3, SimFaultMode::Fail, 5},
        {"RasDeleteEntryA#2:after:1784", 2, SimFaultMode::After, 1784},
        {"RasDeleteEntryA#2:after:1784", 1, SimFaultMode::None, 0},
        {" RasDeleteEntryA # 1 : after : 7 ", 1, SimFaultMode::After, 7},
        {"RasDeleteEntryA#1:empty", 1, SimFaultMode::Empty, 0},
        {"RasDeleteEntryA#4:kill", 4, SimFaultMode::Kill, 0},
        {"RasDeleteEntryA#1:after:", 1, SimFaultMode::None, 0},
        {"RasDeleteEntryA#1:after:x", 1, SimFaultMode::None, 0},
        {"RasDeleteEntryA#1:later:5", 1, SimFaultMode::None, 0},
        {"RasDeleteEntryA#1:emptyx", 1, SimFaultMode::None, 0},
        {"RasDeleteEntryA#1:kill:3", 1, SimFaultMode::None, 0},
        {"RasDeleteEntryA#1:after:4294967296", 1, SimFaultMode::None, 0},
        {"RasDeleteEntryA#1:kill,RasDeleteEntryA:9", 2, SimFaultMode::Fail, 9},
    };
    for (const Case& c : cases) {
        const SimFault fault = ParseSimFault(c.list, "RasDeleteEntryA", c.call);
        EXPECT_EQ(fault.mode, c.mode) << c.list;
        EXPECT_EQ(fault.code, c.code) << c.list;
    }
}

TEST(SimFaults, AppliedThenFailedEmptySuccessAndEndOfProcess) {
    struct Case {
        const char* fail;
        std::function<RasDword(const DialupApi&)> call;
        RasDword result;
        bool written;  // the phonebook holds "New" afterwards
    } cases[] = {
        {"RasSetEntryPropertiesA#1:after:1784",
         [](const DialupApi& api) {
             RASENTRYA entry = Complete();
             return api.RasSetEntryPropertiesA(nullptr, "New", &entry, sizeof entry, nullptr, 0);
         },
         1784, true},
        {"RasDeleteEntryA#1:after:1784",
         [](const DialupApi& api) { return api.RasDeleteEntryA(nullptr, "Gone"); },
         ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, false},
        {"RasEnumEntriesA#1:empty",
         [](const DialupApi& api) {
             RASENTRYNAMEA one = {};
             one.dwSize = sizeof one;
             RasDword bytes = 77, count = 88;
             const RasDword r = api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count);
             return r == 0 && bytes == 77 && count == 88 && one.szEntryName[0] == 0 ? 0u : 1u;
         },
         0, false},
        {"RasGetEntryPropertiesA#1:empty",
         [](const DialupApi& api) {
             RasDword size = 5;
             const RasDword r =
                 api.RasGetEntryPropertiesA(nullptr, "", nullptr, &size, nullptr, nullptr);
             return r == 0 && size == 5 ? 0u : 1u;
         },
         0, false},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        book.Fail(c.fail);
        EXPECT_EQ(c.call(book.api()), c.result) << c.fail;
        EXPECT_EQ(book.ReadFile().find("[New]") != std::string::npos, c.written) << c.fail;
    }

    // The process ends right after the write, which is complete; the call record saw it.
    SimPhonebook book;
    book.Fail("RasSetEntryPropertiesA#2:kill");
    ResetSimCallRecord(true);
    RASENTRYA entry = Complete();
    const DialupApi& api = book.api();
    ASSERT_EQ(api.RasSetEntryPropertiesA(nullptr, "First", &entry, sizeof entry, nullptr, 0), 0u);
    EXPECT_EXIT(api.RasSetEntryPropertiesA(nullptr, "New", &entry, sizeof entry, nullptr, 0),
                ::testing::ExitedWithCode(3), "");
    const std::string file = book.ReadFile();
    EXPECT_NE(file.find("[New]\r\nOptions="), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 9), "Domain=\r\n") << "the file is whole";
    EXPECT_EQ(SimCallRecord(), std::vector<std::string>{"RasSetEntryPropertiesA"});
}
