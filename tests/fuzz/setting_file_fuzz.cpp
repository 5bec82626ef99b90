// libFuzzer target: any bytes as ISP_INF.csv. The line reader must give the lines of the
// line rule at every capacity; then each reading routine of the file runs on them, and what
// it keeps must be what the key/value rule gives: the last line of a text key, on/off on
// once any line says TRUE, name servers only from a whole dotted address.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "FuzzModels.h"
#include "app/MainMenuSettings.h"
#include "kit/QuietSides.h"
#include "migrate/MigrationContext.h"
#include "newconn/DnsSettings.h"
#include "newconn/FormTexts.h"
#include "settings/ByteText.h"
#include "settings/DataFiles.h"
#include "settings/IspSettings.h"
#include "settings/MemoryDataFiles.h"
#include "settings/SettingFileReader.h"

namespace {

// What the file says, line by line, as the key/value rule reads its lines.
struct ModelSettings {
    std::map<SettingKey, std::string> last;  // text: the last line's value
    std::map<SettingKey, bool> on;           // on/off: some line said TRUE
};

ModelSettings ReadModel(const std::vector<std::string>& lines) {
    ModelSettings model;
    for (const std::string& line : lines) {
        std::string key, value;
        if (!ModelKeyValue(line, &key, &value)) {
            continue;
        }
        for (const SettingKeyInfo& info : kSettingKeys) {
            if (SameIgnoringAsciiCase(key, info.name)) {
                model.last[info.key] = value;
                model.on[info.key] = model.on[info.key] || SameIgnoringAsciiCase(value, "TRUE");
            }
        }
    }
    return model;
}

std::string Last(const ModelSettings& model, SettingKey key) {
    const auto found = model.last.find(key);
    return found != model.last.end() ? found->second : std::string();
}

bool On(const ModelSettings& model, SettingKey key) {
    const auto found = model.on.find(key);
    return found != model.on.end() && found->second;
}

// Four numbers 0-255 separated by single full stops, blanks and tabs around each number.
bool ModelAddress(const std::string& text, RASIPADDR* address) {
    std::vector<unsigned> octets;
    size_t start = 0;
    for (;;) {
        const size_t stop = text.find('.', start);
        std::string part =
            text.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
        part.erase(0, part.find_first_not_of(" \t"));
        part.erase(part.find_last_not_of(" \t") + 1);
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        part.erase(0, part.find_first_not_of('0'));
        if (part.size() > 3 || (part.empty() ? 0 : std::stoul(part)) > 255) {
            return false;
        }
        octets.push_back(part.empty() ? 0 : static_cast<unsigned>(std::stoul(part)));
        if (stop == std::string::npos) {
            break;
        }
        start = stop + 1;
    }
    if (octets.size() != 4) {
        return false;
    }
    *address = RASIPADDR{static_cast<uint8_t>(octets[0]), static_cast<uint8_t>(octets[1]),
                         static_cast<uint8_t>(octets[2]), static_cast<uint8_t>(octets[3])};
    return true;
}

bool SameAddress(const RASIPADDR& a, const RASIPADDR& b) {
    return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d;
}

void CheckLines(const MemoryDataFiles& files, const std::vector<std::string>& model,
                size_t capacity) {
    SettingFileReader reader(files);
    Check(reader.Open(kIspSettingsFile), "a held file opens");
    std::vector<char> buffer(capacity);
    std::vector<std::string> lines;
    while (reader.ReadLine(buffer.data(), capacity)) {
        Check(strlen(buffer.data()) < capacity, "a line fits its buffer");
        lines.emplace_back(buffer.data());
    }
    Check(!reader.ReadLine(buffer.data(), capacity), "a finished reader stays finished");
    Check(lines == model, "lines differ from the line rule");
}

void CheckDns(const MemoryDataFiles& files, const ModelSettings& model) {
    DnsSettings dns;
    Check(ReadDnsSettings(files, &dns) == On(model, SettingKey::SetDnsIpAddress),
          "SetDnsIpAddress is on once any line says TRUE");
    const SettingKey keys[] = {SettingKey::Dns1, SettingKey::Dns2};
    const RASIPADDR* got[] = {&dns.primary, &dns.secondary};
    for (int i = 0; i < 2; ++i) {
        RASIPADDR expected{};
        if (dns.on) {
            ModelAddress(Last(model, keys[i]), &expected);
        }
        Check(SameAddress(*got[i], expected), "a name server that is not the dotted address");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryDataFiles files;
    files.Hold(kIspSettingsFile, bytes.data(), bytes.size());

    // The capacities of the reading routines, and a small one for many pieces per line.
    const std::vector<std::string> lines = ModelLines(bytes, kIspLineCapacity);
    const std::vector<std::string> dnsLines = ModelLines(bytes, kDnsLineCapacity);
    const size_t small = 2 + (size > 0 ? data[0] % 14 : 0);
    CheckLines(files, lines, kIspLineCapacity);
    CheckLines(files, dnsLines, kDnsLineCapacity);
    CheckLines(files, ModelLines(bytes, small), small);

    const ModelSettings model = ReadModel(lines);
    MainMenuSettings menu;
    Check(ReadMainMenuSettings(files, &menu), "a held file is present");
    Check(menu.hasCaption == (model.last.count(SettingKey::CaptionStart) > 0) &&
              menu.caption == Last(model, SettingKey::CaptionStart),
          "CaptionStart");
    Check(menu.heading == Last(model, SettingKey::TitleStart), "TitleStart");
    Check(menu.headingSize == 0 || menu.headingSize > 1, "a heading size of 1 or less is unused");

    FormTexts texts;
    Check(ReadFormTexts(files, &texts), "a held file is present");
    Check(texts.caption == Last(model, SettingKey::CaptionSetting), "CaptionSetting");
    Check(texts.entryName == Last(model, SettingKey::DefaultEntryName), "DefaultEntryName");
    Check(texts.telNumber == Last(model, SettingKey::DefaultTelNumber), "DefaultTelNumber");
    Check(texts.domain == Last(model, SettingKey::DialupDomain), "DialupDomain");

    CheckDns(files, ReadModel(dnsLines));

    DialupApi api;
    CountingUserSide user;
    DecliningMigrationUi ui;
    MigrationContext context(files, api, user, ui, 10);
    Check(context.LoadMigrationSettings(), "a held file is present");
    Check(context.DefaultTelNumber == Last(model, SettingKey::DefaultTelNumber) &&
              context.UserPrefix == Last(model, SettingKey::UserPrefix) &&
              context.OldAirHDomain == Last(model, SettingKey::OldAirHDomain) &&
              context.FletsIsdnDomain == Last(model, SettingKey::FletsIsdnDomain),
          "migration text settings");
    Check(context.LocalOnlyIsOk == On(model, SettingKey::LocalOnlyIsOk) &&
              context.KeepDomain == On(model, SettingKey::KeepDomain),
          "migration switches");
    Check(user.shown == 0, "reading settings shows no message");
    return 0;
}
