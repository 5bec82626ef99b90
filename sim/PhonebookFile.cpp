// The substitute phonebook's text file: parsing, formatting and escaping.
#include "sim/PhonebookFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "settings/ByteText.h"

namespace {

enum class FieldKind { Flags, Number, Text, Address, Guid };

struct EntryField {
    const char* key;
    FieldKind kind;
    size_t offset;
    size_t size;
};

#define SIM_FIELD(key, kind, member) \
    { key, FieldKind::kind, offsetof(RASENTRYA, member), sizeof(RASENTRYA::member) }

// Every field of RASENTRYA that is kept, in file order. dwSize, dwAlternateOffset and the
// reserved fields are not: alternate numbers are kept as a list of their own.
const EntryField kEntryFields[] = {
    SIM_FIELD("Options", Flags, dwfOptions),
    SIM_FIELD("CountryID", Number, dwCountryID),
    SIM_FIELD("CountryCode", Number, dwCountryCode),
    SIM_FIELD("AreaCode", Text, szAreaCode),
    SIM_FIELD("LocalPhoneNumber", Text, szLocalPhoneNumber),
    SIM_FIELD("IpAddress", Address, ipaddr),
    SIM_FIELD("DnsAddress", Address, ipaddrDns),
    SIM_FIELD("DnsAltAddress", Address, ipaddrDnsAlt),
    SIM_FIELD("WinsAddress", Address, ipaddrWins),
    SIM_FIELD("WinsAltAddress", Address, ipaddrWinsAlt),
    SIM_FIELD("FrameSize", Number, dwFrameSize),
    SIM_FIELD("NetProtocols", Flags, dwfNetProtocols),
    SIM_FIELD("FramingProtocol", Flags, dwFramingProtocol),
    SIM_FIELD("Script", Text, szScript),
    SIM_FIELD("AutodialDll", Text, szAutodialDll),
    SIM_FIELD("AutodialFunc", Text, szAutodialFunc),
    SIM_FIELD("DeviceType", Text, szDeviceType),
    SIM_FIELD("DeviceName", Text, szDeviceName),
    SIM_FIELD("X25PadType", Text, szX25PadType),
    SIM_FIELD("X25Address", Text, szX25Address),
    SIM_FIELD("X25Facilities", Text, szX25Facilities),
    SIM_FIELD("X25UserData", Text, szX25UserData),
    SIM_FIELD("Channels", Number, dwChannels),
    SIM_FIELD("SubEntries", Number, dwSubEntries),
    SIM_FIELD("DialMode", Number, dwDialMode),
    SIM_FIELD("DialExtraPercent", Number, dwDialExtraPercent),
    SIM_FIELD("DialExtraSampleSeconds", Number, dwDialExtraSampleSeconds),
    SIM_FIELD("HangUpExtraPercent", Number, dwHangUpExtraPercent),
    SIM_FIELD("HangUpExtraSampleSeconds", Number, dwHangUpExtraSampleSeconds),
    SIM_FIELD("IdleDisconnectSeconds", Number, dwIdleDisconnectSeconds),
    SIM_FIELD("Type", Number, dwType),
    SIM_FIELD("EncryptionType", Number, dwEncryptionType),
    SIM_FIELD("CustomAuthKey", Number, dwCustomAuthKey),
    SIM_FIELD("Guid", Guid, guidId),
    SIM_FIELD("CustomDialDll", Text, szCustomDialDll),
    SIM_FIELD("VpnStrategy", Number, dwVpnStrategy),
    SIM_FIELD("Options2", Flags, dwfOptions2),
    SIM_FIELD("Options3", Flags, dwfOptions3),
    SIM_FIELD("DnsSuffix", Text, szDnsSuffix),
    SIM_FIELD("TcpWindowSize", Number, dwTcpWindowSize),
    SIM_FIELD("PrerequisitePbk", Text, szPrerequisitePbk),
    SIM_FIELD("PrerequisiteEntry", Text, szPrerequisiteEntry),
    SIM_FIELD("RedialCount", Number, dwRedialCount),
    SIM_FIELD("RedialPause", Number, dwRedialPause),
};

#undef SIM_FIELD

const char kUserNameKey[] = "UserName";
const char kPasswordKey[] = "Password";
const char kDomainKey[] = "Domain";
const char kDefaultUserNameKey[] = "DefaultUserName";
const char kDefaultPasswordKey[] = "DefaultPassword";
const char kDefaultDomainKey[] = "DefaultDomain";
const char kDeviceInfoKey[] = "DeviceInfo";
const char kEmptyPasswordKey[] = "EmptyPasswordSaved";
const char kDevicesSection[] = "devices";

bool IsTrailByte932(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// True when a double-byte character starts at text[i] (lead byte and a valid second byte).
bool IsPairAt(const char* text, size_t i, size_t length) {
    return IsLeadByte932(static_cast<unsigned char>(text[i])) && i + 1 < length &&
           IsTrailByte932(static_cast<unsigned char>(text[i + 1]));
}

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void Trim(const char*& begin, const char*& end) {
    while (begin < end && IsBlank(*begin)) {
        ++begin;
    }
    while (end > begin && IsBlank(end[-1])) {
        --end;
    }
}

bool EqualsAsciiNoCase(const char* text, size_t length, const char* word) {
    const size_t wordLength = strlen(word);
    if (length != wordLength) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (FoldAscii(static_cast<unsigned char>(text[i])) !=
            FoldAscii(static_cast<unsigned char>(word[i]))) {
            return false;
        }
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendHexByte(std::string* out, unsigned char byte) {
    static const char digits[] = "0123456789ABCDEF";
    *out += "\\x";
    *out += digits[byte >> 4];
    *out += digits[byte & 0x0F];
}

// "0x" and up to eight hex digits, or decimal digits up to 4294967295; nothing else.
bool ParseNumber(const std::string& text, uint32_t* value) {
    const char* p = text.c_str();
    uint64_t result = 0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        size_t digits = 0;
        for (; HexDigit(*p) >= 0; ++p, ++digits) {
            result = result * 16 + static_cast<uint64_t>(HexDigit(*p));
        }
        if (digits == 0 || digits > 8 || *p != '\0') {
            return false;
        }
    } else {
        size_t digits = 0;
        for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
            result = result * 10 + static_cast<uint64_t>(*p - '0');
            if (result > 0xFFFFFFFFu) {
                return false;
            }
        }
        if (digits == 0 || *p != '\0') {
            return false;
        }
    }
    *value = static_cast<uint32_t>(result);
    return true;
}

// Four decimal octets separated by dots.
bool ParseAddress(const std::string& text, RASIPADDR* address) {
    uint8_t octets[4];
    const char* p = text.c_str();
    for (int i = 0; i < 4; ++i) {
        unsigned value = 0;
        size_t digits = 0;
        for (; *p >= '0' && *p <= '9' && digits < 3; ++p, ++digits) {
            value = value * 10 + static_cast<unsigned>(*p - '0');
        }
        if (digits == 0 || value > 255) {
            return false;
        }
        octets[i] = static_cast<uint8_t>(value);
        if (i < 3 && *p++ != '.') {
            return false;
        }
    }
    if (*p != '\0') {
        return false;
    }
    address->a = octets[0];
    address->b = octets[1];
    address->c = octets[2];
    address->d = octets[3];
    return true;
}

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
bool ParseGuid(const std::string& text, RasGuid* guid) {
    static const char pattern[] = "{........-....-....-....-............}";
    if (text.size() != sizeof pattern - 1) {
        return false;
    }
    uint8_t bytes[16];
    size_t count = 0;
    for (size_t i = 0; i < text.size();) {
        if (pattern[i] != '.') {
            if (text[i] != pattern[i]) {
                return false;
            }
            ++i;
            continue;
        }
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[count++] = static_cast<uint8_t>(high * 16 + low);
        i += 2;
    }
    guid->Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                  (uint32_t{bytes[2]} << 8) | bytes[3];
    guid->Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    guid->Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    memcpy(guid->Data4, bytes + 8, 8);
    return true;
}

// Pairs of hex digits, as FormatPhonebook writes the device settings.
bool ParseHexBytes(const std::string& text, std::vector<unsigned char>* bytes) {
    if (text.size() % 2 != 0) {
        return false;
    }
    std::vector<unsigned char> parsed;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        parsed.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    bytes->swap(parsed);
    return true;
}

std::string FormatField(const RASENTRYA& entry, const EntryField& field) {
    const char* at = reinterpret_cast<const char*>(&entry) + field.offset;
    char buffer[64];
    switch (field.kind) {
        case FieldKind::Flags:
        case FieldKind::Number: {
            uint32_t value;
            memcpy(&value, at, sizeof value);
            snprintf(buffer, sizeof buffer, field.kind == FieldKind::Flags ? "0x%08X" : "%u",
                     static_cast<unsigned>(value));
            return buffer;
        }
        case FieldKind::Address: {
            RASIPADDR address;
            memcpy(&address, at, sizeof address);
            snprintf(buffer, sizeof buffer, "%u.%u.%u.%u", address.a, address.b, address.c,
                     address.d);
            return buffer;
        }
        case FieldKind::Guid: {
            RasGuid guid;
            memcpy(&guid, at, sizeof guid);
            snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                     static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                     guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                     guid.Data4[6], guid.Data4[7]);
            return buffer;
        }
        case FieldKind::Text:
            break;
    }
    return EscapeSimText(std::string(at, strnlen(at, field.size)).c_str(), SimTextPlace::Value);
}

