// Modem list of the phonebook.
#include "dialup/Modems.h"

#include <cstring>

#include "settings/ByteText.h"

namespace {

constexpr size_t kMaxDevices = 4096;

}  // namespace

std::vector<std::string> ListModems(const DialupApi& api) {
    std::vector<std::string> names;
    if (api.RasEnumDevicesA == nullptr) {
        return names;
    }
    RasDword bytes = 0;
    RasDword count = 0;
    RasDword result = api.RasEnumDevicesA(nullptr, &bytes, &count);
    if (result != 0 && result != ERROR_BUFFER_TOO_SMALL) {
        return names;
    }
    // The sizing call defines the byte count; the device count it may report is not used.
    const size_t records = (static_cast<size_t>(bytes) + kRasDevInfoSize - 1) / kRasDevInfoSize;
    if (records == 0 || records > kMaxDevices) {
        return names;  // none, or more than any machine has: refused rather than allocated
    }
    std::vector<RASDEVINFOA> devices(records);
    memset(devices.data(), 0, devices.size() * sizeof(RASDEVINFOA));
    devices[0].dwSize = kRasDevInfoSize;
    bytes = static_cast<RasDword>(devices.size() * sizeof(RASDEVINFOA));
    count = 0;
    result = api.RasEnumDevicesA(devices.data(), &bytes, &count);
    if (result != 0) {
        return names;
    }
    for (RasDword i = 0; i < count && i < devices.size(); ++i) {
        RASDEVINFOA& device = devices[i];
        device.szDeviceType[sizeof(device.szDeviceType) - 1] = '\0';
        device.szDeviceName[sizeof(device.szDeviceName) - 1] = '\0';
        if (EqualsNoCase(device.szDeviceType, "modem")) {
            names.emplace_back(device.szDeviceName);
        }
    }
    return names;
}

int FindModemRow(const std::vector<std::string>& rows, const char* modemName) {
    if (rows.empty()) {
        return -1;
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (EqualsNoCase(rows[i].c_str(), modemName)) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

ModemRows ModemRowsFor(const std::vector<std::string>& modems, const char* modemName) {
    ModemRows rows;
    rows.names = modems;
    rows.selected = FindModemRow(modems, modemName);
    const bool listed =
        rows.selected >= 0 && modemName != nullptr &&
        EqualsNoCase(rows.names[static_cast<size_t>(rows.selected)].c_str(), modemName);
    if (modemName != nullptr && modemName[0] != '\0' && !listed) {
        rows.names.insert(rows.names.begin(), modemName);
        rows.selected = 0;
    }
    return rows;
}
