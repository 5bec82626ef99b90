// The rules for one phonebook entry: is it the provider's modem entry, does it dial an
// old access point or carry the old Flets ISDN domain, what is proposed, and what an
// accepted proposal writes back as user name and password.
#include <cstdio>
#include <cstring>
#include <string>

#include "dialup/PhonebookEntries.h"
#include "dialup/SavedPassword.h"
#include "dialup/UserNameText.h"
#include "journal/Journal.h"
#include "migrate/EntryChange.h"
#include "migrate/MigrationContext.h"
#include "migrate/MigrationMessages.h"
#include "res/resource.h"

// What one examination works with, copied out of the entry's records, each text bounded
// and zero-terminated (code page 932).
struct MigrationContext::EntryValues {
    const char* name = nullptr;
    const char* phonebook = nullptr;          // as listed; null: the default phonebook
    char areaCode[kAreaCodeSize] = {};        // empty when the entry does not use area codes
    char localNumber[kLocalNumberSize] = {};  // szLocalPhoneNumber
    char oldNumber[kAreaCodeSize + kLocalNumberSize] = {};  // as shown: "area-local" or local
    char userName[kUserNameSize] = {};                      // as read from the phonebook
    char userPart[kUserNameSize] = {};                      // before the first "@"
    char domainPart[kUserNameSize] = {};                    // from the first "@", or empty
    char password[kPasswordSize] = {};                      // the stored password
    char deviceName[RAS_MaxDeviceName + 1] = {};

    ~EntryValues() { WipeBytes(password, sizeof(password)); }
};

namespace {

// Copies a text field of a phonebook record, which need not hold its terminator.
template <size_t N, size_t M>
void CopyRecordText(char (&dst)[N], const char (&field)[M]) {
    CopyTextN(dst, N, field, strnlen(field, M));
}

template <size_t N>
void Terminate(char (&field)[N]) {
    field[N - 1] = '\0';
}

// The dialogs hand their fields back; whatever they did, every text ends inside its field.
void TerminateFields(AccessPointChangeFields& f) {
    Terminate(f.entryName);
    Terminate(f.oldNumber);
    Terminate(f.newNumber);
    Terminate(f.userName);
    Terminate(f.domain);
    Terminate(f.password);
    Terminate(f.modemName);
}

void TerminateFields(UserNameChangeFields& f) {
    Terminate(f.entryName);
    Terminate(f.phoneNumber);
    Terminate(f.oldUserName);
    Terminate(f.newUserName);
    Terminate(f.oldDomain);
    Terminate(f.newDomain);
    Terminate(f.password);
    Terminate(f.modemName);
}

// The first "@" character; a double-byte character whose second byte is 0x40 is not one.
const char* FindAtSign(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (IsLeadByte932(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            ++p;
        } else if (*p == '@') {
            return p;
        }
    }
    return nullptr;
}

// `userName` followed by `domain` (not twice); false, with `composed` empty, when over 256
// bytes.
bool ComposeUserName(const char* userName, const char* domain, char (&composed)[kUserNameSize]) {
    return JoinUserNameAndDomain(userName, domain, composed, sizeof(composed));
}

}  // namespace

int MigrationContext::ExamineEntry(const char* entryName, const char* phonebook) {
    if (entryName == nullptr) {
        return 0;
    }
    EntryExamination report;
    report.entryName = entryName;
    const int result = ExamineEntry(entryName, PhonebookArgument(phonebook), &report);
    ui_.EntryExamined(report);
    return result;
}

void MigrationContext::NoteUnreadable(const char* entryName, ExaminationStop stop, RasDword error) {
    // A listed entry that reads 623 may be gone, or its phonebook damaged: either way it was
    // not looked at, and the subscriber hears of it.
    const bool named = !notExamined.empty() && notExamined.back().name == entryName;
    if (!named &&
        (stop == ExaminationStop::PropertiesUnreadable ||
         stop == ExaminationStop::CredentialsUnreadable || stop == ExaminationStop::EntryGone)) {
        notExamined.push_back(NotExaminedEntry{entryName, error});
    }
}

