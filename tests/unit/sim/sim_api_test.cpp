// The substitute dial-up library through the binding table: size negotiation, record sizes,
// names, credentials, fault injection and the file it keeps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "settings/ByteText.h"
#include "sim/SimRasApi.h"
#include "support/SimPhonebook.h"

namespace {

const char kHidden[] = "****************";

// Every test of this program speaks to the substitute as the newest Windows unless a case
// names another version (and puts this back).
class NewestWindows : public ::testing::Environment {
    void SetUp() override { setenv("RASSIM_WINVER", "10", 1); }
};
const ::testing::Environment* const kNewestWindows =
    ::testing::AddGlobalTestEnvironment(new NewestWindows);

std::vector<std::string> EntryNames(const DialupApi& api, RasDword* result = nullptr) {
    std::vector<RASENTRYNAMEA> records(1);
    records[0].dwSize = sizeof(RASENTRYNAMEA);
    RasDword bytes = 0;
    RasDword count = 0;
    RasDword r = api.RasEnumEntriesA(nullptr, nullptr, records.data(), &bytes, &count);
    if (r == ERROR_BUFFER_TOO_SMALL) {
        records.assign(bytes / sizeof(RASENTRYNAMEA), RASENTRYNAMEA{});
        records[0].dwSize = sizeof(RASENTRYNAMEA);
        r = api.RasEnumEntriesA(nullptr, nullptr, records.data(), &bytes, &count);
    }
    if (result != nullptr) {
        *result = r;
    }
    std::vector<std::string> names;
    for (RasDword i = 0; r == 0 && i < count; ++i) {
        names.push_back(records[i].szEntryName);
    }
    return names;
}

RASENTRYA ReadEntry(const DialupApi& api, const char* name, RasDword* result) {
    RASENTRYA entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    RasDword size = sizeof entry;
    *result = api.RasGetEntryPropertiesA(nullptr, name, &entry, &size, nullptr, nullptr);
    return entry;
}

RasDword WriteNumber(const DialupApi& api, const char* name, const char* number) {
    RASENTRYA entry = WritableEntry(number);
    return api.RasSetEntryPropertiesA(nullptr, name, &entry, entry.dwSize, nullptr, 0);
}

struct StoredCredentials {
    RasDword result;
    std::string userName;
    std::string password;
    RasBool hasPassword;
};

StoredCredentials ReadDialParams(const DialupApi& api, const char* name) {
    RASDIALPARAMSA params;
    memset(&params, 0, sizeof params);
    params.dwSize = sizeof params;
    CopyField(params.szEntryName, name);
    RasBool hasPassword = 7;
    const RasDword r = api.RasGetEntryDialParamsA(nullptr, &params, &hasPassword);
    return {r, params.szUserName, params.szPassword, hasPassword};
}

RasDword WriteCredentials(const DialupApi& api, const char* name, RasDword mask,
                          const char* userName, const char* password, RasBool clear = 0) {
    RASCREDENTIALSA credentials;
    memset(&credentials, 0, sizeof credentials);
    credentials.dwSize = sizeof credentials;
    credentials.dwMask = mask;
    CopyField(credentials.szUserName, userName);
    CopyField(credentials.szPassword, password);
    return api.RasSetCredentialsA(nullptr, name, &credentials, clear);
}

}  // namespace

TEST(SimApi, EnumEntriesNegotiatesTheBufferSize) {
    for (int n : {0, 1, 3}) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        const char* names[] = {"Zeta", "alpha", "Mid"};
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(WriteNumber(api, names[i], "1"), 0u);
        }
        RASENTRYNAMEA one = {};
        one.dwSize = sizeof one;
        RasDword bytes = 0;
        RasDword count = 99;
        const RasDword first = api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count);
        EXPECT_EQ(first, n == 0 ? 0u : ERROR_BUFFER_TOO_SMALL) << n << " entries";
        EXPECT_EQ(bytes, 264u * n);
        EXPECT_EQ(count, static_cast<RasDword>(n));
        if (n == 3) {
            bytes = 264;  // room for one of three
            EXPECT_EQ(api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count),
                      ERROR_BUFFER_TOO_SMALL);
            EXPECT_EQ(bytes, 3u * 264);
        }
        RasDword result;
        const std::vector<std::string> listed = EntryNames(api, &result);
        EXPECT_EQ(result, 0u);
        EXPECT_EQ(listed, std::vector<std::string>(names, names + n)) << "file order";
    }
}

