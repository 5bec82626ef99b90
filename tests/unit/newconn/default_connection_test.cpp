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

const Writes kOn = {kAutodialOn[0], kAutodialOn[1]};

// The dial-up library's default Internet connection: its answer, and the entry it was given.
RasDword gAutodialAnswer = 0;
std::string gAutodialEntry;
constexpr RasDword kUnbound = 0xFFFFFFFF;

RasDword RASAPI_CALL SetAutodial(const char* address, RasDword, RASAUTODIALENTRYA* entries,
                                 RasDword bytes, RasDword count) {
    const bool asDocumented = address == nullptr && count == 1 && bytes == 272;
    gAutodialEntry = asDocumented && entries->dwSize == 272 ? entries->szEntry : "?";
    return gAutodialAnswer;
}

TEST(DefaultConnection, DefaultEntryValueByOsClass) {
    // Only class 9 (XP, 7 and later) makes it machine-wide.
    for (OsClass osClass : {9u, 8u, 7u, 6u, 1u, 0u, kOsClassUnknown}) {
        FakeRegistry registry;
        registry.AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
        registry.AddKey(RegistryRoot::LocalMachine, kAutodialDefaultKey);
        registry.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
        EXPECT_TRUE(MakeDefaultConnection(registry, DialupApi(), osClass, "My ISP"));
        const Writes expected = {osClass == 9 ? kMachineDefault : kUserDefault, kAutodialOn[0],
                                 kAutodialOn[1]};
        EXPECT_EQ(registry.writes, expected) << "class " << osClass;
        EXPECT_EQ(registry.openKeys, 0) << "every opened key is closed";
    }
}

// Autodial is switched on only once the entry is the default connection: without the
// default-entry value written (key missing, or refused as under HKLM without elevation) the
// dial-up library's default Internet connection is asked; where that fails too, nothing is
// written and the result says the entry is not the default.
TEST(DefaultConnection, AutodialOnlyAfterTheDefaultEntry) {
    struct Case {
        const char* what;
        OsClass osClass;
        bool settingsKey;
        bool defaultKey;  // the key of the class's default-entry value
        bool refuse;
        RasDword autodial;  // RasSetAutodialAddressA's answer, or kUnbound
        bool asked;         // the library is given the entry
        bool isDefault;
        Writes writes;
    } cases[] = {
        {"no settings key", 8, false, true, false, 0, false, true, {kUserDefault}},
        {"no machine-wide key, no library call", 9, true, false, false, kUnbound, false, false, {}},
        {"no per-user key, library refuses", 7, true, false, false, 5, true, false, {}},
        {"machine-wide value refused, library refuses", 9, true, true, true, 5, true, false, {}},
        {"no machine-wide key, library takes it", 9, true, false, false, 0, true, true, kOn},
        {"no per-user key, library takes it", 7, true, false, false, 0, true, true, kOn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        if (c.settingsKey) {
            registry.AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
        }
        if (c.defaultKey) {
            registry.AddKey(c.osClass == 9 ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser,
                            c.osClass == 9 ? kAutodialDefaultKey : kRemoteAccessKey);
        }
        if (c.osClass == 9) {
            registry.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);  // never used there
        }
        registry.refuseWrites = c.refuse;
        DialupApi api;
        api.RasSetAutodialAddressA = c.autodial != kUnbound ? &SetAutodial : nullptr;
        gAutodialAnswer = c.autodial;
        gAutodialEntry.clear();
        EXPECT_EQ(MakeDefaultConnection(registry, api, c.osClass, "My ISP"), c.isDefault);
        EXPECT_EQ(gAutodialEntry, c.asked ? "My ISP" : "");
        EXPECT_EQ(registry.writes, c.writes);
        EXPECT_EQ(registry.openKeys, 0);
    }
}

}  // namespace
