// The saved password's placeholder.
#include "dialup/SavedPassword.h"

#include <cstring>

#include "settings/ByteText.h"

const char kSavedPasswordPlaceholder[] = "****************";

bool HoldsPasswordPlaceholder(const char* password) {
    return password != nullptr && strstr(password, kSavedPasswordPlaceholder) != nullptr;
}

void TypedOverPlaceholder(const char* now, char* out, size_t size) {
    if (size == 0) {
        return;
    }
    const size_t shown = strlen(kSavedPasswordPlaceholder);
    const size_t length = now != nullptr ? strlen(now) : 0;
    // What is left of the placeholder is the asterisks kept at either end of the text;
    // everything between them was typed.
    size_t front = 0;
    while (front < length && front < shown && now[front] == '*') {
        ++front;
    }
    size_t back = 0;
    while (back < length - front && front + back < shown && now[length - 1 - back] == '*') {
        ++back;
    }
    CopyTextN(out, size, now != nullptr ? now + front : "", length - front - back);
}
