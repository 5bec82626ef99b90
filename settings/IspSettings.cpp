// Setting keys of ISP_INF.csv and the reading loop shared by its reading routines.
#include "settings/IspSettings.h"

#include "settings/ByteText.h"
#include "settings/DataFiles.h"
#include "settings/KeyValueLine.h"
#include "settings/ReadObserver.h"
#include "settings/SettingFileReader.h"

const SettingKeyInfo kSettingKeys[kSettingKeyCount] = {
    {SettingKey::CaptionStart, "CaptionStart", SettingForm::Text},
    {SettingKey::TitleStart, "TitleStart", SettingForm::Text},
    {SettingKey::TitleFontSize, "TitleFontSize", SettingForm::Number},
    {SettingKey::CaptionSetting, "CaptionSetting", SettingForm::Text},
    {SettingKey::DefaultEntryName, "DefaultEntryName", SettingForm::Text},
    {SettingKey::DefaultTelNumber, "DefaultTelNumber", SettingForm::TelephoneNumber},
    {SettingKey::DialupDomain, "DialupDomain", SettingForm::Domain},
    {SettingKey::SetDnsIpAddress, "SetDnsIpAddress", SettingForm::OnOff},
    {SettingKey::Dns1, "Dns1", SettingForm::Address},
    {SettingKey::Dns2, "Dns2", SettingForm::Address},
    {SettingKey::DefaultMobileNumber, "DefaultMobileNumber", SettingForm::TelephoneNumber},
    {SettingKey::DefaultFletsIsdnNumber, "DefaultFletsIsdnNumber", SettingForm::TelephoneNumber},
    {SettingKey::OldDomain, "OldDomain", SettingForm::Domain},
    {SettingKey::OldDialupDomain, "OldDialupDomain", SettingForm::Domain},
    {SettingKey::OldMobileDomain, "OldMobileDomain", SettingForm::Domain},
    {SettingKey::OldAirHDomain, "OldAirHDomain", SettingForm::Domain},
    {SettingKey::MobileDomain, "MobileDomain", SettingForm::Domain},
    {SettingKey::AirHDomain, "AirHDomain", SettingForm::Domain},
    {SettingKey::FletsIsdnDomain, "FletsIsdnDomain", SettingForm::Domain},
    {SettingKey::UserPrefix, "UserPrefix", SettingForm::Text},
    {SettingKey::LocalOnlyIsOk, "LocalOnlyIsOk", SettingForm::OnOff},
    {SettingKey::KeepDomain, "KeepDomain", SettingForm::OnOff},
};

const SettingKeyInfo* FindSettingKey(const char* name) {
    for (const SettingKeyInfo& info : kSettingKeys) {
        if (EqualsNoCase(info.name, name)) {
            return &info;
        }
    }
    return nullptr;
}

bool ForEachIspSetting(const DataFiles& files, size_t capacity, SettingVisitor visit,
                       void* context) {
    return ReadDataFileLines(files, kIspSettingsFile, capacity, [&](const char* line) {
        LineObservation seen;
        KeyValueLine kv;
        const SettingKeyInfo* info = nullptr;
        if (SplitKeyValue(line, &kv, &seen.verdict)) {
            info = FindSettingKey(kv.key);
            if (info == nullptr) {
                seen.verdict = LineVerdict::UnknownKey;
            } else {
                seen.key = info->key;
                seen.value = kv.value;
            }
        }
        TellObserver(files, seen);
        if (info != nullptr) {
            visit(context, info->key, kv.value);
        }
    });
}
