// Writing a new number, modem and the name servers into an entry held by the context.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "MigrationHarness.h"
#include "migrate/EntryChange.h"
#include "res/resource.h"

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

}  // namespace
