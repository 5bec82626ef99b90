// Phonebook entry creation.
#include "newconn/EntryCreation.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "newconn/FormChecks.h"
#include "res/resource.h"

const char kTrialEntryName[] = "Dialnest trial entry";

namespace {

// Returned for an operation the library does not export (ERROR_CALL_NOT_IMPLEMENTED).
constexpr RasDword kMissingOperation = 120;

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

RasDword SetEntry(const DialupApi& api, const char* name, RASENTRYA* entry) {
    if (api.RasSetEntryPropertiesA == nullptr) {
        return kMissingOperation;
    }
    return api.RasSetEntryPropertiesA(nullptr, name, entry, entry->dwSize, nullptr, 0);
}

void DeleteEntry(const DialupApi& api, const char* name) {
    if (api.RasDeleteEntryA != nullptr) {
        api.RasDeleteEntryA(nullptr, name);
    }
}

// True when the phonebook positively reports that no entry `name` exists. Used only when
// the enumeration cannot answer.
bool ProbeSaysAbsent(const DialupApi& api, const char* name) {
    if (api.RasGetEntryPropertiesA == nullptr) {
        return false;
    }
    RasDword size = 0;
    return api.RasGetEntryPropertiesA(nullptr, name, nullptr, &size, nullptr, nullptr) ==
           ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

// A name that no entry has (compared without regard to case), so that writing and
// deleting it can never touch an entry of the subscriber. False when none can be found.
bool FindTrialName(const DialupApi& api, const char* entryName,
                   char (&name)[RAS_MaxEntryName + 1]) {
    std::vector<RASENTRYNAMEA> entries;
    const bool listed = EnumerateEntries(api, &entries);
    for (int i = 1; i <= kTrialNameCandidates; ++i) {
        if (i == 1) {
            CopyField(name, kTrialEntryName);
        } else {
            snprintf(name, sizeof(name), "%s %d", kTrialEntryName, i);
        }
        if (EqualsNoCase(name, entryName)) {
            continue;
        }
        if (listed ? !HasEntryNamed(entries, name) : ProbeSaysAbsent(api, name)) {
            return true;
        }
    }
    name[0] = '\0';
    return false;
}

// The entry step: returns 0 when the entry was written, else the phonebook's error number
// after its message was shown.
RasDword WriteEntry(const DialupApi& api, const DataFiles& files, UserSide& user,
                    const char* entryName, const char* localNumber, const char* modemName) {
    DnsSettings dns;
    ReadDnsSettings(files, &dns);

    const RasDword size = ProbeEntrySize(api);
    const size_t records = (static_cast<size_t>(size) + sizeof(RASENTRYA) - 1) / sizeof(RASENTRYA);
    std::vector<RASENTRYA> buffer(records < 1 ? 1 : records, RASENTRYA{});
    RASENTRYA* entry = buffer.data();
    FillNewEntry(size, localNumber, modemName, dns, entry);

    // Ask the phonebook for its verdict on this record before the old entry is given up.
    char trialName[RAS_MaxEntryName + 1];
    if (FindTrialName(api, entryName, trialName)) {
        const RasDword trial = SetEntry(api, trialName, entry);
        DeleteEntry(api, trialName);
        if (trial != 0) {
            ShowWarning(user, EntryFailureMessage(trial));
            return trial;
        }
    }

    DeleteEntry(api, entryName);
    const RasDword result = SetEntry(api, entryName, entry);
    if (result != 0) {
        ShowWarning(user, EntryFailureMessage(result));
    }
    return result;
}

bool WriteDialParams(const DialupApi& api, const char* entryName, const char* userName,
                     const char* password) {
    if (api.RasSetEntryDialParamsA == nullptr) {
        return false;
    }
    RASDIALPARAMSA params;
    memset(&params, 0, sizeof(params));
    params.dwSize = kRasDialParamsSize;
    CopyField(params.szEntryName, entryName);
    CopyField(params.szUserName, userName);
    CopyField(params.szPassword, password);
    const RasDword result = api.RasSetEntryDialParamsA(nullptr, &params, 0);
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
    if (CopyTextExact(composed, sizeof(composed), userName) &&
        AppendTextExact(composed, sizeof(composed), domainText)) {
        return true;
    }
    composed[0] = '\0';
    return false;
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

RasDword ProbeEntrySize(const DialupApi& api) {
    if (api.RasGetEntryPropertiesA == nullptr) {
        return kRasEntrySize;
    }
    RasDword size = 0;
    const RasDword result =
        api.RasGetEntryPropertiesA(nullptr, "", nullptr, &size, nullptr, nullptr);
    if ((result == 0 || result == ERROR_BUFFER_TOO_SMALL) && size != 0 && size <= kMaxEntrySize) {
        return size;
    }
    return kRasEntrySize;
}

void FillNewEntry(RasDword entrySize, const char* localNumber, const char* modemName,
                  const DnsSettings& dns, RASENTRYA* entry) {
    memset(entry, 0, sizeof(*entry));
    entry->dwSize = entrySize;
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
    entry->dwfOptions2 =
        RASEO2_SecureFileAndPrint | RASEO2_SecureClientForMSNet | RASEO2_DisableNbtOverIP;
}

FormMessage CheckValuesFit(const CreationInputs& inputs, OsClass osClass) {
    char userName[UNLEN + 1];
    if (!ComposeUserName(inputs.userName, inputs.domainText, userName)) {
        return FormMessage{MessageBoxKind::Program, IDS_USER_NAME_TOO_LONG, MessageIcon::Warning};
    }
    char localNumber[RAS_MaxPhoneNumber + 1];
    if (!ComposeLocalNumber(inputs.pulse, osClass, inputs.accessPointNumber, localNumber)) {
        return FormMessage{MessageBoxKind::Program, IDS_NUMBER_TOO_LONG, MessageIcon::Warning};
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

bool CreateEntry(const CreationInputs& inputs, const DialupApi& api, const DataFiles& files,
                 UserSide& user, RegistryWriter& registry, OsClass osClass) {
    const FormMessage refusal = CheckValuesFit(inputs, osClass);
    if (refusal.kind != MessageBoxKind::None) {
        ShowFormMessage(user, refusal);
        return false;
    }
    char userName[UNLEN + 1];
    char localNumber[RAS_MaxPhoneNumber + 1];
    ComposeUserName(inputs.userName, inputs.domainText, userName);
    ComposeLocalNumber(inputs.pulse, osClass, inputs.accessPointNumber, localNumber);
    if (WriteEntry(api, files, user, inputs.entryName, localNumber, inputs.modemName) != 0) {
        return false;
    }
    if (!WriteDialParams(api, inputs.entryName, userName, inputs.password)) {
        return false;
    }
    if (inputs.makeDefault) {
        MakeDefaultConnection(registry, osClass, inputs.entryName);
    }
    return true;
}
