// The substitute as each Windows version: structure versions, required fields, passwords,
// alternate numbers, two phonebooks and the fault modes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialup/EntryRecord.h"
#include "settings/ByteText.h"
#include "sim/PhonebookFile.h"
#include "sim/SimFaults.h"
#include "sim/SimRasApi.h"
#include "sim/SimVersion.h"
#include "support/SimPhonebook.h"

namespace {

const RasDword kDialNt4 = 1052 + 4 + sizeof(void*);  // the callback id is pointer-sized
const RasDword kDial7 = kDialNt4 + 4;
const RasDword kXp = kRasEntrySize;

// Sets a variable of the substitute for one scope; the version goes back to the newest.
struct Variable {
    const char* name;
    Variable(const char* n, const char* value) : name(n) {
        value != nullptr ? setenv(n, value, 1) : unsetenv(n);
    }
    ~Variable() { strcmp(name, "RASSIM_WINVER") == 0 ? setenv(name, "10", 1) : unsetenv(name); }
};

}  // namespace

TEST(SimVersions, PickedByNameOrByTheReportedNumbers) {
    const char* names[] = {"98", "nt4", "2000", "xp", "vista", "7", "10", "XP", "95", "", "legacy"};
    for (int i = 0; i < 11; ++i) {
        SimWindows version = SimWindows::Win10;
        EXPECT_EQ(ParseSimWindows(names[i], &version), i < 7) << names[i];
        EXPECT_EQ(version, i < 7 ? static_cast<SimWindows>(i) : SimWindows::Win10) << names[i];
    }
    struct Reported {
        unsigned major, minor;
        bool nineX;
        SimWindows version;
    } reported[] = {{4, 10, true, SimWindows::Win98},   {4, 0, false, SimWindows::Nt4},
                    {5, 0, false, SimWindows::Win2000}, {5, 2, false, SimWindows::Xp},
                    {6, 0, false, SimWindows::Vista},   {6, 1, false, SimWindows::Win7},
                    {6, 2, false, SimWindows::Win10}};
    for (const Reported& c : reported) {
        EXPECT_EQ(SimWindowsFromNumbers(c.major, c.minor, c.nineX), c.version)
            << c.major << c.minor;
    }
}

