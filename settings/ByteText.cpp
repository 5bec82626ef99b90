// Fixed-size byte-string helpers (code page 932).
#include "settings/ByteText.h"

#include <climits>
#include <cstring>

bool IsLeadByte932(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

size_t CutLength932(const char* text, size_t length, size_t maxBytes) {
    if (length <= maxBytes) {
        return length;
    }
    size_t i = 0;
    while (i < maxBytes) {
        const size_t step = IsLeadByte932(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > maxBytes) {
            break;
        }
        i += step;
    }
    return i;
}

bool CopyTextN(char* dst, size_t dstSize, const char* src, size_t srcLength) {
    if (dst == nullptr || dstSize == 0) {
        return false;
    }
    if (src == nullptr) {
        dst[0] = '\0';
        return true;
    }
    const size_t n = CutLength932(src, srcLength, dstSize - 1);
    memmove(dst, src, n);
    dst[n] = '\0';
    return n == srcLength;
}

bool CopyText(char* dst, size_t dstSize, const char* src) {
    return CopyTextN(dst, dstSize, src, src != nullptr ? strlen(src) : 0);
}

bool CopyTextExact(char* dst, size_t dstSize, const char* src) {
    if (dst == nullptr || dstSize == 0) {
        return false;
    }
    const size_t n = src != nullptr ? strlen(src) : 0;
    if (n >= dstSize) {
        dst[0] = '\0';
        return false;
    }
    memmove(dst, src, n);
    dst[n] = '\0';
    return true;
}

bool AppendTextExact(char* dst, size_t dstSize, const char* src) {
    if (dst == nullptr || dstSize == 0) {
        return false;
    }
    const size_t have = strnlen(dst, dstSize);
    const size_t n = src != nullptr ? strlen(src) : 0;
    if (have >= dstSize || n >= dstSize - have) {
        return false;
    }
    memcpy(dst + have, src, n);
    dst[have + n] = '\0';
    return true;
}

static unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int EstimateTextWidth(const char* text, int fullWidth, int halfWidth) {
    long long width = 0;
    for (const char* p = text != nullptr ? text : ""; *p != '\0' && width <= 0x7FFFFFFF; ++p) {
        const bool full = IsLeadByte932(static_cast<unsigned char>(*p)) && p[1] != '\0';
        width += full ? fullWidth : halfWidth;
        p += full ? 1 : 0;
    }
    return width > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(width);
}

bool EqualsNoCase(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    for (;;) {
        const unsigned char ca = static_cast<unsigned char>(*a);
        const unsigned char cb = static_cast<unsigned char>(*b);
        if (IsLeadByte932(ca) && a[1] != '\0') {
            // The second byte of a double-byte character is never a letter: ア is not ヂ.
            if (ca != cb || a[1] != b[1]) {
                return false;
            }
            a += 2;
            b += 2;
            continue;
        }
        if (FoldAscii(ca) != FoldAscii(cb)) {
            return false;
        }
        if (ca == '\0') {
            return true;
        }
        ++a;
        ++b;
    }
}

int ParseDecimal(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (*p - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

void WipeBytes(void* data, size_t size) {
    volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
    while (size-- > 0) {
        *p++ = 0;
    }
}
