// Writing and reading the journal's file format.
#include "journal/JournalRecord.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kHeader[] = "Dialnest journal ";
const char kCheck[] = "check ";

struct Named {
    int value;
    const char* name;
};
const Named kKinds[] = {{int(ChangeKind::Creation), "creation"},
                        {int(ChangeKind::AccessPoint), "access-point"},
                        {int(ChangeKind::UserName), "user-name"},
                        {int(ChangeKind::Restore), "restore"}};
const Named kPlaces[] = {{int(DefaultPlace::Call), "call"},
                         {int(DefaultPlace::UserValue), "user"},
                         {int(DefaultPlace::MachineValue), "machine"}};
const Named kOutcomes[] = {
    {int(ChangeOutcome::Open), "open"},         {int(ChangeOutcome::Made), "made"},
    {int(ChangeOutcome::Undone), "undone"},     {int(ChangeOutcome::RolledBack), "rolled-back"},
    {int(ChangeOutcome::Finished), "finished"}, {int(ChangeOutcome::Restored), "restored"},
    {int(ChangeOutcome::Left), "left"},         {int(ChangeOutcome::Refused), "refused"}};

template <size_t N>
const char* NameOf(const Named (&table)[N], int value) {
    for (const Named& n : table) {
        if (n.value == value) {
            return n.name;
        }
    }
    return "?";
}

template <size_t N>
bool ValueOf(const Named (&table)[N], const std::string& name, int* value) {
    for (const Named& n : table) {
        if (name == n.name) {
            *value = n.value;
            return true;
        }
    }
    return false;
}

// CRC-32 as zlib and ZIP compute it, a byte at a time: a start reads every run file kept.
uint32_t Crc32(const std::string& bytes) {
    static const struct Table {
        uint32_t entry[256];
        Table() {
            for (uint32_t n = 0; n < 256; ++n) {
                uint32_t crc = n;
                for (int bit = 0; bit < 8; ++bit) {
                    crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
                }
                entry[n] = crc;
            }
        }
    } table;
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc = (crc >> 8) ^ table.entry[(crc ^ byte) & 0xFFu];
    }
    return ~crc;
}

// A field of RASENTRYA: where it starts and how long it is.
struct FieldSpan {
    size_t offset;
    size_t size;
};
#define DIALNEST_TEXT_FIELD(field) \
    { offsetof(RASENTRYA, field), sizeof(RASENTRYA::field) }
const FieldSpan kTextFields[] = {
    DIALNEST_TEXT_FIELD(szAreaCode),
    DIALNEST_TEXT_FIELD(szLocalPhoneNumber),
    DIALNEST_TEXT_FIELD(szScript),
    DIALNEST_TEXT_FIELD(szAutodialDll),
    DIALNEST_TEXT_FIELD(szAutodialFunc),
    DIALNEST_TEXT_FIELD(szDeviceType),
    DIALNEST_TEXT_FIELD(szDeviceName),
    DIALNEST_TEXT_FIELD(szX25PadType),
    DIALNEST_TEXT_FIELD(szX25Address),
    DIALNEST_TEXT_FIELD(szX25Facilities),
    DIALNEST_TEXT_FIELD(szX25UserData),
    DIALNEST_TEXT_FIELD(szCustomDialDll),
    DIALNEST_TEXT_FIELD(szDnsSuffix),
    DIALNEST_TEXT_FIELD(szPrerequisitePbk),
    DIALNEST_TEXT_FIELD(szPrerequisiteEntry),
};
#undef DIALNEST_TEXT_FIELD

// What Windows fills in on its own, whatever a write gives: no change writes it, so it never
// tells one state of a change from another. From 2000 on each entry's id (guidId, read-only,
// given to every new entry).
const FieldSpan kAssignedFields[] = {
    {offsetof(RASENTRYA, guidId), sizeof(RASENTRYA::guidId)},
};

// `bytes` without what Windows fills in.
std::vector<uint8_t> WrittenPart(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> written(bytes, bytes + size);
    for (const FieldSpan& field : kAssignedFields) {
        if (field.offset + field.size <= size) {
            memset(written.data() + field.offset, 0, field.size);
        }
    }
    return written;
}

// Text values keep their code page 932 bytes; only control bytes and '%' are escaped, so a
// value never spans lines.
std::string Escape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            char hex[4];
            snprintf(hex, sizeof(hex), "%%%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& text, std::string* out) {
    out->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out->push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) {
            return false;
        }
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        out->push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

