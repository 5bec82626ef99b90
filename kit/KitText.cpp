// Code page 932 to UTF-8 for showing, JSON strings and formatting.
#include "kit/KitText.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "settings/ByteText.h"

namespace {

bool IsTrailByte932(unsigned char value) {
    return value >= 0x40 && value <= 0xFC && value != 0x7F;
}

bool IsSingleByte932(unsigned char value) {
    return value <= 0x7F || (value >= 0xA1 && value <= 0xDF);
}

// Bytes of the character at `bytes`: 1 or 2, or 0 when it is not code page 932 text.
size_t CharacterLength(const unsigned char* bytes, size_t left) {
    if (IsLeadByte932(bytes[0])) {
        return left >= 2 && IsTrailByte932(bytes[1]) ? 2 : 0;
    }
    return IsSingleByte932(bytes[0]) ? 1 : 0;
}

// One character of code page 932 (1 or 2 bytes, valid) as UTF-8; empty when the code page
// has no character there.
std::string CharacterToUtf8(const char* bytes, size_t length) {
#ifdef _WIN32
    wchar_t wide[2];
    const int n =
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), wide, 2);
    char utf8[8];
    const int m =
        n > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof(utf8), nullptr, nullptr) : 0;
    return std::string(utf8, m > 0 ? static_cast<size_t>(m) : 0);
#else
    static iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string();
    }
    char in[2];
    memcpy(in, bytes, length);
    char out[8];
    char* inPointer = in;
    char* outPointer = out;
    size_t inLeft = length;
    size_t outLeft = sizeof(out);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1) ||
        inLeft != 0) {
        return std::string();
    }
    return std::string(out, static_cast<size_t>(outPointer - out));
#endif
}

void AppendEscaped(std::string* out, unsigned char value) {
    if (value == '\t') {
        *out += "\\t";
        return;
    }
    char escaped[8];
    snprintf(escaped, sizeof(escaped), "\\x%02X", value);
    *out += escaped;
}

}  // namespace

size_t FindInvalid932(const char* bytes, size_t length) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length;) {
        const size_t n = CharacterLength(p + i, length - i);
        if (n == 0) {
            return i;
        }
        i += n;
    }
    return length;
}

std::string ShowBytes(const char* bytes, size_t length) {
    std::string out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length;) {
        const size_t n = CharacterLength(p + i, length - i);
        if (n == 1 && p[i] >= 0x20 && p[i] < 0x7F) {
            out += static_cast<char>(p[i]);
        } else if (n == 0 || p[i] < 0x20 || p[i] == 0x7F) {
            AppendEscaped(&out, p[i]);
            i += 1;
            continue;
        } else {
            const std::string character = CharacterToUtf8(bytes + i, n);
            if (character.empty()) {
                for (size_t k = 0; k < n; ++k) {
                    AppendEscaped(&out, p[i + k]);
                }
            }
            out += character;
        }
        i += n;
    }
    return out;
}

std::string Show(const char* text) {
    return text != nullptr ? ShowBytes(text, strlen(text)) : std::string();
}

std::string Show(const std::string& text) {
    return ShowBytes(text.data(), text.size());
}

std::string ShowPath(const std::string& path) {
#ifdef _WIN32
    return Show(path);
#else
    return path;
#endif
}

std::string Quoted(const char* text) {
    return "\"" + Show(text) + "\"";
}

std::string Quoted(const std::string& text) {
    return "\"" + Show(text) + "\"";
}

std::string InQuotes(const std::string& utf8) {
    std::string quoted = "\"";
    for (const char c : utf8) {
        quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

bool HasEdgeBlank(const std::string& text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool HasDigit(const std::string& text) {
    return std::any_of(text.begin(), text.end(), IsDigit);
}

bool StartsLikeANumber(const std::string& text) {
    const std::string t = Trimmed(text);
    const unsigned char first = t.empty() ? 0 : static_cast<unsigned char>(t[0]);
    const unsigned char second = t.size() < 2 ? 0 : static_cast<unsigned char>(t[1]);
    return IsDigit(t.empty() ? '\0' : t[0]) || (first == 0x82 && second >= 0x4F && second <= 0x58);
}

namespace {

// The character of `text` at byte `i`: a lead byte takes the byte after it.
std::string CharacterAt(const std::string& text, size_t i) {
    const bool pair = IsLeadByte932(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    return text.substr(i, pair ? 2 : 1);
}

}  // namespace

std::string FirstNonDigit(const std::string& text) {
    for (size_t i = 0; i < text.size(); i += CharacterAt(text, i).size()) {
        if (!IsDigit(text[i])) {
            return CharacterAt(text, i);
        }
    }
    return std::string();
}

std::string FirstDoubleByte(const std::string& text) {
    for (size_t i = 0; i < text.size(); i += CharacterAt(text, i).size()) {
        if (CharacterAt(text, i).size() == 2) {
            return CharacterAt(text, i);
        }
    }
    return std::string();
}

std::string FirstNonDialling(const std::string& number) {
    for (size_t i = 0; i < number.size(); i += CharacterAt(number, i).size()) {
        const char c = number[i];
        if (c != '\0' && (IsDigit(c) || strchr(" -#*,!@$()PpTtWw", c) != nullptr)) {
            continue;
        }
        return CharacterAt(number, i);
    }
    return std::string();
}

std::string FirstNeverDialled(const std::string& number) {
    for (size_t i = 0; i < number.size(); i += CharacterAt(number, i).size()) {
        const char c = number[i];
        if (c == '\0' || (!IsDigit(c) && strchr("-#*,!@$PpTtWw", c) == nullptr)) {
            return CharacterAt(number, i);
        }
    }
    return std::string();
}

size_t EditDistance(const std::string& a, const std::string& b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = fold(a[i - 1]) == fold(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && fold(a[i - 1]) == fold(b[j - 2]) &&
                fold(a[i - 2]) == fold(b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

std::string ShownCharacter(const std::string& character) {
    return Quoted(character);
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const unsigned char value = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (value < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof(escaped), "\\u%04x", value);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Format(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int n = vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        vsnprintf(&out[0], out.size(), format, again);
        out.resize(static_cast<size_t>(n));
    }
    va_end(again);
    return out;
}

bool LooksLikeNumber(const std::string& text) {
    const std::string t = Trimmed(text);
    size_t digits = 0;
    for (size_t i = 0; i < t.size(); i += CharacterAt(t, i).size()) {
        const std::string c = CharacterAt(t, i);
        const unsigned char second = c.size() == 2 ? static_cast<unsigned char>(c[1]) : 0;
        if (IsDigit(c[0]) || (c[0] == '\x82' && second >= 0x4F && second <= 0x58)) {
            ++digits;  // 0-9, ０-９
        } else if (c.size() == 1 ? strchr("-() #", c[0]) == nullptr
                                 : c != "\x81\x7C" && c != "\x81\x5D" && c != "\x81\x40" &&
                                       c != "\x81\x69" && c != "\x81\x6A" && c != "\x81\x94") {
            return false;  // besides －, ‐, the full-width blank, （, ） and ＃
        }
    }
    return digits >= 4;
}

std::vector<std::string> Columns(const std::string& text) {
    std::vector<std::string> columns(1);
    for (const char c : text) {
        if (c == ',') {
            columns.emplace_back();
        } else {
            columns.back() += c;
        }
    }
    return columns;
}
