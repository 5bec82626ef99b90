// The kit check: each provider file is read by the reading routine the program uses for it,
// with an observer that records every line piece and what the routine's rule made of it;
// the values in effect come from the program's own reading routines.
#include "kit/KitCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "app/MainMenuSettings.h"
#include "kit/KitFolder.h"
#include "kit/KitReport.h"
#include "kit/KitStrings.h"
#include "kit/KitText.h"
#include "logo/LogoArea.h"
#include "logo/PngImage.h"
#include "migrate/MigrationContext.h"
#include "newconn/DnsSettings.h"
#include "newconn/FormChecks.h"
#include "newconn/FormTexts.h"
#include "newconn/MethodSelection.h"
#include "res/resource.h"
#include "settings/ByteText.h"
#include "settings/KeyValueLine.h"
#include "settings/MethodMenu.h"
#include "settings/ReadObserver.h"

namespace {

// Provider files are small; a larger one is looked at for its encoding up to here.
constexpr size_t kEncodingScanLimit = 16 * 1024 * 1024;
// Logo.png is read whole, as the form reads it.
constexpr size_t kLogoReadLimit = 64 * 1024 * 1024;

// One line piece as a reader delivered it, with what its rule made of it.
struct ObservedLine {
    LinePlace place;
    std::string text;
    LineVerdict verdict = LineVerdict::NoComma;
    SettingKey key = SettingKey::CaptionStart;
    std::string value;
    size_t index = 0;
    AccessPointRecord record{};
    std::string pairKey;
    std::string pairValue;
    MethodMenuItem row{};
    MethodLineFacts columns;
};
using ObservedLines = std::vector<ObservedLine>;

class LineLog : public ReadObserver {
public:
    void PieceRead(const char*, const LinePlace& place, const char* text) override {
        lines.emplace_back();
        lines.back().place = place;
        lines.back().text = text;
    }
    void PieceJudged(const LineObservation& o) override {
        if (lines.empty()) {
            return;
        }
        ObservedLine& line = lines.back();
        line.verdict = o.verdict;
        line.key = o.key;
        line.value = o.value != nullptr ? o.value : "";
        line.index = o.index;
        if (o.record != nullptr) {
            line.record = *o.record;
        }
        line.pairKey = std::string(o.pairKey);
        line.pairValue = std::string(o.pairValue);
        if (o.row != nullptr) {
            line.row = *o.row;
        }
        if (o.columns != nullptr) {
            line.columns = *o.columns;
        }
    }
    ObservedLines lines;
};

// Runs `read` with the folder watched and returns what the readers delivered.
template <class Fn>
ObservedLines Watched(KitFolder& folder, Fn&& read) {
    LineLog log;
    folder.Watch(&log);
    read();
    folder.Watch(nullptr);
    return std::move(log.lines);
}

class QuietUser : public UserSide {
public:
    void ShowProgramMessage(const Message& m, MessageIcon) override { shown.push_back(m); }
    void ShowAppMessage(const Message& m, MessageIcon) override { shown.push_back(m); }
    bool AskProgramQuestion(const Message&) override { return false; }
    std::vector<Message> shown;
};

class NoMigrationUi : public MigrationUi {
public:
    bool ConfirmAccessPointChange(AccessPointChangeFields&) override { return false; }
    bool ConfirmUserNameChange(UserNameChangeFields&) override { return false; }
    bool HasProgressWindow() const override { return false; }
    void MigrationStart(unsigned) override {}
    void MigrationStep(unsigned) override {}
    void MigrationEntry(const char*) override {}
    void MigrationFinished(int, int) override {}
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

bool HasEdgeBlank(const std::string& text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool StartsWithNoCase(const std::string& text, const char* start) {
    const size_t n = strlen(start);
    return text.size() >= n && EqualsNoCase(text.substr(0, n).c_str(), start);
}

// A digit, also a full-width one (0x82 0x4F to 0x82 0x58), after any blanks.
bool StartsLikeANumber(const std::string& text) {
    const std::string t = Trimmed(text);
    return !t.empty() &&
           (IsDigit(t[0]) ||
            (t.size() >= 2 && static_cast<unsigned char>(t[0]) == 0x82 &&
             static_cast<unsigned char>(t[1]) >= 0x4F && static_cast<unsigned char>(t[1]) <= 0x58));
}

bool HasDigit(const std::string& text) {
    return std::any_of(text.begin(), text.end(), IsDigit);
}

// The first byte of `text` that is neither a digit nor in `allowed`, or 0.
char StrayCharacter(const std::string& text, const char* allowed) {
    for (const char c : text) {
        if (!IsDigit(c) && strchr(allowed, c) == nullptr) {
            return c;
        }
    }
    return '\0';
}

std::string ShownCharacter(char c) {
    return Quoted(std::string(1, c));
}

// Edit distance with adjacent transpositions, letters compared without regard to case.
size_t KeyDistance(const std::string& a, const std::string& b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = fold(a[i - 1]) == fold(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && fold(a[i - 1]) == fold(b[j - 2]) &&
                fold(a[i - 2]) == fold(b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// The known key an unknown one most likely meant, or null.
const SettingKeyInfo* ClosestKey(const std::string& key) {
    const SettingKeyInfo* best = nullptr;
    size_t bestDistance = 0;
    for (const SettingKeyInfo& info : kSettingKeys) {
        const size_t distance = KeyDistance(Trimmed(key), info.name);
        const size_t allowed = strlen(info.name) >= 8 ? 2 : 1;
        if (distance <= allowed && (best == nullptr || distance < bestDistance)) {
            best = &info;
            bestDistance = distance;
        }
    }
    return best;
}

// Values a provider may mean as "on" although the rule only takes TRUE.
bool LooksOn(const std::string& value) {
    const std::string t = Trimmed(value);
    for (const char* word : {"true", "yes", "y", "on", "1", "t", "ok", "enable", "enabled"}) {
        if (EqualsNoCase(t.c_str(), word)) {
            return true;
        }
    }
    for (const char* word : {"\x82\x73\x82\x71\x82\x74\x82\x64", "\x82\xD4\x82\xD2\x82\xD5\x82\xC5",
                             "\x82\xCD\x82\xA2", "\x83\x49\x83\x93", "\x97\x4C\x8C\xF8"}) {
        if (t == word) {  // ＴＲＵＥ, ｔｒｕｅ, はい, オン, 有効
            return true;
        }
    }
    return false;
}

bool IsWholeNumber(const std::string& value) {
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) {
        ++i;
    }
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        ++i;
    }
    const size_t digits = i;
    while (i < value.size() && IsDigit(value[i])) {
        ++i;
    }
    return i > digits && i == value.size();
}

// A record as a number (code page 932): area code, hyphen, local number.
std::string RecordText(const AccessPointRecord& record) {
    return record.areaCode[0] != '\0' ? std::string(record.areaCode) + "-" + record.localNumber
                                      : std::string(record.localNumber);
}

enum class Encoding { Cp932, Utf16, Utf8WithMark, Utf8, Invalid };

// UTF-8 that is not plain ASCII: the offset of its first multi-byte sequence, or npos.
size_t FirstUtf8Sequence(const std::string& bytes) {
    size_t first = std::string::npos;
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const size_t n = b < 0x80         ? 1
                         : (b >> 5) == 6  ? 2
                         : (b >> 4) == 14 ? 3
                         : (b >> 3) == 30 ? 4
                                          : 0;
        if (n == 0 || i + n > bytes.size()) {
            return std::string::npos;
        }
        for (size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 2) {
                return std::string::npos;
            }
        }
        if (n > 1 && first == std::string::npos) {
            first = i;
        }
        i += n;
    }
    return first;
}

Encoding ClassifyEncoding(const std::string& bytes, size_t* offset) {
    *offset = 0;
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                              (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        return Encoding::Utf16;
    }
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) {
        *offset = zero;
        return Encoding::Utf16;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return Encoding::Utf8WithMark;
    }
    *offset = FirstUtf8Sequence(bytes);
    if (*offset != std::string::npos) {
        return Encoding::Utf8;
    }
    *offset = FindInvalid932(bytes.data(), bytes.size());
    return *offset < bytes.size() ? Encoding::Invalid : Encoding::Cp932;
}

// The line that holds byte `offset` of the file, 0 when no piece does.
size_t LineAt(const ObservedLines& lines, size_t offset) {
    for (const ObservedLine& l : lines) {
        if (offset >= l.place.offset && offset < l.place.offset + l.place.length) {
            return l.place.line;
        }
    }
    return 0;
}

class KitChecker {
public:
    KitChecker(KitFolder& folder, KitReport* report)
        : folder_(folder),
          report_(report),
          context_(folder, noDialup_, quietUser_, noUi_, kOsClassUnknown) {}