TEST(SimApi, EnumDevicesAndEntryPropertiesReportTheirSizes) {
    SimPhonebook book;
    const DialupApi& api = book.api();
    book.WriteFile("[devices]\r\nmodem,One\r\nisdn,Two\r\n");
    RasDword bytes = 0;
    RasDword count = 0;
    EXPECT_EQ(api.RasEnumDevicesA(nullptr, &bytes, &count), ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(bytes, 2u * 152);
    EXPECT_EQ(count, 2u);

    // Probe of the default entry (""), of a known and of an unknown entry.
    ASSERT_EQ(WriteNumber(api, "Known", "1"), 0u);
    struct Case {
        const char* entry;
        RasDword result;
        RasDword size;
    } cases[] = {
        {"", ERROR_BUFFER_TOO_SMALL, 3480},
        {nullptr, ERROR_BUFFER_TOO_SMALL, 3480},
        {"Known", ERROR_BUFFER_TOO_SMALL, 3480},
        {"Unknown", ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, 0},
    };
    for (const Case& c : cases) {
        RasDword size = 0;
        RasDword deviceSize = 55;
        EXPECT_EQ(
            api.RasGetEntryPropertiesA(nullptr, c.entry, nullptr, &size, nullptr, &deviceSize),
            c.result)
            << (c.entry ? c.entry : "(null)");
        EXPECT_EQ(size, c.size) << (c.entry ? c.entry : "(null)");
    }

    // The Windows 7 form: the fields the substitute does not keep read as zero, dwSize is
    // kept and nothing is written past the record.
    std::vector<unsigned char> large(3600, 0xAB);
    RASENTRYA* entry = reinterpret_cast<RASENTRYA*>(large.data());
    entry->dwSize = 3480;
    RasDword size = 3600;
    EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, "known", entry, &size, nullptr, nullptr), 0u);
    EXPECT_EQ(entry->dwSize, 3480u);
    EXPECT_EQ(size, 3480u);
    EXPECT_STREQ(entry->szLocalPhoneNumber, "1");
    EXPECT_EQ(large[2884], 0);
    EXPECT_EQ(large[3479], 0);
    EXPECT_EQ(large[3480], 0xAB) << "nothing written past the record";
}

