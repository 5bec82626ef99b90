#include "support/SimPhonebook.h"

#include <cstdlib>
#include <cstring>

#include "settings/ByteText.h"
#include "sim/PhonebookFile.h"
#include "sim/SimDialupApi.h"
#include "sim/SimRasApi.h"

namespace {

const char kPathVariable[] = "RASSIM_PHONEBOOK";
const char kFailVariable[] = "RASSIM_FAIL";
const char kVersionVariable[] = "RASSIM_WINVER";
const char kRegistryVariable[] = "RASSIM_REGISTRY";

bool Save(const char* name, std::string* value) {
    const char* text = getenv(name);
    if (text == nullptr) {
        return false;
    }
    *value = text;
    return true;
}

void Restore(const char* name, bool had, const std::string& value) {
    if (had) {
        setenv(name, value.c_str(), 1);
    } else {
        unsetenv(name);
    }
}

}  // namespace

SimPhonebook::SimPhonebook() : api_(SimDialupApi()) {
    hadPath_ = Save(kPathVariable, &savedPath_);
    hadFail_ = Save(kFailVariable, &savedFail_);
    hadVersion_ = Save(kVersionVariable, &savedVersion_);
    hadRegistry_ = Save(kRegistryVariable, &savedRegistry_);
    setenv(kPathVariable, path().c_str(), 1);
    setenv(kRegistryVariable, folder_.PathTo(kRegistryFileName).c_str(), 1);
    unsetenv(kFailVariable);
    ResetSimCallRecord(false);
}

SimPhonebook::~SimPhonebook() {
    Restore(kPathVariable, hadPath_, savedPath_);
    Restore(kFailVariable, hadFail_, savedFail_);
    Restore(kVersionVariable, hadVersion_, savedVersion_);
    Restore(kRegistryVariable, hadRegistry_, savedRegistry_);
}

void SimPhonebook::ActAsWindowsOf(OsClass osClass) const {
    // The newest Windows of each class, so that each class meets its strictest rules.
    const char* version = osClass <= 6 ? "98" : osClass == 7 ? "nt4" : osClass == 8 ? "2000" : "10";
    setenv(kVersionVariable, version, 1);
}

RASENTRYA WritableEntry(const char* number) {
    RASENTRYA entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    CopyField(entry.szLocalPhoneNumber, number);
    CopyField(entry.szDeviceType, "modem");
    CopyField(entry.szDeviceName, "M");
    entry.dwFramingProtocol = RASFP_Ppp;
    entry.dwType = 1;  // RASET_Phone
    return entry;
}

std::string ButTypedPassword(const std::string& file, const std::string& before,
                             const char* typed) {
    SimPhonebookFile book = ParsePhonebook(file.data(), file.size());
    SimPhonebookFile old = ParsePhonebook(before.data(), before.size());
    for (SimEntry& entry : book.entries) {
        const SimEntry* was = FindSimEntry(&old, entry.name);
        if (was != nullptr && typed != nullptr && strcmp(entry.password, typed) == 0) {
            CopyField(entry.password, was->password);
        }
    }
    return FormatPhonebook(book);
}

std::string SimPhonebook::StoredPassword(const char* entry) const {
    const std::string bytes = ReadFile();
    SimPhonebookFile book = ParsePhonebook(bytes.data(), bytes.size());
    const SimEntry* stored = FindSimEntry(&book, entry);
    return stored != nullptr ? stored->password : "";
}

void SimPhonebook::Fail(const char* list) const {
    if (list == nullptr || list[0] == '\0') {
        unsetenv(kFailVariable);
    } else {
        setenv(kFailVariable, list, 1);
    }
}

RasDword SimPhonebook::AddModemEntry(const char* name, const char* modemName, const char* areaCode,
                                     const char* localNumber, const char* userName,
                                     const char* password) const {
    // The structure version the library speaks, as far as our record reaches.
    RasDword size = 0;
    RasDword result = api_.RasGetEntryPropertiesA(nullptr, "", nullptr, &size, nullptr, nullptr);
    if (result != ERROR_BUFFER_TOO_SMALL) {
        return result;
    }
    RASENTRYA entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = size < sizeof entry ? size : static_cast<RasDword>(sizeof entry);
    size = sizeof entry;
    result = api_.RasGetEntryPropertiesA(nullptr, "", &entry, &size, nullptr, nullptr);
    if (result != 0) {
        return result;
    }
    CopyField(entry.szDeviceType, "modem");
    CopyField(entry.szDeviceName, modemName);
    CopyField(entry.szAreaCode, areaCode);
    CopyField(entry.szLocalPhoneNumber, localNumber);
    if (areaCode != nullptr && areaCode[0] != '\0') {
        entry.dwfOptions |= RASEO_UseCountryAndAreaCodes;
        entry.dwCountryID = 81;
        entry.dwCountryCode = 81;
    }
    std::string settings = std::string("settings of ") + modemName;  // what 9x keeps
    result = api_.RasSetEntryPropertiesA(nullptr, name, &entry, entry.dwSize,
                                         reinterpret_cast<unsigned char*>(&settings[0]),
                                         static_cast<RasDword>(settings.size()));
    if (result != 0) {
        return result;
    }
    RASDIALPARAMSA params;
    memset(&params, 0, sizeof params);
    params.dwSize = sizeof params;
    CopyField(params.szEntryName, name);
    CopyField(params.szUserName, userName);
    CopyField(params.szPassword, password);
    return api_.RasSetEntryDialParamsA(nullptr, &params, password[0] == '\0' ? 1 : 0);
}
