// A migration run against the substitute phonebook: a user who answers each proposal as
// told (and may edit the dialog's fields first), records what every dialog showed and the
// progress calls in order, plus helpers to put entries into the phonebook and read them back.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "migrate/MigrationContext.h"
#include "migrate/MigrationUi.h"
#include "settings/ByteText.h"
#include "support/RecordingUserSide.h"
#include "support/SimPhonebook.h"

class FakeMigrationUi : public MigrationUi {
public:
    bool ConfirmAccessPointChange(AccessPointChangeFields& fields) override {
        accessPointShown.push_back(fields);
        calls.push_back(std::string("access point ") + fields.entryName);
        if (editAccessPoint) {
            editAccessPoint(fields);
        }
        return NextAnswer();
    }
    bool ConfirmUserNameChange(UserNameChangeFields& fields) override {
        userNameShown.push_back(fields);
        calls.push_back(std::string("user name ") + fields.entryName);
        if (editUserName) {
            editUserName(fields);
        }
        return NextAnswer();
    }
    bool HasProgressWindow() const override { return progressWindow; }
    void MigrationStart(unsigned entryCount) override {
        calls.push_back("start " + std::to_string(entryCount));
    }
    void MigrationStep(unsigned index) override {
        calls.push_back("step " + std::to_string(index));
    }
    void MigrationEntry(const char* entryName) override {
        calls.push_back(std::string("entry ") + entryName);
        if (onEntry) {
            onEntry(entryName);
        }
    }
    void MigrationFinished(int changedCount, int foundCount) override {
        calls.push_back("finished " + std::to_string(changedCount) + " " +
                        std::to_string(foundCount));
    }
    void EntryExamined(const EntryExamination& examination) override {
        examined.push_back(examination);
    }

    // Answers in order of the proposals; `otherAnswers` once they run out.
    std::vector<bool> answers;
    bool otherAnswers = false;
    std::function<void(AccessPointChangeFields&)> editAccessPoint;
    std::function<void(UserNameChangeFields&)> editUserName;
    std::function<void(const char*)> onEntry;
    bool progressWindow = true;

    std::vector<AccessPointChangeFields> accessPointShown;
    std::vector<UserNameChangeFields> userNameShown;
    std::vector<EntryExamination> examined;
    std::vector<std::string> calls;

private:
    bool NextAnswer() { return next_ < answers.size() ? answers[next_++] : otherAnswers; }
    size_t next_ = 0;
};

// What the phonebook holds for one entry.
struct StoredEntry {
    RASENTRYA properties;
    std::string userName;
    std::string password;  // as stored, not as the NT family reports it
};

class MigrationHarness {
public:
    // The scratch folder holds both the phonebook file and the provider files.
    const TempFolder& folder() const { return sim.folder(); }
    const DialupApi& api() const { return sim.api(); }

    void WriteSettings(const std::string& text) const { folder().Write("ISP_INF.csv", text); }

    // The provider kit of these tests; `extra` lines follow the settings (a later text line
    // wins). UserPrefix and OldDialupDomain are left to `extra`, since an empty value
    // cannot be written.
    //   APGEN.csv: 03 / 12345678 and 1111492; APPHS.csv: 070 / 11112222 and 1111492;
    //   APAIR.csv: 06-9999-0000 -> 0120-99-0000.
    void WriteProviderKit(const std::string& extra) const {
        WriteSettings(
            "DefaultTelNumber,0120-11-1111\r\n"
            "DefaultMobileNumber,0570-22-2222\r\n"
            "DefaultFletsIsdnNumber,1492\r\n"
            "OldDomain,@old.example\r\n"
            "MobileDomain,@mobile.example\r\n"
            "FletsIsdnDomain,@isdn.example\r\n"
            "AirHDomain,@air.example\r\n" +
            extra);
        folder().Write("APGEN.csv", "\x93\x8c\x8b\x9e,03-1234-5678\r\n1111492\r\n");
        folder().Write("APPHS.csv", "070-1111-2222\r\n1111492\r\n");
        folder().Write("APAIR.csv", "06-9999-0000,0120-99-0000\r\n");
    }

    // A context with the kit's settings and tables loaded, as the driver loads them.
    std::unique_ptr<MigrationContext> LoadedContext(OsClass osClass) {
        std::unique_ptr<MigrationContext> context = MakeContext(osClass);
        EXPECT_TRUE(context->LoadMigrationSettings());
        context->LoadGeneralTable();
        context->LoadPhsTable();
        context->LoadPairTable();
        return context;
    }

    // The substitute behaves as a Windows of `osClass` for the rest of the test.
    std::unique_ptr<MigrationContext> MakeContext(OsClass osClass) {
        sim.ActAsWindowsOf(osClass);
        return std::make_unique<MigrationContext>(folder(), api(), user, ui, osClass);
    }

    // A modem entry (area code and the country/area option when `areaCode` is not empty).
    void AddModemEntry(const char* name, const char* areaCode, const char* localNumber,
                       const char* userName, const char* password = "secret",
                       const char* modemName = "Standard 56000 bps Modem") const {
        ASSERT_EQ(sim.AddModemEntry(name, modemName, areaCode, localNumber, userName, password), 0u)
            << name;
    }

    // Changes fields of a stored entry through the library.
    void EditEntry(const char* name, const std::function<void(RASENTRYA&)>& edit) const {
        StoredEntry stored = Read(name);
        edit(stored.properties);
        ASSERT_EQ(api().RasSetEntryPropertiesA(nullptr, name, &stored.properties,
                                               stored.properties.dwSize, nullptr, 0),
                  0u);
    }

    StoredEntry Read(const char* name) const {
        StoredEntry stored;
        memset(&stored.properties, 0, sizeof(stored.properties));
        // The structure version of the Windows the library plays, as the program asks it.
        RasDword size = 0;
        api().RasGetEntryPropertiesA(nullptr, "", nullptr, &size, nullptr, nullptr);
        stored.properties.dwSize = size != 0 && size < sizeof(stored.properties)
                                       ? size
                                       : RasDword{sizeof(stored.properties)};
        size = sizeof(stored.properties);
        EXPECT_EQ(api().RasGetEntryPropertiesA(nullptr, name, &stored.properties, &size, nullptr,
                                               nullptr),
                  0u)
            << name;
        RASDIALPARAMSA params;
        memset(&params, 0, sizeof(params));
        params.dwSize = sizeof(params);
        CopyField(params.szEntryName, name);
        RasBool hasPassword = 0;
        EXPECT_EQ(api().RasGetEntryDialParamsA(nullptr, &params, &hasPassword), 0u) << name;
        stored.userName = params.szUserName;
        stored.password = sim.StoredPassword(name);
        return stored;
    }

    SimPhonebook sim;
    RecordingUserSide user;
    FakeMigrationUi ui;
};
