// The creation sequence end to end against the substitute phonebook file: what a later
// reader of the phonebook finds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "dialup/PhonebookEntries.h"
#include "newconn/EntryCreation.h"
#include "res/resource.h"
#include "support/RecordingUserSide.h"
#include "support/SimPhonebook.h"

namespace {

RASENTRYA ReadEntry(const DialupApi& api, const char* name) {
    RASENTRYA entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = sizeof(entry);
    RasDword size = sizeof(entry);
    EXPECT_EQ(api.RasGetEntryPropertiesA(nullptr, name, &entry, &size, nullptr, nullptr), 0u)
        << name;
    return entry;
}

std::pair<std::string, std::string> ReadUserAndPassword(const DialupApi& api, const char* name) {
    RASDIALPARAMSA params;
    memset(&params, 0, sizeof(params));
    params.dwSize = sizeof(params);
    CopyField(params.szEntryName, name);
    RasBool hasPassword = 0;
    EXPECT_EQ(api.RasGetEntryDialParamsA(nullptr, &params, &hasPassword), 0u) << name;
    return {params.szUserName, params.szPassword};
}

std::vector<std::string> Names(const DialupApi& api) {
    std::vector<PhonebookEntryName> entries;
    EXPECT_EQ(EnumerateEntries(api, &entries), 0u);
    std::vector<std::string> names;
    for (const PhonebookEntryName& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

class SimCreation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sim.AddModemEntry("my isp", "Standard 56000 bps Modem", "", "0000", "old@old",
                                    "oldpass"),
                  0u);
        ASSERT_EQ(sim.AddModemEntry("Other", "Standard 56000 bps Modem", "03", "1234", "o@o", "op"),
                  0u);
        sim.folder().Write("ISP_INF.csv",
                           "SetDnsIpAddress,TRUE\r\nDns1,192.0.2.1\r\nDns2,192.0.2.2\r\n");
        CopyField(inputs.entryName, "My ISP");
        CopyField(inputs.userName, "taro");
        CopyField(inputs.domainText, "@isp.example");
        CopyField(inputs.password, "secret");
        CopyField(inputs.accessPointNumber, "0570-01-2345");
        CopyField(inputs.modemName, "Standard 56000 bps Modem");
        inputs.pulse = true;
        inputs.makeDefault = false;
    }

    bool Create() {
        LookUpExistingEntry(sim.api(), 8, inputs.entryName, &existing);
        return CreateEntry(inputs, existing, sim.api(), sim.folder(), user, registry, 8) !=
               Creation::Failed;
    }

    ExistingEntry existing;

    SimPhonebook sim;
    CreationInputs inputs{};
    RecordingUserSide user;
    FakeRegistry registry;
};

TEST_F(SimCreation, OverwritesTheEntryOfTheSameNameAndSavesTheCredentials) {
    ASSERT_TRUE(Create());
    EXPECT_EQ(existing.presence, EntryPresence::Present);
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(Names(sim.api()), (std::vector<std::string>{"my isp", "Other"}))
        << "written over the old entry, which keeps its name and place";

    const RASENTRYA made = ReadEntry(sim.api(), "My ISP");
    EXPECT_EQ(made.dwfOptions, 0x05000114u);
    EXPECT_EQ(made.dwCountryID, 81u);
    EXPECT_EQ(made.dwCountryCode, 81u);
    EXPECT_STREQ(made.szAreaCode, "");
    EXPECT_STREQ(made.szLocalPhoneNumber, "P0570-01-2345");
    EXPECT_EQ(made.ipaddrDns.a, 192);
    EXPECT_EQ(made.ipaddrDns.d, 1);
    EXPECT_EQ(made.ipaddrDnsAlt.d, 2);
    EXPECT_EQ(made.dwfNetProtocols, 4u);
    EXPECT_EQ(made.dwFramingProtocol, 1u);
    EXPECT_STREQ(made.szDeviceType, "modem");
    EXPECT_STREQ(made.szDeviceName, "Standard 56000 bps Modem");
    EXPECT_EQ(made.dwIdleDisconnectSeconds, 0xFFFFFFFFu);
    EXPECT_EQ(made.dwType, 1u);
    EXPECT_EQ(made.dwfOptions2, 0x43u);

    EXPECT_EQ(ReadUserAndPassword(sim.api(), "My ISP").first, "taro@isp.example");
    EXPECT_EQ(sim.StoredPassword("My ISP"), "secret");
    EXPECT_STREQ(ReadEntry(sim.api(), "Other").szLocalPhoneNumber, "1234");
}

TEST_F(SimCreation, RefusedEntryLeavesThePhonebookFileAsItWas) {
    const std::string before = sim.ReadFile();
    sim.Fail("RasSetEntryPropertiesA:1784");
    EXPECT_FALSE(Create());
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].textId, unsigned{IDS_ENTRY_FAILED_1784});
    sim.Fail(nullptr);
    EXPECT_EQ(sim.ReadFile(), before);
    EXPECT_EQ(ReadUserAndPassword(sim.api(), "my isp").first, "old@old");
}

// A name the phonebook refuses at the write is reported by number; one Windows refuses
// beforehand is asked for again (which: the substitute's rows).
TEST_F(SimCreation, NameThePhonebookRefusesIsReportedByNumber) {
    CopyField(inputs.entryName, "bad\tname");  // control bytes are no entry name
    EXPECT_FALSE(Create());
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].textId, unsigned{IDS_ENTRY_FAILED_OTHER});
    EXPECT_EQ(user.shown[0].number, 123);
    EXPECT_EQ(Names(sim.api()), (std::vector<std::string>{"my isp", "Other"}));
    EXPECT_EQ(CheckEntryName(sim.api(), "a:b").textId, unsigned{IDS_ENTRY_NAME_REFUSED});
    EXPECT_EQ(CheckEntryName(DialupApi(), "a:b").kind, MessageBoxKind::None) << "not bound";
}

}  // namespace