int MigrationContext::ExamineEntry(const char* entryName, const char* phonebook,
                                   EntryExamination* report) {
    EntryValues entry;
    report->stop = ReadEntryValues(entryName, phonebook, &entry, &report->error);
    NoteUnreadable(entryName, report->stop, report->error);
    if (report->stop != ExaminationStop::Examined) {
        return 0;
    }

    AccessPointHit hit;
    report->tableHit = FindAccessPoint(entry, &report->table, &hit);
    bool accepted = false;
    if (report->tableHit) {
        report->domainPassed = PassesDomainTest(entry, report->table);
        // One the user may not change was named before the first proposal.
        if (report->domainPassed && !namedBefore_) {
            accepted = ProposeAccessPointChange(entry, report->table, hit);
        }
    }
    if (!accepted) {
        if (PassesFletsIsdnTest(entry)) {
            report->fletsIsdnProposed = true;
            ProposeUserNameChange(entry);
        }
    } else if (FletsIsdnChangeConfigured()) {
        // The Flets ISDN test is made again on the entry as the accepted change left it: a
        // new number or domain may no longer call for the user-name change, and the second
        // dialog then starts from what the first one wrote.
        EntryValues now;
        RasDword error = 0;
        const ExaminationStop reread = ReadEntryValues(entryName, phonebook, &now, &error);
        NoteUnreadable(entryName, reread, error);
        if (reread == ExaminationStop::Examined && PassesFletsIsdnTest(now)) {
            report->fletsIsdnProposed = true;
            ProposeUserNameChange(now);
        } else {
            ReleaseEntryProperties();
        }
    }
    // The properties stay for a later change; a password does not outlive the examination.
    ReleaseCredentials();
    return 1;
}

bool MigrationContext::FindAccessPoint(const EntryValues& entry, TableKind* kind,
                                       AccessPointHit* hit) const {
    // The first table with a hit decides the kind, even when its domain test then fails.
    const char* area = entry.areaCode;
    const char* local = entry.localNumber;
    if (FindInGeneralTable(area, local, LocalOnlyIsOk, hit)) {
        *kind = TableKind::General;
    } else if (FindInPhsTable(area, local, LocalOnlyIsOk, hit)) {
        *kind = TableKind::Phs;
    } else if (FindInPairTable(area, local, LocalOnlyIsOk, hit)) {
        *kind = TableKind::Pair;
    } else {
        return false;
    }
    return true;
}

bool MigrationContext::PassesDomainTest(const EntryValues& entry, TableKind kind) const {
    const char* required = kind == TableKind::General ? OldDialupDomain
                           : kind == TableKind::Phs   ? OldMobileDomain
                                                      : OldAirHDomain;
    return required[0] == '\0' || EqualsNoCase(required, entry.domainPart);
}

bool MigrationContext::ProposesAccessPoint(const char* entryName, const char* phonebook) {
    EntryValues entry;
    RasDword error = 0;
    if (ReadEntryValues(entryName, PhonebookArgument(phonebook), &entry, &error) !=
        ExaminationStop::Examined) {
        return false;
    }
    TableKind kind = TableKind::General;
    AccessPointHit hit;
    const bool proposed = FindAccessPoint(entry, &kind, &hit) && PassesDomainTest(entry, kind);
    ReleaseEntryProperties();
    ReleaseCredentials();
    return proposed;
}

