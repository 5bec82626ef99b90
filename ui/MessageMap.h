// Static message maps: per dialog class a table of (message, notification, control id) ->
// member handler. The table is data; the dispatcher in Dialog owns the Win32 return rules.
#pragma once

#include <windows.h>

class Dialog;

// A message handler fills `result` and returns true when it handled the message; false
// lets the dialog manager do its default processing.
typedef bool (Dialog::*MessageHandler)(WPARAM wParam, LPARAM lParam, LRESULT* result);
// A command handler runs for a control notification (WM_COMMAND).
typedef void (Dialog::*CommandHandler)();

struct MessageMapEntry {
    UINT message;
    UINT code;  // notification code, for WM_COMMAND
    UINT id;    // control id, for WM_COMMAND
    MessageHandler onMessage;
    CommandHandler onCommand;
};

#define DIALNEST_ON_MESSAGE(msg, handler) \
    { (msg), 0, 0, static_cast<MessageHandler>(handler), nullptr }
#define DIALNEST_ON_COMMAND(code, id, handler) \
    { WM_COMMAND, (code), (id), nullptr, static_cast<CommandHandler>(handler) }
#define DIALNEST_END_MESSAGE_MAP \
    { 0, 0, 0, nullptr, nullptr }

// In the class: declares the map. The .cpp defines MessageMap() as a static table of
// DIALNEST_ON_* entries closed by DIALNEST_END_MESSAGE_MAP.
#define DIALNEST_DECLARE_MESSAGE_MAP() \
protected:                             \
    const MessageMapEntry* MessageMap() const override;