    void Run() {
        CheckPresence();
        CheckSettings();
        CheckMenu();
        CheckTables();
        CheckLogo();
    }

private:
    void Add(Diag diag, const char* file, size_t line, const std::string& text) {
        report_->Add(diag, file != nullptr ? folder_.Shown(file) : folder_.Path(), line, text);
    }

    void CheckPresence();
    void CheckTextFile(const char* file, const ObservedLines& lines, size_t capacity);
    void CheckSettings();
    void CheckSettingLine(const ObservedLine& line);
    void CheckUnknownKey(const ObservedLine& line, const std::string& key);
    void CheckValue(const ObservedLine& line);
    void CheckRepeatedKeys();
    void CheckDns();
    void CheckFletsIsdn();
    void ReportValuesInEffect();
    const ObservedLine* EffectiveLine(SettingKey key) const;
    size_t LineOf(SettingKey key) const;
    std::string EffectiveValue(SettingKey key, bool* set) const;
    void CheckMenu();
    void CheckMenuRow(const ObservedLine& line, size_t rowCount);
    void CheckTables();
    void CheckTable(const char* file, const ObservedLines& lines, const AccessPointTable& table,
                    SettingKey numberKey, const char* numberValue);
    void CheckRecordNumber(const char* file, size_t line, const AccessPointRecord& record,
                           const char* what);
    void CheckPairs(const ObservedLines& lines);
    void CheckLogo();

    KitFolder& folder_;
    KitReport* report_;
    DialupApi noDialup_;
    QuietUser quietUser_;
    NoMigrationUi noUi_;
    MigrationContext context_;