ExaminationStop MigrationContext::ReadEntryValues(const char* entryName, const char* phonebook,
                                                  EntryValues* entry, RasDword* error) {
    *error = ReadEntryProperties(entryName, phonebook);
    if (*error == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
        return ExaminationStop::EntryGone;
    }
    if (*error != 0) {
        return ExaminationStop::PropertiesUnreadable;
    }
    const RASENTRYA* record = EntryProperties();
    char deviceType[RAS_MaxDeviceType + 1];
    CopyRecordText(deviceType, record->szDeviceType);
    if (!EqualsNoCase(deviceType, "modem")) {
        ReleaseEntryProperties();
        return ExaminationStop::OtherDeviceType;
    }
    entry->name = entryName;
    entry->phonebook = phonebook;
    *error = ReadCredentials(entryName, phonebook, entry->userName, entry->password);
    if (*error != 0) {
        ReleaseEntryProperties();
        return *error == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY ? ExaminationStop::EntryGone
                                                           : ExaminationStop::CredentialsUnreadable;
    }
    if (!HasUserPrefix(entry->userName)) {
        ReleaseEntryProperties();
        ReleaseCredentials();
        return ExaminationStop::OtherUserPrefix;
    }

    CopyRecordText(entry->localNumber, record->szLocalPhoneNumber);
    if ((record->dwfOptions & RASEO_UseCountryAndAreaCodes) != 0) {
        CopyRecordText(entry->areaCode, record->szAreaCode);
        snprintf(entry->oldNumber, sizeof(entry->oldNumber), "%s-%s", entry->areaCode,
                 entry->localNumber);
    } else {
        CopyField(entry->oldNumber, entry->localNumber);
    }
    CopyRecordText(entry->deviceName, record->szDeviceName);

    const char* at = FindAtSign(entry->userName);
    if (at != nullptr && at != entry->userName) {
        CopyTextN(entry->userPart, sizeof(entry->userPart), entry->userName,
                  static_cast<size_t>(at - entry->userName));
        CopyField(entry->domainPart, at);
    } else {
        CopyField(entry->userPart, entry->userName);
    }
    return ExaminationStop::Examined;
}

bool MigrationContext::HasUserPrefix(const char* userName) const {
    if (UserPrefix[0] == '\0') {
        return true;
    }
    return userName != nullptr && strncmp(userName, UserPrefix, strlen(UserPrefix)) == 0;
}

bool MigrationContext::IsFletsIsdnNumber(const char* areaCode, const char* localNumber) const {
    if (DefaultFletsIsdnNumber[0] == '\0') {
        return false;
    }
    std::string joined = areaCode != nullptr ? areaCode : "";
    joined += localNumber != nullptr ? localNumber : "";
    return MatchNumberTail(joined.c_str(), DefaultFletsIsdnNumber, nullptr, nullptr);
}

bool MigrationContext::SaveCredentials(const char* entryName, const char* newUserName,
                                       const char* newPassword, const char* storedPassword) {
    return HoldsCredentials() &&
           WriteCredentials(entryName, newUserName, newPassword, storedPassword) == 0;
}

RasDword MigrationContext::WriteCredentials(const char* entryName, const char* newUserName,
                                            const char* newPassword, const char* storedPassword) {
    const bool passwordChanges =
        newPassword != nullptr &&
        (storedPassword == nullptr || strcmp(newPassword, storedPassword) != 0);
    RasDword result = kMissingOperation;
    const char* book = PhonebookArgument(credentialsPhonebook_.c_str());
    if (IsNtFamily(osClass_)) {
        if (credentials_ != nullptr && api_.RasSetCredentialsA != nullptr) {
            CopyField(credentials_->szUserName, newUserName);
            RasDword mask = reportedMask_ | RASCM_UserName;
            // An empty password cannot be saved this way: the saved one stays.
            if (passwordChanges && newPassword[0] != '\0') {
                CopyField(credentials_->szPassword, newPassword);
                mask |= RASCM_Password;
            }
            credentials_->dwMask =
                mask | (defaultCredentials_ ? RasDword{RASCM_DefaultCreds} : RasDword{0});
            result = api_.RasSetCredentialsA(book, entryName, credentials_.get(), 0);
        }
    } else if (dialParams_ != nullptr && api_.RasSetEntryDialParamsA != nullptr) {
        CopyField(dialParams_->szUserName, newUserName);
        // The password read back as it was: an empty one without the remove flag would be
        // saved as a password, so an entry without one is written with the flag.
        RasBool removePassword = dialPasswordSaved_ ? 0 : 1;
        if (passwordChanges) {
            if (newPassword[0] != '\0') {
                CopyField(dialParams_->szPassword, newPassword);
            }
            removePassword = newPassword[0] == '\0' ? 1 : 0;
        }
        result = api_.RasSetEntryDialParamsA(book, dialParams_.get(), removePassword);
    }
    ReleaseCredentials();
    return result;
}

