// Entry creation against an in-memory phonebook: the record, the dial parameters, the old
// entry kept or put back on refusal, refusals by number and by length.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "FakeDialup.h"
#include "FakeRegistry.h"
#include "newconn/EntryCreation.h"
#include "res/resource.h"
#include "support/RecordingUserSide.h"
#include "support/TempFolder.h"

namespace {

using Calls = std::vector<std::string>;

class EntryCreation : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFake();
        registry.AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
        registry.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
        registry.AddKey(RegistryRoot::LocalMachine, kAutodialDefaultKey);
        CopyField(inputs.entryName, "My ISP");
        CopyField(inputs.userName, "taro");
        CopyField(inputs.domainText, "@isp.example");
        CopyField(inputs.password, "secret");
        CopyField(inputs.accessPointNumber, "0570-01-2345");
        CopyField(inputs.modemName, "Standard 56000 bps Modem");
        inputs.pulse = false;
        inputs.makeDefault = false;
    }

    // The look-up of the form (its question answered yes), then the creation.
    bool Create(OsClass osClass = 8) {
        ExistingEntry existing;
        LookUpExistingEntry(api, osClass, inputs.entryName, &existing);
        return CreateEntry(inputs, existing, api, folder, user, registry, osClass) !=
               Creation::Failed;
    }

    // The calls that touch entries, without the look-ups.
    static Calls Writes() {
        Calls writes;
        for (const std::string& call : Fake().calls) {
            if (call.rfind("Set:", 0) == 0 || call.rfind("Delete:", 0) == 0 ||
                call.rfind("DialParams:", 0) == 0) {
                writes.push_back(call);
            }
        }
        return writes;
    }

    void ExpectOneWarning(unsigned textId, int number) {
        ASSERT_EQ(user.shown.size(), 1u);
        EXPECT_EQ(user.shown[0].kind, ShownMessage::Program);
        EXPECT_EQ(user.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(user.shown[0].textId, textId);
        EXPECT_EQ(user.shown[0].number, number);
    }

    void ExpectOldEntryUntouched() {
        ASSERT_EQ(Fake().entries.size(), 1u);
        const FakeEntry* old = Fake().Find("My ISP");
        ASSERT_NE(old, nullptr);
        EXPECT_STREQ(old->record.szLocalPhoneNumber, "0000");
        EXPECT_EQ(old->userName, "old@old.example");
        EXPECT_EQ(old->password, "oldpass");
    }

    CreationInputs inputs{};
    DialupApi api = FakeDialupApi();
    TempFolder folder;
    RecordingUserSide user;
    FakeRegistry registry;
};

TEST_F(EntryCreation, WritesTheTabledRecordAndDialParams) {
    inputs.makeDefault = true;
    ASSERT_TRUE(Create(9));
    EXPECT_TRUE(user.shown.empty());
    const FakeEntry* made = Fake().Find("My ISP");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->size, 2884u);

    RASENTRYA expected;
    memset(&expected, 0, sizeof(expected));
    expected.dwSize = 2884;
    expected.dwfOptions = 0x05000110;
    expected.dwCountryID = 81;
    expected.dwCountryCode = 81;
    strcpy(expected.szLocalPhoneNumber, "0570-01-2345");
    expected.dwfNetProtocols = 4;
    expected.dwFramingProtocol = 1;
    strcpy(expected.szDeviceType, "modem");
    strcpy(expected.szDeviceName, "Standard 56000 bps Modem");
    expected.dwIdleDisconnectSeconds = 0xFFFFFFFF;
    expected.dwType = 1;
    expected.dwfOptions2 = 0x43;
    EXPECT_EQ(memcmp(&made->record, &expected, sizeof(expected)), 0)
        << "every field not set above must be zero";

    EXPECT_EQ(made->userName, "taro@isp.example");
    EXPECT_EQ(made->password, "secret");
    const RASDIALPARAMSA& params = Fake().lastDialParams;
    EXPECT_EQ(params.dwSize, 1052u);
    EXPECT_STREQ(params.szPhoneNumber, "");
    EXPECT_STREQ(params.szCallbackNumber, "");
    EXPECT_STREQ(params.szDomain, "");
    EXPECT_EQ(Fake().lastRemovePassword, 0);

    EXPECT_EQ(Writes(), (Calls{"Set:My ISP", "DialParams:My ISP"}));
    ASSERT_EQ(registry.writes.size(), 3u);
    EXPECT_EQ(registry.writes[0],
              std::string("HKLM\\SOFTWARE\\Microsoft\\RAS AutoDial\\Default:DefaultInternet=sz:"
                          "My ISP") +
                  '\0');
}

