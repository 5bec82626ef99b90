// Phonebook entry creation.
#include "newconn/EntryCreation.h"

#include <cstring>
#include <vector>

#include "dialup/UserNameText.h"
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

RasDword SetEntry(const DialupApi& api, const char* name, RASENTRYA* entry) {
    if (api.RasSetEntryPropertiesA == nullptr) {
        return kMissingOperation;
    }
    return api.RasSetEntryPropertiesA(nullptr, name, entry, entry->dwSize, nullptr, 0);
}

RasDword DeleteEntry(const DialupApi& api, const char* name) {
    if (api.RasDeleteEntryA == nullptr) {
        return kMissingOperation;
    }
    return api.RasDeleteEntryA(nullptr, name);
}

// What the entry's name stands for before the creation, so that a failed creation can put
// it back: nothing, or an entry with these properties.
struct EntryBefore {
    bool present = false;
    std::vector<RASENTRYA> properties;  // dwSize as probed; at least one whole record
};

// 0 when the phonebook told whether the entry exists and, if it does, its properties were
// read; else the number of the failure (a probe of no sensible size gives 632).
RasDword ReadEntryBefore(const DialupApi& api, const char* name, EntryBefore* before) {
    if (api.RasGetEntryPropertiesA == nullptr) {
        return kMissingOperation;
    }
    RasDword size = 0;
    const RasDword probe =
        api.RasGetEntryPropertiesA(nullptr, name, nullptr, &size, nullptr, nullptr);
    if (probe == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
        return 0;
    }
    if (probe != 0 && probe != ERROR_BUFFER_TOO_SMALL) {
        return probe;
    }
    if (size == 0 || size > kMaxEntrySize) {
        return ERROR_INVALID_SIZE;
    }
    const size_t records = (static_cast<size_t>(size) + sizeof(RASENTRYA) - 1) / sizeof(RASENTRYA);
    before->properties.assign(records, RASENTRYA{});
    before->properties[0].dwSize = size;
    RasDword stated = size;
    const RasDword read = api.RasGetEntryPropertiesA(nullptr, name, before->properties.data(),
                                                     &stated, nullptr, nullptr);
    if (read != 0) {
        return read;
    }
    before->properties[0].dwSize = size;
    before->present = true;
    return 0;
}

// The entry step: writes the new entry's properties under `entryName`, over the existing
// entry's when there is one (its saved user name and password stay until the dial
// parameters replace them). Returns 0, or the phonebook's error number after its message
// was shown; a refused write leaves the phonebook as it was.
RasDword WriteEntry(const DialupApi& api, const DataFiles& files, UserSide& user,
                    const char* entryName, const char* localNumber, const char* modemName) {
    DnsSettings dns;
    ReadDnsSettings(files, &dns);

    const RasDword size = ProbeEntrySize(api);
    const size_t records = (static_cast<size_t>(size) + sizeof(RASENTRYA) - 1) / sizeof(RASENTRYA);
    std::vector<RASENTRYA> buffer(records < 1 ? 1 : records, RASENTRYA{});
    RASENTRYA* entry = buffer.data();
    FillNewEntry(size, localNumber, modemName, dns, entry);

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

    // Deleting the old entry first would lose its saved password for good when a later
    // write fails, because the NT family never reveals a saved password; so the new entry
    // is written over the old one, and a refusal of the dial parameters puts it back.
    EntryBefore before;
    const RasDword unreadable = ReadEntryBefore(api, inputs.entryName, &before);
    if (unreadable != 0) {
        ShowWarning(user, EntryFailureMessage(unreadable));
        return false;
    }
    if (WriteEntry(api, files, user, inputs.entryName, localNumber, inputs.modemName) != 0) {
        return false;
    }
    if (!WriteDialParams(api, inputs.entryName, userName, inputs.password)) {
        const RasDword undone = before.present
                                    ? SetEntry(api, inputs.entryName, before.properties.data())
                                    : DeleteEntry(api, inputs.entryName);
        if (undone != 0) {
            Message partly{IDS_ENTRY_PARTLY_CHANGED};
            partly.text = inputs.entryName;
            ShowWarning(user, partly);
        }
        return false;
    }
    if (inputs.makeDefault) {
        MakeDefaultConnection(registry, osClass, inputs.entryName);
    }
    return true;
}
