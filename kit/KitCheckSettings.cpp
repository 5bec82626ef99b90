// The kit check of ISP_INF.csv: every line as the shared key/value rule saw it, the value
// of every key as the program's own reading routines take it, and what the keys do together.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "kit/KitChecker.h"
#include "kit/KitStrings.h"
#include "kit/KitText.h"
#include "res/resource.h"
#include "settings/ByteText.h"
#include "settings/KeyValueLine.h"

namespace {

bool StartsWithNoCase(const std::string& text, const char* start) {
    const size_t n = strlen(start);
    return text.size() >= n && EqualsNoCase(text.substr(0, n).c_str(), start);
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

}  // namespace

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
            } else if (strtoll(value.c_str(), nullptr, 10) != ParseDecimal(value.c_str())) {
                Add(Diag::NotANumber, kIspSettingsFile, line,
                    Quoted(value) + Format(" is beyond the numbers %s can hold: it reads it as %d",
                                           info.name, ParseDecimal(value.c_str())));
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
        case SettingForm::TelephoneNumber:
            // The Flets ISDN number is compared, not dialled: CheckFletsIsdn looks at it.
            if (l.key != SettingKey::DefaultFletsIsdnNumber) {
                CheckNewNumber(kIspSettingsFile, line, value, info.name);
            }
            return;
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
    } else if (const char c = FirstNonDigit(number)) {
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
            return text(formTexts_.domain[0] != '\0', formTexts_.domain);
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
