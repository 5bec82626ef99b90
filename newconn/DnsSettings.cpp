// Name-server settings and dotted addresses.
#include "newconn/DnsSettings.h"

#include "settings/ByteText.h"
#include "settings/IspSettings.h"
#include "settings/KeyValueLine.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsZero(const RASIPADDR& address) {
    return address.a == 0 && address.b == 0 && address.c == 0 && address.d == 0;
}

void ParseInto(const char* text, RASIPADDR* address) {
    unsigned char octets[4];
    if (ParseDottedAddress(text, octets)) {
        *address = RASIPADDR{octets[0], octets[1], octets[2], octets[3]};
    }
}

}  // namespace

bool ParseDottedAddress(const char* text, unsigned char octets[4]) {
    if (text == nullptr || octets == nullptr) {
        return false;
    }
    unsigned char parsed[4];
    const char* p = text;
    for (int part = 0; part < 4; ++part) {
        while (IsBlank(*p)) {
            ++p;
        }
        if (*p < '0' || *p > '9') {
            return false;
        }
        unsigned value = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            value = value * 10 + static_cast<unsigned>(*p - '0');
            if (value > 255) {
                return false;
            }
        }
        while (IsBlank(*p)) {
            ++p;
        }
        parsed[part] = static_cast<unsigned char>(value);
        if (part < 3) {
            if (*p != '.') {
                return false;
            }
            ++p;
        }
    }
    if (*p != '\0') {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        octets[i] = parsed[i];
    }
    return true;
}

bool ReadDnsSettings(const DataFiles& files, DnsSettings* settings) {
    if (settings == nullptr) {
        return false;
    }
    *settings = DnsSettings{};
    char dns1[kDnsLineCapacity] = "";
    char dns2[kDnsLineCapacity] = "";
    bool on = false;
    ReadIspSettings(files, kDnsLineCapacity, [&](SettingKey key, const char* value) {
        switch (key) {
            case SettingKey::SetDnsIpAddress:
                on = on || IsOnValue(value);
                break;
            case SettingKey::Dns1:
                CopyField(dns1, value);
                break;
            case SettingKey::Dns2:
                CopyField(dns2, value);
                break;
            default:
                break;
        }
    });
    settings->on = on;
    if (on) {
        ParseInto(dns1, &settings->primary);
        ParseInto(dns2, &settings->secondary);
    }
    return on;
}

void ApplyNameServers(const DnsSettings& settings, RASENTRYA* entry) {
    if (entry == nullptr) {
        return;
    }
    if (!settings.on) {
        entry->dwfOptions &= ~static_cast<RasDword>(RASEO_SpecificNameServers);
        return;
    }
    // The option without an address would leave the connection unable to resolve a single
    // name: without one to write, the entry keeps what it has.
    if (IsZero(settings.primary) && IsZero(settings.secondary)) {
        return;
    }
    entry->dwfOptions |= RASEO_SpecificNameServers;
    if (!IsZero(settings.primary)) {
        entry->ipaddrDns = settings.primary;
    }
    if (!IsZero(settings.secondary)) {
        entry->ipaddrDnsAlt = settings.secondary;
    }
}
