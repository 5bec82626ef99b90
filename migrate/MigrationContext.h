// The object of one access-point migration run: the provider's migration settings from
// ISP_INF.csv, the three access-point tables, the counts of the run, the records of the
// entry under examination, and the operations of the run: the driver, the rules for one
// entry, and the write-back of accepted changes. Everything starts empty or off and is
// filled by the four load operations at the start of the run; nothing survives from one
// run to the next.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "dialup/DialupApi.h"
#include "dialup/EntryRecord.h"
#include "dialup/OsClass.h"
#include "migrate/AccessPointIndex.h"
#include "migrate/MigrationMessages.h"
#include "migrate/MigrationUi.h"
#include "migrate/NumberMatching.h"
#include "newconn/DnsSettings.h"
#include "settings/AccessPointTables.h"
#include "settings/ByteText.h"
#include "settings/IspSettings.h"
#include "settings/PairTable.h"
#include "ui/UserSide.h"

class Journal;

class DataFiles;

// A text setting holds a whole value of a 512-byte line.
constexpr size_t kMigrationTextSize = kIspLineCapacity;

// Text sizes of the entry under examination (terminator included).
constexpr size_t kEntryNameSize = RAS_MaxEntryName + 1;
constexpr size_t kUserNameSize = UNLEN + 1;
constexpr size_t kPasswordSize = PWLEN + 1;

// Releases a record that may hold a password, wiping it first.
template <typename Record>
struct WipingDelete {
    void operator()(Record* record) const {
        WipeBytes(record, sizeof(Record));
        delete record;
    }
};

class MigrationContext {
public:
    // `files` is the program directory the provider files are read from; `api` the bound
    // dial-up operations; `user` shows the run's message boxes; `ui` runs the confirmation
    // dialogs and receives the progress; `osClass` chooses credentials (above 6) or dial
    // parameters, and the area-code reduction of a new number. All must outlive the context.
    MigrationContext(const DataFiles& files, const DialupApi& api, UserSide& user, MigrationUi& ui,
                     OsClass osClass);
    ~MigrationContext();
    MigrationContext(const MigrationContext&) = delete;
    MigrationContext& operator=(const MigrationContext&) = delete;

    // The whole run: settings and tables; where the all-users phonebook is not the user's to
    // change, IDS_ENTRIES_NEED_ADMINISTRATOR naming its entries that an access-point change
    // would be proposed for (warning); every phonebook entry in enumeration order handed to
    // ExamineEntry (with the phonebook it was listed in) with its progress; then, when some
    // entries could not be examined, IDS_ENTRIES_NOT_EXAMINED naming each with its error
    // number (warning); when some accepted changes were refused for lack of rights,
    // IDS_ENTRIES_NEED_ADMINISTRATOR naming those entries not named before (warning); then
    // the final message (by the progress window when there is one).
    // Returns 1 when ISP_INF.csv is missing (IDS_NO_ISP_SETTINGS) or the phonebook has no
    // entries (IDS_NO_DIALUP_ENTRIES), 0 when listing the phonebook failed
    // (IDS_PHONEBOOK_READ_FAILED), otherwise the result of ExamineEntry for the last entry.
    // Its own messages go to the application's message box (Dialnest).
    int RunMigration();

    // Reads the fourteen migration keys of ISP_INF.csv, and the name-server settings that
    // every change of the run applies (read once, so that all changes agree). A text key
    // present in the file replaces its member (the last line wins); LocalOnlyIsOk and
    // KeepDomain switch on for a value of TRUE in any case and are never switched off. False
    // only when ISP_INF.csv does not exist (nothing is changed); true also for a file that
    // cannot be opened.
    bool LoadMigrationSettings();

    // Each empties its table, then reads APGEN.csv, APPHS.csv or APAIR.csv and indexes it for
    // the searches. False when the file does not exist (the table stays empty); the run
    // treats that as an empty table.
    bool LoadGeneralTable();
    bool LoadPhsTable();
    bool LoadPairTable();