TEST(SimApi, RefusesWrongSizesNullPointersAndUnknownEntriesWithoutChangingTheFile) {
    SimPhonebook book;
    const DialupApi& api = book.api();
    ASSERT_EQ(book.AddModemEntry("Isp", "Modem", "03", "1234", "user", "secret"), 0u);
    const std::string before = book.ReadFile();

    auto enumEntries = [&](RasDword dwSize) {
        RASENTRYNAMEA one = {};
        one.dwSize = dwSize;
        RasDword bytes = sizeof one, count = 0;
        return api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count);
    };
    auto enumDevices = [&](RasDword dwSize) {
        RASDEVINFOA one = {};
        one.dwSize = dwSize;
        RasDword bytes = sizeof one, count = 0;
        return api.RasEnumDevicesA(&one, &bytes, &count);
    };
    auto getEntry = [&](RasDword dwSize, const char* name) {
        RASENTRYA entry = {};
        entry.dwSize = dwSize;
        RasDword size = sizeof entry;
        return api.RasGetEntryPropertiesA(nullptr, name, &entry, &size, nullptr, nullptr);
    };
    auto setEntry = [&](RasDword dwSize, RasDword stated, const char* name) {
        RASENTRYA entry = {};
        entry.dwSize = dwSize;
        return api.RasSetEntryPropertiesA(nullptr, name, &entry, stated, nullptr, 0);
    };
    auto dialParams = [&](RasDword dwSize, const char* name, bool set) {
        RASDIALPARAMSA params = {};
        params.dwSize = dwSize;
        CopyField(params.szEntryName, name);
        RasBool has = 0;
        return set ? api.RasSetEntryDialParamsA(nullptr, &params, 0)
                   : api.RasGetEntryDialParamsA(nullptr, &params, &has);
    };
    auto credentials = [&](RasDword dwSize, const char* name, bool set) {
        RASCREDENTIALSA c = {};
        c.dwSize = dwSize;
        c.dwMask = RASCM_UserName | RASCM_Password;
        return set ? api.RasSetCredentialsA(nullptr, name, &c, 0)
                   : api.RasGetCredentialsA(nullptr, name, &c);
    };
    const std::string tooLong(257, 'n');
    RasDword bytes = 0, count = 0;
    RasBool has = 0;
    RASENTRYA entry = {};
    entry.dwSize = sizeof entry;
    RASCREDENTIALSA cred = {};
    cred.dwSize = sizeof cred;

    struct Case {
        const char* what;
        std::function<RasDword()> call;
        RasDword expected;
    } cases[] = {
        {"entry names 260", [&] { return enumEntries(260); }, ERROR_INVALID_SIZE},
        {"entry names 528", [&] { return enumEntries(528); }, ERROR_INVALID_SIZE},
        {"devices 148", [&] { return enumDevices(148); }, ERROR_INVALID_USER_BUFFER_},
        {"get entry 2880", [&] { return getEntry(2880, "Isp"); }, ERROR_INVALID_SIZE},
        {"set entry 1000", [&] { return setEntry(1000, 2884, "Isp"); }, ERROR_INVALID_SIZE},
        {"set entry stated 2000", [&] { return setEntry(2884, 2000, "Isp"); }, ERROR_INVALID_SIZE},
        {"get dial params 1060", [&] { return dialParams(1060, "Isp", false); },
         ERROR_INVALID_SIZE},
        {"set dial params 1048", [&] { return dialParams(1048, "Isp", true); }, ERROR_INVALID_SIZE},
        {"get credentials 536", [&] { return credentials(536, "Isp", false); }, ERROR_INVALID_SIZE},
        {"set credentials 544", [&] { return credentials(544, "Isp", true); }, ERROR_INVALID_SIZE},

        {"entry names, no size",
         [&] { return api.RasEnumEntriesA(nullptr, nullptr, nullptr, nullptr, &count); },
         ERROR_BUFFER_INVALID},
        {"entry names, no count",
         [&] { return api.RasEnumEntriesA(nullptr, nullptr, nullptr, &bytes, nullptr); },
         ERROR_BUFFER_INVALID},
        {"devices, no size", [&] { return api.RasEnumDevicesA(nullptr, nullptr, &count); },
         kSimErrorInvalidParameter},
        {"devices, no count", [&] { return api.RasEnumDevicesA(nullptr, &bytes, nullptr); },
         kSimErrorInvalidParameter},
        {"devices, stated below one record",
         [&] {
             RASDEVINFOA one = {};
             one.dwSize = sizeof one;
             RasDword stated = sizeof one - 1;
             return api.RasEnumDevicesA(&one, &stated, &count);
         },
         ERROR_BUFFER_TOO_SMALL},
        {"get entry, no size",
         [&] {
             return api.RasGetEntryPropertiesA(nullptr, "Isp", &entry, nullptr, nullptr, nullptr);
         },
         ERROR_BUFFER_INVALID},
        {"set entry, no record",
         [&] { return api.RasSetEntryPropertiesA(nullptr, "Isp", nullptr, 2884, nullptr, 0); },
         ERROR_BUFFER_INVALID},
        {"set entry, no name",
         [&] { return api.RasSetEntryPropertiesA(nullptr, nullptr, &entry, 2884, nullptr, 0); },
         ERROR_BUFFER_INVALID},
        {"delete, no name", [&] { return api.RasDeleteEntryA(nullptr, nullptr); },
         ERROR_BUFFER_INVALID},
        {"get dial params, no record",
         [&] { return api.RasGetEntryDialParamsA(nullptr, nullptr, &has); }, ERROR_BUFFER_INVALID},
        {"get dial params, no flag",
         [&] {
             RASDIALPARAMSA p = {};
             p.dwSize = sizeof p;
             CopyField(p.szEntryName, "Isp");
             return api.RasGetEntryDialParamsA(nullptr, &p, nullptr);
         },
         ERROR_BUFFER_INVALID},
        {"set dial params, no record",
         [&] { return api.RasSetEntryDialParamsA(nullptr, nullptr, 0); }, ERROR_BUFFER_INVALID},
        {"get credentials, no record",
         [&] { return api.RasGetCredentialsA(nullptr, "Isp", nullptr); }, ERROR_BUFFER_INVALID},
        {"get credentials, no name",
         [&] { return api.RasGetCredentialsA(nullptr, nullptr, &cred); }, ERROR_BUFFER_INVALID},
        {"set credentials, no record",
         [&] { return api.RasSetCredentialsA(nullptr, "Isp", nullptr, 0); },
         kSimErrorInvalidParameter},

        {"get entry, unknown", [&] { return getEntry(2884, "Other"); },
         ERROR_CANNOT_FIND_PHONEBOOK_ENTRY},
        {"delete, unknown", [&] { return api.RasDeleteEntryA(nullptr, "Other"); },
         ERROR_CANNOT_FIND_PHONEBOOK_ENTRY},
        {"get dial params, unknown", [&] { return dialParams(1052, "Other", false); },
         ERROR_CANNOT_FIND_PHONEBOOK_ENTRY},
        {"set dial params, unknown", [&] { return dialParams(1052, "Other", true); },
         ERROR_CANNOT_FIND_PHONEBOOK_ENTRY},
        {"get credentials, unknown", [&] { return credentials(540, "Other", false); },
         ERROR_CANNOT_FIND_PHONEBOOK_ENTRY},
        {"set credentials, unknown", [&] { return credentials(540, "Other", true); },
         kSimErrorInvalidParameter},

        {"set entry, empty name", [&] { return setEntry(2884, 2884, ""); }, kSimErrorInvalidName},
        {"set entry, 257 bytes", [&] { return setEntry(2884, 2884, tooLong.c_str()); },
         kSimErrorInvalidName},
        {"set entry, line break", [&] { return setEntry(2884, 2884, "a\nb"); },
         kSimErrorInvalidName},
        {"set entry, half character", [&] { return setEntry(2884, 2884, "ab\x83"); },
         kSimErrorInvalidName},
        {"set entry, backslash", [&] { return setEntry(2884, 2884, "a\\b"); },
         kSimErrorInvalidName},
        {"set entry, leading dot", [&] { return setEntry(2884, 2884, ".ab"); },
         kSimErrorInvalidName},
        {"set entry, no letter or digit", [&] { return setEntry(2884, 2884, "- _"); },
         kSimErrorInvalidName},
        {"validate, colon", [&] { return api.RasValidateEntryNameA(nullptr, "a:b"); },
         kSimErrorInvalidName},
        {"validate, existing", [&] { return api.RasValidateEntryNameA(nullptr, "ISP"); },
         kSimErrorAlreadyExists},
        {"validate, a dot inside", [&] { return api.RasValidateEntryNameA(nullptr, "a.b"); }, 0},
        {"entry names, reserved given",
         [&] { return api.RasEnumEntriesA("", nullptr, nullptr, &bytes, &count); },
         kSimErrorNotSupported},

        {"dial", [&] { return api.RasDialA(nullptr, nullptr, nullptr, 0, nullptr, nullptr); },
         kSimErrorPortNotAvailable},
        {"hang up", [&] { return api.RasHangUpA(nullptr); }, kSimErrorInvalidHandle},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), c.expected) << c.what;
        EXPECT_EQ(book.ReadFile(), before) << c.what << " changed the file";
    }
    EXPECT_EQ(setEntry(3000, 3000, "Larger"), ERROR_INVALID_SIZE) << "no structure is 3000 bytes";
}

