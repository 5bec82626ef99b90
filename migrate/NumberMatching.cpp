// Tail comparison, split around the access point, area-code check and the record rule.
#include "migrate/NumberMatching.h"

#include <cstring>
#include <string>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t LengthOf(const char* text) {
    return text != nullptr ? strlen(text) : 0;
}

template <size_t N>
size_t FieldLength(const char (&field)[N]) {
    return strnlen(field, N - 1);
}

template <size_t N>
void Clear(char (&text)[N]) {
    text[0] = '\0';
}

// Scans `number` from its end. `armed` says a match may begin at the current byte: at the
// last byte, and after a non-digit, non-hyphen byte that was not part of a match attempt.
bool MatchTail(const char* number, size_t numberLength, const char* ap, size_t apLength,
               size_t* start, size_t* end) {
    if (numberLength == 0 || apLength < 2) {
        return false;
    }
    size_t matched = 0;
    size_t matchEnd = 0;
    bool armed = true;
    for (size_t i = numberLength; i-- > 0;) {
        const char c = number[i];
        if (armed) {
            armed = false;
            if (c == ap[apLength - 1]) {
                matchEnd = i;
                matched = 1;
                continue;
            }
        } else if (matched > 0) {
            if (c == '-') {
                continue;
            }
            if (c == ap[apLength - 1 - matched]) {
                if (++matched == apLength) {
                    if (start != nullptr) {
                        *start = i;
                    }
                    if (end != nullptr) {
                        *end = matchEnd;
                    }
                    return true;
                }
            } else {
                matched = 0;  // this byte does not arm: the next match must follow a separator
            }
            continue;
        }
        if (!IsDigit(c) && c != '-') {
            armed = true;
        }
        if (i < apLength - 1) {
            return false;  // too few bytes left for the whole access point
        }
    }
    return false;
}

bool SplitAround(const char* number, size_t numberLength, const char* ap, size_t apLength,
                 char (&prefix)[kAffixSize], char (&suffix)[kAffixSize]) {
    Clear(prefix);
    Clear(suffix);
    size_t start = 0;
    size_t end = 0;
    if (numberLength < apLength || !MatchTail(number, numberLength, ap, apLength, &start, &end)) {
        return false;
    }
    const size_t suffixLength = numberLength - end - 1;
    if (start >= kAffixSize || suffixLength >= kAffixSize) {
        return false;
    }
    memcpy(prefix, number, start);
    prefix[start] = '\0';
    memcpy(suffix, number + end + 1, suffixLength);
    suffix[suffixLength] = '\0';
    return true;
}

// StripAreaCode with the area code given by its length.
bool StripArea(char* prefix, const char* areaCode, size_t areaLength) {
    size_t length = strlen(prefix);
    if (length < areaLength) {
        return true;
    }
    if (length > 0 && prefix[length - 1] == '-') {
        prefix[--length] = '\0';
    }
    if (length == 0 || !IsDigit(prefix[length - 1])) {
        return true;
    }
    if (length < areaLength) {
        return false;
    }
    if (memcmp(prefix + length - areaLength, areaCode, areaLength) != 0) {
        return false;
    }
    prefix[length - areaLength] = '\0';
    return true;
}

// True when `tail` has two bytes or more, no hyphen (a hyphen of the dialled number is
// skipped, never compared), and `text` ends with it.
bool IsTailOf(const std::string& tail, const std::string& text) {
    return tail.size() >= 2 && tail.find('-') == std::string::npos && text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool MatchNumberTail(const char* number, const char* apNumber, size_t* start, size_t* end) {
    return MatchTail(number, LengthOf(number), apNumber, LengthOf(apNumber), start, end);
}

bool SplitAroundAccessPoint(const char* number, const char* apNumber, char (&prefix)[kAffixSize],
                            char (&suffix)[kAffixSize]) {
    return SplitAround(number, LengthOf(number), apNumber, LengthOf(apNumber), prefix, suffix);
}

bool StripAreaCode(char* prefix, const char* areaCode) {
    return prefix != nullptr && StripArea(prefix, areaCode != nullptr ? areaCode : "", LengthOf(areaCode));
}

bool MatchAccessPointRecord(const AccessPointRecord& record, const char* areaCode,
                            const char* localNumber, bool localOnlyIsOk, char (&prefix)[kAffixSize],
                            char (&suffix)[kAffixSize]) {
    char joined[kAreaCodeSize + kLocalNumberSize];
    const size_t areaLength = FieldLength(record.areaCode);
    const size_t numberLength = FieldLength(record.localNumber);
    memcpy(joined, record.areaCode, areaLength);
    memcpy(joined + areaLength, record.localNumber, numberLength);
    return MatchAccessPointText({joined, areaLength, numberLength}, areaCode, LengthOf(areaCode),
                                localNumber, LengthOf(localNumber), localOnlyIsOk, prefix, suffix);
}

bool RecordCoversRecord(const AccessPointRecord& earlier, const AccessPointRecord& later,
                        bool localOnlyIsOk) {
    const std::string earlierArea(earlier.areaCode, FieldLength(earlier.areaCode));
    const std::string laterArea(later.areaCode, FieldLength(later.areaCode));
    const std::string earlierNumber(earlier.localNumber, FieldLength(earlier.localNumber));
    const std::string laterNumber(later.localNumber, FieldLength(later.localNumber));
    // Entries with an area code: `later` meets only those of its own area code.
    const bool withAreaCode =
        laterArea.empty() || (earlierArea == laterArea && IsTailOf(earlierNumber, laterNumber));
    // Entries without: with LocalOnlyIsOk the prefix must also pass the area-code check,
    // which an empty area code always passes and the same record passes alike.
    const bool withoutAreaCode =
        localOnlyIsOk ? IsTailOf(earlierNumber, laterNumber) &&
                            (earlierArea.empty() ||
                             (earlierArea == laterArea && earlierNumber == laterNumber))
                      : IsTailOf(earlierArea + earlierNumber, laterArea + laterNumber);
    return withAreaCode && withoutAreaCode;
}

bool MatchAccessPointText(const AccessPointText& record, const char* areaCode, size_t areaLength,
                          const char* localNumber, size_t localLength, bool localOnlyIsOk,
                          char (&prefix)[kAffixSize], char (&suffix)[kAffixSize]) {
    const char* recordNumber = record.text + record.areaLength;
    if (areaLength > 0) {
        if (areaLength != record.areaLength || memcmp(areaCode, record.text, areaLength) != 0) {
            Clear(prefix);
            Clear(suffix);
            return false;
        }
        return SplitAround(localNumber, localLength, recordNumber, record.numberLength, prefix,
                           suffix);
    }
    if (!localOnlyIsOk) {
        return SplitAround(localNumber, localLength, record.text,
                           record.areaLength + record.numberLength, prefix, suffix);
    }
    if (!SplitAround(localNumber, localLength, recordNumber, record.numberLength, prefix, suffix)) {
        return false;
    }
    if (!StripArea(prefix, record.text, record.areaLength)) {
        Clear(prefix);
        Clear(suffix);
        return false;
    }
    return true;
}