    // The searches of an entry's number: `areaCode` is empty when the entry has none.
    // True on the first hit, in file order for the two lists and in visiting order for the
    // pair table; `hit` then holds what the entry dials around the old access point (and
    // for the pair table the new number). False, with `hit` empty, on no hit. They search
    // the tables as their last load read them.
    bool FindInGeneralTable(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                            AccessPointHit* hit) const;
    bool FindInPhsTable(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                        AccessPointHit* hit) const;
    bool FindInPairTable(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                         AccessPointHit* hit) const;

    // Examines one entry (code page 932 name) of `phonebook` (null or "": the default
    // phonebook; every call for the entry goes there): reads its properties and user name,
    // finds an old access point or the Flets ISDN case, asks the user through `ui` and writes
    // what was accepted. Counts proposals in foundCount and acceptances in changedCount.
    // Every read is checked: an entry whose properties, credentials or dial parameters cannot
    // be read is counted nowhere and added to notExamined with the error, 623 included (the
    // entry was listed: it is gone, or its phonebook is damaged); so is an entry whose re-read
    // after an accepted change fails, and one whose accepted change finds it gone (623) just
    // before the write. Returns 0 when the entry cannot be examined or is not the
    // provider's modem entry (null name, entry gone, unreadable, device type other than "modem",
    // user name without UserPrefix), 1 in every other case. Shows no message of its own; the writes
    // show theirs (ApplyEntryChange). Tells `ui` what it concluded (EntryExamined), except for a
    // null name.
    int ExamineEntry(const char* entryName, const char* phonebook = nullptr);

    // True when UserPrefix is empty or `userName` starts with it, byte for byte.
    bool HasUserPrefix(const char* userName) const;

    // True when DefaultFletsIsdnNumber is set and the entry's area code and local number,
    // joined without separator, end with it (MatchNumberTail).
    bool IsFletsIsdnNumber(const char* areaCode, const char* localNumber) const;

    // Writes the user name and, when given and different from `storedPassword`, the
    // password back into the record read for the entry, then releases (wipes) the record.
    // At OsClass 6 or less the dial-parameter record: an empty new password removes the
    // saved one, and an entry that had none is left with none (never a saved empty one).
    // Above 6 the credentials record: an empty new password keeps the saved one, and dwMask
    // is the mask the read reported, with RASCM_Password only when a password was reported
    // saved or a new one is written (so "no saved password" never becomes a saved empty
    // one). `newPassword` null means none. Nothing is written when the record is gone
    // or the operation is not bound. True when the phonebook accepted the write.
    bool SaveCredentials(const char* entryName, const char* newUserName, const char* newPassword,
                         const char* storedPassword);

    // Writes a new number and/or modem (null: none) into the entry properties held for
    // `entryName` and saves them whole (alternate numbers included) in the entry's phonebook;
    // with `applyDns` the name servers read with the settings go in too.
    // False, with nothing written and no message, when no name or no properties are held.
    // True at once, with nothing written, when neither number nor modem is given (the
    // properties stay held). A number or modem that does not fit its field (area code over
    // 10 bytes after the NT reduction to digits, stored number over 128, modem over 128) is
    // refused with IDS_NEW_NUMBER_TOO_LONG; a refused save shows its message by number
    // (ChangeFailureMessage), except a refusal for lack of rights (5), which the run tells at
    // its end. Both are program messages with the warning icon, and give false. The
    // properties are released once anything was attempted. True when saved.
    bool ApplyEntryChange(const char* entryName, const char* newNumber, const char* newModem,
                          bool applyDns);

    // Reads the entry's properties (ReadEntryRecord: structure, alternate numbers and
    // phonebook) in place of the ones held. 0, 623 for an entry that is not there, or the
    // failure's number; nothing is held but after 0.
    RasDword ReadEntryProperties(const char* entryName, const char* phonebook = nullptr);

