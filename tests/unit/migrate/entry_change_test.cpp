// Writing a new number, modem and the name servers into an entry held by the context.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

// The library as later Windows versions document it, over the substitute: entries listed in
// the 2000 form with their phonebook, a structure size of the version's own, alternate
// numbers after the structure, and a credentials mask that tells whether a password is
// saved. Every call records the phonebook it was given.
struct Documented {
    RasDword structureSize = kRasEntrySize;  // the "" probe
    size_t alternates = 0;                   // bytes of alternate numbers after the structure
    bool reportsSavedPassword = true;        // XP and later
    bool credentialsThenRefused = false;     // the credentials write applies, then fails
    DialupApi sim;
    std::string phonebook;                // the file the 2000 form names
    std::vector<std::string> phonebooks;  // "Operation:phonebook" of every entry call
    std::vector<RasDword> writtenSizes;   // dwSize and size of each properties write
    std::string writtenAlternates;
    RasDword writtenMask = 0;
};
Documented g_documented;

void Seen(const char* operation, const char* phonebook) {
    g_documented.phonebooks.push_back(std::string(operation) + ":" +
                                      (phonebook != nullptr ? phonebook : "(default)"));
}

RasDword RASAPI_CALL DocumentedEnum(const char* reserved, const char*, RASENTRYNAMEA* entries,
                                    RasDword* bytes, RasDword* count) {
    if (entries->dwSize != kRasEntryName2000Size) {
        return ERROR_INVALID_SIZE;
    }
    RASENTRYNAMEA names[1] = {};
    names[0].dwSize = kRasEntryNameSize;
    RasDword shortBytes = sizeof(names);
    RasDword result =
        g_documented.sim.RasEnumEntriesA(reserved, nullptr, names, &shortBytes, count);
    if (result != 0 || *bytes < *count * kRasEntryName2000Size) {
        *bytes = *count * kRasEntryName2000Size;
        return result != 0 ? result : ERROR_BUFFER_TOO_SMALL;
    }
    RASENTRYNAMEA_2000* out = reinterpret_cast<RASENTRYNAMEA_2000*>(entries);
    CopyField(out->szEntryName, names[0].szEntryName);
    out->dwFlags = 0;
    CopyField(out->szPhonebookPath, g_documented.phonebook.c_str());
    return 0;
}

RasDword RASAPI_CALL DocumentedGet(const char* phonebook, const char* entry, RASENTRYA* info,
                                   RasDword* size, unsigned char*, RasDword*) {
    const RasDword whole = static_cast<RasDword>(kRasEntrySize + g_documented.alternates);
    if (entry[0] == '\0') {
        *size = g_documented.structureSize;
        return ERROR_BUFFER_TOO_SMALL;
    }
    Seen("get", phonebook);
    if (info == nullptr || *size < whole) {
        *size = whole;
        return ERROR_BUFFER_TOO_SMALL;
    }
    const RasDword known = g_documented.structureSize < kRasEntrySize ? g_documented.structureSize
                                                                      : RasDword{kRasEntrySize};
    if (info->dwSize != known) {
        return ERROR_INVALID_SIZE;
    }
    RASENTRYA full{};
    full.dwSize = kRasEntrySize;
    RasDword fullSize = kRasEntrySize;
    const RasDword result = g_documented.sim.RasGetEntryPropertiesA(phonebook, entry, &full,
                                                                    &fullSize, nullptr, nullptr);
    if (result != 0) {
        return result;
    }
    memcpy(info, &full, known);
    info->dwSize = known;
    info->dwAlternateOffset = g_documented.alternates != 0 ? RasDword{kRasEntrySize} : 0;
    memset(reinterpret_cast<char*>(info) + kRasEntrySize, 'a', g_documented.alternates);
    return 0;
}

RasDword RASAPI_CALL DocumentedSet(const char* phonebook, const char* entry, RASENTRYA* info,
                                   RasDword size, unsigned char*, RasDword) {
    Seen("set", phonebook);
    g_documented.writtenSizes = {info->dwSize, size};
    g_documented.writtenAlternates.assign(reinterpret_cast<const char*>(info) + kRasEntrySize,
                                          size > kRasEntrySize ? size - kRasEntrySize : 0);
    RASENTRYA full{};
    memcpy(&full, info, info->dwSize);
    full.dwSize = kRasEntrySize;
    return g_documented.sim.RasSetEntryPropertiesA(phonebook, entry, &full, kRasEntrySize, nullptr,
                                                   0);
}

