// The modem list: sized from the byte count the library reports, and the rows a dialog shows
// for an entry's own modem, installed or not.
#include "dialup/Modems.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ByteText.h"

namespace {

using Names = std::vector<std::string>;

// A library with three devices whose sizing call reports `g_sizingCount` devices however
// many bytes they take; the second call fails when the buffer is short.
RasDword g_sizingCount = 0;

RasDword RASAPI_CALL ThreeDevices(RASDEVINFOA* devices, RasDword* bytes, RasDword* count) {
    const char* const kinds[3][2] = {{"modem", "A"}, {"isdn", "B"}, {"MODEM", "C"}};
    const RasDword needed = 3 * kRasDevInfoSize;
    if (devices == nullptr || *bytes < needed) {
        *bytes = needed;
        *count = g_sizingCount;
        return ERROR_BUFFER_TOO_SMALL;
    }
    for (int i = 0; i < 3; ++i) {
        devices[i].dwSize = kRasDevInfoSize;
        CopyField(devices[i].szDeviceType, kinds[i][0]);
        CopyField(devices[i].szDeviceName, kinds[i][1]);
    }
    *count = 3;
    return 0;
}

TEST(Modems, ListSizedFromTheByteCount) {
    DialupApi api;
    api.RasEnumDevicesA = ThreeDevices;
    for (RasDword reportedCount : {0u, 1u, 3u, 100u}) {
        g_sizingCount = reportedCount;
        EXPECT_EQ(ListModems(api), (Names{"A", "C"})) << "count " << reportedCount;
    }
}

TEST(Modems, RowsShowTheModemTheEntryKeeps) {
    struct Case {
        const char* what;
        Names modems;
        const char* modemName;
        Names rows;
        int selected;
        int foundRow;  // FindModemRow alone
    } cases[] = {
        {"installed", {"A", "B"}, "b", {"A", "B"}, 1, 1},
        {"no longer installed: shown first", {"A", "B"}, "Gone", {"Gone", "A", "B"}, 0, 0},
        {"none installed", {}, "Gone", {"Gone"}, 0, -1},
        {"no modem of its own", {"A", "B"}, nullptr, {"A", "B"}, 0, 0},
        {"empty name", {"A"}, "", {"A"}, 0, 0},
        {"nothing at all", {}, nullptr, {}, -1, -1},
    };
    for (const Case& c : cases) {
        const ModemRows rows = ModemRowsFor(c.modems, c.modemName);
        EXPECT_EQ(rows.names, c.rows) << c.what;
        EXPECT_EQ(rows.selected, c.selected) << c.what;
        EXPECT_EQ(FindModemRow(c.modems, c.modemName), c.foundRow) << c.what;
    }
}

}  // namespace