// A value that does not parse leaves the field as it was (zero in a fresh entry).
void StoreField(RASENTRYA* entry, const EntryField& field, const std::string& value) {
    char* at = reinterpret_cast<char*>(entry) + field.offset;
    switch (field.kind) {
        case FieldKind::Flags:
        case FieldKind::Number: {
            uint32_t number;
            if (ParseNumber(value, &number)) {
                const RasDword stored = number;
                memcpy(at, &stored, sizeof stored);
            }
            return;
        }
        case FieldKind::Address: {
            RASIPADDR address;
            if (ParseAddress(value, &address)) {
                memcpy(at, &address, sizeof address);
            }
            return;
        }
        case FieldKind::Guid: {
            RasGuid guid;
            if (ParseGuid(value, &guid)) {
                memcpy(at, &guid, sizeof guid);
            }
            return;
        }
        case FieldKind::Text:
            CopyText(at, field.size, value.c_str());
            return;
    }
}

void StoreKey(SimEntry* entry, const char* key, size_t keyLength, const std::string& value) {
    for (const EntryField& field : kEntryFields) {
        if (EqualsAsciiNoCase(key, keyLength, field.key)) {
            StoreField(&entry->properties, field, value);
            return;
        }
    }
    if (EqualsAsciiNoCase(key, keyLength, kSimAlternateKey)) {
        char number[RAS_MaxPhoneNumber + 1];
        CopyField(number, value.c_str());
        if (number[0] != '\0') {
            entry->alternates.push_back(number);
        }
    } else if (EqualsAsciiNoCase(key, keyLength, kUserNameKey)) {
        CopyField(entry->userName, value.c_str());
    } else if (EqualsAsciiNoCase(key, keyLength, kPasswordKey)) {
        CopyField(entry->password, value.c_str());
    } else if (EqualsAsciiNoCase(key, keyLength, kDomainKey)) {
        CopyField(entry->domain, value.c_str());
    } else if (EqualsAsciiNoCase(key, keyLength, kDeviceInfoKey)) {
        ParseHexBytes(value, &entry->deviceInfo);
    } else if (EqualsAsciiNoCase(key, keyLength, kEmptyPasswordKey)) {
        entry->emptyPasswordSaved = value == "1";
    } else if (EqualsAsciiNoCase(key, keyLength, kDefaultUserNameKey)) {
        CopyField(entry->defaultUserName, value.c_str());
    } else if (EqualsAsciiNoCase(key, keyLength, kDefaultPasswordKey)) {
        CopyField(entry->defaultPassword, value.c_str());
    } else if (EqualsAsciiNoCase(key, keyLength, kDefaultDomainKey)) {
        CopyField(entry->defaultDomain, value.c_str());
    }
}

