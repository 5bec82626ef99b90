// The index against the linear reference, and the choices the index makes by itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ReferenceSearch.h"
#include "SearchCases.h"
#include "migrate/AccessPointIndex.h"
#include "settings/PairTable.h"

namespace {

// A quick sample; the fuzz target runs millions of cases.
TEST(AccessPointIndex, AgreesWithTheReference) {
    SearchCases cases(20261207u);
    SearchTables tables;
    size_t compared = 0;
    size_t hits = 0;
    for (int round = 0; round < 200; ++round) {
        cases.MakeTables(round % 3 == 0 ? 3 : 24, &tables);
        for (int n = 0; n < 40; ++n) {
            std::string area;
            std::string local;
            cases.MakeDialled(&area, &local);
            for (const bool localOnlyIsOk : {false, true}) {
                const std::string difference =
                    CompareSearches(tables, area.c_str(), local.c_str(), localOnlyIsOk, &hits);
                ASSERT_EQ(difference, "") << "round " << round;
                ++compared;
            }
        }
    }
    // Most dialled numbers come from the tables: a sample of misses would prove little.
    EXPECT_GT(hits, compared / 3) << hits;
}

AccessPointRecord Record(const char* area, const char* number) {
    AccessPointRecord record = {};
    strncpy(record.areaCode, area, sizeof(record.areaCode) - 1);
    strncpy(record.localNumber, number, sizeof(record.localNumber) - 1);
    return record;
}

// Records no table line yields, repeats, and a rebuild: the index picks the same row as a
// walk over the table.
TEST(AccessPointIndex, PicksTheRecordOfTheWalk) {
    struct Case {
        const char* name;
        AccessPointTable table;
        const char* area;
        const char* local;
        bool localOnlyIsOk;
        const char* prefix;  // null: no hit
    } cases[] = {
        {"hyphen in the number", {Record("", "12-"), Record("", "12")}, "", "0,12-", false, "0,"},
        {"hyphen before an indexed hit", {Record("0", "5-6"), Record("", "56")}, "", "056", false,
         "0"},
        {"hyphen in the area code", {Record("0-3", "1234")}, "0-3", "1234", false, ""},
        {"repeats: first of them", {Record("03", "12"), Record("", "0312"), Record("03", "12")},
         "", "9,0312#", false, "9,"},
        {"same joined text", {Record("031", "2"), Record("0", "312")}, "", "0312", false, ""},
        {"area code over the field", {Record("03", "1234")}, "0312345678901", "1234", false,
         nullptr},
        {"empty table", {}, "", "1234", true, nullptr},
    };
    for (const Case& c : cases) {
        AccessPointIndex index;
        index.Build(AccessPointTable{Record("9", "99")});
        index.Build(c.table);  // replaces the earlier table
        AccessPointHit hit;
        AccessPointHit reference;
        const bool found = index.Find(c.area, c.local, c.localOnlyIsOk, &hit);
        EXPECT_EQ(found, ReferenceFind(c.table, c.area, c.local, c.localOnlyIsOk, &reference))
            << c.name;
        EXPECT_EQ(found, c.prefix != nullptr) << c.name;
        EXPECT_STREQ(hit.prefix, c.prefix != nullptr ? c.prefix : "") << c.name;
        EXPECT_STREQ(hit.prefix, reference.prefix) << c.name;
        EXPECT_STREQ(hit.suffix, reference.suffix) << c.name;
    }
}

TEST(AccessPointIndex, PairsThatNeverMatchAreLeftOut) {
    PairTable pairs;
    pairs.Set("12345678901-1234", "A");                          // key too long
    pairs.Set("03-1234", std::string(kNewNumberSize - 1, '7'));  // longest value, bucket 13
    pairs.Set("045-1234", std::string(kNewNumberSize, '7'));     // one past it
    pairs.Set("03-1-234", "B");  // the same record, bucket 14: visited later, never the hit
    AccessPointIndex index;
    index.Build(pairs);
    ASSERT_EQ(PairTable::BucketOf("03-1234"), 13u);
    ASSERT_EQ(PairTable::BucketOf("03-1-234"), 14u);
    EXPECT_EQ(index.size(), 2u);
    AccessPointHit hit;
    EXPECT_TRUE(index.Find("03", "1234", false, &hit));
    EXPECT_EQ(strlen(hit.newNumber), kNewNumberSize - 1);
    EXPECT_FALSE(index.Find("045", "1234", false, &hit));
    EXPECT_STREQ(hit.newNumber, "");
    index.Clear();
    EXPECT_FALSE(index.Find("03", "1234", false, &hit));
}

}  // namespace
