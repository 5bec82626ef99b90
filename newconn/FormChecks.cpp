// Create-time checks of the new-connection form.
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
    if (const unsigned userNameProblem = UserNameProblem(values.userName, values.domainText)) {
        FormMessage refusal = ProgramWarning(userNameProblem, FormField::UserName);
        refusal.text = values.domainText;
        return refusal;
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