// The end of a section name: the first ']' that is neither escaped nor the second byte of a
// double-byte character; `length` when there is none.
size_t FindSectionEnd(const char* text, size_t length) {
    size_t i = 0;
    while (i < length) {
        if (IsPairAt(text, i, length)) {
            i += 2;
        } else if (text[i] == '\\' && i + 1 < length) {
            i += 2;
        } else if (text[i] == ']') {
            return i;
        } else {
            ++i;
        }
    }
    return length;
}

void AppendLine(std::string* out, const std::string& line) {
    *out += line;
    *out += "\r\n";
}

}  // namespace

const char kSimAlternateKey[] = "AlternateNumber";

SimDevice DefaultSimDevice() {
    SimDevice device;
    CopyField(device.type, "modem");
    CopyField(device.name, "Standard 56000 bps Modem");
    return device;
}

std::vector<SimDevice> ReportedDevices(const SimPhonebookFile& book) {
    if (book.hasDevicesSection) {
        return book.devices;
    }
    return std::vector<SimDevice>(1, DefaultSimDevice());
}

bool HasSavedPassword(const SimEntry& entry) {
    return entry.password[0] != '\0' || entry.emptyPasswordSaved;
}

SimEntry MakeSimEntry(const char* name) {
    SimEntry entry{};
    memset(&entry.properties, 0, sizeof entry.properties);  // padding too: it is handed out
    CopyField(entry.name, name);
    entry.properties.dwSize = kRasEntrySize;
    return entry;
}

