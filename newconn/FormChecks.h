// The checks the new-connection form makes when "作成" is pressed, before anything is
// written.
#pragma once

#include "newconn/FormMessage.h"

// The form's values as read from its controls (code page 932, each at most 254 bytes;
// a null text counts as empty).
struct CreateFormValues {
    const char* entryName = nullptr;          // edit 1005
    const char* userName = nullptr;           // edit 1001, without the domain
    const char* password = nullptr;           // edit 1002
    const char* accessPointNumber = nullptr;  // edit 1003
    const char* modemName = nullptr;          // list 1018
    int diallingMode = 0;                     // 0 tone, 1 pulse, -1 neither checked
    int lastMethodIndex = -1;                 // row applied last, -1 while none has been
    int methodRowCount = 0;                   // rows of the method list 1024
    const char* domainText = nullptr;         // label 1021, appended to the user name
};

// The first failing check, in the form's fixed order: entry name, user name (empty, then
// not plain ASCII without blanks, then a domain of its own before the one label 1021 adds,
// named in the message), password,
// access-point number (the method prompt instead when no row has been applied and the list
// has more than one row), modem, dialling mode; all captioned ダイヤルネスト. Then, with every
// field filled, the method prompt in the application's message box while no row has been
// applied. MessageBoxKind::None when the form may go on to the overwrite question.
FormMessage CheckCreateForm(const CreateFormValues& values);
