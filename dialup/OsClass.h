// The operating-system class: an unsigned number 0 to 9 derived from the version query,
// all bits set when the query fails. Callers only test `> 6` (the NT family, which also
// takes in a failed query) and `== 9`.
#pragma once

#include <cstdint>

typedef uint32_t OsClass;

constexpr OsClass kOsClassUnknown = 0xFFFFFFFFu;

inline bool IsNtFamily(OsClass osClass) {
    return osClass > 6;
}

// The fields of the version query that decide the class. `queried` is false when the
// query itself failed. `buildNumber` is the whole 32-bit build-number field.
struct OsVersionFacts {
    bool queried;
    uint32_t platformId;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t buildNumber;
};

OsClass ClassifyOs(const OsVersionFacts& facts);
