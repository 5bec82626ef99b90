// Name-server settings: the dotted-address rule and reading SetDnsIpAddress, Dns1, Dns2.
#include <gtest/gtest.h>

#include <string>

#include "newconn/DnsSettings.h"
#include "support/TempFolder.h"

namespace {

std::string Dotted(const RASIPADDR& a) {
    return std::to_string(a.a) + "." + std::to_string(a.b) + "." + std::to_string(a.c) + "." +
           std::to_string(a.d);
}

TEST(ParseDottedAddress, WholeAddressesOnly) {
    struct Case {
        const char* text;
        const char* parsed;  // null: refused
    } cases[] = {
        {"10.0.0.1", "10.0.0.1"},
        {"255.255.255.255", "255.255.255.255"},
        {"010.001.0.9", "10.1.0.9"},
        {" 10.0.0.1 ", "10.0.0.1"},
        {"10 . 0 .\t0. 1", "10.0.0.1"},
        {"", nullptr},
        {"192.168.1", nullptr},
        {"300.1.1.1", nullptr},
        {"1.2.3.256", nullptr},
        {"1..2.3", nullptr},
        {".1.2.3", nullptr},
        {"1.2.3.4.5", nullptr},
        {"+1.2.3.4", nullptr},
        {"1.2.3.4x", nullptr},
        {"1.2.3.4 5", nullptr},
        {"1,2,3,4", nullptr},
        {"99999999999999999999.1.1.1", nullptr},
    };
    for (const Case& c : cases) {
        unsigned char octets[4] = {7, 7, 7, 7};
        const bool ok = ParseDottedAddress(c.text, octets);
        EXPECT_EQ(ok, c.parsed != nullptr) << c.text;
        const RASIPADDR got{octets[0], octets[1], octets[2], octets[3]};
        EXPECT_EQ(Dotted(got), c.parsed != nullptr ? c.parsed : "7.7.7.7")
            << c.text << ": a refused text leaves the octets alone";
    }
    unsigned char octets[4] = {};
    EXPECT_FALSE(ParseDottedAddress(nullptr, octets));
}

TEST(ReadDnsSettings, OnOffAndAddresses) {
    struct Case {
        const char* name;
        const char* file;  // null: no ISP_INF.csv
        bool on;
        const char* primary;
        const char* secondary;
    } cases[] = {
        {"no file", nullptr, false, "0.0.0.0", "0.0.0.0"},
        {"both addresses", "SetDnsIpAddress,TRUE\r\nDns1,10.0.0.1\r\nDns2,10.0.0.2\r\n", true,
         "10.0.0.1", "10.0.0.2"},
        {"primary only", "SetDnsIpAddress,TRUE\r\nDns1,10.0.0.1\r\n", true, "10.0.0.1", "0.0.0.0"},
        {"on without addresses", "SetDnsIpAddress,true\r\n", true, "0.0.0.0", "0.0.0.0"},
        {"off: addresses not used", "SetDnsIpAddress,1\r\nDns1,10.0.0.1\r\nDns2,10.0.0.2\r\n",
         false, "0.0.0.0", "0.0.0.0"},
        {"key absent", "Dns1,10.0.0.1\r\n", false, "0.0.0.0", "0.0.0.0"},
        {"on stays on", "SetDnsIpAddress,TrUe\r\nSetDnsIpAddress,FALSE\r\nDns2,1.2.3.4\r\n", true,
         "0.0.0.0", "1.2.3.4"},
        {"keys in any case, on after addresses",
         "dns1,8.8.8.8\r\nDNS2,8.8.4.4\r\nsetdnsipaddress,TRUE", true, "8.8.8.8", "8.8.4.4"},
        {"later line wins", "SetDnsIpAddress,TRUE\r\nDns1,1.1.1.1\r\nDns1,2.2.2.2\r\n", true,
         "2.2.2.2", "0.0.0.0"},
        {"a malformed later line wins too", "SetDnsIpAddress,TRUE\r\nDns1,1.1.1.1\r\nDns1,1.1\r\n",
         true, "0.0.0.0", "0.0.0.0"},
        {"partial address is absent", "SetDnsIpAddress,TRUE\r\nDns1,192.168.1\r\nDns2,10.0.0.2\r\n",
         true, "0.0.0.0", "10.0.0.2"},
        {"out-of-range octet is absent", "SetDnsIpAddress,TRUE\r\nDns1,300.1.1.1\r\n", true,
         "0.0.0.0", "0.0.0.0"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        if (c.file != nullptr) {
            folder.Write("ISP_INF.csv", c.file);
        }
        DnsSettings dns;
        dns.primary = RASIPADDR{9, 9, 9, 9};
        EXPECT_EQ(ReadDnsSettings(folder, &dns), c.on) << c.name;
        EXPECT_EQ(dns.on, c.on) << c.name;
        EXPECT_EQ(Dotted(dns.primary), c.primary) << c.name;
        EXPECT_EQ(Dotted(dns.secondary), c.secondary) << c.name;
    }
}

TEST(ReadDnsSettings, LinesOver511BytesArePieces) {
    TempFolder folder;
    // The padding makes a 511-byte first piece; the address after it is a line of its own,
    // whose key is unknown, so Dns1 holds the padded text and is no address.
    folder.Write("ISP_INF.csv",
                 "SetDnsIpAddress,TRUE\r\nDns1," + std::string(506, ' ') + "10.0.0.1\r\n");
    DnsSettings dns;
    EXPECT_TRUE(ReadDnsSettings(folder, &dns));
    EXPECT_EQ(Dotted(dns.primary), "0.0.0.0");
}

TEST(ApplyNameServers, OnSetsTheOptionAndNonZeroAddressesOnly) {
    RASENTRYA entry{};
    entry.dwfOptions = RASEO_ModemLights;
    entry.ipaddrDnsAlt = RASIPADDR{5, 5, 5, 5};
    DnsSettings dns;
    dns.on = true;
    dns.primary = RASIPADDR{10, 0, 0, 1};
    ApplyNameServers(dns, &entry);
    EXPECT_EQ(entry.dwfOptions, RasDword{RASEO_ModemLights | RASEO_SpecificNameServers});
    EXPECT_EQ(Dotted(entry.ipaddrDns), "10.0.0.1");
    EXPECT_EQ(Dotted(entry.ipaddrDnsAlt), "5.5.5.5") << "0.0.0.0 leaves the field as it was";

    dns.on = false;
    ApplyNameServers(dns, &entry);
    EXPECT_EQ(entry.dwfOptions, RasDword{RASEO_ModemLights});
    EXPECT_EQ(Dotted(entry.ipaddrDns), "10.0.0.1") << "off leaves the addresses alone";
}

}  // namespace