    bool hasSettings_ = false;
    ObservedLines settingLines_;
    std::map<SettingKey, std::vector<const ObservedLine*>> occurrences_;
    MainMenuSettings mainMenu_;
    FormTexts formTexts_;
    char formDomain_[kIspLineCapacity] = {};
    DnsSettings dns_;
};

void KitChecker::CheckPresence() {
    const char* files[] = {kIspSettingsFile, kMethodMenuFile, kGeneralTableFile,
                           kPhsTableFile,    kPairTableFile,  kLogoFile};
    for (const char* file : files) {
        if (folder_.Has(file) && !folder_.IsReadableFile(file)) {
            Add(Diag::NotAFile, file, 0,
                "present, but not a file that can be read: the program counts it as present "
                "and reads nothing from it");
        }
    }
    const char* tables[] = {kGeneralTableFile, kPhsTableFile, kPairTableFile};
    const size_t present = static_cast<size_t>(std::count_if(
        std::begin(tables), std::end(tables), [&](const char* t) { return folder_.Has(t); }));
    hasSettings_ = folder_.Has(kIspSettingsFile);
    if (!hasSettings_ && present > 0) {
        Add(Diag::MigrationWithoutSettings, kIspSettingsFile, 0,
            "missing, but access-point tables are present: the main menu offers the migration, "
            "which stops at once with " +
                InQuotes(ProgramText(Message{IDS_NO_ISP_SETTINGS})));
    } else if (!hasSettings_) {
        Add(Diag::MissingSettings, kIspSettingsFile, 0,
            "missing: the windows keep their template captions and texts, and no name servers "
            "are written");
    }
    if (present == 0) {
        Add(Diag::NoTables, nullptr, 0,
            "no access-point table (APGEN.csv, APPHS.csv, APAIR.csv): the program opens the "
            "new-connection form directly, without its main menu and without the migration");
        return;
    }
    const char* kinds[] = {"general (dial-up)", "PHS", "pair (AIR-H)"};
    for (size_t i = 0; i < 3; ++i) {
        if (!folder_.Has(tables[i])) {
            Add(Diag::MissingTable, tables[i], 0,
                Format("missing: the migration finds no %s access point", kinds[i]));
        }
    }
}

void KitChecker::CheckTextFile(const char* file, const ObservedLines& lines, size_t capacity) {
    std::string bytes;
    if (!folder_.ReadBytes(file, &bytes, kEncodingScanLimit)) {
        return;
    }
    size_t offset = 0;
    const Encoding encoding = ClassifyEncoding(bytes, &offset);
    const size_t line = LineAt(lines, offset);
    switch (encoding) {
        case Encoding::Cp932:
            break;
        case Encoding::Utf16:
            Add(Diag::Encoding, file, line != 0 ? line : 1,
                "the file is UTF-16, not code page 932 (Shift-JIS): the program reads its bytes "
                "as they are and finds next to nothing usable in them");
            break;
        case Encoding::Utf8WithMark:
            Add(Diag::Encoding, file, 1,
                "the file starts with a UTF-8 byte-order mark (EF BB BF): the three bytes become "
                "part of the first line; save the file as code page 932 (Shift-JIS)");
            break;
        case Encoding::Utf8:
            Add(Diag::Encoding, file, line,
                "the file is UTF-8, not code page 932 (Shift-JIS): its Japanese text shows "
                "garbled in the program, first on this line");
            break;
        case Encoding::Invalid:
            Add(Diag::Encoding, file, line,
                Format("byte 0x%02X (file offset %zu) is not code page 932 (Shift-JIS) text",
                       static_cast<unsigned char>(bytes[offset]), offset));
            break;
    }
    // Lengths of the physical lines that were delivered in more than one piece, or that
    // the name-server settings (one byte shorter a piece) cut in ISP_INF.csv.
    const size_t piece = capacity - 1;
    const bool settings = strcmp(file, kIspSettingsFile) == 0;
    std::map<size_t, size_t> lengths;
    for (const ObservedLine& l : lines) {
        lengths[l.place.line] += l.place.length;
    }
    for (const auto& [number, length] : lengths) {
        if (length > piece) {
            Add(Diag::LongLine, file, number,
                Format("this line is %zu bytes long: the program reads %zu bytes at a time, so "
                       "from byte %zu on it is read as a line of its own",
                       length, piece, piece + 1));
        } else if (settings && length >= kDnsLineCapacity) {
            Add(Diag::LongLine, file, number,
                Format("this line is %zu bytes long: the name-server settings read %zu bytes at "
                       "a time, so for them its last byte is a line of its own",
                       length, kDnsLineCapacity - 1));
        }
    }
}

void KitChecker::CheckSettings() {
    if (!hasSettings_) {
        context_.LoadMigrationSettings();
        return;
    }
    settingLines_ = Watched(folder_, [&] {
        ForEachIspSetting(
            folder_, kIspLineCapacity, [](void*, SettingKey, const char*) {}, nullptr);
    });
    CheckTextFile(kIspSettingsFile, settingLines_, kIspLineCapacity);
    ReadMainMenuSettings(folder_, &mainMenu_);
    ReadFormTexts(folder_, &formTexts_);
    ReadFormDomain(folder_, formDomain_);
    ReadDnsSettings(folder_, &dns_);
    context_.LoadMigrationSettings();
    for (const ObservedLine& line : settingLines_) {
        CheckSettingLine(line);
    }
    CheckRepeatedKeys();
    CheckDns();
    CheckFletsIsdn();
    ReportValuesInEffect();
}

void KitChecker::CheckSettingLine(const ObservedLine& l) {
    const size_t line = l.place.line;
    // The tail of a long line is reported as such; only a setting it happens to make counts.
    if (l.place.column > 0 && l.verdict != LineVerdict::Setting) {
        return;
    }
    const std::string key = l.text.substr(0, l.text.find(','));
    switch (l.verdict) {
        case LineVerdict::Setting:
            occurrences_[l.key].push_back(&l);
            CheckValue(l);
            return;
        case LineVerdict::NoComma:
            for (const SettingKeyInfo& info : kSettingKeys) {
                const size_t n = strlen(info.name);
                if (StartsWithNoCase(l.text, info.name) &&
                    (l.text.size() == n || !isalnum(static_cast<unsigned char>(l.text[n])))) {
                    Add(Diag::MissingComma, kIspSettingsFile, line,
                        Format("no comma after %s: the line is ignored", info.name));
                    return;
                }
            }
            Add(Diag::IgnoredLine, kIspSettingsFile, line, "no comma: the line is ignored");
            return;
        case LineVerdict::EmptyKey:
            Add(Diag::IgnoredLine, kIspSettingsFile, line,
                "starts with a comma (no key): the line is ignored");
            return;
        case LineVerdict::EmptyValue:
            if (const SettingKeyInfo* info = FindSettingKey(key.c_str())) {
                const auto& earlier = occurrences_[info->key];
                if (!earlier.empty()) {
                    Add(Diag::DuplicateKey, kIspSettingsFile, line,
                        Format("an empty value does not clear %s: line %zu stays in effect",
                               info->name, earlier.back()->place.line));
                } else {
                    Add(Diag::EmptyValue, kIspSettingsFile, line,
                        Format("%s has an empty value: the line is ignored", info->name));
                }
                return;
            }
            CheckUnknownKey(l, key);
            return;
        case LineVerdict::KeyTooLong:
            Add(Diag::IgnoredLine, kIspSettingsFile, line,
                "the key is longer than 255 bytes, which no setting key is: the line is ignored");
            return;
        default:
            CheckUnknownKey(l, key);
            return;
    }
}

void KitChecker::CheckUnknownKey(const ObservedLine& l, const std::string& key) {
    const size_t line = l.place.line;
    const std::string trimmed = Trimmed(key);
    if (trimmed != key && FindSettingKey(trimmed.c_str()) != nullptr) {
        Add(Diag::KeyBlanks, kIspSettingsFile, line,
            "blank or tab around the key " + Quoted(key) +
                ": nothing is trimmed, so it matches no key and the line is ignored");
    } else if (const SettingKeyInfo* meant = ClosestKey(key)) {
        Add(Diag::UnknownKey, kIspSettingsFile, line,
            "unknown key " + Quoted(key) + ": the line is ignored; did you mean " + meant->name +
                "?");
    } else {
        Add(Diag::IgnoredLine, kIspSettingsFile, line,
            Quoted(key) + " is not a setting key: the line is ignored");
    }
}

void KitChecker::CheckValue(const ObservedLine& l) {
    const SettingKeyInfo& info = kSettingKeys[static_cast<size_t>(l.key)];
    const size_t line = l.place.line;
    const std::string& value = l.value;
    if (HasEdgeBlank(value) && info.form != SettingForm::Address) {
        Add(Diag::ValueBlanks, kIspSettingsFile, line,
            Format("the value of %s %s with a blank or tab, which is part of it: ", info.name,
                   IsBlank(value.front()) ? "begins" : "ends") +
                Quoted(value));
    }
    switch (info.form) {
        case SettingForm::Number:
            if (!IsWholeNumber(value)) {
                Add(Diag::NotANumber, kIspSettingsFile, line,
                    Quoted(value) + Format(" is not a whole number: %s reads it as %d", info.name,
                                           ParseDecimal(value.c_str())));
            }
            if (l.key == SettingKey::TitleFontSize && ParseDecimal(value.c_str()) <= 1) {
                Add(Diag::UnusedSize, kIspSettingsFile, line,
                    "a heading size of 1 or less is not used: the heading keeps its size (18 "
                    "pixels unless an earlier line set one)");
            }
            return;
        case SettingForm::OnOff:
            if (!IsOnValue(value.c_str()) && LooksOn(value)) {
                Add(Diag::OffValue, kIspSettingsFile, line,
                    Quoted(value) + Format(" counts as off: only TRUE (in any letter case) "
                                           "switches %s on",
                                           info.name));
            }
            return;
        case SettingForm::Address: {
            unsigned char octets[4];
            if (!ParseDottedAddress(value.c_str(), octets)) {
                Add(Diag::BadAddress, kIspSettingsFile, line,
                    Quoted(value) + Format(" is not four numbers from 0 to 255 separated by full "
                                           "stops: %s is never written into an entry",
                                           info.name));
            } else if ((octets[0] | octets[1] | octets[2] | octets[3]) == 0) {
                Add(Diag::BadAddress, kIspSettingsFile, line,
                    Format("0.0.0.0 stands for no address: %s is never written into an entry",
                           info.name));
            }
            return;
        }
        case SettingForm::Domain: {
            const std::string trimmed = Trimmed(value);
            if (trimmed.empty() || trimmed[0] == '@') {
                return;
            }
            const char* consequence =
                l.key == SettingKey::OldDialupDomain   ? "no APGEN.csv hit is ever proposed"
                : l.key == SettingKey::OldMobileDomain ? "no APPHS.csv hit is ever proposed"
                : l.key == SettingKey::OldAirHDomain   ? "no APAIR.csv hit is ever proposed"
                : l.key == SettingKey::OldDomain ? "the Flets ISDN user-name change never applies"
                                                 : nullptr;
            if (consequence != nullptr) {
                Add(Diag::DomainNeverMatches, kIspSettingsFile, line,
                    Quoted(value) +
                        " has no leading @, and the domain part of a user name "
                        "always starts with one: " +
                        consequence);
            } else {
                Add(Diag::DomainWithoutAt, kIspSettingsFile, line,
                    Quoted(value) + Format(" has no leading @: %s is appended to user names "
                                           "exactly as written",
                                           info.name));
            }
            return;
        }
        default:
            return;
    }
}

const ObservedLine* KitChecker::EffectiveLine(SettingKey key) const {
    const auto found = occurrences_.find(key);
    if (found == occurrences_.end()) {
        return nullptr;
    }
    const auto& lines = found->second;
    if (kSettingKeys[static_cast<size_t>(key)].form == SettingForm::OnOff) {
        // Once a line switched it on, no later line switches it off.
        for (const ObservedLine* l : lines) {
            if (IsOnValue(l->value.c_str())) {
                return l;
            }
        }
        return nullptr;
    }
    if (key == SettingKey::TitleFontSize) {
        for (auto l = lines.rbegin(); l != lines.rend(); ++l) {
            if (ParseDecimal((*l)->value.c_str()) > 1) {
                return *l;
            }
        }
        return nullptr;
    }
    return lines.back();
}

size_t KitChecker::LineOf(SettingKey key) const {
    const ObservedLine* l = EffectiveLine(key);
    if (l == nullptr && occurrences_.count(key) > 0) {
        l = occurrences_.at(key).back();  // given, but to no effect: the last word on it
    }
    return l != nullptr ? l->place.line : 0;
}

void KitChecker::CheckRepeatedKeys() {
    for (const auto& [key, lines] : occurrences_) {
        if (lines.size() < 2) {
            continue;
        }
        const char* name = kSettingKeys[static_cast<size_t>(key)].name;
        const ObservedLine* winner = EffectiveLine(key);
        for (size_t i = 1; i < lines.size(); ++i) {
            std::string text = Format("%s is given more than once (first on line %zu): ", name,
                                      lines[0]->place.line);
            if (winner == nullptr) {
                text += kSettingKeys[static_cast<size_t>(key)].form == SettingForm::OnOff
                            ? "no line says TRUE, so it is off"
                            : "no line gives a size above 1, so none is used";
            } else if (winner == lines[i]) {
                text += "this line is the one in effect";
            } else {
                text += Format("line %zu is the one in effect", winner->place.line);
            }
            Add(Diag::DuplicateKey, kIspSettingsFile, lines[i]->place.line, text);
        }
    }
}

void KitChecker::CheckDns() {
    const bool given = occurrences_.count(SettingKey::Dns1) + occurrences_.count(SettingKey::Dns2);
    const auto zero = [](const RASIPADDR& a) { return (a.a | a.b | a.c | a.d) == 0; };
    if (dns_.on && zero(dns_.primary) && zero(dns_.secondary)) {
        Add(Diag::DnsNothingWritten, kIspSettingsFile, LineOf(SettingKey::SetDnsIpAddress),
            "SetDnsIpAddress is on, but no usable Dns1 or Dns2 is given: entries get the "
            "specific-name-server option without any address");
    } else if (!dns_.on && given) {
        const SettingKey key =
            occurrences_.count(SettingKey::Dns1) ? SettingKey::Dns1 : SettingKey::Dns2;
        Add(Diag::DnsOff, kIspSettingsFile, LineOf(key),
            "name servers are given, but SetDnsIpAddress is not TRUE: none is written");
    }
}

void KitChecker::CheckFletsIsdn() {
    const char* number = context_.DefaultFletsIsdnNumber;
    const char* oldDomain = context_.OldDomain;
    const char* newDomain = context_.FletsIsdnDomain;
    if (number[0] == '\0' && oldDomain[0] == '\0' && newDomain[0] == '\0') {
        return;
    }
    const auto never = [&](SettingKey key, const std::string& why) {
        Add(Diag::FletsNeverApplies, kIspSettingsFile, LineOf(key),
            "the Flets ISDN user-name change never applies: " + why);
    };
    const SettingKey keys[] = {SettingKey::DefaultFletsIsdnNumber, SettingKey::OldDomain,
                               SettingKey::FletsIsdnDomain};
    const char* values[] = {number, oldDomain, newDomain};
    const SettingKey anchor = keys[values[0][0] ? 0 : values[1][0] ? 1 : 2];
    for (size_t i = 0; i < 3; ++i) {
        if (values[i][0] == '\0') {
            never(anchor, Format("%s is not set", kSettingKeys[static_cast<size_t>(keys[i])].name));
        }
    }
    if (oldDomain[0] != '\0' && newDomain[0] != '\0' && EqualsNoCase(oldDomain, newDomain)) {
        never(SettingKey::FletsIsdnDomain, "FletsIsdnDomain equals OldDomain");
    }
    if (number[0] == '\0') {
        return;
    }
    if (strchr(number, '-') != nullptr) {
        never(SettingKey::DefaultFletsIsdnNumber,
              Quoted(number) +
                  " holds a hyphen, and the hyphens of a dialled number are "
                  "skipped, never compared: write it without hyphens");
    } else if (strlen(number) < 2) {
        never(SettingKey::DefaultFletsIsdnNumber, "a number of a single character matches nothing");
    } else if (const char c = StrayCharacter(number, "")) {
        Add(Diag::NumberCharacters, kIspSettingsFile, LineOf(SettingKey::DefaultFletsIsdnNumber),
            Quoted(number) + " holds " + ShownCharacter(c) +
                ", which an entry's number must hold at the same place: only the hyphens of a "
                "dialled number are skipped");
    }
}

std::string KitChecker::EffectiveValue(SettingKey key, bool* set) const {
    const auto text = [&](bool has, const char* value) {
        *set = has;
        return Quoted(value);
    };
    const auto address = [&](const RASIPADDR& a) {
        *set = true;
        if (!dns_.on) {
            return std::string("(not used: SetDnsIpAddress is not TRUE)");
        }
        if ((a.a | a.b | a.c | a.d) == 0) {
            return std::string("(none written)");
        }
        return Format("%u.%u.%u.%u", a.a, a.b, a.c, a.d);
    };
    switch (key) {
        case SettingKey::CaptionStart:
            return text(mainMenu_.hasCaption, mainMenu_.caption);
        case SettingKey::TitleStart:
            return text(mainMenu_.hasHeading, mainMenu_.heading);
        case SettingKey::TitleFontSize:
            *set = mainMenu_.headingSize > 1;
            return Format("%d", mainMenu_.headingSize);
        case SettingKey::CaptionSetting:
            return text(formTexts_.hasCaption, formTexts_.caption);
        case SettingKey::DefaultEntryName:
            return text(formTexts_.hasEntryName, formTexts_.entryName);
        case SettingKey::DefaultTelNumber:
            return text(formTexts_.hasTelNumber, formTexts_.telNumber);
        case SettingKey::DialupDomain:
            return text(formDomain_[0] != '\0', formDomain_);
        case SettingKey::SetDnsIpAddress:
            *set = occurrences_.count(key) > 0;
            return dns_.on ? "on" : "off";
        case SettingKey::Dns1:
            return address(dns_.primary);
        case SettingKey::Dns2:
            return address(dns_.secondary);
        case SettingKey::LocalOnlyIsOk:
            *set = occurrences_.count(key) > 0;
            return context_.LocalOnlyIsOk ? "on" : "off";
        case SettingKey::KeepDomain:
            *set = occurrences_.count(key) > 0;
            return context_.KeepDomain ? "on" : "off";
        default:
            break;
    }
    const struct {
        SettingKey key;
        const char* value;
    } migration[] = {
        {SettingKey::DefaultMobileNumber, context_.DefaultMobileNumber},
        {SettingKey::DefaultFletsIsdnNumber, context_.DefaultFletsIsdnNumber},
        {SettingKey::OldDomain, context_.OldDomain},
        {SettingKey::OldDialupDomain, context_.OldDialupDomain},
        {SettingKey::OldMobileDomain, context_.OldMobileDomain},
        {SettingKey::OldAirHDomain, context_.OldAirHDomain},
        {SettingKey::MobileDomain, context_.MobileDomain},
        {SettingKey::AirHDomain, context_.AirHDomain},
        {SettingKey::FletsIsdnDomain, context_.FletsIsdnDomain},
        {SettingKey::UserPrefix, context_.UserPrefix},
    };
    for (const auto& m : migration) {
        if (m.key == key) {
            return text(m.value[0] != '\0', m.value);
        }
    }
    *set = false;
    return std::string();
}

void KitChecker::ReportValuesInEffect() {
    for (const SettingKeyInfo& info : kSettingKeys) {
        if (info.key == SettingKey::Dns1 || info.key == SettingKey::Dns2) {
            if (occurrences_.count(info.key) == 0) {
                Add(Diag::InEffect, kIspSettingsFile, 0, Format("%s is not set", info.name));
                continue;
            }
        }
        bool set = false;
        const std::string value = EffectiveValue(info.key, &set);
        if (!set) {
            Add(Diag::InEffect, kIspSettingsFile, 0,
                Format("%s is not set", info.name) +
                    (info.form == SettingForm::OnOff ? ": off" : ""));
        } else {
            Add(Diag::InEffect, kIspSettingsFile, LineOf(info.key),
                Format("%s = ", info.name) + value);
        }
    }
}

void KitChecker::CheckMenu() {
    std::vector<MethodMenuItem> rows;
    bool hasPhsRow = false;
    bool present = false;
    const ObservedLines lines =
        Watched(folder_, [&] { present = LoadMethodMenu(folder_, &rows, &hasPhsRow); });
    CreateFormValues form;
    form.entryName = form.userName = form.password = form.accessPointNumber = form.modemName = "x";
    form.methodRowCount = static_cast<int>(rows.size());
    const std::string unchosen = InQuotes(ProgramText(Message{CheckCreateForm(form).textId}));
    if (!present) {
        Add(Diag::MissingMenu, kMethodMenuFile, 0,
            "missing: the form's method list stays empty and every 作成 (create) ends with " +
                unchosen);
        return;
    }
    CheckTextFile(kMethodMenuFile, lines, kMethodMenuLineCapacity);
    for (const ObservedLine& l : lines) {
        if (l.place.column > 0 && l.verdict != LineVerdict::MethodRow) {
            continue;
        }
        if (l.verdict == LineVerdict::MethodRow) {
            CheckMenuRow(l, rows.size());
        } else if (StartsLikeANumber(l.text)) {
            Add(Diag::NotARow, kMethodMenuFile, l.place.line,
                "not read as a row: a row must start with a digit 0-9 as its first byte");
        } else {
            Add(Diag::IgnoredLine, kMethodMenuFile, l.place.line,
                "does not start with a digit: a heading or comment, not a row");
        }
    }
    if (std::none_of(rows.begin(), rows.end(), IsChoosableMethod)) {
        Add(Diag::NoChoosableMethod, kMethodMenuFile, 0,
            std::string(rows.empty() ? "no row" : "every row is of kind 9") +
                ": no method can be chosen, and every 作成 (create) ends with " + unchosen);
    } else if (DecideMethodSelection(0, &rows[0], -1).action != MethodSelectionAction::Apply) {
        const auto first = std::find_if(lines.begin(), lines.end(), [](const ObservedLine& l) {
            return l.verdict == LineVerdict::MethodRow;
        });
        Add(Diag::FirstRowHeading, kMethodMenuFile, first->place.line,
            "the first row cannot be chosen: nothing is applied when the form opens, so "
            "DefaultTelNumber and DialupDomain stand until a method is chosen");
    }
}

void KitChecker::CheckMenuRow(const ObservedLine& l, size_t rowCount) {
    const size_t line = l.place.line;
    const MethodMenuItem& row = l.row;
    const bool choosable = IsChoosableMethod(row);
    Add(Diag::MethodRow, kMethodMenuFile, line,
        Format("row %zu: kind %d, ", l.index + 1, row.kind) + Quoted(row.displayName) +
            ", domain " + Quoted(row.domainText) + ", number " + Quoted(row.accessPointNumber) +
            (choosable ? "" : " (cannot be chosen)"));
    const char* columnNames[] = {"kind", "name", "domain", "number"};
    for (int c = 1; c < kMethodColumnCount; ++c) {
        if (l.columns.cut[c]) {
            Add(Diag::CutText, kMethodMenuFile, line,
                Format("the %s column is longer than 255 bytes: it is cut to ", columnNames[c]) +
                    Quoted(c == 1   ? row.displayName
                           : c == 2 ? row.domainText
                                    : row.accessPointNumber));
        }
    }
    if (l.columns.extraColumns) {
        Add(Diag::ExtraColumns, kMethodMenuFile, line, "text after the fourth column is ignored");
    }
    if (choosable && row.domainText[0] == '\0') {
        Add(Diag::RowIncomplete, kMethodMenuFile, line,
            Format("%s domain: choosing this row empties the domain after the user name",
                   l.columns.columns < 3 ? "too few columns, so no" : "no"));
    }
    if (choosable && row.accessPointNumber[0] == '\0') {
        CreateFormValues form;
        form.entryName = form.userName = form.password = form.modemName = "x";
        form.accessPointNumber = "";
        form.lastMethodIndex = static_cast<int>(l.index);
        form.methodRowCount = static_cast<int>(rowCount);
        Add(Diag::RowIncomplete, kMethodMenuFile, line,
            Format("%s access-point number: choosing this row empties the number, and 作成 "
                   "(create) then stops with ",
                   l.columns.columns < 4 ? "too few columns, so no" : "no") +
                InQuotes(ProgramText(Message{CheckCreateForm(form).textId})));
    }
    if (row.domainText[0] != '\0' && row.domainText[0] != '@') {
        Add(Diag::DomainWithoutAt, kMethodMenuFile, line,
            Quoted(row.domainText) +
                " has no leading @: it is appended to user names exactly "
                "as written");
    }
    const std::string name = row.displayName;
    if (name.find("PHS") != std::string::npos) {
        Add(Diag::PhsRow, kMethodMenuFile, line,
            "\"PHS\" in the name: the form shows its note on the digits after #");
    } else if (name.find("\x82\x6F\x82\x67\x82\x72") != std::string::npos ||
               std::search(name.begin(), name.end(), "phs", "phs" + 3, [](char a, char b) {
                   return tolower(static_cast<unsigned char>(a)) == b;
               }) != name.end()) {
        Add(Diag::PhsLookalike, kMethodMenuFile, line,
            "only the capitals \"PHS\" in half-width letters make the form show its PHS note");
    }
}

void KitChecker::CheckRecordNumber(const char* file, size_t line, const AccessPointRecord& record,
                                   const char* what) {
    if (const char c = StrayCharacter(record.areaCode, "")) {
        Add(Diag::NumberCharacters, file, line,
            Format("the area code of %s, ", what) + Quoted(record.areaCode) + ", holds " +
                ShownCharacter(c) + ", so it equals no entry's area code of digits");
    } else if (const char d = StrayCharacter(record.localNumber, "")) {
        Add(Diag::NumberCharacters, file, line,
            Format("the number of %s, ", what) + Quoted(record.localNumber) + ", holds " +
                ShownCharacter(d) +
                ", which an entry's number must hold at the same place: only the hyphens of a "
                "dialled number are skipped");
    }
    if (strlen(record.localNumber) < 2) {
        Add(Diag::ShortNumber, file, line,
            Format("the local number of %s is ", what) + Quoted(record.localNumber) +
                ": shorter than two characters, it never matches an entry's local number");
    }
}

void KitChecker::CheckTables() {
    const ObservedLines general = Watched(folder_, [&] { context_.LoadGeneralTable(); });
    const ObservedLines phs = Watched(folder_, [&] { context_.LoadPhsTable(); });
    const ObservedLines pairs = Watched(folder_, [&] { context_.LoadPairTable(); });
    if (folder_.Has(kGeneralTableFile)) {
        CheckTable(kGeneralTableFile, general, context_.generalTable, SettingKey::DefaultTelNumber,
                   context_.DefaultTelNumber);
    }
    if (folder_.Has(kPhsTableFile)) {
        CheckTable(kPhsTableFile, phs, context_.phsTable, SettingKey::DefaultMobileNumber,
                   context_.DefaultMobileNumber);
    }
    if (folder_.Has(kPairTableFile)) {
        CheckPairs(pairs);
    }
}

void KitChecker::CheckTable(const char* file, const ObservedLines& lines,
                            const AccessPointTable& table, SettingKey numberKey,
                            const char* numberValue) {
    CheckTextFile(file, lines, kTableLineCapacity);
    std::vector<size_t> recordLines(table.size(), 0);
    for (const ObservedLine& l : lines) {
        const size_t line = l.place.line;
        switch (l.verdict) {
            case LineVerdict::TableRecord:
                recordLines[l.index] = line;
                break;
            case LineVerdict::NumberTooLong:
                Add(Diag::NumberTooLong, file, line,
                    "the number does not fit an access-point record (area code up to 10 bytes, "
                    "number up to 128): the line is skipped");
                break;
            default:
                if (l.place.column > 0) {
                    break;
                }
                if (l.text.find(',') != std::string::npos) {
                    Add(Diag::SkippedNumber, file, line,
                        "nothing after the comma: the line is skipped");
                } else if (StartsLikeANumber(l.text)) {
                    Add(Diag::SkippedNumber, file, line,
                        "a line without a comma is read only when its first byte is a digit 0-9: "
                        "the line is skipped");
                } else {
                    Add(Diag::IgnoredLine, file, line,
                        "no comma and no leading digit: a heading or comment, skipped");
                }
                break;
        }
    }
    for (size_t i = 0; i < table.size(); ++i) {
        const AccessPointRecord& record = table[i];
        const size_t line = recordLines[i];
        Add(Diag::TableRecord, file, line,
            Format("record %zu: ", i + 1) + Quoted(RecordText(record)));
        if (!HasDigit(record.areaCode) && !HasDigit(record.localNumber)) {
            Add(Diag::HeadingRecord, file, line,
                "the text after the comma, " + Quoted(RecordText(record)) +
                    ", is read as a record; without a digit it matches no dialled number");
            continue;
        }
        CheckRecordNumber(file, line, record, "this record");
        for (size_t j = 0; j < i; ++j) {
            if (!RecordCoversRecord(table[j], record, context_.LocalOnlyIsOk)) {
                continue;
            }
            const bool same = strcmp(table[j].areaCode, record.areaCode) == 0 &&
                              strcmp(table[j].localNumber, record.localNumber) == 0;
            Add(same ? Diag::DuplicateRecord : Diag::ShadowedRecord, file, line,
                same ? Format("the same number as line %zu, which is found first: this record "
                              "is never the first match",
                              recordLines[j])
                     : Format("line %zu (", recordLines[j]) + Quoted(RecordText(table[j])) +
                           ") matches every number this record matches and is found first: "
                           "this record is never the first match");
            break;
        }
    }
    if (!table.empty() && numberValue[0] == '\0' && hasSettings_) {
        const char* name = kSettingKeys[static_cast<size_t>(numberKey)].name;
        Add(Diag::TableNeedsNumber, file, recordLines[0],
            Format("the table has records but %s is not set in ISP_INF.csv: an entry found "
                   "here would be offered an empty new number",
                   name));
    }
}

void KitChecker::CheckPairs(const ObservedLines& lines) {
    CheckTextFile(kPairTableFile, lines, kTableLineCapacity);
    std::map<std::string, const ObservedLine*> firstLine;
    std::map<std::string, std::string> values;
    for (const ObservedLine& l : lines) {
        const size_t line = l.place.line;
        switch (l.verdict) {
            case LineVerdict::PairStored:
                firstLine[l.pairKey] = &l;
                values[l.pairKey] = l.pairValue;
                break;
            case LineVerdict::PairReplaced:
                Add(Diag::PairReplaced, kPairTableFile, line,
                    "the old number " + Quoted(l.pairKey) +
                        Format(" is also on line %zu: this line's new number ",
                               firstLine[l.pairKey]->place.line) +
                        Quoted(l.pairValue) + " replaces " + Quoted(values[l.pairKey]) +
                        Format(" and the pair keeps line %zu's place",
                               firstLine[l.pairKey]->place.line));
                values[l.pairKey] = l.pairValue;
                break;
            case LineVerdict::EmptyKey:
            case LineVerdict::EmptyValue:
                Add(Diag::SkippedNumber, kPairTableFile, line,
                    l.verdict == LineVerdict::EmptyKey
                        ? "no old number before the comma: the line is skipped"
                        : "no new number after the comma: the line is skipped");
                break;
            default:
                if (l.place.column == 0) {
                    Add(Diag::IgnoredLine, kPairTableFile, line, "no comma: not a pair, skipped");
                }
                break;
        }
    }
    // The pairs are tried in the table's own order, which is not the file's.
    std::vector<std::pair<AccessPointRecord, size_t>> tried;
    size_t order = 0;
    for (const PairTable::Pair& pair : context_.pairTable) {
        const size_t line = firstLine.count(pair.key) ? firstLine[pair.key]->place.line : 0;
        Add(Diag::TableRecord, kPairTableFile, line,
            Format("pair tried %zu. of %zu: ", ++order, context_.pairTable.size()) +
                Quoted(pair.key) + " becomes " + Quoted(pair.value));
        if (HasEdgeBlank(pair.value)) {
            Add(Diag::ValueBlanks, kPairTableFile, line,
                "the new number " + Quoted(pair.value) +
                    " begins or ends with a blank, which is written into entries");
        }
        AccessPointRecord record;
        if (!SplitTableNumber(pair.key.c_str(), &record)) {
            Add(Diag::NumberTooLong, kPairTableFile, line,
                "the old number does not fit an access-point record (area code up to 10 bytes, "
                "number up to 128): this pair never matches");
            continue;
        }
        if (!HasDigit(pair.key)) {
            Add(Diag::HeadingRecord, kPairTableFile, line,
                "the old number " + Quoted(pair.key) +
                    " holds no digit and matches no dialled number (a heading line with a comma "
                    "is read as a pair)");
            continue;
        }
        CheckRecordNumber(kPairTableFile, line, record, "this pair's old number");
        for (const auto& [earlier, earlierLine] : tried) {
            if (RecordCoversRecord(earlier, record, context_.LocalOnlyIsOk)) {
                Add(Diag::ShadowedRecord, kPairTableFile, line,
                    Format("the pair of line %zu is tried before this one (pairs are tried in "
                           "their own fixed order, not in file order) and matches every number "
                           "this one matches: this pair is never the first match",
                           earlierLine));
                break;
            }
        }
        tried.emplace_back(record, line);
    }
}

void KitChecker::CheckLogo() {
    if (!folder_.Has(kLogoFile)) {
        Add(Diag::MissingLogo, kLogoFile, 0, "no logo: the form's logo control stays hidden");
        return;
    }
    std::string bytes;
    if (!folder_.ReadBytes(kLogoFile, &bytes, kLogoReadLimit) || bytes.empty()) {
        if (folder_.IsReadableFile(kLogoFile)) {
            Add(Diag::LogoUnreadable, kLogoFile, 0,
                "the file is empty: the form shows its logo control and paints nothing");
        }
        return;
    }
    QuietUser user;
    PngImage image(user);
    if (!image.LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {
        const Message shown = user.shown.empty() ? Message{IDS_PNG_ERROR} : user.shown[0];
        Add(Diag::LogoUndecodable, kLogoFile, 0,
            "does not decode as a PNG image: when the form opens it shows " +
                InQuotes(ProgramText(shown)) + " and draws no logo");
        return;
    }
    const uint32_t width = image.Width();
    const uint32_t height = image.Height();
    size_t transparent = 0;
    size_t nearly = 0;
    size_t alpha = 0;
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* p = image.Rows()[y];
        for (uint32_t x = 0; x < width; ++x, p += 4) {
            const LogoColour& t = kLogoTransparentColour;
            const bool exact = p[0] == t.red && p[1] == t.green && p[2] == t.blue;
            transparent += exact;
            nearly += !exact && abs(p[0] - t.red) <= 8 && abs(p[1] - t.green) <= 8 &&
                      abs(p[2] - t.blue) <= 8;
            alpha += p[3] != 0xFF;
        }
    }
    Add(Diag::LogoInfo, kLogoFile, 0,
        Format("%ux%u pixels, %zu of them exact magenta (255, 0, 255) and drawn transparent", width,
               height, transparent));
    if (width > static_cast<uint32_t>(kLogoAreaWidth) ||
        height > static_cast<uint32_t>(kLogoAreaHeight)) {
        Add(Diag::LogoSize, kLogoFile, 0,
            Format("%ux%u pixels is larger than the logo area of about %dx%d pixels: the logo is "
                   "drawn at its own size from the area's corner, over whatever lies beside it",
                   width, height, kLogoAreaWidth, kLogoAreaHeight));
    }
    if (nearly > 0) {
        Add(Diag::LogoNearMagenta, kLogoFile, 0,
            Format("%zu pixels are nearly but not exactly magenta: only (255, 0, 255) is "
                   "transparent, these are drawn",
                   nearly));
    }
    if (alpha > 0) {
        Add(Diag::LogoAlpha, kLogoFile, 0,
            Format("%zu pixels are partly or fully transparent by their alpha, which the form "
                   "ignores: they are drawn in full colour (use exact magenta for transparency)",
                   alpha));
    }
}

}  // namespace

void CheckKit(KitFolder& folder, KitReport* report) {
    KitChecker(folder, report).Run();
}
