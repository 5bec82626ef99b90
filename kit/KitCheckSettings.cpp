// The kit check of ISP_INF.csv: every line as the shared key/value rule saw it, the value
// of every key as the program's own reading routines take it, and what the keys do together.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "app/HeadingFit.h"
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

// The known key an unknown one most likely meant, or null.
const SettingKeyInfo* ClosestKey(const std::string& key) {
    const SettingKeyInfo* best = nullptr;
    size_t bestDistance = 0;
    for (const SettingKeyInfo& info : kSettingKeys) {
        const size_t distance = EditDistance(Trimmed(key), info.name);
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

// What an old domain that cannot match takes away.
Phrase NeverMatching(SettingKey key) {
    switch (key) {
        case SettingKey::OldDialupDomain:
            return Phrase::NoGeneralHit;
        case SettingKey::OldMobileDomain:
            return Phrase::NoPhsHit;
        case SettingKey::OldAirHDomain:
            return Phrase::NoPairHit;
        case SettingKey::OldDomain:
            return Phrase::NoFletsChange;
        default:
            return Phrase::None;
    }
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
    CheckHeading();
    ReportValuesInEffect();
}

// The template's own heading at its own size is the program's affair, not the kit's.
void KitChecker::CheckHeading() {
    if (!mainMenu_.hasHeading && mainMenu_.headingSize <= 1) {
        return;
    }
    const char* text = mainMenu_.hasHeading ? mainMenu_.heading : kDefaultHeading;
    const int size = mainMenu_.headingSize > 1 ? mainMenu_.headingSize : kDefaultHeadingSize;
    const int fitted = FitHeadingSize(size, kHeadingRoomWidth, kHeadingRoomHeight,
                                      [&](int s) { return EstimateHeadingExtent(text, s); });
    if (fitted < size) {
        const size_t line = mainMenu_.hasHeading ? LineOf(SettingKey::TitleStart)
                                                 : LineOf(SettingKey::TitleFontSize);
        Add(Msg::HeadingShrunk, kIspSettingsFile, line,
            {Quoted(text), Format("%d", kHeadingRoomWidth), Format("%d", kHeadingRoomHeight),
             Format("%d", size), Format("%d", fitted)});
    }
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
                    if (const char* table = TableNeeding(info.key, l.text.substr(n))) {
                        Add(Msg::DroppedSettingNoComma, kIspSettingsFile, line, {info.name, table});
                    } else {
                        Add(Msg::MissingComma, kIspSettingsFile, line, {info.name});
                    }
                    return;
                }
            }
            if (!CheckLineOfAnotherFile(kIspSettingsFile, l)) {
                Add(Msg::NoCommaIgnored, kIspSettingsFile, line);
            }
            return;
        case LineVerdict::EmptyKey:
            Add(Msg::NoKey, kIspSettingsFile, line);
            return;
        case LineVerdict::EmptyValue:
            if (const SettingKeyInfo* info = FindSettingKey(key.c_str())) {
                const auto& earlier = occurrences_[info->key];
                if (!earlier.empty()) {
                    Add(Msg::EmptyDoesNotClear, kIspSettingsFile, line,
                        {info->name, Format("%zu", earlier.back()->place.line)});
                } else {
                    Add(Msg::EmptyValue, kIspSettingsFile, line, {info->name});
                }
                return;
            }
            CheckUnknownKey(l, key);
            return;
        case LineVerdict::KeyTooLong:
            Add(Msg::KeyTooLong, kIspSettingsFile, line);
            return;
        default:
            CheckUnknownKey(l, key);
            return;
    }
}

const char* KitChecker::TableNeeding(SettingKey key, const std::string& value) const {
    // Meant on, but off: entries that dial without their area code match no table.
    if (key == SettingKey::LocalOnlyIsOk && !context_.LocalOnlyIsOk && LooksOn(value)) {
        for (const char* table : {kGeneralTableFile, kPhsTableFile, kPairTableFile}) {
            if (folder_.Has(table)) {
                return table;
            }
        }
    }
    const bool domainNeeded = !context_.KeepDomain;
    const struct {
        SettingKey key;
        const char* table;
        bool needed;
        const char* value;
    } needs[] = {
        {SettingKey::DefaultTelNumber, kGeneralTableFile, true, context_.DefaultTelNumber},
        {SettingKey::DefaultMobileNumber, kPhsTableFile, true, context_.DefaultMobileNumber},
        {SettingKey::MobileDomain, kPhsTableFile, domainNeeded, context_.MobileDomain},
        {SettingKey::AirHDomain, kPairTableFile, domainNeeded, context_.AirHDomain},
    };
    for (const auto& n : needs) {
        if (n.key == key && n.needed && n.value[0] == '\0' && folder_.Has(n.table)) {
            return n.table;
        }
    }
    return nullptr;
}