void SanitizeEntryProperties(RASENTRYA* properties) {
    for (const EntryField& field : kEntryFields) {
        if (field.kind == FieldKind::Text) {
            char* at = reinterpret_cast<char*>(properties) + field.offset;
            CopyTextN(at, field.size, at, strnlen(at, field.size));
        }
    }
    properties->dwSize = kRasEntrySize;
    properties->dwAlternateOffset = 0;
    properties->dwReserved1 = 0;
    properties->dwReserved2 = 0;
}

bool EqualsEntryName(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    const size_t lengthA = strlen(a);
    if (strlen(b) != lengthA) {
        return false;
    }
    for (size_t i = 0; i < lengthA;) {
        if (IsPairAt(a, i, lengthA)) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
            i += 2;
            continue;
        }
        if (FoldAscii(static_cast<unsigned char>(a[i])) !=
            FoldAscii(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        ++i;
    }
    return true;
}

bool IsValidEntryName(const char* name) {
    if (name == nullptr) {
        return false;
    }
    const size_t length = strnlen(name, RAS_MaxEntryName + 1);
    if (length == 0 || length > RAS_MaxEntryName) {
        return false;
    }
    for (size_t i = 0; i < length;) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte932(c)) {
            if (!IsPairAt(name, i, length)) {
                return false;
            }
            i += 2;
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            return false;
        }
        ++i;
    }
    return true;
}

