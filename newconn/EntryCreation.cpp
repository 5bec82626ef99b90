// Phonebook entry creation.
#include "newconn/EntryCreation.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "dialup/PhonebookEntries.h"
#include "dialup/UserNameText.h"
#include "journal/Journal.h"
#include "newconn/FormChecks.h"
#include "res/resource.h"

namespace {

struct EntryFailure {
    RasDword error;
    unsigned textId;
};

const EntryFailure kEntryFailures[] = {
    {ERROR_BUFFER_INVALID, IDS_ENTRY_FAILED_610},
    {ERROR_CANNOT_OPEN_PHONEBOOK, IDS_ENTRY_FAILED_621},
    {ERROR_OUTOFMEMORY_, IDS_ENTRY_FAILED_14},
    {ERROR_INVALID_USER_BUFFER_, IDS_ENTRY_FAILED_1784},
};

void ShowWarning(UserSide& user, const Message& message) {
    user.ShowProgramMessage(message, MessageIcon::Warning);
}

void ShowPartlyChanged(UserSide& user, const char* entryName) {
    Message partly{IDS_ENTRY_PARTLY_CHANGED};
    partly.text = entryName;
    ShowWarning(user, partly);
}

// The entry step: writes the new entry's properties under `entryName` into `record` (over
// the present entry's, in its phonebook, whose saved user name and password stay until the
// dial parameters replace them). Returns 0, or the phonebook's error number after its
// message was shown; a refused write leaves the phonebook as it was.
// The change is recorded in `journal` (from `change`) just before the write; when that
// fails, the message says the entry was left as it was, `record` is released and the
// result is kMissingOperation. `asRead` is the present entry (null: none). A new entry
// refused in the default phonebook for lack of rights goes to the user's own (`own`),
// recorded anew there; a present one refused so is left as it was.
RasDword WriteEntry(const DialupApi& api, const DataFiles& files, UserSide& user,
                    const char* entryName, const char* localNumber, const char* modemName,
                    EntryRecord* record, Journal& journal, JournalChange change,
                    EntryRecord* asRead, UserPhonebook* own) {
    DnsSettings dns;
    ReadDnsSettings(files, &dns);

    RasDword structureSize = 0;
    RasDword result = ProbeStructureSize(api, &structureSize);
    if (result != 0) {
        ShowWarning(user, EntryFailureMessage(result));
        return result;
    }
    const bool present = asRead != nullptr;
    record->buffer.assign(1, RASENTRYA{});
    record->structureSize = structureSize;
    record->bufferSize = structureSize;  // a new entry has no alternate numbers
    FillNewEntry(structureSize, localNumber, modemName, dns, record->Entry());
    change.after = StateOf(record, change.after.userName);
    for (;;) {
        change.phonebook = record->phonebook;
        if (!journal.Begin(change)) {
            TellNotRecorded(user, entryName);
            record->Release();
            return kMissingOperation;
        }
        result = WriteEntryRecord(api, entryName, *record);
        // Refused outright: nothing of it was written, so nothing of it is recorded.
        const bool refusedOutright =
            result == ERROR_ACCESS_DENIED_ &&
            (present ? PutBackEntryRecord(api, entryName, *asRead)
                     : RemoveUnwantedEntry(api, record->phonebook.c_str(), entryName)) == 0;
        if (!refusedOutright) {
            break;
        }
        journal.Discard();
        std::string ownPath;
        // Only a new entry of the default phonebook goes on to the user's own.
        if (present || !record->phonebook.empty() || own == nullptr || !own->Prepare(&ownPath)) {
            if (present) {
                Message message{IDS_OVERWRITE_NEEDS_ADMINISTRATOR};
                message.text = entryName;
                ShowWarning(user, message);
            } else {
                ShowWarning(user, EntryFailureMessage(result));
            }
            record->Release();
            return result;
        }
        record->phonebook = ownPath;
    }
    if (result != 0) {
        ShowWarning(user, EntryFailureMessage(result));
    }
    return result;
}

bool WriteDialParams(const DialupApi& api, const char* phonebook, const char* entryName,
                     const char* userName, const char* password) {
    if (api.RasSetEntryDialParamsA == nullptr) {
        return false;
    }
    RASDIALPARAMSA params;
    memset(&params, 0, sizeof(params));
    params.dwSize = kRasDialParamsSize;
    CopyField(params.szEntryName, entryName);
    CopyField(params.szUserName, userName);
    CopyField(params.szPassword, password);
    const RasDword result = api.RasSetEntryDialParamsA(PhonebookArgument(phonebook), &params, 0);
    WipeBytes(&params, sizeof(params));
    return result == 0;
}

}  // namespace

const char* DiallingPrefix(bool pulse, OsClass osClass) {
    if (!pulse) {
        return "";
    }
    return IsNtFamily(osClass) ? "P" : "PP";
}

