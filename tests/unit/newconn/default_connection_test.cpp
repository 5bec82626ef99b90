// The default connection: the registry value by operating-system class where there is no
// call for it, and what Windows dials afterwards where there is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "newconn/DefaultConnection.h"
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
        bool standard;         // a standard user, whose entry is in their own phonebook
        const char* userOld;   // the user's own default before ("": none)
        bool wow64;            // a 32-bit program on 64-bit Windows
        bool remoteAccessKey;  // the per-user key exists
        bool made;
        const char* dialled;  // RasGetAutodialAddressA afterwards ("-": there is none to ask)
        Writes writes;
    } cases[] = {
        {"98", 6, false, "", false, true, true, "-", {kUserDefault, kOn[0], kOn[1]}},
        {"2000", 8, false, "", false, true, true, "-", {kUserDefault, kOn[0], kOn[1]}},
        {"xp", 9, false, "", false, true, true, "My ISP", kOn},
        {"vista", 8, false, "Old", false, true, true, "My ISP", {kUserDefault, kOn[0], kOn[1]}},
        {"7", 9, false, "Old", true, true, true, "My ISP", {kUserDefault, kOn[0], kOn[1]}},
        {"7", 9, false, "Old", false, false, false, "Old", {}},
        {"10", 9, true, "Old", true, true, true, "My ISP", kOn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.windows) + (c.standard ? " standard" : "") + " " + c.userOld);
        SimPhonebook book;
        setenv("RASSIM_WINVER", c.windows, 1);
        setenv("RASSIM_WOW64", c.wow64 ? "1" : "0", 1);
        setenv("RASSIM_RIGHTS", c.standard ? "standard" : "admin", 1);
        const std::string own = book.folder().PathTo("own.pbk");
        setenv("RASSIM_USER_PHONEBOOK", own.c_str(), 1);
        book.WriteFile("[Old]\r\nLocalPhoneNumber=1\r\n" +
                       std::string(c.standard ? "" : "[My ISP]\r\nLocalPhoneNumber=2\r\n"));
        book.folder().Write("own.pbk", c.standard ? "[My ISP]\r\nLocalPhoneNumber=2\r\n" : "");
        const std::string old = std::string("sz:") + c.userOld;
        ASSERT_TRUE(WriteSimRegistryFile(SimHive::CurrentUser, kRemoteAccessKey, "InternetProfile",
                                         c.userOld[0] != '\0' ? &old : nullptr));
        const std::string machineOld = "sz:Old";
        ASSERT_TRUE(WriteSimRegistryFile(SimHive::LocalMachine, SimMachineDefaultKey(),
                                         "DefaultInternet", &machineOld));
        FakeRegistry registry;
        registry.intoSim = true;
        registry.AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
        registry.AddKey(RegistryRoot::LocalMachine, kAutodialDefaultKey);
        if (c.remoteAccessKey) {
            registry.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
        }
        EXPECT_EQ(MakeDefaultConnection(registry, book.api(), c.osClass, "My ISP"), c.made);
        EXPECT_EQ(registry.writes, c.writes);
        RASAUTODIALENTRYA entry = {sizeof entry, 0, 0, {}};
        RasDword bytes = sizeof entry, count = 0;
        const RasDword read =
            book.api().RasGetAutodialAddressA(nullptr, nullptr, &entry, &bytes, &count);
        EXPECT_STREQ(read != 0 ? "-" : count == 1 ? entry.szEntry : "", c.dialled);
        unsetenv("RASSIM_WOW64");
        unsetenv("RASSIM_RIGHTS");
        unsetenv("RASSIM_USER_PHONEBOOK");
    }
}

}  // namespace