bool MigrationContext::WriteAcceptedChange(const EntryValues& entry, const AcceptedChange& change) {
    if (EntryProperties() == nullptr || !HoldsCredentials()) {
        ReleaseEntryProperties();
        ReleaseCredentials();
        return false;
    }
    if (!FitsEntry(change.newNumber, change.newModem)) {
        user_.ShowProgramMessage(Message{IDS_NEW_NUMBER_TOO_LONG}, MessageIcon::Warning);
        ReleaseEntryProperties();
        ReleaseCredentials();
        return false;
    }
    // Writing an entry that went away while the dialog was open would create it anew; and
    // one that cannot be looked at now is not written blind.
    RasDword size = 0;
    const RasDword there = api_.RasGetEntryPropertiesA != nullptr
                               ? api_.RasGetEntryPropertiesA(
                                     entry_.phonebook.empty() ? nullptr : entry_.phonebook.c_str(),
                                     entry.name, nullptr, &size, nullptr, nullptr)
                               : kMissingOperation;
    if (there != 0 && there != ERROR_BUFFER_TOO_SMALL) {
        if (there != ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
            user_.ShowProgramMessage(ChangeFailureMessage(there), MessageIcon::Warning);
        } else {
            // Its change was accepted but not made: the subscriber hears of it at the end.
            NoteUnreadable(entry.name, ExaminationStop::EntryGone, there);
        }
        ReleaseEntryProperties();
        ReleaseCredentials();
        return false;
    }

    // The properties go first: unlike a saved password, which the NT family never reveals,
    // they can be put back exactly as read when the credentials are then refused.
    const bool writesProperties = change.newNumber != nullptr || change.newModem != nullptr;
    EntryRecord asRead = entry_;
    // Recorded before the first write: the entry as read and as the change leaves it.
    EntryRecord changed = entry_;
    if (writesProperties) {
        ChangeFields(change.newNumber, change.newModem, true, changed.Entry());
    }
    Journal noJournal;
    Journal& recorded = journal != nullptr ? *journal : noJournal;
    if (!recorded.Begin(DescribeChange(
            writesProperties ? ChangeKind::AccessPoint : ChangeKind::UserName, entry.name, &asRead,
            entry.userName, changed, change.newUserName, writesProperties ? 2 : 1,
            change.newPassword != nullptr && strcmp(change.newPassword, entry.password) != 0,
            IsNtFamily(osClass_) ? nullptr
            : dialPasswordSaved_ ? entry.password
                                 : ""))) {
        TellNotRecorded(user_, entry.name);
        ReleaseEntryProperties();
        ReleaseCredentials();
        return false;
    }
    // A refused write is put back as read: it may report failure after it applied. What
    // cannot be put back keeps its record open, for the next start to try again.
    auto putBack = [&](bool credentialsBack) {
        const bool propertiesBack =
            !writesProperties || PutBackEntryRecord(api_, entry.name, asRead) == 0;
        if (!propertiesBack || !credentialsBack) {
            ShowPartlyChanged(entry.name);
        } else {
            recorded.End(ChangeOutcome::Undone);
        }
    };
    // Windows writes nothing of a change it refuses for lack of rights (an all-users entry, a
    // standard user): the properties go back as read all the same (a write may report
    // failure after it applied), and the entry is named at the end of the run. The record
    // keeps it as refused, so that the support desk tells it from a declined proposal.
    auto refusedForRights = [&]() {
        if (writesProperties && PutBackEntryRecord(api_, entry.name, asRead) != 0) {
            user_.ShowProgramMessage(ChangeFailureMessage(ERROR_ACCESS_DENIED_),
                                     MessageIcon::Warning);
            ShowPartlyChanged(entry.name);
            return;
        }
        recorded.End(ChangeOutcome::Refused);
        NoteNeedsAdministrator(entry.name);
    };
    lastWriteError_ = 0;
    if (writesProperties &&
        !ApplyEntryChange(entry.name, change.newNumber, change.newModem, true)) {
        if (lastWriteError_ == ERROR_ACCESS_DENIED_) {
            refusedForRights();
        } else {
            putBack(true);
        }
        ReleaseCredentials();
        return false;
    }
    if (writesProperties && !recorded.WriteDone()) {
        TellNotRecorded(user_, entry.name);
        putBack(true);
        ReleaseCredentials();
        return false;
    }
    std::unique_ptr<RASDIALPARAMSA, WipingDelete<RASDIALPARAMSA>> dialAsRead;
    if (dialParams_ != nullptr) {
        dialAsRead.reset(new RASDIALPARAMSA(*dialParams_));
    }
    const bool dialPasswordSaved = dialPasswordSaved_;
    const RasDword result =
        WriteCredentials(entry.name, change.newUserName, change.newPassword, entry.password);
    if (result == 0) {
        recorded.End(ChangeOutcome::Made);
        return true;
    }
    if (result == ERROR_ACCESS_DENIED_) {
        refusedForRights();
        return false;
    }
    if (dialAsRead != nullptr) {
        // The 9x family reveals the saved password: the whole change is undone exactly.
        user_.ShowProgramMessage(ChangeFailureMessage(result), MessageIcon::Warning);
        putBack(PutBackDialParams(api_, asRead.phonebook.c_str(), *dialAsRead, dialPasswordSaved) ==
                0);
        return false;
    }
    // The NT family reveals the user name only. A refusal that saved a new one all the same
    // completed the change: putting the properties back would leave half of it.
    const bool nameChanges = strcmp(change.newUserName, entry.userName) != 0;
    std::string saved;
    const bool readBack =
        ReadSavedUserName(api_, asRead.phonebook.c_str(), entry.name, true, &saved) == 0;
    if (readBack && nameChanges && saved == change.newUserName) {
        recorded.End(ChangeOutcome::Made);
        return true;
    }
    user_.ShowProgramMessage(ChangeFailureMessage(result), MessageIcon::Warning);
    // Whether a new password went in cannot be learnt when the user name tells nothing. The
    // entry is then left as the change made it, not half undone, and the subscriber is told
    // to check it.
    const bool writesPassword = change.newPassword != nullptr && change.newPassword[0] != '\0' &&
                                strcmp(change.newPassword, entry.password) != 0;
    if (!nameChanges && writesPassword) {
        ShowPartlyChanged(entry.name);
        recorded.End(ChangeOutcome::Made);  // nothing to put back at the next start either
        return false;
    }
    putBack(true);
    return false;
}

