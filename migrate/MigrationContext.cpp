// Migration context: settings, tables, searches and the records of the entry under
// examination.
#include "migrate/MigrationContext.h"

#include <cstring>

#include "dialup/PhonebookEntries.h"
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
    ReadDnsSettings(files_, &dns_);
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

RasDword MigrationContext::ReadEntryProperties(const char* entryName, const char* phonebook) {
    return ReadEntryRecord(api_, osClass_, phonebook, entryName, &entry_);
}

RasDword MigrationContext::ReadCredentials(const char* entryName, const char* phonebook,
                                           char (&userName)[kUserNameSize],
                                           char (&password)[kPasswordSize]) {
    userName[0] = '\0';
    password[0] = '\0';
    ReleaseCredentials();
    if (entryName == nullptr) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    const char* book = PhonebookArgument(phonebook);
    RasDword result = kMissingOperation;
    const char* readName = nullptr;
    const char* readPassword = nullptr;
    size_t nameSize = 0;
    size_t passwordSize = 0;
    if (IsNtFamily(osClass_)) {
        credentials_.reset(new RASCREDENTIALSA{});
        bool defaults = false;
        result = ReadEntryCredentials(api_, book, entryName, RASCM_UserName | RASCM_Password,
                                      credentials_.get(), &defaults);
        defaultCredentials_ = defaults;
        // XP and later clear RASCM_Password when no password is saved; 2000 leaves it.
        reportedMask_ = credentials_->dwMask & (RASCM_UserName | RASCM_Password);
        readName = credentials_->szUserName;
        readPassword = credentials_->szPassword;
        nameSize = sizeof(credentials_->szUserName);
        passwordSize = sizeof(credentials_->szPassword);
    } else {
        dialParams_.reset(new RASDIALPARAMSA{});
        bool saved = false;
        result = ReadDialParams(api_, book, entryName, dialParams_.get(), &saved);
        dialPasswordSaved_ = saved;
        readName = dialParams_->szUserName;
        readPassword = dialParams_->szPassword;
        nameSize = sizeof(dialParams_->szUserName);
        passwordSize = sizeof(dialParams_->szPassword);
    }
    if (result != 0) {
        ReleaseCredentials();
        return result;
    }
    credentialsPhonebook_ = book != nullptr ? book : "";
    CopyTextN(userName, sizeof(userName), readName, strnlen(readName, nameSize));
    CopyTextN(password, sizeof(password), readPassword, strnlen(readPassword, passwordSize));
    return 0;
}

RASENTRYA* MigrationContext::EntryProperties() {
    return entry_.Entry();
}

void MigrationContext::ReleaseEntryProperties() {
    entry_.Release();
}

void MigrationContext::ReleaseCredentials() {
    dialParams_.reset();
    credentials_.reset();
    reportedMask_ = 0;
    defaultCredentials_ = false;
    dialPasswordSaved_ = false;
    credentialsPhonebook_.clear();
}
