// Key/value line rule.
#include "settings/KeyValueLine.h"

#include <cstring>

#include "settings/ByteText.h"

bool SplitKeyValue(const char* line, KeyValueLine* out) {
    if (line == nullptr || out == nullptr) {
        return false;
    }
    const char* comma = strchr(line, ',');
    if (comma == nullptr) {
        return false;
    }
    const size_t keyLength = static_cast<size_t>(comma - line);
    if (keyLength == 0 || comma[1] == '\0' || keyLength >= kKeyBufferSize) {
        return false;
    }
    memcpy(out->key, line, keyLength);
    out->key[keyLength] = '\0';
    out->value = comma + 1;
    return true;
}

bool IsOnValue(const char* value) {
    return EqualsNoCase(value, "TRUE");
}