TEST_F(EntryCreation, NameServersFromTheSettingsFile) {
    folder.Write("ISP_INF.csv", "SetDnsIpAddress,TRUE\r\nDns1,10.0.0.1\r\nDns2,192.168.1\r\n");
    ASSERT_TRUE(Create());
    const RASENTRYA& made = Fake().Find("My ISP")->record;
    EXPECT_EQ(made.dwfOptions, 0x05000114u);
    const RASIPADDR primary = made.ipaddrDns;
    const RASIPADDR secondary = made.ipaddrDnsAlt;
    EXPECT_EQ(std::vector<int>({primary.a, primary.b, primary.c, primary.d}),
              std::vector<int>({10, 0, 0, 1}));
    EXPECT_EQ(std::vector<int>({secondary.a, secondary.b, secondary.c, secondary.d}),
              std::vector<int>({0, 0, 0, 0}))
        << "a partial address is no name server";
}

TEST_F(EntryCreation, DiallingPrefixByOsClass) {
    struct Case {
        bool pulse;
        OsClass osClass;
        const char* number;
    } cases[] = {
        {false, 9, "0570-01-2345"},
        {false, 3, "0570-01-2345"},
        {true, 9, "P0570-01-2345"},
        {true, 7, "P0570-01-2345"},
        {true, kOsClassUnknown, "P0570-01-2345"},
        {true, 6, "PP0570-01-2345"},
        {true, 1, "PP0570-01-2345"},
        {true, 0, "PP0570-01-2345"},
    };
    for (const Case& c : cases) {
        ResetFake();
        inputs.pulse = c.pulse;
        ASSERT_TRUE(Create(c.osClass));
        EXPECT_STREQ(Fake().Find("My ISP")->record.szLocalPhoneNumber, c.number)
            << "pulse " << c.pulse << ", class " << c.osClass;
    }
}

