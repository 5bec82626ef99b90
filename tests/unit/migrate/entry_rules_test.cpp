// The rules for one entry against the substitute phonebook: which entries are examined,
// what is proposed, and what an accepted proposal leaves in the phonebook.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "MigrationHarness.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"
#include "res/resource.h"
#include "sim/PhonebookFile.h"
#include "sim/SimRasApi.h"

namespace {

const char kEntry[] = "My ISP";
const char kModem[] = "Standard 56000 bps Modem";
const char kStandard[] = "UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n";

// Entries examined or passed over, and which proposals they get. The user says yes to
// everything, so an entry without a proposal shows that nothing at all was written.
TEST(EntryRules, WhichEntriesGetWhichProposal) {
    const char* const ap = "access point My ISP";
    const char* const un = "user name My ISP";
    using Stop = ExaminationStop;
    using Table = AccessPointTableKind;
    // The report: where the rules stopped, and "-" (no hit), or the table with "+" or "x"
    // for the domain test.
    struct Case {
        const char* what;
        const char* deviceType;
        const char* localNumber;
        const char* userName;
        const char* extraSettings;
        const char* dialog;  // null: none
        Stop stop;
        const char* hit;
    } cases[] = {
        {"other device type", "isdn", "0312345678", "Xabc@dial.example", kStandard, nullptr,
         Stop::OtherDeviceType, "-"},
        {"prefix is case-sensitive", "modem", "0312345678", "xabc@dial.example", kStandard, nullptr,
         Stop::OtherUserPrefix, "-"},
        {"empty prefix takes all", "modem", "0312345678", "xabc@dial.example",
         "OldDialupDomain,@dial.example\r\n", ap, Stop::Examined, "G+"},
        {"domain ignores case", "MODEM", "0312345678", "Xabc@DIAL.Example", kStandard, ap,
         Stop::Examined, "G+"},
        {"empty old domain, no @", "modem", "0312345678", "Xabc", "UserPrefix,X\r\n", ap,
         Stop::Examined, "G+"},
        // The general hit decides the kind: its domain test fails and the PHS table, which
        // holds the same number with no domain required, is not searched.
        {"general hit, other domain", "modem", "1111492", "Xabc@old.example", kStandard, un,
         Stop::Examined, "Gx"},
        {"PHS hit", "modem", "07011112222", "Xabc", kStandard, ap, Stop::Examined, "P+"},
        {"pair hit", "modem", "0699990000", "Xabc", kStandard, ap, Stop::Examined, "A+"},
        {"no old access point", "modem", "0311112222", "Xabc@dial.example", kStandard, nullptr,
         Stop::Examined, "-"},
        {"Flets, other domain", "modem", "03-5555-1492", "Xabc@dial.example", kStandard, nullptr,
         Stop::Examined, "-"},
        {"Flets, no domain", "modem", "03-5555-1492", "Xabc", kStandard, nullptr, Stop::Examined,
         "-"},
        {"Flets domain is the old one", "modem", "03-5555-1492", "Xabc@old.example",
         "UserPrefix,X\r\nFletsIsdnDomain,@OLD.example\r\n", nullptr, Stop::Examined, "-"},
        {"Flets entry", "modem", "03-5555-1492", "Xabc@OLD.example", kStandard, un, Stop::Examined,
         "-"},
    };
    auto hitText = [](const EntryExamination& e) {
        if (!e.tableHit) {
            return std::string("-");
        }
        const char table = e.table == Table::General ? 'G' : e.table == Table::Phs ? 'P' : 'A';
        return std::string(1, table) + (e.domainPassed ? "+" : "x");
    };
    for (const Case& c : cases) {
        for (OsClass osClass : {6u, 8u}) {
            SCOPED_TRACE(std::string(c.what) + ", class " + std::to_string(osClass));
            MigrationHarness h;
            h.WriteProviderKit(c.extraSettings);
            h.AddModemEntry(kEntry, "", c.localNumber, c.userName);
            h.EditEntry(kEntry, [&](RASENTRYA& e) { CopyField(e.szDeviceType, c.deviceType); });
            h.ui.otherAnswers = true;
            const std::string before = h.sim.ReadFile();
            auto context = h.LoadedContext(osClass);
            context->ExamineEntry(kEntry);
            const std::vector<std::string> dialogs = c.dialog != nullptr
                                                         ? std::vector<std::string>{c.dialog}
                                                         : std::vector<std::string>{};
            EXPECT_EQ(h.ui.calls, dialogs);
            EXPECT_EQ(context->foundCount, c.dialog != nullptr ? 1 : 0);
            if (c.dialog == nullptr) {
                EXPECT_EQ(h.sim.ReadFile(), before);
            }
            EXPECT_TRUE(h.user.shown.empty());
            ASSERT_EQ(h.ui.examined.size(), 1u);
            const EntryExamination& report = h.ui.examined[0];
            EXPECT_STREQ(report.entryName, kEntry);
            EXPECT_EQ(report.stop, c.stop);
            EXPECT_EQ(hitText(report), c.hit);
            EXPECT_EQ(report.fletsIsdnProposed, c.dialog == un);
        }
    }
}

TEST(EntryRules, AccessPointProposal) {
    struct Case {
        const char* what;
        bool areaOption;
        const char* areaCode;
        const char* localNumber;
        const char* userName;
        const char* extraSettings;
        const char* oldNumber;
        const char* newNumber;
        const char* shownUser;
        const char* domain;
        bool addsDomain = true;  // to the user part when accepted
    } cases[] = {
        {"general, prefix and suffix kept", false, "", "0,0312345678#", "Xabc@dial.example",
         kStandard, "0,0312345678#", "0,0120-11-1111#", "Xabc", "@dial.example"},
        {"general, KeepDomain", false, "", "0312345678", "Xabc@dial.example",
         "UserPrefix,X\r\nKeepDomain,TRUE\r\n", "0312345678", "0120-11-1111", "Xabc@dial.example",
         "@dial.example", false},
        {"general, KeepDomain off", false, "", "0312345678", "Xabc@dial.example",
         "UserPrefix,X\r\nKeepDomain,FALSE\r\n", "0312345678", "0120-11-1111", "Xabc",
         "@dial.example"},
        {"PHS", false, "", "07011112222", "Xabc@m.example", kStandard, "07011112222",
         "0570-22-2222", "Xabc", "@mobile.example"},
        {"pair, area code entry", true, "06", "9999-0000", "Xabc@a.example", kStandard,
         "06-9999-0000", "0120-99-0000", "Xabc", "@air.example"},
        {"area code option with empty area code", true, "", "0312345678", "Xabc@dial.example",
         kStandard, "-0312345678", "0120-11-1111", "Xabc", "@dial.example"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        h.WriteProviderKit(c.extraSettings);
        h.AddModemEntry(kEntry, c.areaCode, c.localNumber, c.userName);
        if (c.areaOption) {
            h.EditEntry(kEntry, [](RASENTRYA& e) { e.dwfOptions |= RASEO_UseCountryAndAreaCodes; });
        }
        auto context = h.LoadedContext(6);
        context->ExamineEntry(kEntry);
        ASSERT_EQ(h.ui.accessPointShown.size(), 1u);
        const AccessPointChangeFields& f = h.ui.accessPointShown[0];
        EXPECT_STREQ(f.entryName, kEntry);
        EXPECT_STREQ(f.oldNumber, c.oldNumber);
        EXPECT_STREQ(f.newNumber, c.newNumber);
        EXPECT_STREQ(f.userName, c.shownUser);
        EXPECT_STREQ(f.domain, c.domain);
        EXPECT_EQ(f.addsDomain, c.addsDomain);
        EXPECT_STREQ(f.password, "secret");
        EXPECT_STREQ(f.modemName, kModem);
        EXPECT_EQ(f.editUserName + f.editPassword + f.editModem, 0);
        EXPECT_EQ(context->changedCount, 0);  // declined
    }
}

// What an accepted access-point change leaves in the phonebook, on both families.
TEST(EntryRules, AcceptedAccessPointChange) {
    struct Case {
        const char* what;
        OsClass osClass;
        const char* areaCode;
        const char* localNumber;
        const char* userName;
        const char* extraSettings;
        const char* editUser;      // null: box not ticked
        const char* editPassword;  // null: box not ticked; "=": left as shown
        const char* editModem;
        const char* typedNumber;  // null: as proposed
        const char* storedUser;
        const char* storedPassword;
        const char* storedArea;
        const char* storedNumber;
        const char* storedModem;
    } cases[] = {
        {"general, nothing ticked", 6, "", "0,0312345678#", "Xabc@dial.example", kStandard, nullptr,
         nullptr, nullptr, nullptr, "Xabc@dial.example", "secret", "", "0,0120-11-1111#", kModem},
        {"PHS takes the mobile domain", 6, "", "07011112222", "Xabc@m.example", kStandard, nullptr,
         nullptr, nullptr, nullptr, "Xabc@mobile.example", "secret", "", "0570-22-2222", kModem},
        {"PHS with KeepDomain", 8, "", "07011112222", "Xabc@m.example",
         "UserPrefix,X\r\nKeepDomain,TRUE\r\n", nullptr, nullptr, nullptr, nullptr,
         "Xabc@m.example", "secret", "", "0570-22-2222", kModem},
        {"pair, area code entry, NT", 8, "06", "9999-0000", "Xabc@a.example", kStandard, nullptr,
         nullptr, nullptr, nullptr, "Xabc@air.example", "secret", "0120", "99-0000", kModem},
        {"edited user part", 6, "", "0312345678", "Xabc@dial.example", kStandard, "Xdef", nullptr,
         nullptr, nullptr, "Xdef@dial.example", "secret", "", "0120-11-1111", kModem},
        {"edited whole name with KeepDomain", 8, "", "0312345678", "Xabc@dial.example",
         "UserPrefix,X\r\nKeepDomain,TRUE\r\n", "Xnew@else.example", nullptr, nullptr, nullptr,
         "Xnew@else.example", "secret", "", "0120-11-1111", kModem},
        {"password cleared: removed", 6, "", "0312345678", "Xabc@dial.example", kStandard, nullptr,
         "", nullptr, nullptr, "Xabc@dial.example", "", "", "0120-11-1111", kModem},
        {"password cleared, NT: kept", 8, "", "0312345678", "Xabc@dial.example", kStandard, nullptr,
         "", nullptr, nullptr, "Xabc@dial.example", "secret", "", "0120-11-1111", kModem},
        {"password left as shown", 6, "", "0312345678", "Xabc@dial.example", kStandard, nullptr,
         "=", nullptr, nullptr, "Xabc@dial.example", "secret", "", "0120-11-1111", kModem},
        {"password left as shown, NT", 8, "", "0312345678", "Xabc@dial.example", kStandard, nullptr,
         "=", nullptr, nullptr, "Xabc@dial.example", "secret", "", "0120-11-1111", kModem},
        {"new password", 6, "", "0312345678", "Xabc@dial.example", kStandard, nullptr, "pw2",
         nullptr, nullptr, "Xabc@dial.example", "pw2", "", "0120-11-1111", kModem},
        {"new password, NT", 8, "", "0312345678", "Xabc@dial.example", kStandard, nullptr, "pw2",
         nullptr, nullptr, "Xabc@dial.example", "pw2", "", "0120-11-1111", kModem},
        // The NT family shows a saved password as sixteen asterisks, never to be saved.
        {"password typed after the placeholder, NT", 8, "", "0312345678", "Xabc@dial.example",
         kStandard, nullptr, "****************pw2", nullptr, nullptr, "Xabc@dial.example", "secret",
         "", "0120-11-1111", kModem},
        {"password typed before the placeholder, NT", 8, "", "0312345678", "Xabc@dial.example",
         kStandard, nullptr, "pw2****************", nullptr, nullptr, "Xabc@dial.example", "secret",
         "", "0120-11-1111", kModem},
        // 9x shows the saved password itself: sixteen asterisks there are typed ones.
        {"sixteen asterisks typed on 9x", 6, "", "0312345678", "Xabc@dial.example", kStandard,
         nullptr, "****************", nullptr, nullptr, "Xabc@dial.example", "****************", "",
         "0120-11-1111", kModem},
        {"other modem, typed number", 8, "", "0312345678", "Xabc@dial.example", kStandard, nullptr,
         nullptr, "Other Modem", "0,0120-77-7777", "Xabc@dial.example", "secret", "",
         "0,0120-77-7777", "Other Modem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        h.WriteProviderKit(c.extraSettings);
        h.AddModemEntry(kEntry, c.areaCode, c.localNumber, c.userName);
        h.ui.answers = {true};
        h.ui.editAccessPoint = [&c](AccessPointChangeFields& f) {
            if (c.editUser != nullptr) {
                f.editUserName = 1;
                CopyField(f.userName, c.editUser);
            }
            if (c.editPassword != nullptr) {
                f.editPassword = 1;
                if (strcmp(c.editPassword, "=") != 0) {
                    CopyField(f.password, c.editPassword);
                }
            }
            if (c.editModem != nullptr) {
                f.editModem = 1;
                CopyField(f.modemName, c.editModem);
            }
            if (c.typedNumber != nullptr) {
                CopyField(f.newNumber, c.typedNumber);
            }
        };
        auto context = h.LoadedContext(c.osClass);
        context->ExamineEntry(kEntry);
        EXPECT_EQ(context->foundCount, 1);
        EXPECT_EQ(context->changedCount, 1);
        EXPECT_TRUE(h.user.shown.empty());
        const StoredEntry stored = h.Read(kEntry);
        EXPECT_EQ(stored.userName, c.storedUser);
        EXPECT_EQ(stored.password, c.storedPassword);
        EXPECT_STREQ(stored.properties.szAreaCode, c.storedArea);
        EXPECT_STREQ(stored.properties.szLocalPhoneNumber, c.storedNumber);
        EXPECT_STREQ(stored.properties.szDeviceName, c.storedModem);
        EXPECT_EQ(context->EntryProperties(), nullptr);
        EXPECT_FALSE(context->HoldsCredentials());
    }
}

TEST(EntryRules, DeclinedProposalsOnlyCount) {
    MigrationHarness h;
    h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@old.example\r\n");
    h.AddModemEntry(kEntry, "", "1111492", "Xabc@old.example");
    const std::string before = h.sim.ReadFile();
    auto context = h.LoadedContext(8);
    context->ExamineEntry(kEntry);
    EXPECT_EQ(h.ui.calls, (std::vector<std::string>{"access point My ISP", "user name My ISP"}));
    EXPECT_EQ(context->foundCount, 2);
    EXPECT_EQ(context->changedCount, 0);
    EXPECT_EQ(h.sim.ReadFile(), before);
}

// The user-name change writes only the user name (and a ticked password or modem); the
// number stays, and without a modem the name servers are not touched either.
TEST(EntryRules, AcceptedUserNameChange) {
    struct Case {
        const char* what;
        OsClass osClass;
        const char* editPassword;
        const char* editModem;
        const char* storedPassword;
        const char* storedModem;
        bool nameServersApplied;
    } cases[] = {
        {"nothing ticked", 6, nullptr, nullptr, "secret", kModem, false},
        {"password and modem", 6, "pw2", "Other Modem", "pw2", "Other Modem", true},
        {"password cleared, NT", 8, "", nullptr, "secret", kModem, false},
        {"placeholder and more, NT", 9, "****************pw2", nullptr, "secret", kModem, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        h.WriteProviderKit(std::string(kStandard) + "SetDnsIpAddress,TRUE\r\nDns1,10.0.0.1\r\n");
        h.AddModemEntry(kEntry, "", "0,03-5555-1492", "Xabc@old.example");
        h.ui.answers = {true};
        h.ui.editUserName = [&c](UserNameChangeFields& f) {
            if (c.editPassword != nullptr) {
                f.editPassword = 1;
                CopyField(f.password, c.editPassword);
            }
            if (c.editModem != nullptr) {
                f.editModem = 1;
                CopyField(f.modemName, c.editModem);
            }
        };
        auto context = h.LoadedContext(c.osClass);
        context->ExamineEntry(kEntry);
        ASSERT_EQ(h.ui.userNameShown.size(), 1u);
        const UserNameChangeFields& f = h.ui.userNameShown[0];
        EXPECT_STREQ(f.phoneNumber, "1492");
        EXPECT_STREQ(f.oldUserName, "Xabc");
        EXPECT_STREQ(f.newUserName, "Xabc");
        EXPECT_STREQ(f.oldDomain, "@old.example");
        EXPECT_STREQ(f.newDomain, "@isdn.example");
        EXPECT_STREQ(f.modemName, kModem);

        const StoredEntry stored = h.Read(kEntry);
        EXPECT_EQ(stored.userName, "Xabc@isdn.example");
        EXPECT_EQ(stored.password, c.storedPassword);
        EXPECT_STREQ(stored.properties.szLocalPhoneNumber, "0,03-5555-1492");
        EXPECT_STREQ(stored.properties.szDeviceName, c.storedModem);
        EXPECT_EQ((stored.properties.dwfOptions & RASEO_SpecificNameServers) != 0,
                  c.nameServersApplied);
        EXPECT_EQ(context->changedCount, 1);
    }
}

// One entry that dials an old access point and carries the old Flets domain. After an
// accepted access-point change the Flets ISDN test is made on the entry as written: a new
// number or domain that no longer calls for it gets no second proposal; one that still does
// gets it, showing the entry as the first change left it (ticking its modem box without
// choosing keeps the modem just chosen), and both changes reach the phonebook. When the
// entry vanishes before the second write, it stays gone, that change does not count, and the
// entry is named among those not examined (623).
TEST(EntryRules, SecondProposalDecidedFromTheEntryAsWritten) {
    struct Case {
        const char* what;
        const char* typedNumber;   // null: as proposed
        const char* keptUserName;  // with KeepDomain, typed in the first dialog; null: none
        bool deleteBetween;
        int found;
        int changed;
        const char* storedUser;
        const char* storedNumber;
    } cases[] = {
        {"number as proposed: no second proposal", nullptr, nullptr, false, 1, 1,
         "Xabc@old.example", "0120-11-1111"},
        {"still the Flets number: both written", "0,03-5555-1492", nullptr, false, 2, 2,
         "Xabc@isdn.example", "0,03-5555-1492"},
        {"still the Flets number, entry deleted", "0,03-5555-1492", nullptr, true, 2, 1, nullptr,
         nullptr},
        {"domain the first change gave is kept", "0,03-5555-1492", "Xabc@new.example", false, 1, 1,
         "Xabc@new.example", "0,03-5555-1492"},
    };
    for (const Case& c : cases) {
        for (OsClass osClass : {6u, 8u, 9u}) {
            SCOPED_TRACE(std::string(c.what) + ", class " + std::to_string(osClass));
            MigrationHarness h;
            h.WriteProviderKit(std::string("UserPrefix,X\r\nOldDialupDomain,@old.example\r\n") +
                               (c.keptUserName != nullptr ? "KeepDomain,TRUE\r\n" : ""));
            h.AddModemEntry(kEntry, "", "1111492", "Xabc@old.example");
            h.ui.answers = {true, true};
            h.ui.editAccessPoint = [&c](AccessPointChangeFields& f) {
                f.editPassword = 1;
                CopyField(f.password, "pw2");
                f.editModem = 1;
                CopyField(f.modemName, "Other Modem");
                if (c.typedNumber != nullptr) {
                    CopyField(f.newNumber, c.typedNumber);
                }
                if (c.keptUserName != nullptr) {
                    f.editUserName = 1;
                    CopyField(f.userName, c.keptUserName);
                }
            };
            h.ui.editUserName = [&](UserNameChangeFields& f) {
                f.editModem = 1;
                if (c.deleteBetween) {
                    h.api().RasDeleteEntryA(nullptr, kEntry);
                }
            };
            auto context = h.LoadedContext(osClass);
            EXPECT_EQ(context->ExamineEntry(kEntry), 1);
            EXPECT_EQ(context->foundCount, c.found);
            EXPECT_EQ(context->changedCount, c.changed);
            EXPECT_TRUE(h.user.shown.empty());
            EXPECT_EQ(NotExaminedList(context->notExamined),
                      c.deleteBetween ? "[My ISP] (623)" : "");
            ASSERT_EQ(h.ui.userNameShown.size(), c.found == 2 ? 1u : 0u);
            if (c.found == 2) {
                EXPECT_STREQ(h.ui.userNameShown[0].modemName, "Other Modem");
                EXPECT_STREQ(h.ui.userNameShown[0].password,
                             osClass > 6 ? "****************" : "pw2");
            }
            if (c.storedUser == nullptr) {
                RasDword size = 0;
                EXPECT_EQ(h.api().RasGetEntryPropertiesA(nullptr, kEntry, nullptr, &size, nullptr,
                                                         nullptr),
                          static_cast<RasDword>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
                continue;
            }
            const StoredEntry stored = h.Read(kEntry);
            EXPECT_STREQ(stored.properties.szLocalPhoneNumber, c.storedNumber);
            EXPECT_EQ(stored.userName, c.storedUser);
            EXPECT_EQ(stored.password, "pw2");
            EXPECT_STREQ(stored.properties.szDeviceName, "Other Modem");
        }
    }
}

// An accepted change that cannot be what the subscriber meant is refused whole, with the
// form's own words: a new user name over 256 bytes (never cut), an empty new number.
TEST(EntryRules, AcceptedChangeRefused) {
    struct Case {
        const char* what;
        std::string extraSettings;
        const char* typedNumber;  // null: as proposed
        unsigned textId;
        const char* typedUser = nullptr;  // null: box not ticked
    } cases[] = {
        {"user name too long", "MobileDomain,@" + std::string(260, 'm') + "\r\n", nullptr,
         IDS_USER_NAME_TOO_LONG},
        {"empty new number", "", "", IDS_NO_ACCESS_POINT},
        {"typed user name with another domain", "", nullptr, IDS_USER_NAME_HAS_DOMAIN,
         "Xabc@m.example"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        h.WriteProviderKit(std::string(kStandard) + c.extraSettings);
        h.AddModemEntry(kEntry, "", "07011112222", "Xabc@m.example");
        const std::string before = h.sim.ReadFile();
        h.ui.answers = {true};
        h.ui.editAccessPoint = [&c](AccessPointChangeFields& f) {
            if (c.typedNumber != nullptr) {
                CopyField(f.newNumber, c.typedNumber);
            }
            if (c.typedUser != nullptr) {
                f.editUserName = 1;
                CopyField(f.userName, c.typedUser);
            }
        };
        auto context = h.LoadedContext(6);
        EXPECT_EQ(context->ExamineEntry(kEntry), 1);
        EXPECT_EQ(context->foundCount, 1);
        EXPECT_EQ(context->changedCount, 0);
        ASSERT_EQ(h.user.shown.size(), 1u);
        EXPECT_EQ(h.user.shown[0].kind, ShownMessage::Program);
        EXPECT_EQ(h.user.shown[0].textId, c.textId);
        EXPECT_EQ(h.user.shown[0].text, c.typedUser != nullptr ? "@mobile.example" : "");
        EXPECT_EQ(h.sim.ReadFile(), before);
    }
}

// The size probe and the reads that pass an entry over. An entry that cannot be read is
// noted with the read's number, also one that reads 623 (listed, so gone or damaged).
RasDword g_probeSize = 0;
RasGetEntryPropertiesFn g_simGetEntryProperties = nullptr;

RasDword RASAPI_CALL ProbeReportingSize(const char* phonebook, const char* entry,
                                        RASENTRYA* entryInfo, RasDword* entrySize,
                                        unsigned char* deviceInfo, RasDword* deviceInfoSize) {
    if (entryInfo == nullptr && entry[0] != '\0') {
        *entrySize = g_probeSize;
        return ERROR_BUFFER_TOO_SMALL;
    }
    return g_simGetEntryProperties(phonebook, entry, entryInfo, entrySize, deviceInfo,
                                   deviceInfoSize);
}

TEST(EntryRules, EntriesPassedOver) {
    using Stop = ExaminationStop;
    const Stop gone = Stop::EntryGone, examined = Stop::Examined,
               unreadable = Stop::PropertiesUnreadable, noCredentials = Stop::CredentialsUnreadable;
    const RasDword big = 64 * 1024, zero = 0xFFFFFFFF;
    struct Case {
        const char* name;  // null: nothing told to the user's side
        OsClass osClass;
        const char* fail;    // RASSIM_FAIL
        RasDword probeSize;  // the entry's own size probe; 0: the library's
        int proposals;
        Stop stop;
        RasDword error;  // the read's number, noted for an unreadable entry
    } cases[] = {
        {"Nobody", 6, nullptr, 0, 0, gone, 623},
        {nullptr, 6, nullptr, 0, 0, gone, 0},
        {kEntry, 6, "RasGetEntryPropertiesA:5", 0, 0, unreadable, 5},
        {kEntry, 8, "RasGetEntryPropertiesA#1:621", 0, 0, unreadable, 621},  // structure probe
        {kEntry, 9, "RasGetEntryPropertiesA#3:5", 0, 0, unreadable, 5},      // read after it
        {kEntry, 9, "RasGetEntryPropertiesA#3:623", 0, 0, gone, 623},
        {kEntry, 6, "RasGetEntryDialParamsA:5", 0, 0, noCredentials, 5},
        {kEntry, 8, "RasGetCredentialsA:5", 0, 0, noCredentials, 5},
        {kEntry, 9, "RasGetCredentialsA:623", 0, 0, gone, 623},
        {kEntry, 8, "RasGetEntryDialParamsA:5", 0, 1, examined, 0},  // not used on NT
        {kEntry, 6, nullptr, zero, 0, unreadable, 632},
        {kEntry, 6, nullptr, big + 1, 0, unreadable, 632},
        {kEntry, 9, nullptr, big, 1, examined, 0},       // structure and alternate numbers
        {kEntry, 6, nullptr, 1000, 0, unreadable, 603},  // below the record: the read refused
        {kEntry, 6, nullptr, 4000, 1, examined, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        MigrationHarness h;
        h.WriteProviderKit(kStandard);
        h.AddModemEntry(kEntry, "", "0312345678", "Xabc@dial.example");
        h.ui.otherAnswers = true;
        ResetSimCallRecord(false);
        h.sim.Fail(c.fail);
        DialupApi api = h.api();
        if (c.probeSize != 0) {
            g_probeSize = c.probeSize == zero ? 0 : c.probeSize;
            g_simGetEntryProperties = api.RasGetEntryPropertiesA;
            api.RasGetEntryPropertiesA = ProbeReportingSize;
        }
        MigrationContext context(h.folder(), api, h.user, h.ui, c.osClass);
        ASSERT_TRUE(context.LoadMigrationSettings());
        context.LoadGeneralTable();
        context.ExamineEntry(c.name);
        EXPECT_EQ(context.foundCount, c.proposals);
        EXPECT_EQ(context.changedCount, c.proposals);
        ASSERT_EQ(h.ui.examined.size(), c.name == nullptr ? 0u : 1u);
        if (c.name != nullptr) {
            EXPECT_EQ(h.ui.examined[0].stop, c.stop);
            EXPECT_EQ(h.ui.examined[0].error, c.error);
        }
        const bool noted = c.name != nullptr && c.stop != examined;
        ASSERT_EQ(context.notExamined.size(), noted ? 1u : 0u);
        if (noted) {
            EXPECT_EQ(context.notExamined[0].name, c.name);
            EXPECT_EQ(context.notExamined[0].error, c.error);
        }
        h.sim.Fail(nullptr);
        if (c.proposals > 0) {
            EXPECT_STREQ(h.Read(kEntry).properties.szLocalPhoneNumber, "0120-11-1111");
        }
    }
}

}  // namespace

// A standard user changes the user's own entries and, of an all-users one, the credentials
// saved for this user; what only an administrator may change is not written nor counted,
// recorded as refused and named once at the end. Default credentials stand where the user has
// none.
TEST(EntryRules, AllUsersEntriesOfAStandardUser) {
    struct Case {
        const char* rights;
        bool own;            // the entry is in the user's own phonebook
        const char* user;    // its user-name line
        const char* number;  // an old access point, or the Flets ISDN number
        const char* stored;  // number and user name afterwards
    } cases[] = {
        {"standard", false, "UserName=Xabc@old.example", "0312345678", ""},
        {"standard", true, "UserName=Xabc@old.example", "0312345678",
         "0120-11-1111 Xabc@old.example"},
        {"standard", false, "UserName=Xabc@old.example", "0,1492", "0,1492 Xabc@isdn.example"},
        {"standard", false, "DefaultUserName=Xabc@old.example", "0,1492", ""},
        {"admin", false, "DefaultUserName=Xabc@old.example", "0,1492", "0,1492 Xabc@isdn.example"},
        {"admin", false, "UserName=Xabc@old.example", "0,1492", "0,1492 Xabc@isdn.example"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rights) + " " + c.user + " " + c.number);
        MigrationHarness h;
        h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@old.example\r\n");
        const std::string entry = std::string("[My ISP]\r\nLocalPhoneNumber=") + c.number +
                                  "\r\nDeviceType=modem\r\nDeviceName=M\r\n" + c.user + "\r\n";
        h.folder().Write(c.own ? "user.pbk" : SimPhonebook::kFileName, entry);
        setenv("RASSIM_USER_PHONEBOOK", h.folder().PathTo("user.pbk").c_str(), 1);
        setenv("RASSIM_RIGHTS", c.rights, 1);
        h.ui.otherAnswers = true;
        FolderJournalStore store(h.folder().PathTo("journal"));
        Journal journal(&store, "20261208-000000");
        auto context = h.LoadedContext(9);
        context->journal = &journal;
        context->ExamineEntry(kEntry, c.own ? h.folder().PathTo("user.pbk").c_str() : nullptr);
        const bool refused = c.stored[0] == '\0';
        EXPECT_EQ(context->changedCount, refused ? 0 : 1);
        EXPECT_TRUE(h.user.shown.empty()) << "told once, at the end of the run";
        EXPECT_EQ(context->needAdministrator,
                  refused ? std::vector<std::string>{kEntry} : std::vector<std::string>{});
        ASSERT_EQ(journal.Run().changes.size(), 1u) << "recorded";
        EXPECT_EQ(journal.Run().changes[0].outcome,
                  refused ? ChangeOutcome::Refused : ChangeOutcome::Made);
        const std::string bytes = h.folder().Read(c.own ? "user.pbk" : SimPhonebook::kFileName);
        SimPhonebookFile book = ParsePhonebook(bytes.data(), bytes.size());
        const SimEntry& e = book.entries.at(0);
        const bool defaults = c.user[0] == 'D';
        EXPECT_EQ(std::string(e.properties.szLocalPhoneNumber) + " " +
                      (defaults ? e.defaultUserName : e.userName),
                  refused ? std::string(c.number) + " Xabc@old.example" : c.stored);
        EXPECT_STREQ(defaults ? e.userName : e.defaultUserName, "") << "the others stay empty";
        unsetenv("RASSIM_USER_PHONEBOOK");
        unsetenv("RASSIM_RIGHTS");
    }
}
