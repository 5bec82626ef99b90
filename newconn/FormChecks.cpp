// Create-time checks of the new-connection form.
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