// The new properties go over the old entry's; a refusal leaves it as it was.
TEST_F(EntryCreation, RefusedEntryKeepsTheOldOne) {
    struct Case {
        RasDword error;
        unsigned textId;
    } cases[] = {
        {610, IDS_ENTRY_FAILED_610},   {621, IDS_ENTRY_FAILED_621},
        {14, IDS_ENTRY_FAILED_14},     {1784, IDS_ENTRY_FAILED_1784},
        {632, IDS_ENTRY_FAILED_OTHER}, {5, IDS_OVERWRITE_NEEDS_ADMINISTRATOR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        ResetFake();
        user.shown.clear();
        Fake().Add("MY ISP", "0000");
        Fake().setResults = {c.error};
        inputs.makeDefault = true;
        EXPECT_FALSE(Create());
        ExpectOneWarning(c.textId, c.error == 5 ? 0 : static_cast<int>(c.error));  // 5: no rights
        ExpectOldEntryUntouched();
        EXPECT_EQ(Writes(), (Calls{"Set:My ISP"}));
        EXPECT_TRUE(registry.writes.empty());
    }
}

// Refused dial parameters show nothing themselves; what the name stood for is put back
// (whole, with its alternate numbers, in its own phonebook), and a failure to put it back
// names the entry.
TEST_F(EntryCreation, RefusedDialParamsPutBackWhatWasThere) {
    struct Case {
        bool oldEntry;
        bool undoFails;
        std::string phonebook;  // the old entry's, as listed
        size_t alternateBytes;  // after the old entry's structure
    } cases[] = {
        {true, false, "", 0}, {false, false, "", 0},          {true, true, "", 0},
        {false, true, "", 0}, {true, false, "C:\\u.pbk", 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.oldEntry) + std::to_string(c.undoFails) + c.phonebook);
        ResetFake();
        user.shown.clear();
        std::vector<unsigned char> oldBytes;
        if (c.oldEntry) {
            Fake().Add("My ISP", "0000");
            FakeEntry& old = Fake().entries[0];
            old.phonebook = c.phonebook;
            old.record.dwAlternateOffset = c.alternateBytes != 0 ? RasDword{kRasEntrySize} : 0;
            const unsigned char* record = reinterpret_cast<const unsigned char*>(&old.record);
            old.bytes.assign(record, record + sizeof(old.record));
            old.bytes.insert(old.bytes.end(), c.alternateBytes, 0x31);
            old.size = static_cast<RasDword>(old.bytes.size());
            oldBytes = old.bytes;
        }
        Fake().dialParamsResult = 1784;
        Fake().setResults = {0, c.undoFails ? 621u : 0u};
        Fake().deleteResult = c.undoFails ? 5 : 0;
        inputs.makeDefault = true;
        EXPECT_FALSE(Create());
        const std::string in = c.phonebook.empty() ? "" : "|" + c.phonebook;
        EXPECT_EQ(Writes(), (Calls{"Set:My ISP" + in, "DialParams:My ISP" + in,
                                   (c.oldEntry ? "Set:My ISP" : "Delete:My ISP") + in}));
        EXPECT_TRUE(registry.writes.empty());
        if (c.undoFails) {
            ASSERT_EQ(user.shown.size(), 1u);
            EXPECT_EQ(user.shown[0].textId, unsigned{IDS_ENTRY_PARTLY_CHANGED});
            EXPECT_EQ(user.shown[0].text, "My ISP");
            continue;
        }
        EXPECT_TRUE(user.shown.empty());
        if (c.oldEntry) {
            ExpectOldEntryUntouched();
            EXPECT_EQ(Fake().entries[0].bytes, oldBytes) << "put back whole";
        } else {
            EXPECT_TRUE(Fake().entries.empty());
        }
    }
}

// Without knowing what the name stands for nothing is written (the look-up showed its
// error before the question).
TEST_F(EntryCreation, UnreadableOldEntryStopsBeforeAnyWrite) {
    Fake().Add("My ISP", "0000");
    Fake().namedReadResult = 1784;
    EXPECT_FALSE(Create());
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(Writes(), Calls{});
    ExpectOldEntryUntouched();
}

