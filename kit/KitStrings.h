// The program's own texts, in UTF-8, taken at build time from the string table of the
// resource script, so that the tool quotes exactly what the program would show.
#pragma once

#include <string>

#include "ui/UserSide.h"

// The text of `message.textId` with its %s (code page 932 text) or %d filled in; an
// unknown id gives "#<id>".
std::string ProgramText(const Message& message);