SimEntry* FindSimEntry(SimPhonebookFile* book, const char* name) {
    for (SimEntry& entry : book->entries) {
        if (EqualsEntryName(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

std::string EscapeSimText(const char* text, SimTextPlace place) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    const size_t length = strlen(text);
    const bool isDevicesName =
        place == SimTextPlace::EntryName && EqualsAsciiNoCase(text, length, kDevicesSection);
    for (size_t i = 0; i < length;) {
        if (IsPairAt(text, i, length)) {
            out.append(text + i, 2);
            i += 2;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool atEdge = i == 0 || i + 1 == length;
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == ']' && place == SimTextPlace::EntryName) {
            out += "\\]";
        } else if (c < 0x20 || c == 0x7F || IsLeadByte932(c) || (atEdge && c == ' ') ||
                   (i == 0 && isDevicesName) ||
                   (place == SimTextPlace::DeviceType &&
                    (c == ',' || (i == 0 && (c == ';' || c == '#' || c == '['))))) {
            AppendHexByte(&out, c);
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

std::string UnescapeSimText(const char* text, size_t length) {
    std::string out;
    for (size_t i = 0; i < length;) {
        if (IsPairAt(text, i, length)) {
            out.append(text + i, 2);
            i += 2;
            continue;
        }
        if (text[i] != '\\' || i + 1 == length) {
            out += text[i++];
            continue;
        }
        const char next = text[i + 1];
        switch (next) {
            case '\\':
            case ']':
                out += next;
                i += 2;
                continue;
            case 'n':
                out += '\n';
                i += 2;
                continue;
            case 'r':
                out += '\r';
                i += 2;
                continue;
            case 't':
                out += '\t';
                i += 2;
                continue;
            case 'x':
                if (i + 3 < length && HexDigit(text[i + 2]) >= 0 && HexDigit(text[i + 3]) >= 0) {
                    out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
                    i += 4;
                    continue;
                }
                break;
            default:
                break;
        }
        out += text[i++];
    }
    return out;
}

std::vector<const char*> SimEntryKeys() {
    std::vector<const char*> keys;
    for (const EntryField& field : kEntryFields) {
        keys.push_back(field.key);
    }
    keys.push_back(kUserNameKey);
    keys.push_back(kPasswordKey);
    keys.push_back(kDomainKey);
    return keys;
}

SimPhonebookFile ParsePhonebook(const char* text, size_t length) {
    SimPhonebookFile book;
    enum class Section { None, Devices, Entry, Ignored } section = Section::None;
    size_t entryIndex = 0;
    size_t pos = 0;
    if (length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        pos = 3;  // a byte-order mark left by an editor
    }
    while (pos < length) {
        // CR LF, LF or CR alone: an editor may have left any of them, and the empty line
        // between CR and LF is skipped like any blank line.
        const char* begin = text + pos;
        const char* end = begin;
        while (end < text + length && *end != '\n' && *end != '\r') {
            ++end;
        }
        pos = static_cast<size_t>(end - text) + 1;
        Trim(begin, end);
        if (begin == end || *begin == ';' || *begin == '#') {
            continue;
        }
        if (*begin == '[') {
            const size_t rawLength =
                FindSectionEnd(begin + 1, static_cast<size_t>(end - begin - 1));
            const char* nameBegin = begin + 1;
            const char* nameEnd = nameBegin + rawLength;
            if (nameEnd == end) {
                section = Section::Ignored;  // no closing bracket
                continue;
            }
            Trim(nameBegin, nameEnd);
            const size_t nameLength = static_cast<size_t>(nameEnd - nameBegin);
            if (EqualsAsciiNoCase(nameBegin, nameLength, kDevicesSection)) {
                section = Section::Devices;
                book.hasDevicesSection = true;
                continue;
            }
            const std::string name = UnescapeSimText(nameBegin, nameLength);
            if (name.find('\0') != std::string::npos || !IsValidEntryName(name.c_str()) ||
                FindSimEntry(&book, name.c_str()) != nullptr) {
                section = Section::Ignored;
                continue;
            }
            book.entries.push_back(MakeSimEntry(name.c_str()));
            // Windows keeps a type and a framing protocol for every entry; a hand-written
            // section that leaves them out means a PPP phone entry, not "none".
            book.entries.back().properties.dwType = 1;  // RASET_Phone
            book.entries.back().properties.dwFramingProtocol = RASFP_Ppp;
            entryIndex = book.entries.size() - 1;
            section = Section::Entry;
            continue;
        }
        if (section == Section::Devices) {
            const char* comma = static_cast<const char*>(memchr(begin, ',', end - begin));
            if (comma == nullptr) {
                continue;
            }
            const char* typeBegin = begin;
            const char* typeEnd = comma;
            const char* nameBegin = comma + 1;
            const char* nameEnd = end;
            Trim(typeBegin, typeEnd);
            Trim(nameBegin, nameEnd);
            const std::string type =
                UnescapeSimText(typeBegin, static_cast<size_t>(typeEnd - typeBegin));
            const std::string name =
                UnescapeSimText(nameBegin, static_cast<size_t>(nameEnd - nameBegin));
            if (type.empty() || type[0] == '\0') {
                continue;
            }
            SimDevice device;
            CopyField(device.type, type.c_str());
            CopyField(device.name, name.c_str());
            book.devices.push_back(device);
            continue;
        }
        if (section == Section::Entry) {
            const char* equals = static_cast<const char*>(memchr(begin, '=', end - begin));
            if (equals == nullptr) {
                continue;
            }
            const char* keyBegin = begin;
            const char* keyEnd = equals;
            const char* valueBegin = equals + 1;
            const char* valueEnd = end;
            Trim(keyBegin, keyEnd);
            Trim(valueBegin, valueEnd);
            StoreKey(&book.entries[entryIndex], keyBegin, static_cast<size_t>(keyEnd - keyBegin),
                     UnescapeSimText(valueBegin, static_cast<size_t>(valueEnd - valueBegin)));
        }
    }
    return book;
}

std::string FormatPhonebook(const SimPhonebookFile& book) {
    std::string out;
    AppendLine(&out,
               "; Substitute dial-up phonebook, code page 932 text. One [section] per entry; "
               "[devices] lists type,name lines.");
    if (book.hasDevicesSection) {
        AppendLine(&out, "");
        AppendLine(&out, std::string("[") + kDevicesSection + "]");
        for (const SimDevice& device : book.devices) {
            AppendLine(&out, EscapeSimText(device.type, SimTextPlace::DeviceType) + "," +
                                 EscapeSimText(device.name, SimTextPlace::Value));
        }
    }
    for (const SimEntry& entry : book.entries) {
        AppendLine(&out, "");
        AppendLine(&out, "[" + EscapeSimText(entry.name, SimTextPlace::EntryName) + "]");
        for (const EntryField& field : kEntryFields) {
            AppendLine(&out, std::string(field.key) + "=" + FormatField(entry.properties, field));
        }
        for (const std::string& number : entry.alternates) {
            AppendLine(&out, std::string(kSimAlternateKey) + "=" +
                                 EscapeSimText(number.c_str(), SimTextPlace::Value));
        }
        AppendLine(&out, std::string(kUserNameKey) + "=" +
                             EscapeSimText(entry.userName, SimTextPlace::Value));
        AppendLine(&out, std::string(kPasswordKey) + "=" +
                             EscapeSimText(entry.password, SimTextPlace::Value));
        AppendLine(
            &out, std::string(kDomainKey) + "=" + EscapeSimText(entry.domain, SimTextPlace::Value));
        std::string deviceInfo;
        for (unsigned char byte : entry.deviceInfo) {
            char hex[3];
            snprintf(hex, sizeof hex, "%02X", byte);
            deviceInfo += hex;
        }
        const bool emptySaved = entry.emptyPasswordSaved && entry.password[0] == '\0';
        const struct {
            const char* key;
            const char* value;
        } optional[] = {{kDeviceInfoKey, deviceInfo.c_str()},
                        {kEmptyPasswordKey, emptySaved ? "1" : ""},
                        {kDefaultUserNameKey, entry.defaultUserName},
                        {kDefaultPasswordKey, entry.defaultPassword},
                        {kDefaultDomainKey, entry.defaultDomain}};
        for (const auto& line : optional) {
            if (line.value[0] != '\0') {
                AppendLine(&out, std::string(line.key) + "=" +
                                     EscapeSimText(line.value, SimTextPlace::Value));
            }
        }
    }
    return out;
}