void KitChecker::CheckUnknownKey(const ObservedLine& l, const std::string& key) {
    const size_t line = l.place.line;
    const std::string trimmed = Trimmed(key);
    const std::string value =
        l.text.find(',') != std::string::npos ? l.text.substr(l.text.find(',') + 1) : "";
    if (const SettingKeyInfo* info = FindSettingKey(trimmed.c_str()); info && trimmed != key) {
        if (const char* table = TableNeeding(info->key, value)) {
            Add(Msg::DroppedSettingBlanks, kIspSettingsFile, line,
                {Quoted(key), table, info->name});
        } else {
            Add(Msg::KeyBlanks, kIspSettingsFile, line, {Quoted(key)});
        }
    } else if (const SettingKeyInfo* meant = ClosestKey(key)) {
        if (const char* table = TableNeeding(meant->key, value)) {
            Add(Msg::DroppedSettingUnknown, kIspSettingsFile, line,
                {Quoted(key), meant->name, table});
        } else {
            Add(Msg::UnknownKey, kIspSettingsFile, line, {Quoted(key), meant->name});
        }
    } else if (!CheckLineOfAnotherFile(kIspSettingsFile, l)) {
        Add(Msg::NotAKey, kIspSettingsFile, line, {Quoted(key)});
    }
}