const char* MigrationContext::NewPassword(int edit, const char* typed) const {
    // The NT family shows a saved password as its placeholder: a password that still holds
    // it is no password anybody typed, and the saved one stays.
    if (edit == 0 || (IsNtFamily(osClass_) && HoldsPasswordPlaceholder(typed))) {
        return nullptr;
    }
    return typed;
}

void MigrationContext::NoteNeedsAdministrator(const char* entryName) {
    for (const std::string& name : needAdministrator) {
        if (name == entryName) {
            return;
        }
    }
    needAdministrator.push_back(entryName);
}

void MigrationContext::ShowPartlyChanged(const char* entryName) {
    Message partly{IDS_ENTRY_PARTLY_CHANGED};
    partly.text = entryName;
    user_.ShowProgramMessage(partly, MessageIcon::Warning);
}

bool MigrationContext::ProposeAccessPointChange(const EntryValues& entry, TableKind kind,
                                                const AccessPointHit& hit) {
    ++foundCount;
    const char* accessPoint = kind == TableKind::General ? DefaultTelNumber
                              : kind == TableKind::Phs   ? DefaultMobileNumber
                                                         : hit.newNumber;
    const char* newDomain = kind == TableKind::General ? entry.domainPart
                            : kind == TableKind::Phs   ? MobileDomain
                                                       : AirHDomain;
    std::string newNumber = hit.prefix;
    newNumber += accessPoint;
    newNumber += hit.suffix;

    AccessPointChangeFields fields;
    CopyField(fields.entryName, entry.name);
    CopyField(fields.oldNumber, entry.oldNumber);
    // A proposal too long for the box cannot be stored anyway; the change refuses it.
    CopyField(fields.newNumber, newNumber.c_str());
    CopyField(fields.userName, KeepDomain ? entry.userName : entry.userPart);
    CopyField(fields.domain, newDomain);
    CopyField(fields.password, entry.password);
    CopyField(fields.modemName, entry.deviceName);
    fields.addsDomain = !KeepDomain;
    const bool accepted = ui_.ConfirmAccessPointChange(fields);
    TerminateFields(fields);
    // No number to dial, or a user name that cannot log in, is no change the subscriber can
    // have meant.
    Message refusal{accepted ? CheckNewNumber(fields.newNumber) : 0u};
    if (accepted && refusal.textId == 0) {
        refusal.textId = CheckAcceptedUserName(fields);
        refusal.text = fields.domain;
    }
    if (refusal.textId != 0) {
        RefuseAccepted(refusal);
    } else if (accepted) {
        char newUserName[kUserNameSize];
        const bool fits =
            KeepDomain ? CopyTextExact(newUserName, sizeof(newUserName), fields.userName)
                       : ComposeUserName(fields.editUserName ? fields.userName : entry.userPart,
                                         newDomain, newUserName);
        if (!fits) {
            RefuseAccepted(Message{IDS_USER_NAME_TOO_LONG});
        } else {
            const AcceptedChange change{
                newUserName, NewPassword(fields.editPassword, fields.password), fields.newNumber,
                fields.editModem ? fields.modemName : nullptr};
            changedCount += WriteAcceptedChange(entry, change) ? 1 : 0;
        }
    }
    WipeBytes(fields.password, sizeof(fields.password));
    return accepted;
}

