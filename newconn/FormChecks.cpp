// Create-time checks of the new-connection form and the phonebook name look-up.
#include "newconn/FormChecks.h"

#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

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