TEST(SimApi, NamesCompareIgnoringTheCaseOfLettersOnly) {
    SimPhonebook book;
    const DialupApi& api = book.api();
    ASSERT_EQ(book.AddModemEntry("First", "M", "", "1", "u1", "p1"), 0u);
    ASSERT_EQ(book.AddModemEntry("MyISP", "M", "", "2", "u2", "p2"), 0u);
    ASSERT_EQ(book.AddModemEntry("\x83\x41", "M", "", "3", "u3", "p3"), 0u);  // ア

    struct Case {
        const char* asked;
        const char* number;  // null: not found
    } cases[] = {
        {"myisp", "2"},    {"MYISP", "2"},        {"MyIsp ", nullptr},
        {"\x83\x41", "3"}, {"\x83\x61", nullptr},  // ヂ: its second byte is 'a', yet it is another
                                                   // character
    };
    for (const Case& c : cases) {
        RasDword result;
        const RASENTRYA entry = ReadEntry(api, c.asked, &result);
        if (c.number == nullptr) {
            EXPECT_EQ(result, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) << c.asked;
        } else {
            EXPECT_EQ(result, 0u) << c.asked;
            EXPECT_STREQ(entry.szLocalPhoneNumber, c.number) << c.asked;
        }
    }

    // Writing under another case replaces the entry in place and keeps its credentials.
    ASSERT_EQ(WriteNumber(api, "MYisp", "99"), 0u);
    EXPECT_EQ(EntryNames(api), (std::vector<std::string>{"First", "MyISP", "\x83\x41"}));
    RasDword result;
    EXPECT_STREQ(ReadEntry(api, "myisp", &result).szLocalPhoneNumber, "99");
    const StoredCredentials kept = ReadDialParams(api, "MyISP");
    EXPECT_EQ(kept.userName, "u2");
    EXPECT_EQ(book.StoredPassword("MyISP"), "p2");

    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "FIRST"), 0u);
    EXPECT_EQ(EntryNames(api), (std::vector<std::string>{"MyISP", "\x83\x41"}));
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "first"), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
}

