// Migration context: settings, tables, searches and the records of the entry under
// examination.
#include "migrate/MigrationContext.h"

#include <cstring>

#include "newconn/EntryCreation.h"
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

MigrationContext::MigrationContext(const DataFiles& files, const DialupApi& api, UserSide& user,
                                   MigrationUi& ui, OsClass osClass)
    : files_(files), api_(api), user_(user), ui_(ui), osClass_(osClass) {}

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
    const bool present = ReadAccessPointTable(files_, kGeneralTableFile, &generalTable);
    generalIndex_.Build(generalTable);
    return present;
}

bool MigrationContext::LoadPhsTable() {
    const bool present = ReadAccessPointTable(files_, kPhsTableFile, &phsTable);
    phsIndex_.Build(phsTable);
    return present;
}

bool MigrationContext::LoadPairTable() {
    const bool present = ReadPairTable(files_, &pairTable);
    pairIndex_.Build(pairTable);
    return present;
}

bool MigrationContext::FindInGeneralTable(const char* areaCode, const char* localNumber,
                                          bool localOnlyIsOk, AccessPointHit* hit) const {
    return generalIndex_.Find(areaCode, localNumber, localOnlyIsOk, hit);
}

bool MigrationContext::FindInPhsTable(const char* areaCode, const char* localNumber,
                                      bool localOnlyIsOk, AccessPointHit* hit) const {
    return phsIndex_.Find(areaCode, localNumber, localOnlyIsOk, hit);
}

bool MigrationContext::FindInPairTable(const char* areaCode, const char* localNumber,
                                       bool localOnlyIsOk, AccessPointHit* hit) const {
    return pairIndex_.Find(areaCode, localNumber, localOnlyIsOk, hit);
}

EntryRead MigrationContext::ReadEntryProperties(const char* entryName) {
    if (entryName == nullptr || api_.RasGetEntryPropertiesA == nullptr) {
        return EntryRead::Missing;
    }
    RasDword size = 0;
    const RasDword probe =
        api_.RasGetEntryPropertiesA(nullptr, entryName, nullptr, &size, nullptr, nullptr);
    if (probe == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
        return EntryRead::Missing;
    }
    if (probe != ERROR_BUFFER_TOO_SMALL || size == 0 || size > kMaxEntrySize) {
        return EntryRead::Unusable;
    }
    ReleaseEntryProperties();
    // Never smaller than the record, so that every field can be read whatever was probed.
    const size_t records = (static_cast<size_t>(size) + sizeof(RASENTRYA) - 1) / sizeof(RASENTRYA);
    entryProperties_.assign(records < 1 ? 1 : records, RASENTRYA{});
    RASENTRYA* entry = entryProperties_.data();
    entry->dwSize = size;
    RasDword stated = size;
    api_.RasGetEntryPropertiesA(nullptr, entryName, entry, &stated, nullptr, nullptr);
    // The save states dwSize; it must describe this buffer, whatever the read left there.
    entry->dwSize = size;
    return EntryRead::Read;
}

bool MigrationContext::ReadCredentials(const char* entryName, char (&userName)[kUserNameSize],
                                       char (&password)[kPasswordSize]) {
    userName[0] = '\0';
    password[0] = '\0';
    if (entryName == nullptr) {
        return false;
    }
    if (IsNtFamily(osClass_)) {
        credentials_.reset(new RASCREDENTIALSA{});
        credentials_->dwSize = kRasCredentialsSize;
        credentials_->dwMask = RASCM_UserName | RASCM_Password;
        if (api_.RasGetCredentialsA == nullptr ||
            api_.RasGetCredentialsA(nullptr, entryName, credentials_.get()) != 0) {
            credentials_.reset();
            return false;
        }
        CopyTextN(userName, sizeof(userName), credentials_->szUserName,
                  strnlen(credentials_->szUserName, sizeof(credentials_->szUserName)));
        CopyTextN(password, sizeof(password), credentials_->szPassword,
                  strnlen(credentials_->szPassword, sizeof(credentials_->szPassword)));
        return true;
    }
    dialParams_.reset(new RASDIALPARAMSA{});
    dialParams_->dwSize = kRasDialParamsSize;
    CopyField(dialParams_->szEntryName, entryName);
    RasBool hasPassword = 1;
    if (api_.RasGetEntryDialParamsA == nullptr ||
        api_.RasGetEntryDialParamsA(nullptr, dialParams_.get(), &hasPassword) != 0) {
        dialParams_.reset();
        return false;
    }
    CopyTextN(userName, sizeof(userName), dialParams_->szUserName,
              strnlen(dialParams_->szUserName, sizeof(dialParams_->szUserName)));
    CopyTextN(password, sizeof(password), dialParams_->szPassword,
              strnlen(dialParams_->szPassword, sizeof(dialParams_->szPassword)));
    return true;
}

RASENTRYA* MigrationContext::EntryProperties() {
    return entryProperties_.empty() ? nullptr : entryProperties_.data();
}

void MigrationContext::ReleaseEntryProperties() {
    std::vector<RASENTRYA>().swap(entryProperties_);
}

void MigrationContext::ReleaseCredentials() {
    dialParams_.reset();
    credentials_.reset();
}
