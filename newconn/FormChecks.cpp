// Create-time checks of the new-connection form and the phonebook name look-up.
#include "newconn/FormChecks.h"

#include "dialup/UserNameText.h"
#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

bool IsEmpty(const char* text) {
    return text == nullptr || text[0] == '\0';
}

FormMessage ProgramWarning(unsigned textId, FormField field) {
    return FormMessage{MessageBoxKind::Program, textId, MessageIcon::Warning, field};
}

}  // namespace

FormMessage CheckCreateForm(const CreateFormValues& values) {
    if (IsEmpty(values.entryName)) {
        return ProgramWarning(IDS_NO_ENTRY_NAME, FormField::EntryName);
    }
    if (const unsigned userNameProblem = UserNameProblem(values.userName)) {
        return ProgramWarning(userNameProblem, FormField::UserName);
    }
    if (IsEmpty(values.password)) {
        return ProgramWarning(IDS_NO_PASSWORD, FormField::Password);
    }
    if (IsEmpty(values.accessPointNumber)) {
        const bool methodNotChosen = values.lastMethodIndex == -1 && values.methodRowCount > 1;
        return methodNotChosen ? ProgramWarning(IDS_CHOOSE_METHOD, FormField::Method)
                               : ProgramWarning(IDS_NO_ACCESS_POINT, FormField::AccessPointNumber);
    }
    if (IsEmpty(values.modemName)) {
        return ProgramWarning(IDS_NO_MODEM, FormField::Modem);
    }
    if (values.diallingMode == -1) {
        return ProgramWarning(IDS_NO_DIAL_MODE, FormField::DiallingMode);
    }
    if (values.lastMethodIndex == -1) {
        return FormMessage{MessageBoxKind::App, IDS_CHOOSE_METHOD, MessageIcon::Warning,
                           FormField::Method};
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
