// A message that a decision of the new-connection form asks the form to show: which of
// the two message-box kinds, which string, which icon.
#pragma once

#include "ui/UserSide.h"

enum class MessageBoxKind {
    None,     // nothing to show
    Program,  // captioned ダイヤルネスト (UserSide::ShowProgramMessage)
    App,      // the application's message box, captioned Dialnest (UserSide::ShowAppMessage)
};

// The field a message is about, which takes the focus once the message is answered.
enum class FormField {
    None,
    EntryName,
    UserName,
    Password,
    AccessPointNumber,
    Method,
    Modem,
    DiallingMode
};

struct FormMessage {
    MessageBoxKind kind = MessageBoxKind::None;
    unsigned textId = 0;  // a string id of res/resource.h
    MessageIcon icon = MessageIcon::Warning;
    FormField field = FormField::None;
    const char* text = nullptr;  // argument of a %s in the text, owned by the caller
};

// Shows `message` through `user` in its kind of box; does nothing for MessageBoxKind::None.
inline void ShowFormMessage(UserSide& user, const FormMessage& message) {
    Message shown{message.textId};
    shown.text = message.text;
    if (message.kind == MessageBoxKind::Program) {
        user.ShowProgramMessage(shown, message.icon);
    } else if (message.kind == MessageBoxKind::App) {
        user.ShowAppMessage(shown, message.icon);
    }
}