    // Reads the entry's user name and password into a fresh record of the kind the
    // OsClass uses, replacing the one held, and copies both out (zero-terminated). 0, or the
    // phonebook's error number (120 without the operation; 13 for dial parameters that came
    // back unfilled, ReadDialParams) with the record released and both texts empty.
    RasDword ReadCredentials(const char* entryName, const char* phonebook,
                             char (&userName)[kUserNameSize], char (&password)[kPasswordSize]);

    // The properties record held for the entry under examination, or null.
    RASENTRYA* EntryProperties();
    bool HoldsCredentials() const { return dialParams_ != nullptr || credentials_ != nullptr; }
    void ReleaseEntryProperties();
    void ReleaseCredentials();
    // Says why an accepted proposal is not written, and lets go of the entry's records.
    void RefuseAccepted(const Message& refusal);

    // The journal each change is recorded in before its first write; null: none (a preview).
    Journal* journal = nullptr;
    // Whether the user may change entries of the all-users phonebook (false: a standard user
    // from 2000 on). Where not, their access-point changes, which write the entry, are not
    // proposed: the run names those entries (IDS_ENTRIES_NEED_ADMINISTRATOR) before its first
    // proposal, and counts them neither as found nor as changed.
    bool allUsersChangeable = true;

    AccessPointTable generalTable;              // APGEN.csv
    AccessPointTable phsTable;                  // APPHS.csv
    PairTable pairTable;                        // APAIR.csv
    int foundCount = 0;                         // proposals made to the user
    int changedCount = 0;                       // proposals the user accepted
    std::vector<NotExaminedEntry> notExamined;  // in the order met
    // Entries the user may not change for lack of rights (an all-users entry, a standard
    // user): named before the first proposal, or met when an accepted change was refused, of
    // which nothing was written. In the order met, each once.
    std::vector<std::string> needAdministrator;

    // Migration settings, named after their keys; code page 932 text as written in the file.
    bool KeepDomain = false;
    char DialupDomain[kMigrationTextSize] = {};
    char MobileDomain[kMigrationTextSize] = {};
    char FletsIsdnDomain[kMigrationTextSize] = {};
    char AirHDomain[kMigrationTextSize] = {};
    char OldDomain[kMigrationTextSize] = {};
    char OldDialupDomain[kMigrationTextSize] = {};
    char OldMobileDomain[kMigrationTextSize] = {};
    char OldAirHDomain[kMigrationTextSize] = {};
    char DefaultTelNumber[kMigrationTextSize] = {};
    char DefaultMobileNumber[kMigrationTextSize] = {};
    char DefaultFletsIsdnNumber[kMigrationTextSize] = {};
    char UserPrefix[kMigrationTextSize] = {};
    bool LocalOnlyIsOk = false;

private:
    struct EntryValues;
    using TableKind = AccessPointTableKind;

    // What an accepted proposal writes; null: not changed.
    struct AcceptedChange {
        const char* newUserName;
        const char* newPassword;
        const char* newNumber;
        const char* newModem;
    };

    // ExamineEntry for a named entry; `report` says how far it got.
    int ExamineEntry(const char* entryName, const char* phonebook, EntryExamination* report);

    // The first table whose old access points the entry dials (its kind and the hit), and
    // whether the entry's domain lets that table's change be proposed. False: no table.
    bool FindAccessPoint(const EntryValues& entry, TableKind* kind, AccessPointHit* hit) const;
    bool PassesDomainTest(const EntryValues& entry, TableKind kind) const;
    // Whether an access-point change would be proposed for the entry; it is read and let go,
    // nothing noted of it. False also when it cannot be read.
    bool ProposesAccessPoint(const char* entryName, const char* phonebook);

    // Reads the entry's properties and user name into `entry`, holding both records; any
    // stop other than Examined releases them. `error` is the failed read's number.
    ExaminationStop ReadEntryValues(const char* entryName, const char* phonebook,
                                    EntryValues* entry, RasDword* error);

    // Adds the entry to notExamined (once) when `stop` says it could not be read, or, as
    // EntryGone, when an accepted change found it gone just before its write.
    void NoteUnreadable(const char* entryName, ExaminationStop stop, RasDword error);

