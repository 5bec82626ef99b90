// The default connection: the registry value by operating-system class where there is no
// call for it, and what Windows dials afterwards where there is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "newconn/DefaultConnection.h"
#include "sim/SimRegistryWriter.h"
#include "support/SimPhonebook.h"

namespace {

using Writes = std::vector<std::string>;

const Writes kOn = {
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings:EnableAutodial=dword:1",
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings:NoNetAutodial=dword:0",
};
const std::string kMachineDefault =
    std::string("HKLM\\SOFTWARE\\Microsoft\\RAS AutoDial\\Default:DefaultInternet=sz:My ISP") +
    '\0';
const std::string kUserDefault = std::string("HKCU\\RemoteAccess:InternetProfile=sz:My ISP") + '\0';

TEST(DefaultConnection, DefaultEntryValueByOsClass) {
    // Only class 9 (XP, 7 and later) makes it machine-wide.
    for (OsClass osClass : {9u, 8u, 7u, 6u, 1u, 0u, kOsClassUnknown}) {
        FakeRegistry registry;
        registry.AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
        registry.AddKey(RegistryRoot::LocalMachine, kAutodialDefaultKey);
        registry.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
        EXPECT_TRUE(MakeDefaultConnection(registry, DialupApi(), osClass, "My ISP"));
        const Writes expected = {osClass == 9 ? kMachineDefault : kUserDefault, kOn[0], kOn[1]};
        EXPECT_EQ(registry.writes, expected) << "class " << osClass;
        EXPECT_EQ(registry.openKeys, 0) << "every opened key is closed";
    }
}

// What Windows dials afterwards, as RasGetAutodialAddressA reads it: from XP on (Vista is
// class 8) the call makes the entry the default, and where the user's own default still
// names another entry, the entry is made theirs too; before XP the registry values. Autodial
// goes on only with the default made.
TEST(DefaultConnection, WhatWindowsDialsAfterwards) {
    struct Case {
        const char* windows;
        OsClass osClass;
        const char* rights;   // a standard user's entry is in their own phonebook
        const char* userOld;  // the user's own default before ("": none)
        const char* wow64;    // "1": a 32-bit program on 64-bit Windows
        bool userKey;         // the per-user key exists (else: the call is refused, too)
        const char* dialled;  // RasGetAutodialAddressA afterwards ("-": there is none to ask)
        const char* userNow;  // the user's own default afterwards
    } cases[] = {
        {"98", 6, "admin", "", "0", true, "-", "My ISP"},
        {"2000", 8, "admin", "", "0", true, "-", "My ISP"},
        {"xp", 9, "admin", "", "0", true, "My ISP", ""},
        {"vista", 8, "admin", "Old", "0", true, "My ISP", "My ISP"},
        {"7", 9, "admin", "Old", "1", true, "My ISP", "My ISP"},
        {"7", 9, "admin", "", "0", false, "Old", "-"},
        {"10", 9, "standard", "Old", "1", true, "My ISP", "My ISP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.windows) + " " + c.rights + " " + c.userOld);
        SimPhonebook book;
        setenv("RASSIM_WINVER", c.windows, 1);
        SimVariable wow64("RASSIM_WOW64", c.wow64), rights("RASSIM_RIGHTS", c.rights),
            own("RASSIM_USER_PHONEBOOK", book.folder().PathTo("own.pbk").c_str());
        const bool standard = c.rights[0] == 's';
        book.WriteFile("[Old]\r\nLocalPhoneNumber=1\r\n" +
                       std::string(standard ? "" : "[My ISP]\r\nLocalPhoneNumber=2\r\n"));
        book.folder().Write("own.pbk", standard ? "[My ISP]\r\nLocalPhoneNumber=2\r\n" : "");
        book.folder().Write(
            SimPhonebook::kRegistryFileName,
            std::string("[HKCU\\") + kInternetSettingsKey + "]\r\n[HKLM\\" +
                SimMachineDefaultKey() + "]\r\nDefaultInternet=sz:Old\r\n" +
                (c.userKey ? std::string("[HKCU\\RemoteAccess]\r\nInternetProfile=sz:") + c.userOld
                           : std::string()));
        book.Fail(c.userKey ? nullptr : "RasSetAutodialAddressA:5");
        SimRegistryWriter registry;
        EXPECT_EQ(MakeDefaultConnection(registry, book.api(), c.osClass, "My ISP"),
                  c.userNow[0] != '-');
        RASAUTODIALENTRYA entry = {sizeof entry, 0, 0, {}};
        RasDword bytes = sizeof entry, count = 0;
        const RasDword read =
            book.api().RasGetAutodialAddressA(nullptr, nullptr, &entry, &bytes, &count);
        EXPECT_STREQ(read != 0 ? "-" : count == 1 ? entry.szEntry : "", c.dialled);
        std::string user = "-", autodial = "off";
        ReadSimRegistryFile(SimHive::CurrentUser, kRemoteAccessKey, "InternetProfile", &user);
        ReadSimRegistryFile(SimHive::CurrentUser, kInternetSettingsKey, "EnableAutodial",
                            &autodial);
        EXPECT_EQ(user, c.userNow[0] == '-' ? "-" : std::string("sz:") + c.userNow);
        EXPECT_EQ(autodial, c.userNow[0] != '-' ? "dword:1" : "off");
    }
}

}  // namespace
