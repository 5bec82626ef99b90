// Operating-system class from the version query's fields.
#include "dialup/OsClass.h"

OsClass ClassifyOs(const OsVersionFacts& facts) {
    if (!facts.queried) {
        return kOsClassUnknown;
    }
    const uint32_t minor = facts.minorVersion;
    const uint32_t build = facts.buildNumber;
    switch (facts.platformId) {
        case 0:
            return 0;
        case 1:
            if (minor < 10) {
                if (build <= 1110)
                    return 1;
                if (build <= 1211)
                    return 2;
                return 3;
            }
            if (minor < 90) {
                return build < 2222 ? 4 : 5;
            }
            return 6;
        case 2:
            if (facts.majorVersion < 5)
                return 7;
            return minor == 0 ? 8 : 9;
        default:
            return kOsClassUnknown;
    }
}