TEST(SimVersions, EachTakesTheStructureVersionsItKnowsAndReportsPasswordsItsWay) {
    enum Kind { Entry, Name, Dial, Credentials, Devices };
    struct Case {
        const char* version;
        RasDword probe;                              // the "" probe
        std::vector<RasDword> taken[3], refused[3];  // RASENTRYA, RASENTRYNAMEA, RASDIALPARAMSA
        RasDword maskWithoutPassword;                // dwMask reported when none is saved
        bool nt5;  // 2000 and later: a placeholder for a saved password, an id for a new entry
    } cases[] = {
        {"98", 1768, {{1768}, {264}, {1052}}, {{1767, 1796}, {532}, {kDialNt4}}, 3, false},
        {"nt4", 1796, {{1768, 1796}, {264}, {kDialNt4}}, {{2088}, {532}, {kDial7}}, 3, false},
        {"2000", 2088, {{2088}, {264, 532}, {kDialNt4}}, {{2884}, {536}, {kDial7}}, 3, true},
        {"xp", 2884, {{1796, 2884}, {532}, {kDialNt4}}, {{2948}, {}, {kDial7}}, 1, true},
        {"vista", 2948, {{2948}, {532}, {1052}}, {{3480}, {}, {kDial7}}, 1, true},
        {"7", 3480, {{3480}, {532}, {kDial7}}, {{3481}, {}, {kDial7 + 4}}, 1, true},
        {"10", 3480, {{1768, 3480}, {264, 532}, {1052, kDial7}}, {{3484}, {536}, {}}, 1, true}};
    for (const Case& c : cases) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        ASSERT_EQ(book.AddModemEntry("Isp", "M", "", "1", "u", "p"), 0u);
        ASSERT_EQ(book.AddModemEntry("Bare", "M", "", "1", "u", ""), 0u);
        Variable version("RASSIM_WINVER", c.version);
        std::vector<unsigned char> buffer(4096, 0);
        void* record = buffer.data();
        auto* params = static_cast<RASDIALPARAMSA*>(record);
        auto* credentials = static_cast<RASCREDENTIALSA*>(record);
        RasDword bytes = 0, count = 0;
        RasBool has = 0;
        EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "", nullptr, &bytes, nullptr, nullptr), 603u);
        EXPECT_EQ(bytes, c.probe) << c.version;
        auto read = [&](Kind kind, RasDword size, const char* name) {
            memset(record, 0, buffer.size());
            memcpy(record, &size, sizeof size);
            CopyField(params->szEntryName, name);
            bytes = static_cast<RasDword>(buffer.size());
            switch (kind) {
                case Entry:
                    return api.RasGetEntryPropertiesA(
                        nullptr, name, static_cast<RASENTRYA*>(record), &bytes, nullptr, nullptr);
                case Name:
                    return api.RasEnumEntriesA(nullptr, nullptr,
                                               static_cast<RASENTRYNAMEA*>(record), &bytes, &count);
                case Dial:
                    return api.RasGetEntryDialParamsA(nullptr, params, &has);
                case Credentials:
                    credentials->dwMask = RASCM_UserName | RASCM_Password;
                    return api.RasGetCredentialsA(nullptr, name, credentials);
                case Devices:
                    break;
            }
            return api.RasEnumDevicesA(static_cast<RASDEVINFOA*>(record), &bytes, &count);
        };
        for (int kind = Entry; kind <= Dial; ++kind) {
            for (RasDword size : c.taken[kind]) {
                EXPECT_EQ(read(Kind(kind), size, "Isp"), 0u) << c.version << " " << size;
            }
            for (RasDword size : c.refused[kind]) {
                EXPECT_EQ(read(Kind(kind), size, "Isp"), 632u) << c.version << " " << size;
            }
        }
        EXPECT_EQ(read(Credentials, 544, "Isp"), 632u) << c.version;
        EXPECT_EQ(read(Devices, 156, "Isp"), 1784u) << c.version;
        EXPECT_EQ(read(Devices, 152, "Isp"), 0u) << c.version;

        // The saved password: never handed out by the credentials, reported in dwMask from XP
        // on, a placeholder in the dial parameters from 2000 on that keeps it when written back.
        ASSERT_EQ(read(Credentials, 540, "Bare"), 0u);
        EXPECT_EQ(credentials->dwMask, c.maskWithoutPassword) << c.version;
        ASSERT_EQ(read(Credentials, 540, "Isp"), 0u);
        EXPECT_EQ(credentials->dwMask, 3u) << c.version;
        EXPECT_STREQ(credentials->szPassword, kSimHiddenPassword) << c.version;
        ASSERT_EQ(read(Dial, 1052, "Isp"), 0u);
        EXPECT_STREQ(params->szPassword, c.nt5 ? kSimHiddenPassword : "p") << c.version;
        EXPECT_EQ(has, 1);
        EXPECT_EQ(api.RasSetEntryDialParamsA(nullptr, params, 0), 0u);
        EXPECT_EQ(book.StoredPassword("Isp"), "p") << c.version << ": written back as read";
        // Kept by Windows on its own: ids from 2000 on; on 98 device settings, empty passwords.
        const bool nineX = c.probe == 1768;
        RASDIALPARAMSA empty = {sizeof empty, "Bare", "", "", "u", "", ""};
        ASSERT_EQ(api.RasSetEntryDialParamsA(nullptr, &empty, 0), 0u);
        ASSERT_EQ(read(Dial, 1052, "Bare"), 0u);
        EXPECT_EQ(has, nineX ? 1 : 0) << c.version << ": an empty password saved";
        RASENTRYA fresh = WritableEntry("2");
        fresh.dwSize = c.probe < kXp ? c.probe : kXp;
        unsigned char settings[] = {0xA5, 0x5A};
        std::vector<std::string> ids;
        for (unsigned char* given : {settings, static_cast<unsigned char*>(nullptr)}) {
            ASSERT_EQ(api.RasSetEntryPropertiesA(nullptr, "New", &fresh, fresh.dwSize, given, 2),
                      0u);
            const std::string file = book.ReadFile();
            ids.push_back(file.substr(file.find("Guid={", file.find("[New]")), 16));
            api.RasGetEntryPropertiesA(nullptr, "New", nullptr, &bytes, nullptr, &count);
            EXPECT_EQ(count, nineX && given != nullptr ? 2u : 0u) << c.version << ": settings";
        }
        EXPECT_EQ(ids[0] != "Guid={00000000-0", c.nt5) << c.version << " " << ids[0];
        EXPECT_EQ(ids[1], ids[0]) << c.version;
    }
}