TEST(SimApi, SavedPasswordReadsAsAsterisksAndAsterisksKeepIt) {
    struct Case {
        const char* what;
        const char* saved;  // through the dial parameters first
        RasDword mask;      // of the credentials write
        const char* userName;
        const char* password;
        RasBool clear;
        const char* userAfter;
        const char* passwordAfter;  // as stored
    } cases[] = {
        {"asterisks keep", "secret", 3, "new", kHidden, 0, "new", "secret"},
        {"new password", "secret", 3, "new", "other", 0, "new", "other"},
        {"empty password", "secret", 3, "new", "", 0, "new", ""},
        {"fifteen asterisks are a password", "secret", 3, "u", "***************", 0, "u",
         "***************"},
        {"seventeen asterisks are a password", "secret", 3, "u", "*****************", 0, "u",
         "*****************"},
        {"user name only", "secret", RASCM_UserName, "new", "ignored", 0, "new", "secret"},
        {"password only", "secret", RASCM_Password, "ignored", "pw", 0, "user", "pw"},
        {"clear password", "secret", RASCM_Password, "", "", 1, "user", ""},
        {"clear both", "secret", 3, "", "", 1, "", ""},
        {"asterisks without a saved one", "", 3, "u", kHidden, 0, "u", ""},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        const DialupApi& api = book.api();
        ASSERT_EQ(book.AddModemEntry("Isp", "M", "", "1", "user", c.saved), 0u);

        RASCREDENTIALSA read = {};
        read.dwSize = sizeof read;
        read.dwMask = RASCM_UserName | RASCM_Password;
        ASSERT_EQ(api.RasGetCredentialsA(nullptr, "ISP", &read), 0u) << c.what;
        EXPECT_STREQ(read.szUserName, "user") << c.what;
        EXPECT_STREQ(read.szPassword, c.saved[0] != '\0' ? kHidden : "") << c.what;
        EXPECT_EQ(read.dwMask, c.saved[0] != '\0' ? 3u : 1u) << c.what << ": reports the saved one";

        EXPECT_EQ(WriteCredentials(api, "isp", c.mask, c.userName, c.password, c.clear), 0u)
            << c.what;
        const StoredCredentials after = ReadDialParams(api, "Isp");
        EXPECT_EQ(after.result, 0u) << c.what;
        EXPECT_EQ(after.userName, c.userAfter) << c.what;
        EXPECT_EQ(book.StoredPassword("Isp"), c.passwordAfter) << c.what;
        EXPECT_EQ(after.hasPassword, c.passwordAfter[0] != '\0' ? 1 : 0) << c.what;
    }
}

