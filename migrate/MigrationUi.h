// The user's side of a migration run as the core sees it: the two confirmation dialogs
// and the progress window. The shell runs the real dialogs and sends the progress
// messages; tests answer and record.
#pragma once

#include <cstddef>

#include "dialup/RasTypes.h"

constexpr size_t kChangeFieldSize = RAS_MaxEntryName + 1;  // every text field, code page 932

// The access-point change dialog's fields. The dialog shows them and, when accepted,
// hands back newNumber, userName, password, modemName and the three flags as the user
// left them (texts read back hold at most 254 bytes).
struct AccessPointChangeFields {
    char entryName[kChangeFieldSize] = {};
    char oldNumber[kChangeFieldSize] = {};
    char newNumber[kChangeFieldSize] = {};
    char userName[kChangeFieldSize] = {};
    char domain[kChangeFieldSize] = {};
    char password[kChangeFieldSize] = {};
    char modemName[kChangeFieldSize] = {};
    int editUserName = 0;
    int editPassword = 0;
    int editModem = 0;
    bool addsDomain = true;  // false when the change keeps the whole name (KeepDomain)
};

// The user-name change dialog's fields; accepted, it hands back newUserName, password,
// modemName, editPassword and editModem.
struct UserNameChangeFields {
    char entryName[kChangeFieldSize] = {};
    char phoneNumber[kChangeFieldSize] = {};
    char oldUserName[kChangeFieldSize] = {};
    char newUserName[kChangeFieldSize] = {};
    char oldDomain[kChangeFieldSize] = {};
    char newDomain[kChangeFieldSize] = {};
    char password[kChangeFieldSize] = {};
    char modemName[kChangeFieldSize] = {};
    int editPassword = 0;
    int editModem = 0;
};

// The table whose old access point an entry dials; the first table with a hit decides.
enum class AccessPointTableKind { General, Phs, Pair };

// How far the rules got with one entry.
enum class ExaminationStop {
    Examined,               // read and classified; see the other fields of the report
    EntryGone,              // listed, yet 623: gone, or a damaged phonebook; noted as unread
    PropertiesUnreadable,   // probing or reading the properties failed otherwise
    OtherDeviceType,        // the device type is not "modem"
    CredentialsUnreadable,  // the user name and password cannot be read
    OtherUserPrefix,        // the user name does not start with UserPrefix
};

// What ExamineEntry concluded for one entry, told once per entry after its dialogs.
struct EntryExamination {
    const char* entryName = nullptr;
    ExaminationStop stop = ExaminationStop::EntryGone;
    RasDword error = 0;     // PropertiesUnreadable, CredentialsUnreadable: the read's number
    bool tableHit = false;  // a table has the entry's number ...
    AccessPointTableKind table = AccessPointTableKind::General;  // ... this one
    bool domainPassed = false;       // ... and the domain test let the proposal through
    bool fletsIsdnProposed = false;  // the Flets ISDN test passed: user-name proposal made
};

class MigrationUi {
public:
    virtual ~MigrationUi() = default;

    // Run the dialog modally; true when the user accepted ("変更する").
    virtual bool ConfirmAccessPointChange(AccessPointChangeFields& fields) = 0;
    virtual bool ConfirmUserNameChange(UserNameChangeFields& fields) = 0;

    // False when the run has no progress window: no progress is reported and the driver
    // shows the final message itself.
    virtual bool HasProgressWindow() const = 0;
    virtual void MigrationStart(unsigned entryCount) = 0;
    virtual void MigrationStep(unsigned index) = 0;
    virtual void MigrationEntry(const char* entryName) = 0;
    // The full bar, the empty status text and then the final message (FinalMigrationMessage
    // of the two counts, kNamedNotFound included); returns when the user has closed it.
    virtual void MigrationFinished(int changedCount, int foundCount) = 0;

    // Told after each examination, for tools that explain a run; the program ignores it.
    virtual void EntryExamined(const EntryExamination& /*examination*/) {}
};
