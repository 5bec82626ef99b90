// Key/value line rule.
#include "settings/KeyValueLine.h"

#include <cstring>

#include "settings/ByteText.h"

bool SplitKeyValue(const char* line, KeyValueLine* out, LineVerdict* refusal) {
    LineVerdict ignored;
    LineVerdict& why = refusal != nullptr ? *refusal : ignored;
    const char* comma = line != nullptr ? strchr(line, ',') : nullptr;
    if (comma == nullptr || out == nullptr) {
        why = LineVerdict::NoComma;
        return false;
    }
    const size_t keyLength = static_cast<size_t>(comma - line);
    why = keyLength == 0                ? LineVerdict::EmptyKey
          : comma[1] == '\0'            ? LineVerdict::EmptyValue
          : keyLength >= kKeyBufferSize ? LineVerdict::KeyTooLong
                                        : LineVerdict::Setting;
    if (why != LineVerdict::Setting) {
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
