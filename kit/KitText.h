// Text for the kit tool's output, which is UTF-8 throughout: provider files and phonebook
// data are code page 932 bytes and are converted for showing only, never for reading.
#pragma once

#include <cstddef>
#include <string>

// Offset of the first byte that is not code page 932 text (a lone byte 0x80, 0xA0 or
// 0xFD-0xFF, or a lead byte without a valid second byte), or `length` when all are.
size_t FindInvalid932(const char* bytes, size_t length);

// `length` code page 932 bytes as UTF-8 for showing: control bytes and bytes that are not
// code page 932 come out as \xHH (a tab as \t), so every byte stays visible.
std::string ShowBytes(const char* bytes, size_t length);
std::string Show(const char* text);  // a zero-terminated text
std::string Show(const std::string& text);

// The same between double quotes.
std::string Quoted(const char* text);
std::string Quoted(const std::string& text);

// UTF-8 text (the program's own messages) between double quotes.
std::string InQuotes(const std::string& utf8);

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8);

#ifdef __MINGW_PRINTF_FORMAT
#define KIT_PRINTF(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#else
#define KIT_PRINTF(f, a) __attribute__((format(printf, f, a)))
#endif

// printf into a std::string.
std::string Format(const char* format, ...) KIT_PRINTF(1, 2);