void KitChecker::CheckValue(const ObservedLine& l) {
    const SettingKeyInfo& info = kSettingKeys[static_cast<size_t>(l.key)];
    const size_t line = l.place.line;
    const std::string& value = l.value;
    if (HasEdgeBlank(value) && info.form != SettingForm::Address) {
        const Arg where = IsBlank(value.front()) ? Phrase::Begins : Phrase::Ends;
        if (l.key == SettingKey::UserPrefix) {
            Add(Msg::PrefixBlanks, kIspSettingsFile, line, {where, Quoted(value)});
            return;
        } else if (info.form != SettingForm::Domain) {
            Add(Msg::ValueBlanks, kIspSettingsFile, line, {info.name, where, Quoted(value)});
        } else if (const Phrase never = NeverMatching(l.key); never != Phrase::None) {
            Add(Msg::OldDomainBlanks, kIspSettingsFile, line,
                {info.name, where, Quoted(value), never});
            return;
        } else {
            Add(Msg::NewDomainBlanks, kIspSettingsFile, line, {info.name, where, Quoted(value)});
            return;
        }
    }
    switch (info.form) {
        case SettingForm::Number:
            if (!IsWholeNumber(value)) {
                Add(Msg::NotANumber, kIspSettingsFile, line,
                    {Quoted(value), info.name, Format("%d", ParseDecimal(value.c_str()))});
            } else if (strtoll(value.c_str(), nullptr, 10) != ParseDecimal(value.c_str())) {
                Add(Msg::NumberBeyond, kIspSettingsFile, line,
                    {Quoted(value), info.name, Format("%d", ParseDecimal(value.c_str()))});
            }
            if (l.key == SettingKey::TitleFontSize && ParseDecimal(value.c_str()) <= 1) {
                Add(Msg::UnusedSize, kIspSettingsFile, line);
            }
            return;
        case SettingForm::OnOff:
            if (!IsOnValue(value.c_str()) && LooksOn(value)) {
                Add(TableNeeding(l.key, value) != nullptr ? Msg::DroppedSettingOff : Msg::OffValue,
                    kIspSettingsFile, line, {Quoted(value), info.name});
            }
            return;
        case SettingForm::Address: {
            unsigned char octets[4];
            if (!ParseDottedAddress(value.c_str(), octets)) {
                Add(Msg::BadAddress, kIspSettingsFile, line, {Quoted(value), info.name});
            } else if ((octets[0] | octets[1] | octets[2] | octets[3]) == 0) {
                Add(Msg::ZeroAddress, kIspSettingsFile, line, {info.name});
            }
            return;
        }
        case SettingForm::Domain: {
            const std::string trimmed = Trimmed(value);
            if (trimmed.empty() || trimmed[0] == '@') {
                return;
            }
            const Phrase consequence = NeverMatching(l.key);
            if (consequence != Phrase::None) {
                Add(Msg::DomainNeverMatches, kIspSettingsFile, line, {Quoted(value), consequence});
            } else {
                Add(Msg::DomainWithoutAt, kIspSettingsFile, line, {Quoted(value), info.name});
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
            const std::string first = Format("%zu", lines[0]->place.line);
            const size_t at = lines[i]->place.line;
            if (winner == nullptr) {
                Add(Msg::DuplicateKey, kIspSettingsFile, at,
                    {name, first,
                     kSettingKeys[static_cast<size_t>(key)].form == SettingForm::OnOff
                         ? Phrase::NoLineTrue
                         : Phrase::NoLineSize});
            } else if (winner == lines[i]) {
                Add(Msg::DuplicateKey, kIspSettingsFile, at,
                    {name, first, Phrase::ThisLineInEffect});
            } else {
                Add(Msg::LineInEffect, kIspSettingsFile, at,
                    {name, first, Format("%zu", winner->place.line)});
            }
        }
    }
}

void KitChecker::CheckDns() {
    const bool given = occurrences_.count(SettingKey::Dns1) + occurrences_.count(SettingKey::Dns2);
    const auto zero = [](const RASIPADDR& a) { return (a.a | a.b | a.c | a.d) == 0; };
    if (dns_.on && zero(dns_.primary) && zero(dns_.secondary)) {
        Add(Msg::DnsNothingWritten, kIspSettingsFile, LineOf(SettingKey::SetDnsIpAddress));
    } else if (!dns_.on && given) {
        const SettingKey key =
            occurrences_.count(SettingKey::Dns1) ? SettingKey::Dns1 : SettingKey::Dns2;
        Add(Msg::DnsOff, kIspSettingsFile, LineOf(key));
    }
}

void KitChecker::CheckFletsIsdn() {
    const char* number = context_.DefaultFletsIsdnNumber;
    const char* oldDomain = context_.OldDomain;
    const char* newDomain = context_.FletsIsdnDomain;
    if (number[0] == '\0' && oldDomain[0] == '\0' && newDomain[0] == '\0') {
        return;
    }
    const auto never = [&](SettingKey key, Msg msg, std::vector<Arg> args) {
        Add(msg, kIspSettingsFile, LineOf(key), std::move(args));
    };
    const SettingKey keys[] = {SettingKey::DefaultFletsIsdnNumber, SettingKey::OldDomain,
                               SettingKey::FletsIsdnDomain};
    const char* values[] = {number, oldDomain, newDomain};
    const SettingKey anchor = keys[values[0][0] ? 0 : values[1][0] ? 1 : 2];
    for (size_t i = 0; i < 3; ++i) {
        if (values[i][0] == '\0') {
            never(anchor, Msg::FletsNotSet, {kSettingKeys[static_cast<size_t>(keys[i])].name});
        }
    }
    if (oldDomain[0] != '\0' && newDomain[0] != '\0' && EqualsNoCase(oldDomain, newDomain)) {
        never(SettingKey::FletsIsdnDomain, Msg::FletsSameDomain, {});
    }
    if (number[0] == '\0') {
        return;
    }
    if (strchr(number, '-') != nullptr) {
        never(SettingKey::DefaultFletsIsdnNumber, Msg::FletsHyphen, {Quoted(number)});
    } else if (strlen(number) < 2) {
        never(SettingKey::DefaultFletsIsdnNumber, Msg::FletsShort, {});
    } else if (const std::string stray = FirstNeverDialled(number); !stray.empty()) {
        never(SettingKey::DefaultFletsIsdnNumber, Msg::FletsNeverMatches,
              {Quoted(number), ShownCharacter(stray)});
    } else if (const std::string c = FirstNonDigit(number); !c.empty()) {
        Add(Msg::FletsCharacters, kIspSettingsFile, LineOf(SettingKey::DefaultFletsIsdnNumber),
            {Quoted(number), ShownCharacter(c)});
    }
}

Arg KitChecker::EffectiveValue(SettingKey key, bool* set) const {
    const auto text = [&](bool has, const char* value) {
        *set = has;
        return Arg(Quoted(value));
    };
    const auto address = [&](const RASIPADDR& a) {
        *set = true;
        if (!dns_.on) {
            return Arg(Phrase::DnsNotUsed);
        }
        if ((a.a | a.b | a.c | a.d) == 0) {
            return Arg(Phrase::NoneWritten);
        }
        return Arg(Format("%u.%u.%u.%u", a.a, a.b, a.c, a.d));
    };
    const auto onOff = [](bool on) { return Arg(on ? Phrase::On : Phrase::Off); };
    switch (key) {
        case SettingKey::CaptionStart:
            return text(mainMenu_.hasCaption, mainMenu_.caption);
        case SettingKey::TitleStart:
            return text(mainMenu_.hasHeading, mainMenu_.heading);
        case SettingKey::TitleFontSize:
            *set = mainMenu_.headingSize > 1;
            return Arg(Format("%d", mainMenu_.headingSize));
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
            return onOff(dns_.on);
        case SettingKey::Dns1:
            return address(dns_.primary);
        case SettingKey::Dns2:
            return address(dns_.secondary);
        case SettingKey::LocalOnlyIsOk:
            *set = occurrences_.count(key) > 0;
            return onOff(context_.LocalOnlyIsOk);
        case SettingKey::KeepDomain:
            *set = occurrences_.count(key) > 0;
            return onOff(context_.KeepDomain);
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
    return Arg("");
}

void KitChecker::ReportValuesInEffect() {
    for (const SettingKeyInfo& info : kSettingKeys) {
        if (info.key == SettingKey::Dns1 || info.key == SettingKey::Dns2) {
            if (occurrences_.count(info.key) == 0) {
                Add(Msg::NotSet, kIspSettingsFile, 0, {info.name, Phrase::None});
                continue;
            }
        }
        bool set = false;
        const Arg value = EffectiveValue(info.key, &set);
        if (!set) {
            Add(Msg::NotSet, kIspSettingsFile, 0,
                {info.name, info.form == SettingForm::OnOff ? Phrase::NotSetOff : Phrase::None});
        } else {
            Add(Msg::ValueInEffect, kIspSettingsFile, LineOf(info.key), {info.name, value});
        }
    }
}