bool ComposeUserName(const char* userName, const char* domainText, char (&composed)[UNLEN + 1]) {
    return JoinUserNameAndDomain(userName, domainText, composed, sizeof(composed));
}

bool ComposeLocalNumber(bool pulse, OsClass osClass, const char* accessPointNumber,
                        char (&composed)[RAS_MaxPhoneNumber + 1]) {
    if (CopyTextExact(composed, sizeof(composed), DiallingPrefix(pulse, osClass)) &&
        AppendTextExact(composed, sizeof(composed), accessPointNumber)) {
        return true;
    }
    composed[0] = '\0';
    return false;
}

void FillNewEntry(RasDword structureSize, const char* localNumber, const char* modemName,
                  const DnsSettings& dns, RASENTRYA* entry) {
    memset(entry, 0, sizeof(*entry));
    entry->dwSize = structureSize;
    entry->dwfOptions = RASEO_RemoteDefaultGateway | RASEO_ModemLights | RASEO_PreviewUserPw |
                        RASEO_ShowDialingProgress;
    ApplyNameServers(dns, entry);
    entry->dwCountryID = 81;
    entry->dwCountryCode = 81;
    CopyField(entry->szLocalPhoneNumber, localNumber);
    entry->dwfNetProtocols = RASNP_Ip;
    entry->dwFramingProtocol = RASFP_Ppp;
    CopyField(entry->szDeviceType, "modem");
    CopyField(entry->szDeviceName, modemName);
    entry->dwIdleDisconnectSeconds = RASIDS_Disabled;
    if (structureSize >= offsetof(RASENTRYA, dwType) + sizeof(entry->dwType)) {
        entry->dwType = RASET_Phone;
    }
    entry->dwfOptions2 =
        RASEO2_SecureFileAndPrint | RASEO2_SecureClientForMSNet | RASEO2_DisableNbtOverIP;
}

FormMessage CheckValuesFit(const CreationInputs& inputs, OsClass osClass) {
    char userName[UNLEN + 1];
    if (!ComposeUserName(inputs.userName, inputs.domainText, userName)) {
        return FormMessage{MessageBoxKind::Program, IDS_USER_NAME_TOO_LONG, MessageIcon::Warning,
                           FormField::UserName};
    }
    char localNumber[RAS_MaxPhoneNumber + 1];
    if (!ComposeLocalNumber(inputs.pulse, osClass, inputs.accessPointNumber, localNumber)) {
        return FormMessage{MessageBoxKind::Program, IDS_NUMBER_TOO_LONG, MessageIcon::Warning,
                           FormField::AccessPointNumber};
    }
    return FormMessage{};
}

Message EntryFailureMessage(RasDword error) {
    Message message{IDS_ENTRY_FAILED_OTHER};
    message.number = static_cast<int>(error);
    for (const EntryFailure& failure : kEntryFailures) {
        if (failure.error == error) {
            message.textId = failure.textId;
        }
    }
    return message;
}

void LookUpExistingEntry(const DialupApi& api, OsClass osClass, const char* name,
                         ExistingEntry* existing) {
    existing->record.Release();
    existing->error = 0;
    std::vector<PhonebookEntryName> entries;
    RasDword result = EnumerateEntries(api, &entries);
    const PhonebookEntryName* listed = result == 0 ? FindEntryNamed(entries, name) : nullptr;
    if (listed != nullptr) {
        result = ReadEntryRecord(api, osClass, listed->phonebook, name, &existing->record);
    }
    if (result == 0 && listed != nullptr) {
        existing->presence = EntryPresence::Present;
    } else if (result == 0) {
        existing->presence = EntryPresence::Absent;
    } else {
        existing->presence = EntryPresence::Unknown;
        existing->error = result;
    }
}

bool ConfirmCreation(const DialupApi& api, OsClass osClass, UserSide& user, const char* name,
                     ExistingEntry* existing) {
    LookUpExistingEntry(api, osClass, name, existing);
    switch (existing->presence) {
        case EntryPresence::Absent:
            return true;
        case EntryPresence::Unknown:
            ShowWarning(user, EntryFailureMessage(existing->error));
            return false;
        case EntryPresence::Present:
            break;
    }
    Message question{IDS_OVERWRITE_QUESTION};
    question.text = name;
    return user.AskProgramQuestion(question);
}

FormMessage CheckEntryName(const DialupApi& api, const char* name) {
    if (api.RasValidateEntryNameA != nullptr &&
        api.RasValidateEntryNameA(nullptr, name) == ERROR_INVALID_NAME_) {
        return FormMessage{MessageBoxKind::Program, IDS_ENTRY_NAME_REFUSED, MessageIcon::Warning,
                           FormField::EntryName};
    }
    return FormMessage{};
}