TEST(SimApi, NewerVersionsRequireTheDocumentedFields) {
    struct Case {
        const char* version;
        RasDword size;
        size_t cleared;  // offset of the field cleared (0: none)
        RasDword result;
    } cases[] = {{"10", kXp, 0, 0},
                 {"10", kXp, offsetof(RASENTRYA, szLocalPhoneNumber), 87},
                 {"xp", kXp, offsetof(RASENTRYA, szDeviceName), 87},
                 {"10", kXp, offsetof(RASENTRYA, szDeviceType), 87},
                 {"10", kXp, offsetof(RASENTRYA, dwFramingProtocol), 87},
                 {"xp", kXp, offsetof(RASENTRYA, dwType), 87},
                 {"10", kXp, offsetof(RASENTRYA, dwfOptions), 0},
                 {"10", 1796, offsetof(RASENTRYA, dwType), 0},
                 {"2000", 2088, offsetof(RASENTRYA, dwType), 0},
                 {"2000", 2088, offsetof(RASENTRYA, szLocalPhoneNumber), 0}};
    for (const Case& c : cases) {
        SimPhonebook book;
        book.WriteFile("[Old]\nLocalPhoneNumber=9\n");
        Variable version("RASSIM_WINVER", c.version);
        RASENTRYA entry = WritableEntry("1");
        entry.dwSize = c.size;
        memset(reinterpret_cast<char*>(&entry) + c.cleared, 0, c.cleared != 0 ? 4 : 0);
        EXPECT_EQ(book.api().RasSetEntryPropertiesA(nullptr, "New", &entry, c.size, nullptr, 0),
                  c.result)
            << c.version << " " << c.cleared;
        EXPECT_EQ(book.ReadFile().find("[New]") != std::string::npos, c.result == 0);
        // An entry that exists is held to the same fields.
        EXPECT_EQ(book.api().RasSetEntryPropertiesA(nullptr, "Old", &entry, c.size, nullptr, 0),
                  c.result)
            << c.version << " " << c.cleared << " rewritten";
        EXPECT_EQ(book.ReadFile().find("LocalPhoneNumber=9") != std::string::npos,
                  c.result != 0);
    }
}

TEST(SimApi, AlternateNumbersFollowTheRecordAndAreKeptAsGiven) {
    auto bytes = [](std::string text) {  // '|' stands for NUL
        std::replace(text.begin(), text.end(), '|', '\0');
        return text;
    };
    const std::string old = bytes("old||");
    struct Case {
        std::string list;                // the bytes after the record
        RasDword offset, extra, result;  // dwAlternateOffset, stated size past the record
        std::string kept;                // as the entry's read reports it
    } cases[] = {{"111|0120-22||", kXp, 13, 0, "111|0120-22||"},
                 {"", 0, 0, 0, ""},
                 {"1||", 100, 3, 610, "old||"},
                 {"", kXp, 0, 610, "old||"},
                 {"1|22", kXp, 4, 610, "old||"},
                 {std::string(129, '9') + "||", kXp, 131, 0, std::string(128, '9') + "||"}};
    for (const Case& c : cases) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        std::vector<char> buffer(kXp + 200, 0);
        RASENTRYA* record = reinterpret_cast<RASENTRYA*>(buffer.data());
        *record = WritableEntry("1");
        memcpy(buffer.data() + kXp, old.data(), old.size());
        record->dwAlternateOffset = kXp;
        ASSERT_EQ(api.RasSetEntryPropertiesA(nullptr, "Alt", record, kXp + 5, nullptr, 0), 0u);
        const std::string list = bytes(c.list);
        memset(buffer.data() + kXp, 0, 200);
        memcpy(buffer.data() + kXp, list.data(), list.size());
        record->dwAlternateOffset = c.offset;
        EXPECT_EQ(api.RasSetEntryPropertiesA(nullptr, "Alt", record, kXp + c.extra, nullptr, 0),
                  c.result)
            << c.list;

        const std::string kept = bytes(c.kept);
        const RasDword n = static_cast<RasDword>(kept.size());
        RasDword size = 0;
        api.RasGetEntryPropertiesA(nullptr, "Alt", nullptr, &size, nullptr, nullptr);
        EXPECT_EQ(size, 3480 + n) << c.list << ": the entry's probe";
        std::vector<char> read(kXp + 200, '\x7F');
        RASENTRYA* out = reinterpret_cast<RASENTRYA*>(read.data());
        out->dwSize = kXp;
        size = kXp + n - (n > 0 ? 1 : 0);
        EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "Alt", out, &size, nullptr, nullptr),
                  n > 0 ? 603u : 0u)
            << c.list << ": one byte short";
        EXPECT_EQ(size, kXp + n) << c.list;
        ASSERT_EQ(api.RasGetEntryPropertiesA(nullptr, "Alt", out, &size, nullptr, nullptr), 0u);
        EXPECT_EQ(out->dwAlternateOffset, n > 0 ? kXp : 0u) << c.list;
        EXPECT_EQ(std::string(read.data() + kXp, n + 1), kept + '\x7F') << c.list;
        EXPECT_EQ(book.ReadFile().find("\r\nAlternateNumber=") != std::string::npos, n > 0);
    }
}

