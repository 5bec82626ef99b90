// Tail comparison, split around the access point, area-code check and table searches.
#include "migrate/NumberMatching.h"

#include <cstring>
#include <string>

#include "settings/PairTable.h"

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

bool MatchRecord(const AccessPointRecord& record, const char* areaCode, size_t areaLength,
                 const char* localNumber, size_t localLength, bool localOnlyIsOk,
                 char (&prefix)[kAffixSize], char (&suffix)[kAffixSize]) {
    const size_t recordAreaLength = FieldLength(record.areaCode);
    if (areaLength > 0 &&
        (areaLength != recordAreaLength || memcmp(areaCode, record.areaCode, areaLength) != 0)) {
        Clear(prefix);
        Clear(suffix);
        return false;
    }
    const size_t recordNumberLength = FieldLength(record.localNumber);
    if (areaLength > 0) {
        return SplitAround(localNumber, localLength, record.localNumber, recordNumberLength, prefix,
                           suffix);
    }
    if (localOnlyIsOk) {
        if (!SplitAround(localNumber, localLength, record.localNumber, recordNumberLength, prefix,
                         suffix)) {
            return false;
        }
        if (!StripAreaCode(prefix, record.areaCode)) {
            Clear(prefix);
            Clear(suffix);
            return false;
        }
        return true;
    }
    char joined[kAreaCodeSize + kLocalNumberSize];
    memcpy(joined, record.areaCode, recordAreaLength);
    memcpy(joined + recordAreaLength, record.localNumber, recordNumberLength);
    joined[recordAreaLength + recordNumberLength] = '\0';
    return SplitAround(localNumber, localLength, joined, recordAreaLength + recordNumberLength,
                       prefix, suffix);
}

// True when `tail` has two bytes or more, no hyphen (a hyphen of the dialled number is
// skipped, never compared), and `text` ends with it.
bool IsTailOf(const std::string& tail, const std::string& text) {
    return tail.size() >= 2 && tail.find('-') == std::string::npos && text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void ClearHit(AccessPointHit* hit) {
    Clear(hit->prefix);
    Clear(hit->suffix);
    Clear(hit->newNumber);
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
    if (prefix == nullptr) {
        return false;
    }
    size_t length = strlen(prefix);
    const size_t areaLength = LengthOf(areaCode);
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

bool MatchAccessPointRecord(const AccessPointRecord& record, const char* areaCode,
                            const char* localNumber, bool localOnlyIsOk, char (&prefix)[kAffixSize],
                            char (&suffix)[kAffixSize]) {
    return MatchRecord(record, areaCode, LengthOf(areaCode), localNumber, LengthOf(localNumber),
                       localOnlyIsOk, prefix, suffix);
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

bool FindAccessPoint(const AccessPointTable& table, const char* areaCode, const char* localNumber,
                     bool localOnlyIsOk, AccessPointHit* hit) {
    ClearHit(hit);
    const size_t areaLength = LengthOf(areaCode);
    const size_t localLength = LengthOf(localNumber);
    for (const AccessPointRecord& record : table) {
        if (MatchRecord(record, areaCode, areaLength, localNumber, localLength, localOnlyIsOk,
                        hit->prefix, hit->suffix)) {
            return true;
        }
    }
    return false;
}

bool FindPairAccessPoint(const PairTable& table, const char* areaCode, const char* localNumber,
                         bool localOnlyIsOk, AccessPointHit* hit) {
    ClearHit(hit);
    const size_t areaLength = LengthOf(areaCode);
    const size_t localLength = LengthOf(localNumber);
    for (const PairTable::Pair& pair : table) {
        AccessPointRecord record;
        if (pair.value.size() >= sizeof(hit->newNumber) ||
            !SplitTableNumber(pair.key.c_str(), &record)) {
            continue;  // never cut: a shortened number would stand for another access point
        }
        if (MatchRecord(record, areaCode, areaLength, localNumber, localLength, localOnlyIsOk,
                        hit->prefix, hit->suffix)) {
            memcpy(hit->newNumber, pair.value.data(), pair.value.size());
            hit->newNumber[pair.value.size()] = '\0';
            return true;
        }
    }
    return false;
}
