// The provider's name servers: SetDnsIpAddress, Dns1 and Dns2 of ISP_INF.csv, read once
// per run, and how they go into a phonebook entry. Shared by entry creation and by the
// migration's entry rewriting.
#pragma once

#include "dialup/RasTypes.h"

class DataFiles;

struct DnsSettings {
    bool on = false;        // SetDnsIpAddress is TRUE (ignoring case) on some line
    RASIPADDR primary{};    // Dns1; 0.0.0.0 when absent, malformed or while off
    RASIPADDR secondary{};  // Dns2; the same
};

// Reads the three keys with the name-server line capacity (511-byte lines). The on/off key
// stays on once any line switched it on; for Dns1 and Dns2 the last line wins. While on,
// each address that ParseDottedAddress accepts is stored; anything else leaves 0.0.0.0, so
// a value the provider did not write as a whole address never reaches an entry. Returns
// `settings->on`; a missing file gives off with both addresses 0.0.0.0.
bool ReadDnsSettings(const DataFiles& files, DnsSettings* settings);

// Parses a dotted address: exactly four decimal numbers, each 0 to 255, separated by single
// full stops; blanks and tabs may stand around each number, nothing else (no signs, no
// empty parts, no fifth part). True: all four octets written, first number into octets[0].
// False: `octets` is left exactly as it was (partial values are never stored).
bool ParseDottedAddress(const char* text, unsigned char octets[4]);

// Puts the name servers into `entry`: while on, stores each address that has a non-zero
// octet (an address of 0.0.0.0 leaves the field as it was) and, when at least one was stored,
// sets RASEO_SpecificNameServers (with neither, the entry is left as it was); while off,
// clears RASEO_SpecificNameServers and leaves both fields alone.
void ApplyNameServers(const DnsSettings& settings, RASENTRYA* entry);
