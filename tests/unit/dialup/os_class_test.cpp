// Operating-system class from the version query, every row of its table.
#include <gtest/gtest.h>

#include "dialup/OsClass.h"

TEST(OsClass, EveryRowOfTheTable) {
    struct Case {
        OsVersionFacts facts;
        OsClass expected;
    } cases[] = {
        {{true, 0, 3, 11, 0}, 0},
        {{true, 1, 4, 0, 950}, 1},
        {{true, 1, 4, 0, 1110}, 1},
        {{true, 1, 4, 0, 1111}, 2},
        {{true, 1, 4, 0, 1211}, 2},
        {{true, 1, 4, 3, 1212}, 3},
        {{true, 1, 4, 10, 2221}, 4},
        {{true, 1, 4, 10, 2222}, 5},
        {{true, 1, 4, 89, 0x040A0000u}, 5},
        {{true, 1, 4, 90, 3000}, 6},
        {{true, 2, 4, 0, 1381}, 7},
        {{true, 2, 5, 0, 2195}, 8},
        {{true, 2, 10, 0, 19045}, 8},
        {{true, 2, 5, 1, 2600}, 9},
        {{true, 2, 6, 2, 9200}, 9},
        {{true, 3, 10, 0, 0}, kOsClassUnknown},
        {{false, 2, 5, 1, 2600}, kOsClassUnknown},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyOs(c.facts), c.expected)
            << "platform " << c.facts.platformId << " " << c.facts.majorVersion << "."
            << c.facts.minorVersion << " build " << c.facts.buildNumber;
    }
    EXPECT_TRUE(IsNtFamily(kOsClassUnknown)) << "a failed query counts as the NT family";
    EXPECT_TRUE(IsNtFamily(7));
    EXPECT_FALSE(IsNtFamily(6));
}