bool Unhex(const std::string& text, std::vector<uint8_t>* bytes) {
    if (text.size() % 2 != 0 || text.size() / 2 > kMaxEntrySize) {
        return false;
    }
    bytes->clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes->push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

bool Number(const std::string& text, uint32_t* value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    char* end = nullptr;
    const unsigned long long n = strtoull(text.c_str(), &end, 10);
    if (*end != '\0' || text[0] < '0' || text[0] > '9' || n > 0xFFFFFFFFull) {
        return false;
    }
    *value = static_cast<uint32_t>(n);
    return true;
}

// A registry DWORD as it was: a number, or "-" for none.
bool AutodialValue(const std::string& text, int64_t* value) {
    uint32_t n = 0;
    if (text == "-") {
        *value = -1;
        return true;
    }
    if (!Number(text, &n)) {
        return false;
    }
    *value = n;
    return true;
}

std::string AutodialText(int64_t value) {
    return value < 0 ? "-" : std::to_string(static_cast<uint32_t>(value));
}

void PutState(std::string& out, const char* prefix, const EntryState& s) {
    out += std::string(prefix) + "-exists " + (s.exists ? "1" : "0") + "\n";
    out += std::string(prefix) + "-structure " + std::to_string(s.structureSize) + "\n";
    out += std::string(prefix) + "-properties " + Hex(s.properties) + "\n";
    if (!s.deviceInfo.empty()) {
        out += std::string(prefix) + "-device " + Hex(s.deviceInfo) + "\n";
    }
    out += std::string(prefix) + "-user " + Escape(s.userName) + "\n";
    if (s.passwordKept) {
        out += std::string(prefix) + "-password " + Escape(s.password) + "\n";
    }
}

// One "key value" line of a change into `change`; false for an unknown key or a bad value.
bool TakeLine(const std::string& key, const std::string& value, JournalChange* change) {
    uint32_t n = 0;
    int named = 0;
    if (key == "kind") {
        if (!ValueOf(kKinds, value, &named))
            return false;
        change->kind = static_cast<ChangeKind>(named);
        return true;
    }
    if (key == "outcome") {
        if (!ValueOf(kOutcomes, value, &named))
            return false;
        change->outcome = static_cast<ChangeOutcome>(named);
        return true;
    }
    if (key == "entry")
        return Unescape(value, &change->entryName);
    if (key == "phonebook")
        return Unescape(value, &change->phonebook);
    if (key == "writes" || key == "done") {
        if (!Number(value, &n) || n > 2)
            return false;
        (key == "writes" ? change->writes : change->writesDone) = static_cast<int>(n);
        return true;
    }
    if (key == "last-user" || key == "new-password" || key == "recovering") {
        if (value != "0" && value != "1")
            return false;
        (key == "last-user"      ? change->writesUserName
         : key == "new-password" ? change->writesPassword
                                 : change->recovering) = value == "1";
        return true;
    }
    if (key == "default-before") {
        const size_t space = value.find(' ');
        DefaultBefore& before = change->defaultBefore;
        before.recorded = true;
        if (space == std::string::npos || !ValueOf(kPlaces, value.substr(0, space), &named))
            return false;
        before.place = static_cast<DefaultPlace>(named);
        return Unescape(value.substr(space + 1), &before.dialled) &&
               before.dialled.size() <= RAS_MaxEntryName;
    }
    if (key == "autodial-before") {
        const size_t space = value.find(' ');
        return space != std::string::npos &&
               AutodialValue(value.substr(0, space), &change->defaultBefore.enableAutodial) &&
               AutodialValue(value.substr(space + 1), &change->defaultBefore.noNetAutodial);
    }
    for (int side = 0; side < 2; ++side) {
        const std::string prefix = side == 0 ? "before-" : "after-";
        EntryState& s = side == 0 ? change->before : change->after;
        if (key.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string field = key.substr(prefix.size());
        if (field == "exists") {
            if (value != "0" && value != "1")
                return false;
            s.exists = value == "1";
            return true;
        }
        if (field == "structure")
            return Number(value, &s.structureSize);
        if (field == "properties")
            return Unhex(value, &s.properties);
        if (field == "device")
            return Unhex(value, &s.deviceInfo);
        if (field == "user")
            return Unescape(value, &s.userName) && s.userName.size() <= UNLEN;
        if (field == "password") {
            s.passwordKept = true;
            return Unescape(value, &s.password) && s.password.size() <= PWLEN;
        }
    }
    return false;
}

}  // namespace

OsClass RecordedOsClass(const std::vector<JournalChange>& changes) {
    // RASENTRYA up to dwSubEntries is the structure of Windows 95, 98 and Me.
    const uint32_t nineX = offsetof(RASENTRYA, dwSubEntries);
    for (const JournalChange& c : changes) {
        const uint32_t size = c.after.exists ? c.after.structureSize : c.before.structureSize;
        if (size != 0) {
            return size <= nineX ? 6 : 9;
        }
    }
    return 9;
}

const char* ChangeKindName(ChangeKind kind) {
    return NameOf(kKinds, int(kind));
}

const char* ChangeOutcomeName(ChangeOutcome outcome) {
    return NameOf(kOutcomes, int(outcome));
}

std::string FormatJournalRun(const JournalRun& run) {
    std::string out = kHeader + std::to_string(kJournalFormat) + "\n";
    out += "run " + Escape(run.stamp) + "\n";
    for (const JournalChange& c : run.changes) {
        out += "change\n";
        out += std::string("kind ") + ChangeKindName(c.kind) + "\n";
        out += "entry " + Escape(c.entryName) + "\n";
        out += "phonebook " + Escape(c.phonebook) + "\n";
        out += "writes " + std::to_string(c.writes) + "\n";
        out += "done " + std::to_string(c.writesDone) + "\n";
        out += std::string("last-user ") + (c.writesUserName ? "1" : "0") + "\n";
        out += std::string("new-password ") + (c.writesPassword ? "1" : "0") + "\n";
        out += std::string("outcome ") + ChangeOutcomeName(c.outcome) + "\n";
        out += std::string("recovering ") + (c.recovering ? "1" : "0") + "\n";
        PutState(out, "before", c.before);
        PutState(out, "after", c.after);
        if (c.defaultBefore.recorded) {
            out += std::string("default-before ") + NameOf(kPlaces, int(c.defaultBefore.place)) +
                   " " + Escape(c.defaultBefore.dialled) + "\n";
            out += "autodial-before " + AutodialText(c.defaultBefore.enableAutodial) + " " +
                   AutodialText(c.defaultBefore.noNetAutodial) + "\n";
        }
        out += "end\n";
    }
    char check[32];
    snprintf(check, sizeof(check), "%s%08X\n", kCheck, static_cast<unsigned>(Crc32(out)));
    return out + check;
}

JournalRead ParseJournalRun(const std::string& bytes, JournalRun* run) {
    *run = JournalRun{};
    const size_t headerSize = sizeof(kHeader) - 1;
    if (bytes.compare(0, headerSize, kHeader) != 0) {
        return bytes.size() < headerSize &&
                       std::string(kHeader).compare(0, bytes.size(), bytes) == 0
                   ? JournalRead::Truncated
                   : JournalRead::Corrupted;
    }
    uint32_t format = 0;
    const size_t headerEnd = bytes.find('\n');
    if (headerEnd == std::string::npos) {
        return JournalRead::Truncated;
    }
    if (!Number(bytes.substr(headerSize, headerEnd - headerSize), &format) || format == 0) {
        return JournalRead::Corrupted;
    }
    if (format > kJournalFormat) {
        return JournalRead::FutureFormat;
    }
    // The check line is the last: without it the write was torn.
    const size_t checkAt = bytes.rfind(std::string("\n") + kCheck);
    if (checkAt == std::string::npos || bytes.back() != '\n') {
        return JournalRead::Truncated;
    }
    const std::string body = bytes.substr(0, checkAt + 1);
    char expected[16];
    snprintf(expected, sizeof(expected), "%08X", static_cast<unsigned>(Crc32(body)));
    if (bytes.substr(checkAt + 1) != std::string(kCheck) + expected + "\n") {
        return JournalRead::Corrupted;
    }

    JournalRun parsed;
    JournalChange* change = nullptr;
    size_t at = headerEnd + 1;
    while (at < body.size()) {
        const size_t end = body.find('\n', at);
        const std::string line = body.substr(at, end - at);
        at = end + 1;
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (change == nullptr) {
            if (key == "run" && parsed.stamp.empty() && parsed.changes.empty()) {
                if (!Unescape(value, &parsed.stamp))
                    return JournalRead::Corrupted;
            } else if (line == "change") {
                parsed.changes.emplace_back();
                change = &parsed.changes.back();
            } else {
                return JournalRead::Corrupted;
            }
        } else if (line == "end") {
            if (change->writesDone > change->writes)
                return JournalRead::Corrupted;
            change = nullptr;
        } else if (!TakeLine(key, value, change)) {
            return JournalRead::Corrupted;
        }
    }
    if (change != nullptr || parsed.stamp.empty()) {
        return JournalRead::Corrupted;
    }
    *run = parsed;
    return JournalRead::Whole;
}

EntryState StateOf(const EntryRecord* record, const std::string& userName) {
    EntryState state;
    state.userName = userName;
    if (record != nullptr && record->Entry() != nullptr) {
        state.exists = true;
        state.structureSize = record->structureSize;
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(record->Entry());
        state.properties.assign(bytes, bytes + record->bufferSize);
        ClearTextTails(&state.properties);
        state.deviceInfo = record->deviceInfo;
    }
    return state;
}

void ClearTextTails(std::vector<uint8_t>* properties) {
    uint32_t structureSize = 0;
    if (properties->size() >= sizeof(structureSize)) {
        memcpy(&structureSize, properties->data(), sizeof(structureSize));
    }
    const size_t end = structureSize < properties->size() ? structureSize : properties->size();
    for (const FieldSpan& field : kTextFields) {
        if (field.offset + field.size > end) {
            continue;  // not part of this structure version
        }
        uint8_t* text = properties->data() + field.offset;
        const size_t length = strnlen(reinterpret_cast<const char*>(text), field.size);
        if (length < field.size) {
            memset(text + length, 0, field.size - length);
        }
    }
}

JournalChange DescribeChange(ChangeKind kind, const char* name, const EntryRecord* before,
                             const char* beforeUser, const EntryRecord& after,
                             const char* afterUser, int writes, bool writesPassword,
                             const char* beforePassword) {
    JournalChange change;
    change.kind = kind;
    change.entryName = name != nullptr ? name : "";
    change.phonebook = after.phonebook;
    change.before = StateOf(before, beforeUser != nullptr ? beforeUser : "");
    change.after = StateOf(&after, afterUser != nullptr ? afterUser : "");
    change.writes = writes;
    change.writesUserName = true;
    change.writesPassword = writesPassword;
    change.before.passwordKept = beforePassword != nullptr && change.before.exists;
    change.before.password = change.before.passwordKept ? beforePassword : "";
    return change;
}

void RecordOf(const EntryState& state, const std::string& phonebook, EntryRecord* record) {
    record->Release();
    const size_t records = (state.properties.size() + sizeof(RASENTRYA) - 1) / sizeof(RASENTRYA);
    record->buffer.assign(records < 1 ? 1 : records, RASENTRYA{});
    memcpy(record->buffer.data(), state.properties.data(), state.properties.size());
    record->bufferSize = static_cast<RasDword>(state.properties.size());
    record->structureSize = state.structureSize;
    record->phonebook = phonebook;
    record->deviceInfo = state.deviceInfo;
}

bool SameProperties(const EntryState& state, const EntryRecord* record) {
    if (record == nullptr || record->Entry() == nullptr) {
        return !state.exists;
    }
    if (!state.exists || (record->withDeviceInfo && state.deviceInfo != record->deviceInfo)) {
        return false;
    }
    // A record written at the structure's size reads back at the size the library reports,
    // the rest zero (Windows 7 and later report 3480 bytes for the 2884 written).
    const std::vector<uint8_t> now =
        WrittenPart(reinterpret_cast<const uint8_t*>(record->Entry()), record->bufferSize);
    const std::vector<uint8_t> then = WrittenPart(state.properties.data(), state.properties.size());
    const size_t common = now.size() < then.size() ? now.size() : then.size();
    if (memcmp(now.data(), then.data(), common) != 0) {
        return false;
    }
    for (size_t i = common; i < now.size() || i < then.size(); ++i) {
        if ((i < now.size() ? now[i] : then[i]) != 0) {
            return false;
        }
    }
    return true;
}