TEST(SimApi, FromWindows2000OnTheUsersOwnPhonebookIsListedBesideTheAllUsersOne) {
    struct Case {
        const char* version;
        const char* rights;
        std::string listed;       // names and flags of the enumeration with no phonebook
        RasDword changeAllUsers;  // a change of the all-users phonebook, with no path or its own
        RasDword sharedDefaults;  // RASCM_DefaultCreds of the all-users entry
        RasDword ownDefaults;     // RASCM_DefaultCreds of the user's entry
        RasDword machineDefault;  // the all-users entry as the default Internet connection
        const char* sharedRead;   // the all-users entry's user name read with RASCM_DefaultCreds
        const char* defaultRead;  // the default connection read back after both were tried
        const char* wow64;        // RASSIM_WOW64: a 32-bit program on 64-bit Windows
        const char* removed;      // read back after one removal
    } cases[] = {{"nt4", "standard", "Shared", 0, 0, 0, 87, "all", "-", "0", "-"},
                 {"2000", nullptr, "Shared1Mine0", 0, 0, 0, 87, "all", "-", "0", "-"},
                 {"2000", "standard", "Shared1Mine0", 5, 0, 0, 87, "all", "-", "0", "-"},
                 {"xp", "standard", "Shared1Mine0", 5, 5, 5, 5, "", "Mine", "0", "Plain"},
                 {"10", "standard", "Shared1Mine0", 5, 5, 5, 5, "", "Mine", "1", ""},
                 {"10", "admin", "Shared1Mine0", 0, 0, 5, 0, "all", "Mine", "1", "Shared"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version) + (c.rights != nullptr ? c.rights : ""));
        SimPhonebook book;
        const DialupApi& api = book.api();
        const std::string user = book.folder().PathTo("user.ini");
        book.WriteFile("[Shared]\nLocalPhoneNumber=1\n");
        book.folder().Write("user.ini", "[Mine]\nLocalPhoneNumber=2\n");
        Variable own("RASSIM_USER_PHONEBOOK", user.c_str());
        Variable rights("RASSIM_RIGHTS", c.rights);
        Variable version("RASSIM_WINVER", c.version);
        Variable wow64("RASSIM_WOW64", c.wow64);
        const bool twoBooks = strcmp(c.version, "nt4") != 0;
        // The machine's default as a 32-bit program writes it itself: on 64-bit Windows in the
        // 32-bit view, which Windows does not read for it.
        book.folder().Write(
            SimPhonebook::kRegistryFileName,
            "[HKLM\\SOFTWARE\\Microsoft\\RAS AutoDial\\Default]\nDefaultInternet=sz:Plain");

        std::vector<SimEntryNameLong> records(4);
        records[0].name.dwSize = twoBooks ? sizeof(SimEntryNameLong) : sizeof(RASENTRYNAMEA);
        RasDword bytes = sizeof(SimEntryNameLong) * 4, count = 0;
        ASSERT_EQ(api.RasEnumEntriesA(nullptr, nullptr, &records[0].name, &bytes, &count), 0u);
        std::string listed;
        for (RasDword i = 0; i < count; ++i) {
            const auto* record = reinterpret_cast<const SimEntryNameLong*>(
                reinterpret_cast<const char*>(records.data()) + i * records[0].name.dwSize);
            listed += record->name.szEntryName;
            if (twoBooks) {
                listed += std::to_string(record->dwFlags);
                EXPECT_EQ(record->szPhonebookPath, record->dwFlags ? book.path() : user);
            }
        }
        EXPECT_EQ(listed, c.listed) << c.version;

        // No phonebook means the all-users one; the user's own is reached by its path.
        RASENTRYA entry = WritableEntry("3");
        entry.dwSize = 1796;  // known to every version here
        RasDword size = sizeof entry;
        EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "Mine", &entry, &size, nullptr, nullptr),
                  ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
        EXPECT_EQ(api.RasGetEntryPropertiesA(user.c_str(), "Mine", &entry, &size, nullptr, nullptr),
                  0u);
        entry = WritableEntry("3");
        entry.dwSize = 1796;
        EXPECT_EQ(api.RasSetEntryPropertiesA(user.c_str(), "Mine", &entry, 1796, nullptr, 0), 0u);
        EXPECT_EQ(api.RasSetEntryPropertiesA(nullptr, "Shared", &entry, 1796, nullptr, 0),
                  c.changeAllUsers)
            << c.version;
        // Each user's own credentials of an all-users entry are theirs to set; the defaults
        // every user starts from are the administrator's, and only an all-users entry has them.
        RASCREDENTIALSA k = {};
        auto setName = [&](const char* path, const char* name, RasDword mask, const char* text) {
            k = RASCREDENTIALSA{sizeof k, mask, {}, {}, {}};
            CopyField(k.szUserName, text);
            return api.RasSetCredentialsA(path, name, &k, 0);
        };
        const RasDword defaults = RASCM_UserName | RASCM_DefaultCreds;
        EXPECT_EQ(setName(nullptr, "Shared", RASCM_UserName, "own"), 0u);
        EXPECT_EQ(setName(nullptr, "Shared", defaults, "all"), c.sharedDefaults);
        EXPECT_EQ(setName(twoBooks ? user.c_str() : nullptr, twoBooks ? "Mine" : "Shared", defaults,
                          "all"),
                  c.ownDefaults);
        k.dwMask = defaults;
        ASSERT_EQ(api.RasGetCredentialsA(nullptr, "Shared", &k), 0u);
        EXPECT_STREQ(k.szUserName, c.sharedRead) << "before XP the flag asks for the user's own";

        // The default Internet connection, from XP on ("-": a null address is refused): the
        // user's for the user's entry, the machine's for an all-users one; read back, the
        // user's comes first.
        RASAUTODIALENTRYA autodial = {sizeof autodial, 0, 0, {}};
        auto setDefault = [&](const char* name) {
            CopyField(autodial.szEntry, name);
            return api.RasSetAutodialAddressA(nullptr, 0, &autodial, sizeof autodial, 1);
        };
        EXPECT_EQ(setDefault("SHARED"), c.machineDefault);
        EXPECT_EQ(setDefault("Mine"), strcmp(c.defaultRead, "-") != 0 ? 0u : 87u);
        autodial = {sizeof autodial, 0, 0, {}};
        bytes = sizeof autodial;
        RasDword read = api.RasGetAutodialAddressA(nullptr, nullptr, &autodial, &bytes, &count);
        EXPECT_STREQ(read != 0 ? "-" : count == 1 ? autodial.szEntry : "", c.defaultRead);
        // "" and no name remove the one read, the user's own first.
        autodial = {sizeof autodial, 0, 0, {}};
        api.RasSetAutodialAddressA("", 0, &autodial, sizeof autodial, 1);
        read = api.RasGetAutodialAddressA(nullptr, nullptr, &autodial, &bytes, &count);
        EXPECT_STREQ(read != 0 ? "-" : count == 1 ? autodial.szEntry : "", c.removed);
        EXPECT_EQ(api.RasDeleteEntryA(book.path().c_str(), "SHARED"), c.changeAllUsers);
    }
}

