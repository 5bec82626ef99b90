// The key/value line rule of ISP_INF.csv: key before the first comma, value after it to
// the end of the line (further commas included); nothing is trimmed; both must be
// non-empty; keys compare ignoring the case of A-Z.
#pragma once

#include <cstddef>

#include "settings/ReadObserver.h"

constexpr size_t kKeyBufferSize = 256;

struct KeyValueLine {
    char key[kKeyBufferSize];  // at most 255 bytes
    const char* value;         // points into the line
};

// False when the line has no comma, an empty key or value, or a key over 255 bytes;
// `refusal` (may be null) then says which.
bool SplitKeyValue(const char* line, KeyValueLine* out, LineVerdict* refusal = nullptr);

// The on/off form: on only when the whole value equals TRUE ignoring case.
bool IsOnValue(const char* value);