TEST(SimApi, DialParamsKeepOrRemoveThePassword) {
    SimPhonebook book;
    const DialupApi& api = book.api();
    ASSERT_EQ(book.AddModemEntry("Isp", "M", "", "1", "user@isp", "pw"), 0u);
    RASDIALPARAMSA params = {};
    params.dwSize = sizeof params;
    CopyField(params.szEntryName, "Isp");
    CopyField(params.szUserName, "other@isp");
    CopyField(params.szPassword, "ignored");
    ASSERT_EQ(api.RasSetEntryDialParamsA(nullptr, &params, 1), 0u);
    const StoredCredentials after = ReadDialParams(api, "ISP");
    EXPECT_EQ(after.userName, "other@isp");
    EXPECT_EQ(after.password, "");
    EXPECT_EQ(after.hasPassword, 0);

    // Credentials and dial parameters only apply to an entry that exists.
    CopyField(params.szEntryName, "Gone");
    EXPECT_EQ(api.RasSetEntryDialParamsA(nullptr, &params, 0), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    EXPECT_EQ(EntryNames(api), std::vector<std::string>{"Isp"});
}

TEST(SimApi, InjectedFaultsAreReturnedWithoutDoingAnything) {
    SimPhonebook book;
    const DialupApi& api = book.api();
    ASSERT_EQ(WriteNumber(api, "Isp", "1"), 0u);
    const std::string before = book.ReadFile();

    book.Fail("RasSetEntryPropertiesA:1784,RasEnumEntriesA:621");
    EXPECT_EQ(WriteNumber(api, "New", "2"), 1784u);
    RASENTRYNAMEA one = {};
    one.dwSize = sizeof one;
    RasDword bytes = 12345, count = 6789;
    EXPECT_EQ(api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count), 621u);
    EXPECT_EQ(bytes, 12345u) << "out-parameters untouched";
    EXPECT_EQ(count, 6789u);
    RasDword result;
    ReadEntry(api, "Isp", &result);
    EXPECT_EQ(result, 0u) << "operations not named work";
    EXPECT_EQ(book.ReadFile(), before);

    // The variable is read at every call.
    book.Fail("RasDeleteEntryA:5");
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "Isp"), 5u);
    EXPECT_EQ(WriteNumber(api, "New", "2"), 0u);
    book.Fail(nullptr);
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "Isp"), 0u);

    // Items that do not name an operation and a number are ignored.
    const char* ignored[] = {"RasEnumEntriesA",
                             "RasEnumEntriesA:",
                             "RasEnumEntriesA:x1",
                             ":5",
                             "RasEnumEntriesA:99999999999",
                             "rasenumentriesa:5",
                             "RasEnumEntries:5",
                             ",,,"};
    for (const char* list : ignored) {
        book.Fail(list);
        EXPECT_EQ(EntryNames(api, &result), std::vector<std::string>{"New"}) << list;
        EXPECT_EQ(result, 0u) << list;
    }
    book.Fail("RasDialA:1, RasEnumEntriesA : 0");
    EXPECT_EQ(api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count), 0u)
        << "0 is a number like any other";
    EXPECT_EQ(bytes, 12345u);

    // Every operation can be failed, before any argument is looked at.
    struct Operation {
        const char* name;
        std::function<RasDword()> call;
    } operations[] = {
        {"RasEnumDevicesA", [&] { return api.RasEnumDevicesA(nullptr, nullptr, nullptr); }},
        {"RasEnumEntriesA",
         [&] { return api.RasEnumEntriesA(nullptr, nullptr, nullptr, nullptr, nullptr); }},
        {"RasGetEntryPropertiesA",
         [&] {
             return api.RasGetEntryPropertiesA(nullptr, nullptr, nullptr, nullptr, nullptr,
                                               nullptr);
         }},
        {"RasSetEntryPropertiesA",
         [&] { return api.RasSetEntryPropertiesA(nullptr, nullptr, nullptr, 0, nullptr, 0); }},
        {"RasDeleteEntryA", [&] { return api.RasDeleteEntryA(nullptr, nullptr); }},
        {"RasGetEntryDialParamsA",
         [&] { return api.RasGetEntryDialParamsA(nullptr, nullptr, nullptr); }},
        {"RasSetEntryDialParamsA", [&] { return api.RasSetEntryDialParamsA(nullptr, nullptr, 0); }},
        {"RasGetCredentialsA", [&] { return api.RasGetCredentialsA(nullptr, nullptr, nullptr); }},
        {"RasSetCredentialsA",
         [&] { return api.RasSetCredentialsA(nullptr, nullptr, nullptr, 0); }},
        {"RasDialA", [&] { return api.RasDialA(nullptr, nullptr, nullptr, 0, nullptr, nullptr); }},
        {"RasHangUpA", [&] { return api.RasHangUpA(nullptr); }},
    };
    for (const Operation& operation : operations) {
        book.Fail((std::string("RasNothingA:1,") + operation.name + ":4242").c_str());
        EXPECT_EQ(operation.call(), 4242u) << operation.name;
    }

    // "#k" fails the k-th call of that operation only, counted from the reset; malformed
    // call numbers are ignored. Failed calls count too, and the record keeps every call.
    ResetSimCallRecord(true);
    book.Fail("RasDeleteEntryA#2:5,RasEnumEntriesA#0:1,RasEnumEntriesA#x:1,RasEnumEntriesA#:1");
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "Gone"), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "New"), 5u);
    EXPECT_EQ(EntryNames(api), std::vector<std::string>{"New"});
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "New"), 0u);
    const std::vector<std::string> record = SimCallRecord();
    ASSERT_EQ(record.size(), 5u);
    EXPECT_EQ(record[1], "RasDeleteEntryA");
    EXPECT_EQ(record[2], "RasEnumEntriesA");
    EXPECT_EQ(record[4], "RasDeleteEntryA");
    book.Fail("RasDeleteEntryA # 1 : 7");
    ResetSimCallRecord(false);
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "New"), 7u);
    EXPECT_EQ(api.RasDeleteEntryA(nullptr, "New"), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    EXPECT_TRUE(SimCallRecord().empty());
}

