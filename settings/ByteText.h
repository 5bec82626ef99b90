// Helpers for fixed-size, zero-terminated byte strings in code page 932 (Shift-JIS).
// Every copy into a fixed field goes through these, so nothing is written past a field.
#pragma once

#include <cstddef>

// True for a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC), the same set the system reports
// for code page 932.
bool IsLeadByte932(unsigned char byte);

// Copies `src` into `dst` (capacity `dstSize` bytes, terminator included). Text that does
// not fit is cut at a character boundary, never inside a double-byte character.
// Returns true when the whole text fitted.
bool CopyText(char* dst, size_t dstSize, const char* src);

// Copies at most `srcLength` bytes of `src` the same way.
bool CopyTextN(char* dst, size_t dstSize, const char* src, size_t srcLength);

// Appends `src` to the text already in `dst`; false (and `dst` unchanged) when it does not fit.
bool AppendTextExact(char* dst, size_t dstSize, const char* src);

// Copies `src` only when it fits whole; otherwise leaves `dst` empty and returns false.
bool CopyTextExact(char* dst, size_t dstSize, const char* src);

// Length of `text` cut to at most `maxBytes` bytes without splitting a double-byte character.
size_t CutLength932(const char* text, size_t length, size_t maxBytes);

// The width of `text` in a face whose full-width (double-byte) characters are `fullWidth`
// and half-width ones `halfWidth` wide, saturated at the int range: the kit tool's estimate
// of a text it cannot measure in the program's font.
int EstimateTextWidth(const char* text, int fullWidth, int halfWidth);

// Byte comparison that ignores the case of the letters A-Z only; the second byte of a
// double-byte character is compared exactly.
bool EqualsNoCase(const char* a, const char* b);

// Decimal conversion as the settings files define it: leading blanks and a sign allowed,
// conversion stops at the first non-digit, no digits give 0. Saturates at the int range.
int ParseDecimal(const char* text);

// Overwrites `size` bytes with zeros in a way the compiler may not drop (password buffers).
void WipeBytes(void* data, size_t size);

// Copies into a char array member without naming its size twice.
template <size_t N>
inline bool CopyField(char (&field)[N], const char* src) {
    return CopyText(field, N, src);
}
