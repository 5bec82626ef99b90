// Default-connection registry values: which key by operating-system class, silent skips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "newconn/DefaultConnection.h"

namespace {

using Writes = std::vector<std::string>;

const std::string kAutodialOn[] = {
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings:EnableAutodial=dword:1",
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings:NoNetAutodial=dword:0",
};
const std::string kMachineDefault =
    std::string("HKLM\\SOFTWARE\\Microsoft\\RAS AutoDial\\Default:DefaultInternet=sz:My ISP") +
    '\0';
const std::string kUserDefault = std::string("HKCU\\RemoteAccess:InternetProfile=sz:My ISP") + '\0';

void AddAllKeys(FakeRegistry* registry) {
    registry->AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
    registry->AddKey(RegistryRoot::LocalMachine, kAutodialDefaultKey);
    registry->AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
}

TEST(DefaultConnection, DefaultEntryValueByOsClass) {
    struct Case {
        OsClass osClass;
        bool machineWide;
    } cases[] = {
        {9, true},
        {8, false},
        {7, false},
        {6, false},
        {1, false},
        {0, false},
        {kOsClassUnknown, false},
    };
    for (const Case& c : cases) {
        FakeRegistry registry;
        AddAllKeys(&registry);
        EXPECT_TRUE(MakeDefaultConnection(registry, c.osClass, "My ISP"));
        const Writes expected = {kAutodialOn[0], kAutodialOn[1],
                                 c.machineWide ? kMachineDefault : kUserDefault};
        EXPECT_EQ(registry.writes, expected) << "class " << c.osClass;
        EXPECT_EQ(registry.openKeys, 0) << "every opened key is closed";
    }
}

TEST(DefaultConnection, MissingKeysAreSkippedSilently) {
    FakeRegistry noSettings;
    noSettings.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
    EXPECT_TRUE(MakeDefaultConnection(noSettings, 8, "My ISP"));
    EXPECT_EQ(noSettings.writes, Writes{kUserDefault});

    FakeRegistry noDefaultKey;
    noDefaultKey.AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
    noDefaultKey.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);  // not used on class 9
    EXPECT_TRUE(MakeDefaultConnection(noDefaultKey, 9, "My ISP"));
    EXPECT_EQ(noDefaultKey.writes, (Writes{kAutodialOn[0], kAutodialOn[1]}));

    FakeRegistry none;
    EXPECT_TRUE(MakeDefaultConnection(none, 7, "My ISP"));
    EXPECT_TRUE(none.writes.empty());
}

}  // namespace
