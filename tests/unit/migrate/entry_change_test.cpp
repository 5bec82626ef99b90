// Writing a new number, modem and the name servers into an entry held by the context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MigrationHarness.h"
#include "migrate/EntryChange.h"
#include "res/resource.h"
#include "sim/PhonebookFile.h"

namespace {

const char kEntry[] = "My ISP";

// New numbers in entries with and without the country-and-area-code option, on both
// families; numbers that do not fit are refused whole.
TEST(EntryChange, NewNumber) {
    const std::string longest(128, '5');
    struct Case {
        const char* what;
        bool areaOption;
        std::string number;
        OsClass osClass;
        bool saved;
        const char* areaCode;  // stored afterwards
        std::string localNumber;
    } cases[] = {
        {"area code split", true, "03-1234-5678", 8, true, "03", "1234-5678"},
        {"no hyphen empties the area code", true, "0312345678", 8, true, "", "0312345678"},
        {"nothing after the hyphen", true, "03-", 6, true, "03", "-"},
        {"NT keeps the area code's digits", true, "(03)-1234", 8, true, "03", "1234"},
        {"9x keeps it as typed", true, "(03)-1234", 6, true, "(03)", "1234"},
        {"without the option the whole number", false, "0,0570-00-1234", 6, true, "06",
         "0,0570-00-1234"},
        {"area code of 10 bytes", true, "0123456789-1", 8, true, "0123456789", "1"},
        {"area code of 11 bytes", true, "01234567890-1", 8, false, "06", "9999-0000"},
        {"11 bytes fit once reduced to digits", true, "(012)345678-1", 8, true, "012345678", "1"},
        {"and do not on 9x", true, "(012)345678-1", 6, false, "06", "9999-0000"},
        {"local number of 128 bytes", true, "03-" + longest, 8, true, "03", longest},
        {"local number of 129 bytes", true, "03-5" + longest, 8, false, "06", "9999-0000"},
        {"whole number of 128 bytes", false, longest, 6, true, "06", longest},
        {"whole number of 129 bytes", false, "5" + longest, 6, false, "06", "9999-0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        h.AddModemEntry(kEntry, "06", "9999-0000", "Xabc@a.example");
        if (!c.areaOption) {
            h.EditEntry(kEntry,
                        [](RASENTRYA& e) { e.dwfOptions &= ~RASEO_UseCountryAndAreaCodes; });
        }
        auto context = h.MakeContext(c.osClass);
        ASSERT_EQ(context->ReadEntryProperties(kEntry), 0u);
        EXPECT_EQ(context->ApplyEntryChange(kEntry, c.number.c_str(), nullptr, false), c.saved);
        EXPECT_EQ(context->EntryProperties(), nullptr);
        const RASENTRYA stored = h.Read(kEntry).properties;
        EXPECT_STREQ(stored.szAreaCode, c.areaCode);
        EXPECT_EQ(stored.szLocalPhoneNumber, c.localNumber);
        EXPECT_EQ((stored.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0, c.areaOption);
        if (c.saved) {
            EXPECT_TRUE(h.user.shown.empty());
        } else {
            ASSERT_EQ(h.user.shown.size(), 1u);
            EXPECT_EQ(h.user.shown[0].kind, ShownMessage::Program);
            EXPECT_EQ(h.user.shown[0].textId, static_cast<unsigned>(IDS_NEW_NUMBER_TOO_LONG));
            EXPECT_EQ(h.user.shown[0].icon, MessageIcon::Warning);
        }
    }
}

// Name servers go in with a number or a modem, never without either.
TEST(EntryChange, NameServers) {
    struct Case {
        const char* what;
        const char* settings;  // null: no ISP_INF.csv
        const char* number;
        const char* modem;
        bool applyDns;
        bool written;
        bool optionSet;
        const char* dns;
        const char* dnsAlt;
    } cases[] = {
        {"both addresses", "SetDnsIpAddress,TRUE\r\nDns1,10.0.0.1\r\nDns2,10.0.0.2\r\n", "1234",
         nullptr, true, true, true, "10.0.0.1", "10.0.0.2"},
        {"primary only, with a modem", "SetDnsIpAddress,true\r\nDns1,10.0.0.1\r\n", nullptr,
         "Other Modem", true, true, true, "10.0.0.1", "192.0.2.2"},
        {"switched off", "Dns1,10.0.0.1\r\n", "1234", nullptr, true, true, false, "192.0.2.1",
         "192.0.2.2"},
        {"no settings file", nullptr, "1234", nullptr, true, true, false, "192.0.2.1", "192.0.2.2"},
        {"not asked", "Dns1,10.0.0.1\r\n", "1234", nullptr, false, true, true, "192.0.2.1",
         "192.0.2.2"},
        {"neither number nor modem", "Dns1,10.0.0.1\r\n", nullptr, nullptr, true, false, true,
         "192.0.2.1", "192.0.2.2"},
    };
    auto text = [](const RASIPADDR& a) {
        return std::to_string(a.a) + "." + std::to_string(a.b) + "." + std::to_string(a.c) + "." +
               std::to_string(a.d);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        if (c.settings != nullptr) {
            h.WriteSettings(c.settings);
        }
        h.AddModemEntry(kEntry, "", "5678", "Xabc");
        h.EditEntry(kEntry, [](RASENTRYA& e) {
            e.dwfOptions |= RASEO_SpecificNameServers;
            e.ipaddrDns = RASIPADDR{192, 0, 2, 1};
            e.ipaddrDnsAlt = RASIPADDR{192, 0, 2, 2};
        });
        const std::string before = h.sim.ReadFile();
        auto context = h.MakeContext(8);
        context->LoadMigrationSettings();
        // Read once with the settings: what the file says later does not matter.
        h.WriteSettings("SetDnsIpAddress,FALSE\r\n");
        ASSERT_EQ(context->ReadEntryProperties(kEntry), 0u);
        EXPECT_TRUE(context->ApplyEntryChange(kEntry, c.number, c.modem, c.applyDns));
        EXPECT_EQ(context->EntryProperties() == nullptr, c.written);
        if (!c.written) {
            EXPECT_EQ(h.sim.ReadFile(), before);
        }
        const RASENTRYA stored = h.Read(kEntry).properties;
        EXPECT_EQ((stored.dwfOptions & RASEO_SpecificNameServers) != 0, c.optionSet);
        EXPECT_EQ(text(stored.ipaddrDns), c.dns);
        EXPECT_EQ(text(stored.ipaddrDnsAlt), c.dnsAlt);
    }
}

TEST(EntryChange, NothingHeldNothingWritten) {
    MigrationHarness h;
    h.AddModemEntry(kEntry, "", "5678", "Xabc");
    auto context = h.MakeContext(8);
    EXPECT_FALSE(context->ApplyEntryChange(kEntry, "1234", nullptr, true));
    ASSERT_EQ(context->ReadEntryProperties(kEntry), 0u);
    EXPECT_FALSE(context->ApplyEntryChange(nullptr, "1234", nullptr, true));
    EXPECT_TRUE(context->ApplyEntryChange(kEntry, "1234", nullptr, true));
    // Written once; a second change needs the entry read again.
    EXPECT_FALSE(context->ApplyEntryChange(kEntry, "9999", nullptr, true));
    EXPECT_STREQ(h.Read(kEntry).properties.szLocalPhoneNumber, "1234");
    EXPECT_TRUE(h.user.shown.empty());
}

// What reaches the substitute's writes; every call goes on to the substitute itself.
struct Written {
    DialupApi sim;
    RasDword dwSize = 0, size = 0, mask = 0;
} g_written;

RasDword RASAPI_CALL RecordSet(const char* book, const char* entry, RASENTRYA* info, RasDword size,
                               unsigned char* a, RasDword b) {
    g_written.dwSize = info->dwSize;
    g_written.size = size;
    return g_written.sim.RasSetEntryPropertiesA(book, entry, info, size, a, b);
}

RasDword RASAPI_CALL RecordSetCredentials(const char* book, const char* entry,
                                          RASCREDENTIALSA* credentials, RasBool clear) {
    g_written.mask = credentials->dwMask;
    return g_written.sim.RasSetCredentialsA(book, entry, credentials, clear);
}

// An entry of the user's own phonebook, with alternate numbers, migrated at each version: a
// null phonebook would miss it, so every call must name the listed one; the write names the
// version's structure (cut to ours), keeps the alternates and the credentials mask as read.
TEST(EntryChange, WrittenAsEachWindowsVersionExpects) {
    struct Case {
        const char* version;
        const char* savedPassword;
        const char* newPassword;  // typed in the dialog; null: box not ticked
        const char* newUserPart;  // typed in the dialog, and the write applies, then fails
        RasDword dwSize, mask;    // written
        const char* storedPassword;
    } cases[] = {
        {"2000", "", nullptr, nullptr, 2088, 3, ""},  // no report: the mask as given
        {"xp", "", nullptr, nullptr, kRasEntrySize, 1, ""},
        {"10", "secret", nullptr, nullptr, kRasEntrySize, 3, "secret"},
        {"7", "", "pw2", nullptr, kRasEntrySize, 3, "pw2"},
        {"xp", "pw", nullptr, "Xnew", kRasEntrySize, 3, "pw"},  // the change stands
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " " + c.storedPassword);
        MigrationHarness h;
        h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n");
        setenv("RASSIM_WINVER", c.version, 1);
        h.AddModemEntry(kEntry, "", "0312345678", "Xabc@dial.example", c.savedPassword);
        std::string text = h.sim.ReadFile();
        text.insert(text.find("UserName="), "AlternateNumber=111\r\nAlternateNumber=0120-22\r\n");
        h.folder().Write("user.ini", text);
        h.sim.WriteFile("");
        const std::string book = h.folder().PathTo("user.ini");
        setenv("RASSIM_USER_PHONEBOOK", book.c_str(), 1);
        RasDword probe = 0;  // the whole record: the structure and the alternate numbers
        h.api().RasGetEntryPropertiesA(book.c_str(), kEntry, nullptr, &probe, nullptr, nullptr);
        h.sim.Fail(c.newUserPart != nullptr ? "RasSetCredentialsA#1:after:31" : nullptr);
        g_written = Written{h.api()};
        DialupApi api = h.api();
        api.RasSetEntryPropertiesA = RecordSet;
        api.RasSetCredentialsA = RecordSetCredentials;
        h.ui.answers = {true};
        h.ui.editAccessPoint = [&c](AccessPointChangeFields& f) {
            if (c.newPassword != nullptr) {
                f.editPassword = 1;
                CopyField(f.password, c.newPassword);
            }
            if (c.newUserPart != nullptr) {
                f.editUserName = 1;
                CopyField(f.userName, c.newUserPart);
            }
        };
        MigrationContext context(h.folder(), api, h.user, h.ui, 9);
        EXPECT_EQ(context.RunMigration(), 1);
        unsetenv("RASSIM_USER_PHONEBOOK");
        EXPECT_EQ(context.changedCount, 1);
        EXPECT_TRUE(context.notExamined.empty());
        EXPECT_TRUE(h.user.shown.empty() || h.user.shown[0].kind == ShownMessage::App);
        EXPECT_EQ(g_written.dwSize, c.dwSize);
        EXPECT_EQ(g_written.size, probe);
        EXPECT_EQ(g_written.mask, c.mask);
        const std::string bytes = h.folder().Read("user.ini");
        SimPhonebookFile own = ParsePhonebook(bytes.data(), bytes.size());
        const SimEntry* stored = FindSimEntry(&own, kEntry);
        ASSERT_NE(stored, nullptr);
        EXPECT_STREQ(stored->properties.szLocalPhoneNumber, "0120-11-1111");
        EXPECT_EQ(stored->alternates, (std::vector<std::string>{"111", "0120-22"}));
        EXPECT_EQ(std::string(stored->userName),
                  std::string(c.newUserPart != nullptr ? c.newUserPart : "Xabc") + "@dial.example");
        EXPECT_STREQ(stored->password, c.storedPassword);
        EXPECT_EQ(h.sim.ReadFile(), "");
    }
}

}  // namespace
