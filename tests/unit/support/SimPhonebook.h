// The substitute phonebook for one test: points RASSIM_PHONEBOOK at phonebook.ini and
// RASSIM_REGISTRY at registry.ini in a scratch folder, clears RASSIM_FAIL and the library's
// call counts, and restores the variables at the end.
#pragma once

#include <cstdlib>
#include <string>

#include "dialup/DialupApi.h"
#include "dialup/OsClass.h"
#include "support/TempFolder.h"

class SimPhonebook {
public:
    SimPhonebook();
    ~SimPhonebook();
    SimPhonebook(const SimPhonebook&) = delete;
    SimPhonebook& operator=(const SimPhonebook&) = delete;

    // The binding table over the substitute library (SimDialupApi).
    const DialupApi& api() const { return api_; }
    const TempFolder& folder() const { return folder_; }
    std::string path() const { return folder_.PathTo(kFileName); }

    // The file's bytes, exactly as stored (code page 932, CRLF).
    void WriteFile(const std::string& bytes) const { folder_.Write(kFileName, bytes); }
    std::string ReadFile() const { return folder_.Read(kFileName); }

    // Makes the library behave as a Windows of `osClass` (98, NT 4, 2000, 10) until the end
    // of the test.
    void ActAsWindowsOf(OsClass osClass) const;

    // Sets RASSIM_FAIL ("Operation:number,..."); null or "" clears it.
    void Fail(const char* list) const;

    // Writes an entry through the library: the default entry's properties with the given
    // modem and number (area code and the country/area option when `areaCode` is not empty),
    // then user name and password. Returns the first non-zero result, else 0.
    // Device settings "settings of <modem>" go with it; a password "" saves none.
    RasDword AddModemEntry(const char* name, const char* modemName, const char* areaCode,
                           const char* localNumber, const char* userName,
                           const char* password) const;

    // The password saved for the entry as the file holds it ("" when none or no such entry):
    // from Windows 2000 on the library itself only hands out a placeholder.
    std::string StoredPassword(const char* entry) const;

    static constexpr const char* kFileName = "phonebook.ini";
    static constexpr const char* kRegistryFileName = "registry.ini";

private:
    TempFolder folder_;
    DialupApi api_;
    std::string savedPath_;
    std::string savedFail_;
    std::string savedVersion_;
    std::string savedRegistry_;
    bool hadPath_;
    bool hadRegistry_;
    bool hadFail_;
    bool hadVersion_;
};

// Sets a variable of the substitute for one scope (null: unset), unset again at its end.
struct SimVariable {
    const char* name;
    SimVariable(const char* n, const char* value) : name(n) {
        value != nullptr ? setenv(n, value, 1) : unsetenv(n);
    }
    ~SimVariable() { unsetenv(name); }
};

// `file` with each password `typed` taken for the one `before` holds: on the NT family one typed
// in a run stays after a restore, the one before never being revealed. Null: none taken.
std::string ButTypedPassword(const std::string& file, const std::string& before, const char* typed);

// A record of our structure version with `number` and what XP and later require of a write.
RASENTRYA WritableEntry(const char* number);