TEST_F(EntryCreation, ValuesThatDoNotFitAreRefusedBeforeAnythingIsTouched) {
    struct Case {
        const char* name;
        size_t userLength;
        size_t domainLength;
        size_t numberLength;
        bool pulse;
        OsClass osClass;
        unsigned refusal;  // 0: created
    } cases[] = {
        {"user name and domain of 256", 200, 56, 10, false, 8, 0},
        {"user name and domain of 257", 200, 57, 10, false, 8, IDS_USER_NAME_TOO_LONG},
        {"user name alone of 254 plus domain", 254, 3, 10, false, 8, IDS_USER_NAME_TOO_LONG},
        {"number of 128", 4, 4, 128, false, 8, 0},
        {"number of 129", 4, 4, 129, false, 8, IDS_NUMBER_TOO_LONG},
        {"P and 127", 4, 4, 127, true, 8, 0},
        {"PP and 127", 4, 4, 127, true, 6, IDS_NUMBER_TOO_LONG},
        {"both too long: the user name is reported", 250, 10, 200, false, 8,
         IDS_USER_NAME_TOO_LONG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetFake();
        user.shown.clear();
        Fake().Add("My ISP", "0000");
        CopyField(inputs.userName, std::string(c.userLength, 'u').c_str());
        CopyField(inputs.domainText, ("@" + std::string(c.domainLength - 1, 'd')).c_str());
        CopyField(inputs.accessPointNumber, std::string(c.numberLength, '1').c_str());
        inputs.pulse = c.pulse;
        const bool created = Create(c.osClass);
        if (c.refusal == 0) {
            EXPECT_TRUE(created);
            EXPECT_TRUE(user.shown.empty());
            const FakeEntry* made = Fake().Find("My ISP");
            EXPECT_EQ(made->userName.size(), c.userLength + c.domainLength) << "nothing cut";
            continue;
        }
        EXPECT_FALSE(created);
        ExpectOneWarning(c.refusal, 0);
        EXPECT_EQ(Writes(), Calls{}) << "nothing is written";
        ExpectOldEntryUntouched();
    }
}

// dwSize names the structure version the default entry reports, never more than the
// record the program knows; dwType is set when that version reaches it.
TEST_F(EntryCreation, StructureSizeFromTheProbe) {
    const RasDword withType = offsetof(RASENTRYA, dwType) + 4, cut = withType - 1;
    struct Case {
        RasDword result;
        RasDword reported;
        RasDword written;  // 0: refused with `result`'s message
        RasDword dwType;
    } cases[] = {
        {603, 2884, 2884, 1},  {0, 2884, 2884, 1},       {603, 3000, 2884, 1},
        {603, 65537, 2884, 1}, {0, 0xFFFFFFFF, 2884, 1}, {603, withType, withType, 1},
        {603, cut, cut, 0},    {603, 1768, 1768, 0},     {621, 3000, 0, 0},
        {623, 3000, 0, 0},     {603, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.result) + "/" + std::to_string(c.reported));
        ResetFake();
        user.shown.clear();
        Fake().probeResult = c.result;
        Fake().probeSize = c.reported;
        EXPECT_EQ(Create(), c.written != 0);
        if (c.written == 0) {
            const RasDword error = c.reported == 0 ? 632 : c.result;
            ExpectOneWarning(EntryFailureMessage(error).textId, static_cast<int>(error));
            EXPECT_EQ(Writes(), Calls{});
            continue;
        }
        const FakeEntry* made = Fake().Find("My ISP");
        EXPECT_EQ(made->size, c.written);
        EXPECT_EQ(made->record.dwSize, c.written);
        EXPECT_EQ(made->record.dwType, c.dwType);
        EXPECT_STREQ(made->record.szLocalPhoneNumber, "0570-01-2345");
    }
}

TEST_F(EntryCreation, MissingWriteOperationIsAFailureNotACrash) {
    api.RasSetEntryPropertiesA = nullptr;
    EXPECT_FALSE(Create());
    ExpectOneWarning(IDS_ENTRY_FAILED_OTHER, 120);
    api = FakeDialupApi();
    api.RasSetEntryDialParamsA = nullptr;
    user.shown.clear();
    EXPECT_FALSE(Create());
    EXPECT_TRUE(user.shown.empty());
}

TEST(CreationInputs, PasswordIsWipedOnDestruction) {
    alignas(CreationInputs) unsigned char storage[sizeof(CreationInputs)];
    memset(storage, 0x7f, sizeof(storage));
    CreationInputs* in = new (storage) CreationInputs{};
    CopyField(in->password, "secret");
    in->~CreationInputs();
    // Read through volatile: the object is gone, only its bytes are looked at.
    const volatile unsigned char* password = storage + offsetof(CreationInputs, password);
    size_t nonZero = 0;
    for (size_t i = 0; i < kFormTextSize; ++i) {
        nonZero += password[i] != 0 ? 1 : 0;
    }
    EXPECT_EQ(nonZero, 0u);
}

}  // namespace
