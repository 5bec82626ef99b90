// Access-point number matching: does a dialled number end with an old access point, and
// what does the subscriber dial before and after it. Numbers are code page 932 bytes and
// compare byte for byte; only hyphens of the dialled number are skipped inside a match.
#pragma once

#include <cstddef>

#include "settings/AccessPointTables.h"

// Prefix or suffix around a matched access point: at most 127 bytes + terminator. A local
// number holds at most 128 bytes and a match covers at least two, so this always suffices.
constexpr size_t kAffixSize = 128;

// A pair value is at most a line piece of APAIR.csv less its key and comma.
constexpr size_t kNewNumberSize = kTableLineCapacity;

// The tail comparison. True when `number` ends with `apNumber`, with hyphens of `number`
// skipped inside the match and any non-digit, non-hyphen characters allowed after it;
// `start` and `end` (either may be null) receive the positions of the first and the last
// matched byte. An empty `number`, an empty `apNumber` or one of a single byte is never
// found. (123456# and 12-34-56 contain 123456; 1234567 and 123456- do not.)
bool MatchNumberTail(const char* number, const char* apNumber, size_t* start, size_t* end);

// Splits `number` around the match of `apNumber`: `prefix` gets the bytes before the match,
// `suffix` those after it (either may be empty). False, with both empty, when `number` is
// shorter than `apNumber`, the tail comparison fails, or a part would not fit its buffer.
bool SplitAroundAccessPoint(const char* number, const char* apNumber, char (&prefix)[kAffixSize],
                            char (&suffix)[kAffixSize]);

// Area-code check of the prefix of an entry that dials its local number alone. A prefix
// shorter than `areaCode` passes as it is. Otherwise a trailing hyphen is removed; an
// empty prefix or one that ends in a non-digit passes; one that ends with `areaCode` loses
// it and passes. Anything else fails, also a prefix that the hyphen's removal left shorter
// than the area code while ending in a digit (3- against 03), which cannot be the area
// code. `prefix` is only ever shortened in place.
bool StripAreaCode(char* prefix, const char* areaCode);

// The outcome of an access-point search.
struct AccessPointHit {
    char prefix[kAffixSize];
    char suffix[kAffixSize];
    char newNumber[kNewNumberSize];  // pair table: a copy of the pair's value; else empty
};

// Whether one record matches the entry's area code (empty when the entry has none) and
// local number:
//   - entry with an area code: the record's area code equals it and the local number ends
//     with the record's number;
//   - without, `localOnlyIsOk` on: the local number ends with the record's number and the
//     prefix passes StripAreaCode with the record's area code (prefix returned shortened);
//   - without, `localOnlyIsOk` off: the local number ends with area code + number.
// On false, `prefix` and `suffix` are empty.
bool MatchAccessPointRecord(const AccessPointRecord& record, const char* areaCode,
                            const char* localNumber, bool localOnlyIsOk, char (&prefix)[kAffixSize],
                            char (&suffix)[kAffixSize]);

// True when `earlier` matches every entry number that `later` matches (for entries with an
// area code, and for those without under `localOnlyIsOk`), so that `later`, searched after
// it, can never be the first match. Rests on one property of the tail comparison: whatever
// ends with a number X also ends with any tail of X of two bytes or more. False whenever
// that property does not settle the question; `earlier` may then still cover `later`.
bool RecordCoversRecord(const AccessPointRecord& earlier, const AccessPointRecord& later,
                        bool localOnlyIsOk);

// A record held as one text: its area code directly followed by its number, so that the
// two joined need no copy. Neither part is zero-terminated.
struct AccessPointText {
    const char* text;
    size_t areaLength;
    size_t numberLength;
};

// MatchAccessPointRecord for a record held as text; the entry's area code and local number
// come with their lengths.
bool MatchAccessPointText(const AccessPointText& record, const char* areaCode, size_t areaLength,
                          const char* localNumber, size_t localLength, bool localOnlyIsOk,
                          char (&prefix)[kAffixSize], char (&suffix)[kAffixSize]);
