// Text for the kit tool's output, which is UTF-8 throughout: provider files and phonebook
// data are code page 932 bytes and are converted for showing only, never for reading.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Offset of the first byte that is not code page 932 text (a lone byte 0x80, 0xA0 or
// 0xFD-0xFF, or a lead byte without a valid second byte), or `length` when all are.
size_t FindInvalid932(const char* bytes, size_t length);

// `length` code page 932 bytes as UTF-8 for showing: control bytes and bytes that are not
// code page 932 come out as \xHH (a tab as \t), so every byte stays visible.
std::string ShowBytes(const char* bytes, size_t length);
std::string Show(const char* text);  // a zero-terminated text
std::string Show(const std::string& text);

// A path as the system gave it, as UTF-8: on Windows the paths are code page 932 like the
// provider files; elsewhere they are already in the terminal's encoding.
std::string ShowPath(const std::string& path);

// The same between double quotes.
std::string Quoted(const char* text);
std::string Quoted(const std::string& text);

// UTF-8 text (the program's own messages) between double quotes, a line break as \n.
std::string InQuotes(const std::string& utf8);

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Without the blanks and tabs at either end.
std::string Trimmed(const std::string& text);
bool HasEdgeBlank(const std::string& text);
bool HasDigit(const std::string& text);

// A digit, also a full-width one (0x82 0x4F to 0x82 0x58), after any blanks and tabs.
bool StartsLikeANumber(const std::string& text);

// Text that reads as a telephone number to a person: at least four digits (half- or
// full-width), and besides them only hyphens, blanks, parentheses and "#" (either width).
bool LooksLikeNumber(const std::string& text);

// `text` split at its ASCII commas (never the second byte of a double-byte character).
std::vector<std::string> Columns(const std::string& text);

// The first character of `text` (code page 932: 1 or 2 bytes) that is not a digit 0-9,
// and the first double-byte (full-width) character; empty when there is none.
std::string FirstNonDigit(const std::string& text);
std::string FirstDoubleByte(const std::string& text);

// The first character of a number to dial that a modem does not dial (anything but digits,
// blanks and - # * , ! @ $ ( ) P T W), 1 or 2 bytes; empty when there is none.
std::string FirstNonDialling(const std::string& number);

// The first character of a number that is compared with what entries dial and that an
// entry's number would not hold at that place: anything but digits, hyphens and the
// dialling characters # * , ! @ $ P T W (a blank or a parenthesis counts). Empty when none.
std::string FirstNeverDialled(const std::string& number);

// Edits (a byte inserted, removed or replaced, or two neighbours swapped) that turn `a`
// into `b`, letters A-Z compared without regard to case.
size_t EditDistance(const std::string& a, const std::string& b);

// One character (code page 932), shown between double quotes.
std::string ShownCharacter(const std::string& character);

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8);

#ifdef __MINGW_PRINTF_FORMAT
#define KIT_PRINTF(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#else
#define KIT_PRINTF(f, a) __attribute__((format(printf, f, a)))
#endif

// printf into a std::string.
std::string Format(const char* format, ...) KIT_PRINTF(1, 2);
