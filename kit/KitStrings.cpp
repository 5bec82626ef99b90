// Message texts of the program's string table.
#include "kit/KitStrings.h"

#include <cstring>

#include "kit/KitText.h"
#include "res/resource.h"

namespace {

struct ProgramString {
    unsigned id;
    const char* text;
};

const ProgramString kStrings[] = {
#include "KitStrings.inc"
};

void ReplaceFirst(std::string* text, const char* placeholder, const std::string& value) {
    const size_t at = text->find(placeholder);
    if (at != std::string::npos) {
        text->replace(at, strlen(placeholder), value);
    }
}

}  // namespace

std::string ProgramText(const Message& message) {
    for (const ProgramString& s : kStrings) {
        if (s.id == message.textId) {
            std::string text = s.text;
            ReplaceFirst(&text, "%s", Show(message.text));
            ReplaceFirst(&text, "%d", Format("%d", message.number));
            // The program as a subscriber's copy is usually named.
            while (text.find("%P") != std::string::npos) {
                ReplaceFirst(&text, "%P", "Dialnest");
            }
            return text;
        }
    }
    return Format("#%u", message.textId);
}
