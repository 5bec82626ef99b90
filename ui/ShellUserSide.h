// Message boxes for real: loads the text by string id (code page 932), formats its one
// argument and shows it with the caption and icon of its kind.
#pragma once

#include <windows.h>

#include "ui/UserSide.h"

class ShellUserSide : public UserSide {
public:
    // `owner` may be null (no owner window). A null owner for the application's message
    // box means the active window of this thread, as the application's box does.
    explicit ShellUserSide(HWND owner = nullptr) : owner_(owner) {}

    void ShowProgramMessage(const Message& message, MessageIcon icon) override;
    void ShowAppMessage(const Message& message, MessageIcon icon) override;
    bool AskProgramQuestion(const Message& message) override;

    void SetOwner(HWND owner) { owner_ = owner; }

private:
    HWND owner_;
};

// Loads string resource `id` into `buffer`; empty when it is missing.
void LoadText(unsigned id, char* buffer, int size);

// String resource `id` as the resource holds it, in UTF-16 whatever the code page, into
// `buffer` of `size` units (cut to fit, always terminated): read from its string block, as
// Windows 98 has no LoadStringW. Empty when it is missing.
void LoadWideText(unsigned id, wchar_t* buffer, size_t size);

// The text of `message`: its string with the one %s or %d replaced by the argument.
void FormatMessageText(const Message& message, char* out, size_t size);

// Message box with `caption` given by string id; shared by the start-up failure.
int ShowMessageBox(HWND owner, const Message& message, unsigned captionId, UINT type);