    // Each runs one dialog; true when the user accepted. An accepted change is counted in
    // changedCount only once every write of it succeeded.
    bool ProposeAccessPointChange(const EntryValues& entry, TableKind kind,
                                  const AccessPointHit& hit);
    bool PassesFletsIsdnTest(const EntryValues& entry) const;
    // The settings allow a user-name change at all (both domains set and different, and
    // DefaultFletsIsdnNumber set), whatever the entry.
    bool FletsIsdnChangeConfigured() const;
    void ProposeUserNameChange(const EntryValues& entry);

    // Writes an accepted change into the entry whose records are held: every check that can
    // refuse first, then the properties (ApplyEntryChange), then the user name and password.
    // When either write is refused, the properties are put back as read (unless they still
    // read so), and on the 9x family, which reveals the saved password, the dial parameters
    // too; when that fails, IDS_ENTRY_PARTLY_CHANGED names the entry. On the NT family a
    // refused user-name write whose new user name reads back as saved went in: the change
    // stands. Where nothing can tell whether it went in (a new password with the user name
    // unchanged), the entry stays as the change wrote it, not counted, and
    // IDS_ENTRY_PARTLY_CHANGED follows the failure.
    // True when the whole change is in the phonebook. An entry that has gone meanwhile is
    // left gone: false, no message; one that cannot be looked at before the write shows the
    // failure by number and is not written. Releases both records.
    bool WriteAcceptedChange(const EntryValues& entry, const AcceptedChange& change);

    // IDS_ENTRY_PARTLY_CHANGED for the entry (program warning).
    void ShowPartlyChanged(const char* entryName);
    // The new password of an accepted dialog (its box ticked when `edit`), or null: none.
    const char* NewPassword(int edit, const char* typed) const;
    // Adds the entry to needAdministrator (once).
    void NoteNeedsAdministrator(const char* entryName);
    // IDS_ENTRIES_NEED_ADMINISTRATOR naming the entries of needAdministrator from `from` on,
    // when there are any.
    void TellNeedAdministrator(size_t from);

    // The user-name write of SaveCredentials: the phonebook's result, or 120 when the record
    // is not held or the operation is not bound.
    RasDword WriteCredentials(const char* entryName, const char* newUserName,
                              const char* newPassword, const char* storedPassword);

    // Whether a new number (split and reduced as ApplyEntryChange stores it) and modem fit
    // the entry properties held.
    bool FitsEntry(const char* newNumber, const char* newModem) const;
    // Stores what ApplyEntryChange stores into `entry` (the change already known to fit).
    void ChangeFields(const char* newNumber, const char* newModem, bool applyDns,
                      RASENTRYA* entry) const;

    const DataFiles& files_;
    const DialupApi& api_;
    UserSide& user_;
    MigrationUi& ui_;
    OsClass osClass_;

    // The entry under examination: its properties (with its alternate numbers and
    // phonebook), and its dial parameters (9x family) or credentials (NT family) with the
    // credentials mask the read reported.
    EntryRecord entry_;
    std::unique_ptr<RASDIALPARAMSA, WipingDelete<RASDIALPARAMSA>> dialParams_;
    std::unique_ptr<RASCREDENTIALSA, WipingDelete<RASCREDENTIALSA>> credentials_;
    RasDword reportedMask_ = 0;
    // The user name is the all-users default every user starts from: it is changed there.
    bool defaultCredentials_ = false;
    RasDword lastWriteError_ = 0;  // of ApplyEntryChange's save
    // The entry under examination is not the user's to change and was named before the first
    // proposal: no access-point change is proposed for it.
    bool namedBefore_ = false;

    bool dialPasswordSaved_ = false;  // the dial parameters' read reported a saved password
    std::string credentialsPhonebook_;

    DnsSettings dns_;  // the provider's name servers, read with the settings

    AccessPointIndex generalIndex_;
    AccessPointIndex phsIndex_;
    AccessPointIndex pairIndex_;
};
