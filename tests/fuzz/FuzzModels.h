// Plain models that the fuzz targets hold the readers to: the line rule, the key/value rule
// and the Shift-JIS character steps, written the simplest way rather than the fastest.
// A difference between a reader and its model is a finding like a crash.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/UserSide.h"

// Stops the run with the input saved by libFuzzer; `what` says which check failed.
[[noreturn]] inline void Finding(const char* what) {
    fprintf(stderr, "finding: %s\n", what);
    abort();
}

inline void Check(bool ok, const char* what) {
    if (!ok) {
        Finding(what);
    }
}

// The lines a reading routine sees: physical lines split at CR and LF, empty ones dropped,
// each cut into pieces of capacity - 1 bytes; a piece is a C string, so it ends at its
// first zero byte.
inline std::vector<std::string> ModelLines(const std::string& bytes, size_t capacity) {
    std::vector<std::string> lines;
    std::string piece;
    auto deliver = [&] {
        lines.push_back(piece.substr(0, piece.find('\0')));
        piece.clear();
    };
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!piece.empty()) {
                deliver();
            }
            continue;
        }
        piece += c;
        if (piece.size() == capacity - 1) {
            deliver();
        }
    }
    if (!piece.empty()) {
        deliver();
    }
    return lines;
}

inline bool IsLead932(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// `text` cut to at most `maxBytes` bytes by whole characters (lead byte and the next).
inline std::string CutToCharacters(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    size_t at = 0;
    for (;;) {
        const size_t step = IsLead932(static_cast<unsigned char>(text[at])) ? 2 : 1;
        if (at + step > maxBytes) {
            return text.substr(0, at);
        }
        at += step;
    }
}

inline bool SameIgnoringAsciiCase(const std::string& a, const char* b) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}

// A key/value line: key before the first comma, value after it; both non-empty and the
// key under 256 bytes. False for every other line.
inline bool ModelKeyValue(const std::string& line, std::string* key, std::string* value) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 == line.size() || comma > 255) {
        return false;
    }
    *key = line.substr(0, comma);
    *value = line.substr(comma + 1);
    return true;
}

// A user who is shown messages and says yes; only the count is kept.
class CountingUserSide : public UserSide {
public:
    void ShowProgramMessage(const Message&, MessageIcon) override { ++shown; }
    void ShowAppMessage(const Message&, MessageIcon) override { ++shown; }
    bool AskProgramQuestion(const Message&) override { return ++shown, true; }
    int shown = 0;
};
