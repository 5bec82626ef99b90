// The user's side as the core sees it: message boxes named by string id. The shell loads
// the text, formats it and shows it; tests record what would have been shown.
#pragma once

enum class MessageIcon { Warning, Information, Question };

struct Message {
    unsigned textId;
    const char* text = nullptr;  // argument of a %s in the text (code page 932)
    int number = 0;              // argument of a %d in the text
};

class UserSide {
public:
    virtual ~UserSide() = default;

    // Shown by the program directly, captioned with the product name ダイヤルネスト.
    virtual void ShowProgramMessage(const Message& message, MessageIcon icon) = 0;

    // Shown through the application's message box, captioned with the title Dialnest.
    virtual void ShowAppMessage(const Message& message, MessageIcon icon) = 0;

    // OK/Cancel question with the question icon, captioned ダイヤルネスト; true for OK.
    virtual bool AskProgramQuestion(const Message& message) = 0;
};