TEST(SimApi, KeepsOneFileAndReportsWhenItCannotBeReadOrWritten) {
    SimPhonebook book;
    const DialupApi& api = book.api();
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(book.AddModemEntry(("E" + std::to_string(i)).c_str(), "M", "", "1", "u", "p"),
                  0u);
        ASSERT_EQ(api.RasDeleteEntryA(nullptr, "E0"),
                  i == 0 ? 0u : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    }
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(book.folder().path())) {
        files.push_back(item.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"phonebook.ini"}) << "no temporary file left";

    // A file in a folder that does not exist: an empty phonebook that cannot be written.
    const std::string missing = book.folder().PathTo("none/phonebook.ini");
    setenv("RASSIM_PHONEBOOK", missing.c_str(), 1);
    RasDword result;
    EXPECT_EQ(EntryNames(api, &result), std::vector<std::string>{});
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(WriteNumber(api, "Isp", "1"), kSimErrorCannotWritePhonebook);
    EXPECT_FALSE(std::filesystem::exists(book.folder().PathTo("none")));

    // A folder where the file should be cannot be read.
    book.folder().MakeFolder("dir.ini");
    setenv("RASSIM_PHONEBOOK", book.folder().PathTo("dir.ini").c_str(), 1);
    EntryNames(api, &result);
    EXPECT_EQ(result, ERROR_CANNOT_OPEN_PHONEBOOK);

    // No file named at all (natively there is no default).
    unsetenv("RASSIM_PHONEBOOK");
    EntryNames(api, &result);
    EXPECT_EQ(result, ERROR_CANNOT_OPEN_PHONEBOOK);

    // A phonebook path given by the caller wins over the variable.
    const std::string own = book.folder().PathTo("own.ini");
    RASENTRYA entry = WritableEntry("1");
    EXPECT_EQ(api.RasSetEntryPropertiesA(own.c_str(), "Own", &entry, sizeof entry, nullptr, 0), 0u);
    EXPECT_NE(book.folder().Read("own.ini").find("[Own]"), std::string::npos);
}
