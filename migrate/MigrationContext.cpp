// Migration context: settings, tables and searches of one run.
#include "migrate/MigrationContext.h"

#include "settings/ByteText.h"
#include "settings/DataFiles.h"
#include "settings/KeyValueLine.h"

namespace {

struct TextSetting {
    SettingKey key;
    char (MigrationContext::*member)[kMigrationTextSize];
};

const TextSetting kTextSettings[] = {
    {SettingKey::DefaultTelNumber, &MigrationContext::DefaultTelNumber},
    {SettingKey::DefaultMobileNumber, &MigrationContext::DefaultMobileNumber},
    {SettingKey::DefaultFletsIsdnNumber, &MigrationContext::DefaultFletsIsdnNumber},
    {SettingKey::OldDomain, &MigrationContext::OldDomain},
    {SettingKey::OldDialupDomain, &MigrationContext::OldDialupDomain},
    {SettingKey::OldMobileDomain, &MigrationContext::OldMobileDomain},
    {SettingKey::OldAirHDomain, &MigrationContext::OldAirHDomain},
    {SettingKey::DialupDomain, &MigrationContext::DialupDomain},
    {SettingKey::MobileDomain, &MigrationContext::MobileDomain},
    {SettingKey::FletsIsdnDomain, &MigrationContext::FletsIsdnDomain},
    {SettingKey::AirHDomain, &MigrationContext::AirHDomain},
    {SettingKey::UserPrefix, &MigrationContext::UserPrefix},
};

}  // namespace

MigrationContext::MigrationContext(const DataFiles& files) : files_(files) {}

MigrationContext::~MigrationContext() = default;

bool MigrationContext::LoadMigrationSettings() {
    return ReadIspSettings(files_, kIspLineCapacity, [this](SettingKey key, const char* value) {
        if (key == SettingKey::LocalOnlyIsOk || key == SettingKey::KeepDomain) {
            if (IsOnValue(value)) {
                (key == SettingKey::LocalOnlyIsOk ? LocalOnlyIsOk : KeepDomain) = true;
            }
            return;
        }
        for (const TextSetting& setting : kTextSettings) {
            if (setting.key == key) {
                CopyField(this->*setting.member, value);
                return;
            }
        }
    });
}

bool MigrationContext::LoadGeneralTable() {
    return ReadAccessPointTable(files_, kGeneralTableFile, &generalTable);
}

bool MigrationContext::LoadPhsTable() {
    return ReadAccessPointTable(files_, kPhsTableFile, &phsTable);
}

bool MigrationContext::LoadPairTable() {
    return ReadPairTable(files_, &pairTable);
}

bool MigrationContext::FindInGeneralTable(const char* areaCode, const char* localNumber,
                                          bool localOnlyIsOk, AccessPointHit* hit) const {
    return FindAccessPoint(generalTable, areaCode, localNumber, localOnlyIsOk, hit);
}

bool MigrationContext::FindInPhsTable(const char* areaCode, const char* localNumber,
                                      bool localOnlyIsOk, AccessPointHit* hit) const {
    return FindAccessPoint(phsTable, areaCode, localNumber, localOnlyIsOk, hit);
}

bool MigrationContext::FindInPairTable(const char* areaCode, const char* localNumber,
                                       bool localOnlyIsOk, AccessPointHit* hit) const {
    return FindPairAccessPoint(pairTable, areaCode, localNumber, localOnlyIsOk, hit);
}