RasDword RASAPI_CALL DocumentedGetCredentials(const char* phonebook, const char* entry,
                                              RASCREDENTIALSA* credentials) {
    Seen("get credentials", phonebook);
    const RasDword result = g_documented.sim.RasGetCredentialsA(phonebook, entry, credentials);
    if (result == 0 && g_documented.reportsSavedPassword && credentials->szPassword[0] == '\0') {
        credentials->dwMask &= ~RasDword{RASCM_Password};
    }
    return result;
}

RasDword RASAPI_CALL DocumentedSetCredentials(const char* phonebook, const char* entry,
                                              RASCREDENTIALSA* credentials, RasBool clear) {
    Seen("set credentials", phonebook);
    g_documented.writtenMask = credentials->dwMask;
    const RasDword result =
        g_documented.sim.RasSetCredentialsA(phonebook, entry, credentials, clear);
    return result == 0 && g_documented.credentialsThenRefused ? 31 : result;
}

// Structure-size dwSize, whole buffers with the alternate numbers written back as read, the
// entry's own phonebook in every call, and the credentials mask as reported.
TEST(EntryChange, WrittenAsTheDocumentedLibraryExpects) {
    struct Case {
        const char* what;
        RasDword structureSize;  // the version's own ("" probe)
        size_t alternates;
        const char* savedPassword;
        const char* newPassword;  // typed in the dialog; null: box not ticked
        bool reports;
        RasDword mask;  // written
        const char* storedPassword;
        const char* newUserPart;  // typed in the dialog, and the write applies, then fails
    } cases[] = {
        {"XP form, alternates, no saved password", kRasEntrySize, 24, "", nullptr, true, 1, "",
         nullptr},
        {"later form cut to ours, saved password kept", 3500, 0, "secret", nullptr, true, 3,
         "secret", nullptr},
        {"2000 form, no report: mask as read", 2088, 60, "", nullptr, false, 3, "", nullptr},
        {"new password saved", kRasEntrySize, 8, "", "pw2", true, 3, "pw2", nullptr},
        {"credentials refused after they went in: the change stands", kRasEntrySize, 8, "pw",
         nullptr, true, 3, "pw", "Xnew"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n");
        h.AddModemEntry(kEntry, "", "0312345678", "Xabc@dial.example", c.savedPassword);
        g_documented = Documented{};
        g_documented.structureSize = c.structureSize;
        g_documented.alternates = c.alternates;
        g_documented.reportsSavedPassword = c.reports;
        g_documented.credentialsThenRefused = c.newUserPart != nullptr;
        g_documented.sim = h.api();
        g_documented.phonebook = h.sim.path();
        DialupApi api = h.api();
        api.RasEnumEntriesA = DocumentedEnum;
        api.RasGetEntryPropertiesA = DocumentedGet;
        api.RasSetEntryPropertiesA = DocumentedSet;
        api.RasGetCredentialsA = DocumentedGetCredentials;
        api.RasSetCredentialsA = DocumentedSetCredentials;
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
        EXPECT_EQ(context.changedCount, 1);
        EXPECT_TRUE(context.notExamined.empty());
        EXPECT_TRUE(h.user.shown.empty() || h.user.shown[0].kind == ShownMessage::App);
        const RasDword dwSize = c.structureSize < kRasEntrySize ? c.structureSize : kRasEntrySize;
        EXPECT_EQ(g_documented.writtenSizes,
                  (std::vector<RasDword>{dwSize, RasDword(kRasEntrySize + c.alternates)}));
        EXPECT_EQ(g_documented.writtenAlternates, std::string(c.alternates, 'a'));
        EXPECT_EQ(g_documented.writtenMask, c.mask);
        const std::string book = h.sim.path();
        for (const std::string& call : g_documented.phonebooks) {
            EXPECT_EQ(call.substr(call.find(':') + 1), book) << call;
        }
        // Read (properties, credentials), check, write (both), read again after the change;
        // a refused credentials write is read back too.
        EXPECT_EQ(g_documented.phonebooks.size(), c.newUserPart != nullptr ? 10u : 9u);
        EXPECT_EQ(h.Read(kEntry).userName,
                  std::string(c.newUserPart != nullptr ? c.newUserPart : "Xabc") + "@dial.example");
        const StoredEntry stored = h.Read(kEntry);
        EXPECT_STREQ(stored.properties.szLocalPhoneNumber, "0120-11-1111");
        EXPECT_EQ(stored.password, c.storedPassword);
    }
}

}  // namespace