// Dial parameters given an empty user name or domain keep the saved ones, and an empty user
// name the password too, except on NT 4; so a put-back of a user name that Windows left as it
// was is reported (13), never taken for done (the NT family's credentials take an empty name).
TEST(SimApi, EmptyDialParameterFieldsKeepWhatIsSaved) {
    struct Case {
        const char* version;
        const char* userName;
        const char* domain;
        const char* stored;  // user name, password, domain afterwards
        RasDword putBack;    // WriteSavedUserName of `userName`
    } cases[] = {{"98", "", "", "u/p/d", 13},   {"98", "v", "", "v/new/d", 0},
                 {"98", "", "e", "u/p/e", 13},  {"nt4", "", "", "u/new/d", 0},
                 {"2000", "", "", "u/p/d", 0},  {"10", "", "", "u/p/d", 0},
                 {"10", "v", "e", "v/new/e", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " user \"" + c.userName + "\" domain \"" + c.domain);
        SimPhonebook book;
        Variable version("RASSIM_WINVER", c.version);
        const std::string original = "[E]\nLocalPhoneNumber=1\nUserName=u\nPassword=p\nDomain=d\n";
        book.WriteFile(original);
        RASDIALPARAMSA params = {sizeof params, "E", "", "", "", "new", ""};
        CopyField(params.szUserName, c.userName);
        CopyField(params.szDomain, c.domain);
        ASSERT_EQ(book.api().RasSetEntryDialParamsA(nullptr, &params, 0), 0u);
        const std::string bytes = book.ReadFile();
        const SimPhonebookFile stored = ParsePhonebook(bytes.data(), bytes.size());
        const SimEntry& e = stored.entries.at(0);
        EXPECT_EQ(std::string(e.userName) + "/" + e.password + "/" + e.domain, c.stored);
        book.WriteFile(original);
        const bool nt = strcmp(c.version, "98") != 0;
        EXPECT_EQ(WriteSavedUserName(book.api(), nullptr, "E", nt, c.userName), c.putBack);
    }
}

