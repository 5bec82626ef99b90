// Record sizes by Windows version, derived from the documented layouts (sim/README.md).
#include "sim/SimVersion.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "sim/SimPlatform.h"

#ifndef RASSIM_NATIVE_WINVER
#define RASSIM_NATIVE_WINVER "10"
#endif

namespace {

// RASENTRYA as Vista and Windows 7 extend it past the XP form (our RASENTRYA).
struct EntryWithTail {
    RASENTRYA xp;
    uint8_t ipv6addrDns[16];
    uint8_t ipv6addrDnsAlt[16];
    RasDword dwIPv4InterfaceMetric;
    RasDword dwIPv6InterfaceMetric;
    uint8_t ipv6addr[16];
    RasDword dwIPv6PrefixLength;
    RasDword dwNetworkOutageTime;  // last field of Vista
    char szIDi[256 + 1];           // RAS_MaxIDSize + 1
    char szIDr[256 + 1];
    RasBool fIsImsConfig;
    RasDword IdiType;
    RasDword IdrType;
    RasBool fDisableIKEv2Fragmentation;  // last field of Windows 7
};

// RASDIALPARAMSA past the 95 form (ours): NT 4 adds the subentry and callback id, Windows 7 the
// interface index. The callback id is pointer-sized, so these sizes follow the build.
#pragma pack(push, 4)
struct DialParamsWithTail {
    RASDIALPARAMSA base;
    RasDword dwSubEntry;
    uintptr_t dwCallbackId;
    RasDword dwIfIndex;
};
#pragma pack(pop)

const RasDword kEntry95 = offsetof(RASENTRYA, dwSubEntries);
const RasDword kEntryNt4 = offsetof(RASENTRYA, dwType);
const RasDword kEntry2000 = offsetof(RASENTRYA, dwfOptions2);
const RasDword kEntryXp = sizeof(RASENTRYA);
const RasDword kEntryVista = offsetof(EntryWithTail, dwNetworkOutageTime) + sizeof(RasDword);
const RasDword kEntry7 = sizeof(EntryWithTail);
const RasDword kDialParams95 = sizeof(RASDIALPARAMSA);
const RasDword kDialParamsNt4 = offsetof(DialParamsWithTail, dwIfIndex);
const RasDword kDialParams7 = sizeof(DialParamsWithTail);
const RasDword kEntryNameLong = sizeof(SimEntryNameLong);

static_assert(kEntry95 == 1768 && kEntryNt4 == 1796 && kEntry2000 == 2088 && kEntryXp == 2884,
              "RASENTRYA forms up to XP");
static_assert(kEntryVista == 2948 && kEntry7 == 3480, "RASENTRYA forms of Vista and 7");
static_assert(kEntryNameLong == 532, "RASENTRYNAMEA of 2000 and later");

// One row per version: its name in RASSIM_WINVER and the newest form of each record it knows.
// A version accepts every form of the rows up to its own.
struct VersionRow {
    SimWindows version;
    const char* name;
    RasDword entry;
    RasDword entryName;
    RasDword dialParams;
    RasDword credentials;
    RasDword devInfo;
};

const VersionRow kVersions[] = {
    {SimWindows::Win98, "98", kEntry95, kRasEntryNameSize, kDialParams95, kRasCredentialsSize,
     kRasDevInfoSize},
    {SimWindows::Nt4, "nt4", kEntryNt4, kRasEntryNameSize, kDialParamsNt4, kRasCredentialsSize,
     kRasDevInfoSize},
    {SimWindows::Win2000, "2000", kEntry2000, kEntryNameLong, kDialParamsNt4, kRasCredentialsSize,
     kRasDevInfoSize},
    {SimWindows::Xp, "xp", kEntryXp, kEntryNameLong, kDialParamsNt4, kRasCredentialsSize,
     kRasDevInfoSize},
    {SimWindows::Vista, "vista", kEntryVista, kEntryNameLong, kDialParamsNt4, kRasCredentialsSize,
     kRasDevInfoSize},
    {SimWindows::Win7, "7", kEntry7, kEntryNameLong, kDialParams7, kRasCredentialsSize,
     kRasDevInfoSize},
    {SimWindows::Win10, "10", kEntry7, kEntryNameLong, kDialParams7, kRasCredentialsSize,
     kRasDevInfoSize},
};

bool IsKnownSize(SimWindows version, RasDword size, RasDword VersionRow::*column) {
    for (const VersionRow& row : kVersions) {
        if (row.version > version) {
            break;
        }
        if (row.*column == size) {
            return true;
        }
    }
    return false;
}

const VersionRow& RowOf(SimWindows version) {
    for (const VersionRow& row : kVersions) {
        if (row.version == version) {
            return row;
        }
    }
    return kVersions[sizeof kVersions / sizeof kVersions[0] - 1];
}

}  // namespace

bool ParseSimWindows(const char* name, SimWindows* version) {
    if (name == nullptr) {
        return false;
    }
    for (const VersionRow& row : kVersions) {
        if (strcmp(row.name, name) == 0) {
            *version = row.version;
            return true;
        }
    }
    return false;
}

SimWindows SimWindowsFromNumbers(unsigned major, unsigned minor, bool nineX) {
    if (nineX) {
        return SimWindows::Win98;  // 95, 98 and Me share the 9x behaviour
    }
    if (major < 5) {
        return SimWindows::Nt4;
    }
    if (major == 5) {
        return minor == 0 ? SimWindows::Win2000 : SimWindows::Xp;  // 5.2: XP x64, Server 2003
    }
    if (major == 6 && minor == 0) {
        return SimWindows::Vista;
    }
    if (major == 6 && minor == 1) {
        return SimWindows::Win7;
    }
    return SimWindows::Win10;
}

SimWindows CurrentSimWindows() {
    SimWindows version;
    std::string name;
    if (ReadSimEnvironment("RASSIM_WINVER", &name) && ParseSimWindows(name.c_str(), &version)) {
        return version;
    }
    unsigned major = 0;
    unsigned minor = 0;
    bool nineX = false;
    if (QuerySimSystemVersion(&major, &minor, &nineX)) {
        return SimWindowsFromNumbers(major, minor, nineX);
    }
    if (ParseSimWindows(RASSIM_NATIVE_WINVER, &version)) {
        return version;
    }
    return SimWindows::Win10;
}

RasDword SimEntrySize(SimWindows version) {
    return RowOf(version).entry;
}

bool IsKnownEntrySize(SimWindows version, RasDword size) {
    return IsKnownSize(version, size, &VersionRow::entry);
}

bool IsKnownEntryNameSize(SimWindows version, RasDword size) {
    return IsKnownSize(version, size, &VersionRow::entryName);
}

bool IsKnownDialParamsSize(SimWindows version, RasDword size) {
    return IsKnownSize(version, size, &VersionRow::dialParams);
}

bool IsKnownCredentialsSize(SimWindows version, RasDword size) {
    return IsKnownSize(version, size, &VersionRow::credentials);
}

bool IsKnownDevInfoSize(SimWindows version, RasDword size) {
    return IsKnownSize(version, size, &VersionRow::devInfo);
}
