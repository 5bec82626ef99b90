// Applying an accepted number, modem and name-server change to the entry under examination.
#include "migrate/EntryChange.h"

#include <cstring>

#include "dialup/UserNameText.h"
#include "migrate/MigrationContext.h"
#include "migrate/MigrationMessages.h"
#include "newconn/DnsSettings.h"
#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

// What a change stores, checked whole before the record is touched.
struct StoredValues {
    const char* areaCode = nullptr;     // null: szAreaCode stays
    const char* localNumber = nullptr;  // null: no new number
    const char* modemName = nullptr;    // null: no new modem
};

}  // namespace

bool SplitNewNumber(const char* newNumber, NewNumberParts* parts) {
    if (parts == nullptr) {
        return false;
    }
    parts->areaCode[0] = '\0';
    parts->localNumber[0] = '\0';
    if (newNumber == nullptr || strlen(newNumber) >= sizeof(parts->localNumber)) {
        return false;
    }
    // A hyphen byte is never the second byte of a double-byte character.
    const char* hyphen = strchr(newNumber, '-');
    if (hyphen == nullptr) {
        CopyField(parts->localNumber, newNumber);
        return true;
    }
    CopyTextN(parts->areaCode, sizeof(parts->areaCode), newNumber,
              static_cast<size_t>(hyphen - newNumber));
    CopyField(parts->localNumber, hyphen[1] != '\0' ? hyphen + 1 : "-");
    return true;
}

unsigned CheckNewNumber(const char* newNumber) {
    return newNumber == nullptr || newNumber[0] == '\0' ? IDS_NO_ACCESS_POINT : 0;
}

unsigned CheckAcceptedUserName(const AccessPointChangeFields& fields) {
    if (fields.editUserName == 0) {
        return 0;
    }
    return UserNameProblem(fields.userName, fields.addsDomain ? fields.domain : nullptr);
}

unsigned CheckAcceptedUserName(const UserNameChangeFields& fields) {
    return UserNameProblem(fields.newUserName, fields.newDomain);
}

void KeepDigitsOnly(char* text) {
    if (text == nullptr) {
        return;
    }
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (*in >= '0' && *in <= '9') {
            *out++ = *in;
        }
    }
    *out = '\0';
}

namespace {

// Where a new number and modem go in `entry`: false when one of them does not fit its
// field (after the NT family's reduction of the area code to digits). Never cut: a
// shortened number dials somebody else.
bool PlanEntryChange(const RASENTRYA& entry, const char* newNumber, const char* newModem,
                     OsClass osClass, NewNumberParts* parts, StoredValues* values) {
    bool fits = true;
    if (newNumber != nullptr) {
        if ((entry.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0) {
            fits = SplitNewNumber(newNumber, parts);
            if (IsNtFamily(osClass)) {
                KeepDigitsOnly(parts->areaCode);
            }
            fits = fits && strlen(parts->areaCode) <= RAS_MaxAreaCode;
            values->areaCode = parts->areaCode;
            values->localNumber = parts->localNumber;
        } else {
            values->localNumber = newNumber;
        }
        fits = fits && strlen(values->localNumber) <= RAS_MaxPhoneNumber;
    }
    if (newModem != nullptr) {
        fits = fits && strlen(newModem) <= RAS_MaxDeviceName;
        values->modemName = newModem;
    }
    return fits;
}

}  // namespace

bool MigrationContext::FitsEntry(const char* newNumber, const char* newModem) const {
    const RASENTRYA* entry = entry_.Entry();
    if (entry == nullptr) {
        return false;
    }
    NewNumberParts parts{};
    StoredValues values;
    return PlanEntryChange(*entry, newNumber, newModem, osClass_, &parts, &values);
}

void MigrationContext::ChangeFields(const char* newNumber, const char* newModem, bool applyDns,
                                    RASENTRYA* entry) const {
    NewNumberParts parts{};
    StoredValues values;
    PlanEntryChange(*entry, newNumber, newModem, osClass_, &parts, &values);
    if (values.areaCode != nullptr) {
        CopyField(entry->szAreaCode, values.areaCode);
    }
    if (values.localNumber != nullptr) {
        CopyField(entry->szLocalPhoneNumber, values.localNumber);
    }
    if (values.modemName != nullptr) {
        CopyField(entry->szDeviceName, values.modemName);
    }
    if (applyDns) {
        ApplyNameServers(dns_, entry);
    }
}

bool MigrationContext::ApplyEntryChange(const char* entryName, const char* newNumber,
                                        const char* newModem, bool applyDns) {
    RASENTRYA* entry = EntryProperties();
    if (entryName == nullptr || entry == nullptr) {
        return false;
    }
    if (newNumber == nullptr && newModem == nullptr) {
        return true;
    }

    if (!FitsEntry(newNumber, newModem)) {
        user_.ShowProgramMessage(Message{IDS_NEW_NUMBER_TOO_LONG}, MessageIcon::Warning);
        ReleaseEntryProperties();
        return false;
    }
    ChangeFields(newNumber, newModem, applyDns, entry);

    const RasDword result = WriteEntryRecord(api_, entryName, entry_);
    lastWriteError_ = result;
    // A refusal for lack of rights is told once for all such entries, at the end of the run.
    if (result != 0 && result != ERROR_ACCESS_DENIED_) {
        user_.ShowProgramMessage(ChangeFailureMessage(result), MessageIcon::Warning);
    }
    ReleaseEntryProperties();
    return result == 0;
}