Creation CreateEntry(const CreationInputs& inputs, ExistingEntry& existing, const DialupApi& api,
                     const DataFiles& files, UserSide& user, RegistryWriter& registry,
                     OsClass osClass, Journal* journal, UserPhonebook* own) {
    const FormMessage refusal = CheckValuesFit(inputs, osClass);
    if (refusal.kind != MessageBoxKind::None) {
        ShowFormMessage(user, refusal);
        return Creation::Failed;
    }
    if (existing.presence == EntryPresence::Unknown) {
        return Creation::Failed;
    }
    char userName[UNLEN + 1];
    char localNumber[RAS_MaxPhoneNumber + 1];
    ComposeUserName(inputs.userName, inputs.domainText, userName);
    ComposeLocalNumber(inputs.pulse, osClass, inputs.accessPointNumber, localNumber);

    // Deleting the old entry first would lose its saved password for good when a later
    // write fails, because the NT family never reveals a saved password; so the new entry
    // is written over the old one, and a refusal of the dial parameters puts it back.
    const bool present = existing.presence == EntryPresence::Present;
    EntryRecord made;
    made.phonebook = present ? existing.record.phonebook : std::string();
    Journal noJournal;
    Journal& recorded = journal != nullptr ? *journal : noJournal;
    // A refusal is put right whatever it left behind: a write may report failure after it
    // applied the change.
    auto putBack = [&](bool credentialsBack) {
        const RasDword undone =
            present ? PutBackEntryRecord(api, inputs.entryName, existing.record)
                    : RemoveUnwantedEntry(api, made.phonebook.c_str(), inputs.entryName);
        if (undone != 0 || !credentialsBack) {
            ShowPartlyChanged(user, inputs.entryName);
        } else {
            recorded.End(ChangeOutcome::Undone);
        }
    };
    // The user name the entry had, read before anything changes: for the journal's record,
    // and (NT family) to tell afterwards whether a refused write of the new one went in all
    // the same. The 9x family reveals the password too, so there the old dial parameters are
    // put back whole instead.
    const bool ntFamily = IsNtFamily(osClass);
    std::string existingUserName;
    const RasDword unread = present
                                ? ReadSavedUserName(api, made.phonebook.c_str(), inputs.entryName,
                                                    ntFamily, &existingUserName)
                                : 0;
    if (unread != 0) {
        ShowWarning(user, EntryFailureMessage(unread));
        return Creation::Failed;
    }
    struct WipedParams {
        RASDIALPARAMSA params{};
        ~WipedParams() { WipeBytes(&params, sizeof(params)); }
    } old;
    bool oldPasswordSaved = false;
    const bool oldParamsRead = present && !ntFamily &&
                               ReadDialParams(api, made.phonebook.c_str(), inputs.entryName,
                                              &old.params, &oldPasswordSaved) == 0;
    JournalChange change =
        DescribeChange(ChangeKind::Creation, inputs.entryName, present ? &existing.record : nullptr,
                       existingUserName.c_str(), made, userName, 2, true,
                       !oldParamsRead     ? nullptr
                       : oldPasswordSaved ? old.params.szPassword
                                          : "");
    // The default connection as found, for a restore to put back.
    if (inputs.makeDefault) {
        ReadDefaultConnection(registry, api, osClass, &change.defaultBefore);
    }
    const RasDword refused =
        WriteEntry(api, files, user, inputs.entryName, localNumber, inputs.modemName, &made,
                   recorded, change, present ? &existing.record : nullptr, own);
    if (refused != 0) {
        if (made.Entry() != nullptr) {
            putBack(true);  // the write itself was made, not only the structure-size probe
        }
        return Creation::Failed;
    }
    if (!recorded.WriteDone()) {
        TellNotRecorded(user, inputs.entryName);
        putBack(true);
        return Creation::Failed;
    }
    if (!WriteDialParams(api, made.phonebook.c_str(), inputs.entryName, userName,
                         inputs.password)) {
        if (present && !ntFamily) {
            // The 9x family revealed the old password: both records go back exactly.
            putBack(oldParamsRead && PutBackDialParams(api, made.phonebook.c_str(), old.params,
                                                       oldPasswordSaved) == 0);
            return Creation::Failed;
        }
        std::string saved;
        const bool readBack = present && ReadSavedUserName(api, made.phonebook.c_str(),
                                                           inputs.entryName, true, &saved) == 0;
        const bool nameChanges = existingUserName != userName;
        if (present && !nameChanges) {
            // The NT family never reveals a saved password: whether the new one went in
            // cannot be learnt, so the entry stays whole as written, for the user to check.
            ShowPartlyChanged(user, inputs.entryName);
            recorded.End(ChangeOutcome::Made);
            return Creation::Failed;
        }
        if (!readBack || saved != userName) {
            putBack(true);
            return Creation::Failed;
        }
        // A refusal that saved them all the same completed the entry.
    }
    recorded.End(ChangeOutcome::Made);
    if (inputs.makeDefault && !MakeDefaultConnection(registry, api, osClass, inputs.entryName)) {
        return Creation::CreatedNotDefault;
    }
    return Creation::Created;
}
