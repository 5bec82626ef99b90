// Modem list of the phonebook.
#include "dialup/Modems.h"

#include <cstring>

#include "settings/ByteText.h"

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
    if (count == 0) {
        return names;
    }
    if (count > 4096) {
        return names;  // no phonebook has that many devices; refuse rather than allocate it
    }
    std::vector<RASDEVINFOA> devices(count);
    memset(devices.data(), 0, devices.size() * sizeof(RASDEVINFOA));
    devices[0].dwSize = kRasDevInfoSize;
    bytes = static_cast<RasDword>(devices.size() * sizeof(RASDEVINFOA));
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
