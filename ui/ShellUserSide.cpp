// Message boxes of both kinds.
#include "ui/ShellUserSide.h"

#include <cstdio>
#include <cstring>

#include "res/resource.h"
#include "settings/ByteText.h"
#include "settings/DataFiles.h"

namespace {

UINT IconFlag(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::Warning:
        default:
            return MB_ICONEXCLAMATION;
    }
}

// The program as the subscriber knows it: its file's name, as its icon shows it.
const char* ProgramName() {
    static char name[kPathSize] = "";
    if (name[0] == '\0') {
        char modulePath[kPathSize] = "";
        GetModuleFileNameA(nullptr, modulePath, sizeof(modulePath) - 1);
        ProgramNameOf(modulePath, name, sizeof(name));
    }
    return name;
}

}  // namespace

// Our texts carry at most one %s or %d, the message's argument, and may name the program
// itself (%P) wherever they tell the subscriber what to start.
void FormatMessageText(const Message& message, char* out, size_t size) {
    char format[1024];
    LoadText(message.textId, format, sizeof(format));
    char number[16];
    snprintf(number, sizeof(number), "%d", message.number);
    out[0] = '\0';
    const char* copied = format;
    for (const char* p = strchr(format, '%'); p != nullptr; p = strchr(p, '%')) {
        const char* argument = p[1] == 's'   ? (message.text != nullptr ? message.text : "")
                               : p[1] == 'd' ? number
                               : p[1] == 'P' ? ProgramName()
                                             : nullptr;
        if (argument == nullptr) {
            ++p;
            continue;
        }
        const size_t have = strlen(out);
        CopyTextN(out + have, size - have, copied, static_cast<size_t>(p - copied));
        AppendTextExact(out, size, argument);
        copied = p += 2;
    }
    AppendTextExact(out, size, copied);
}

void LoadText(unsigned id, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return;
    }
    buffer[0] = '\0';
    if (LoadStringA(GetModuleHandleA(nullptr), id, buffer, size) <= 0) {
        buffer[0] = '\0';
    }
}

void LoadWideText(unsigned id, wchar_t* buffer, size_t size) {
    buffer[0] = L'\0';
    // Strings are kept sixteen to a block, each a length and that many UTF-16 units.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6));
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const WORD* unit = loaded != nullptr ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    if (unit == nullptr) {
        return;
    }
    const WORD* end = unit + SizeofResource(module, found) / sizeof(WORD);
    for (unsigned index = id % 16; index > 0 && unit < end; --index) {
        unit += 1 + *unit;
    }
    if (unit >= end || unit + 1 + *unit > end) {
        return;
    }
    const size_t length = *unit < size ? *unit : size - 1;
    memcpy(buffer, unit + 1, length * sizeof(wchar_t));
    buffer[length] = L'\0';
}

int ShowMessageBox(HWND owner, const Message& message, unsigned captionId, UINT type) {
    char text[2048];
    char caption[256];
    FormatMessageText(message, text, sizeof(text));
    LoadText(captionId, caption, sizeof(caption));
    return MessageBoxA(owner, text, caption, type);
}

void ShellUserSide::ShowProgramMessage(const Message& message, MessageIcon icon) {
    ShowMessageBox(owner_, message, IDS_PRODUCT_NAME, MB_OK | IconFlag(icon));
}

void ShellUserSide::ShowAppMessage(const Message& message, MessageIcon icon) {
    HWND owner = owner_ != nullptr ? owner_ : GetActiveWindow();
    ShowMessageBox(owner, message, AFX_IDS_APP_TITLE, MB_OK | IconFlag(icon));
}

bool ShellUserSide::AskProgramQuestion(const Message& message) {
    return ShowMessageBox(owner_, message, IDS_PRODUCT_NAME, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}
