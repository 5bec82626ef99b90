// Create-time checks of the new-connection form and the phonebook name look-up.
#include "newconn/FormChecks.h"

#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

// Far more entries than any phonebook holds; a larger reported size is taken as a fault.
constexpr size_t kMaxEnumeratedEntries = 65536;

bool IsEmpty(const char* text) {
    return text == nullptr || text[0] == '\0';
}

FormMessage ProgramWarning(unsigned textId) {
    return FormMessage{MessageBoxKind::Program, textId, MessageIcon::Warning};
}

}  // namespace

FormMessage CheckCreateForm(const CreateFormValues& values) {
    if (IsEmpty(values.entryName)) {
        return ProgramWarning(IDS_NO_ENTRY_NAME);
    }
    if (IsEmpty(values.userName)) {
        return ProgramWarning(IDS_NO_USER_NAME);
    }
    if (IsEmpty(values.password)) {
        return ProgramWarning(IDS_NO_PASSWORD);
    }
    if (IsEmpty(values.accessPointNumber)) {
        const bool methodNotChosen = values.lastMethodIndex == -1 && values.methodRowCount > 1;
        return ProgramWarning(methodNotChosen ? IDS_CHOOSE_METHOD : IDS_NO_ACCESS_POINT);
    }
    if (IsEmpty(values.modemName)) {
        return ProgramWarning(IDS_NO_MODEM);
    }
    if (values.diallingMode == -1) {
        return ProgramWarning(IDS_NO_DIAL_MODE);
    }
    if (values.lastMethodIndex == -1) {
        return FormMessage{MessageBoxKind::App, IDS_CHOOSE_METHOD, MessageIcon::Warning};
    }
    return FormMessage{};
}

bool EnumerateEntries(const DialupApi& api, std::vector<RASENTRYNAMEA>* entries) {
    if (entries == nullptr) {
        return false;
    }
    entries->clear();
    if (api.RasEnumEntriesA == nullptr) {
        return false;
    }
    std::vector<RASENTRYNAMEA> buffer(1, RASENTRYNAMEA{});
    buffer[0].dwSize = kRasEntryNameSize;
    RasDword bytes = 0;
    RasDword count = 0;
    RasDword result = api.RasEnumEntriesA(nullptr, nullptr, buffer.data(), &bytes, &count);
    if (result == ERROR_BUFFER_TOO_SMALL) {
        size_t records = (static_cast<size_t>(bytes) + kRasEntryNameSize - 1) / kRasEntryNameSize;
        if (records == 0) {
            records = 1;
        }
        if (records > kMaxEnumeratedEntries) {
            return false;
        }
        buffer.assign(records, RASENTRYNAMEA{});
        buffer[0].dwSize = kRasEntryNameSize;
    }
    // The stated size is always what the buffer really holds, never more.
    bytes = static_cast<RasDword>(buffer.size() * kRasEntryNameSize);
    count = 0;
    result = api.RasEnumEntriesA(nullptr, nullptr, buffer.data(), &bytes, &count);
    if (result != 0) {
        return false;
    }
    if (count < buffer.size()) {
        buffer.resize(count);
    }
    for (RASENTRYNAMEA& entry : buffer) {
        entry.szEntryName[sizeof(entry.szEntryName) - 1] = '\0';
    }
    entries->swap(buffer);
    return true;
}

bool HasEntryNamed(const std::vector<RASENTRYNAMEA>& entries, const char* name) {
    if (name == nullptr) {
        return false;
    }
    for (const RASENTRYNAMEA& entry : entries) {
        if (EqualsNoCase(entry.szEntryName, name)) {
            return true;
        }
    }
    return false;
}

bool EntryExists(const DialupApi& api, const char* name) {
    std::vector<RASENTRYNAMEA> entries;
    return EnumerateEntries(api, &entries) && HasEntryNamed(entries, name);
}

bool ConfirmOverwrite(const DialupApi& api, UserSide& user, const char* name) {
    if (!EntryExists(api, name)) {
        return true;
    }
    Message question{IDS_OVERWRITE_QUESTION};
    question.text = name;
    return user.AskProgramQuestion(question);
}