TEST(SimFaults, ParsesEachFaultForm) {
    using M = SimFaultMode;
    struct Case {
        const char* list;
        unsigned long call;
        SimFaultMode mode;
        RasDword code;
    } cases[] = {{"Op:5", 3, M::Fail, 5},
                 {"Op#2:after:1784", 2, M::After, 1784},
                 {"Op#2:after:1784", 1, M::None, 0},
                 {" Op # 1 : after : 7 ", 1, M::After, 7},
                 {"Op#1:empty", 1, M::Empty, 0},
                 {"Op#4:kill", 4, M::Kill, 0},
                 {"Op#1:after:", 1, M::None, 0},
                 {"Op#1:later:5", 1, M::None, 0},
                 {"Op#1:emptyx", 1, M::None, 0},
                 {"Op#1:kill:3", 1, M::None, 0},
                 {"Op#1:after:4294967296", 1, M::None, 0},
                 {"Op#1:kill,Op:9", 2, M::Fail, 9}};
    for (const Case& c : cases) {
        const SimFault fault = ParseSimFault(c.list, "Op", c.call);
        EXPECT_EQ(fault.mode, c.mode) << c.list;
        EXPECT_EQ(fault.code, c.code) << c.list;
    }
}

TEST(SimFaults, AppliedThenFailedEmptySuccessAndEndOfProcess) {
    SimPhonebook book;
    const DialupApi& api = book.api();
    RASENTRYA entry = WritableEntry("1");
    ResetSimCallRecord(true);
    book.Fail(
        "RasSetEntryPropertiesA#1:after:1784,RasDeleteEntryA#1:after:1784,"
        "RasEnumEntriesA#1:empty,RasGetEntryPropertiesA#1:empty,RasSetEntryPropertiesA#3:kill");
    EXPECT_EQ(api.RasSetEntryPropertiesA(nullptr, "First", &entry, kXp, nullptr, 0), 1784u);
    EXPECT_NE(book.ReadFile().find("[First]"), std::string::npos) << "written all the same";
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "Gone"), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY)
        << "a call that fails by itself keeps its own error";
    RASENTRYNAMEA one = {};
    one.dwSize = sizeof one;
    RasDword bytes = 77, count = 88, size = 5;
    EXPECT_EQ(api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count), 0u);
    EXPECT_EQ(bytes, 77u);
    EXPECT_EQ(count, 88u);
    EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "First", nullptr, &size, nullptr, nullptr), 0u);
    EXPECT_EQ(size, 5u);

    // The process ends right after the write, which is whole.
    ASSERT_EQ(api.RasSetEntryPropertiesA(nullptr, "Second", &entry, kXp, nullptr, 0), 0u);
    EXPECT_EXIT(api.RasSetEntryPropertiesA(nullptr, "New", &entry, kXp, nullptr, 0),
                ::testing::ExitedWithCode(3), "");
    const std::string file = book.ReadFile();
    EXPECT_NE(file.find("[New]\r\nOptions="), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 9), "Domain=\r\n") << "the file is whole";
    EXPECT_EQ(SimCallRecord().size(), 5u) << "the ended call was counted in the ended process";
}