void MigrationContext::RefuseAccepted(const Message& refusal) {
    user_.ShowProgramMessage(refusal, MessageIcon::Warning);
    ReleaseCredentials();
    ReleaseEntryProperties();
}

bool MigrationContext::FletsIsdnChangeConfigured() const {
    return FletsIsdnDomain[0] != '\0' && OldDomain[0] != '\0' &&
           !EqualsNoCase(FletsIsdnDomain, OldDomain) && DefaultFletsIsdnNumber[0] != '\0';
}

bool MigrationContext::PassesFletsIsdnTest(const EntryValues& entry) const {
    return FletsIsdnChangeConfigured() && IsFletsIsdnNumber(entry.areaCode, entry.localNumber) &&
           EqualsNoCase(entry.domainPart, OldDomain);
}

void MigrationContext::ProposeUserNameChange(const EntryValues& entry) {
    ++foundCount;
    UserNameChangeFields fields;
    CopyField(fields.entryName, entry.name);
    CopyField(fields.phoneNumber, DefaultFletsIsdnNumber);
    CopyField(fields.oldUserName, entry.userPart);
    CopyField(fields.newUserName, entry.userPart);
    CopyField(fields.oldDomain, OldDomain);
    CopyField(fields.newDomain, FletsIsdnDomain);
    CopyField(fields.password, entry.password);
    CopyField(fields.modemName, entry.deviceName);
    const bool accepted = ui_.ConfirmUserNameChange(fields);
    TerminateFields(fields);
    if (accepted) {
        char newUserName[kUserNameSize];
        Message refusal{CheckAcceptedUserName(fields)};
        refusal.text = fields.newDomain;
        if (refusal.textId != 0) {
            RefuseAccepted(refusal);
        } else if (!ComposeUserName(fields.newUserName, FletsIsdnDomain, newUserName)) {
            RefuseAccepted(Message{IDS_USER_NAME_TOO_LONG});
        } else {
            // Compared with the password the dialog showed: unchanged there means untouched.
            const AcceptedChange change{newUserName,
                                        NewPassword(fields.editPassword, fields.password), nullptr,
                                        fields.editModem ? fields.modemName : nullptr};
            changedCount += WriteAcceptedChange(entry, change) ? 1 : 0;
        }
    }
    WipeBytes(fields.password, sizeof(fields.password));
}
