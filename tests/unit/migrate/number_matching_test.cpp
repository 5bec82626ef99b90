// Tail comparison, split around the access point, area-code check and the three searches.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ReferenceSearch.h"
#include "migrate/AccessPointIndex.h"
#include "migrate/NumberMatching.h"
#include "settings/AccessPointTables.h"
#include "settings/PairTable.h"

namespace {

AccessPointTable Table(std::initializer_list<const char*> numbers) {
    AccessPointTable table;
    for (const char* number : numbers) {
        AccessPointRecord record;
        EXPECT_TRUE(SplitTableNumber(number, &record)) << number;
        table.push_back(record);
    }
    return table;
}

TEST(NumberMatching, TailComparison) {
    constexpr size_t kNone = static_cast<size_t>(-1);
    struct Case {
        const char* number;
        const char* ap;
        size_t start;  // kNone: not found
        size_t end;
    } cases[] = {
        {"123456", "123456", 0, 5},
        {"123456#", "123456", 0, 5},
        {"123456##61", "123456", 0, 5},
        {"0,123456##61", "123456", 2, 7},
        {"12-34-56", "123456", 0, 7},  // hyphens inside a match are skipped
        {"0123456", "123456", 1, 6},   // a digit may stand right before the match
        {"P0570-00-1234", "0570001234", 1, 12},
        {"56#1234", "56", 0, 1},          // a match may end before any non-digit
        {"1234567", "123456", kNone, 0},  // one more digit
        {"123456-", "123456", kNone, 0},  // trailing hyphen
        {"123456-#", "123456", kNone, 0},
        {"12#3456", "123456", kNone, 0},  // a separator inside breaks the match
        {"12-34", "12-34", kNone, 0},     // a hyphen in the table number never matches
        {"3456", "123456", kNone, 0},
        {"5", "5", kNone, 0},  // single-character access point
        {"55", "5", kNone, 0},
        {"", "123456", kNone, 0},                  // empty number
        {"123456", "", kNone, 0},                  // empty access point
        {"0570 001 234", "0570001234", kNone, 0},  // blanks are compared, not skipped
    };
    for (const Case& c : cases) {
        size_t start = 99;
        size_t end = 99;
        const bool found = MatchNumberTail(c.number, c.ap, &start, &end);
        EXPECT_EQ(found, c.start != kNone) << c.number << " / " << c.ap;
        if (found && c.start != kNone) {
            EXPECT_EQ(start, c.start) << c.number << " / " << c.ap;
            EXPECT_EQ(end, c.end) << c.number << " / " << c.ap;
        }
    }
    EXPECT_FALSE(MatchNumberTail(nullptr, "12", nullptr, nullptr));
    EXPECT_TRUE(MatchNumberTail("12", "12", nullptr, nullptr));
}

TEST(NumberMatching, SplitKeepsWhatSurroundsTheAccessPoint) {
    struct Case {
        const char* number;
        const char* ap;
        bool found;
        const char* prefix;
        const char* suffix;
    } cases[] = {
        {"0,123456#", "123456", true, "0,", "#"},
        {"0,123456##61", "123456", true, "0,", "##61"},
        {"12-34-56", "123456", true, "", ""},
        {"P0123456789", "0123456789", true, "P", ""},        // pulse prefix, NT family
        {"PP0,0123456789", "0123456789", true, "PP0,", ""},  // pulse prefix, 9x family
        {"1234567", "123456", false, "", ""},
        {"23456", "123456", false, "", ""},  // shorter than the access point
    };
    for (const Case& c : cases) {
        char prefix[kAffixSize] = "junk";
        char suffix[kAffixSize] = "junk";
        EXPECT_EQ(SplitAroundAccessPoint(c.number, c.ap, prefix, suffix), c.found) << c.number;
        EXPECT_STREQ(prefix, c.prefix) << c.number;
        EXPECT_STREQ(suffix, c.suffix) << c.number;
    }
    // Parts that would not fit their buffer are refused, never cut.
    char prefix[kAffixSize];
    char suffix[kAffixSize];
    const std::string longPrefix = std::string(126, '0') + ",12";
    EXPECT_TRUE(SplitAroundAccessPoint(longPrefix.c_str(), "12", prefix, suffix));
    EXPECT_EQ(strlen(prefix), 127u);
    const std::string tooLong = std::string(127, '0') + ",12";
    EXPECT_FALSE(SplitAroundAccessPoint(tooLong.c_str(), "12", prefix, suffix));
    EXPECT_STREQ(prefix, "");
    const std::string longSuffix = "12#" + std::string(127, '9');
    EXPECT_FALSE(SplitAroundAccessPoint(longSuffix.c_str(), "12", prefix, suffix));
}

TEST(NumberMatching, AreaCodeOfThePrefix) {
    struct Case {
        const char* prefix;
        const char* area;
        bool passes;
        const char* after;
    } cases[] = {
        {"", "03", true, ""},
        {"3", "03", true, "3"},  // shorter than the area code: dials
                                 // the local number alone
        {"P", "03", true, "P"},
        {"03", "03", true, ""},
        {"03-", "03", true, ""},
        {"0,03", "03", true, "0,"},
        {"0,03-", "03", true, "0,"},
        {"103", "03", true, "1"},
        {"0,", "03", true, "0,"},  // ends in a non-digit
        {"PP", "03", true, "PP"},
        {"0,-", "03", true, "0,"},
        {"045", "03", false, "045"},
        {"3-", "03", false, "3"},  // shorter after the hyphen, ends in a digit
        {"0-", "03", false, "0"},
        {"", "", true, ""},
        {"5", "", true, "5"},
        {"0-", "", true, "0"},
    };
    for (const Case& c : cases) {
        char prefix[kAffixSize];
        strcpy(prefix, c.prefix);
        EXPECT_EQ(StripAreaCode(prefix, c.area), c.passes) << c.prefix << " / " << c.area;
        if (c.passes) {
            EXPECT_STREQ(prefix, c.after) << c.prefix << " / " << c.area;
        }
    }
}

struct SearchCase {
    const char* name;
    const char* area;
    const char* local;
    bool localOnlyIsOk;
    bool hit;
    const char* prefix;
    const char* suffix;
};

// Both the shipped index and the linear reference must give what each case states.
void ExpectSearches(const AccessPointTable& table, const std::vector<SearchCase>& cases) {
    AccessPointIndex index;
    index.Build(table);
    for (const SearchCase& c : cases) {
        for (const bool indexed : {true, false}) {
            AccessPointHit hit;
            memset(&hit, 'Z', sizeof(hit));
            const bool found =
                indexed ? index.Find(c.area, c.local, c.localOnlyIsOk, &hit)
                        : ReferenceFind(table, c.area, c.local, c.localOnlyIsOk, &hit);
            const std::string name = std::string(c.name) + (indexed ? " (index)" : " (reference)");
            EXPECT_EQ(found, c.hit) << name;
            EXPECT_STREQ(hit.prefix, c.prefix) << name;
            EXPECT_STREQ(hit.suffix, c.suffix) << name;
            EXPECT_STREQ(hit.newNumber, "") << name;
        }
    }
}

TEST(NumberMatching, AreaCodeRulesOfTheSearch) {
    ExpectSearches(Table({"03-1234"}),
                   {
                       {"entry area code, off", "03", "12-34", false, true, "", ""},
                       {"entry area code, on", "03", "0,1234#", true, true, "0,", "#"},
                       {"other area code", "045", "1234", true, false, "", ""},
                       {"joined when off", "", "031234", false, true, "", ""},
                       {"joined with prefix", "", "0,03-1234#", false, true, "0,", "#"},
                       {"local alone when off", "", "1234", false, false, "", ""},
                       {"area code cut when on", "", "031234", true, true, "", ""},
                       {"area code and hyphen cut", "", "0,03-1234#", true, true, "0,", "#"},
                       {"local alone when on", "", "1234", true, true, "", ""},
                       {"other area code when on", "", "0451234", true, false, "", ""},
                       {"outside line then local", "", "0,1234", true, true, "0,", ""},
                       {"short prefix, hyphen", "", "3-1234", true, false, "", ""},
                   });
    // A record without area code never matches an entry that has one.
    ExpectSearches(Table({"0312345678"}),
                   {
                       {"record without area code", "03", "0312345678", false, false, "", ""},
                       {"no area code either", "", "0,0312345678", false, true, "0,", ""},
                       {"no area code, on", "", "0,0312345678", true, true, "0,", ""},
                   });
    // 03- stands for its area code alone where the area code is joined.
    ExpectSearches(Table({"03-"}),
                   {
                       {"empty local, entry area", "03", "1234", false, false, "", ""},
                       {"empty local, joined", "", "1203", false, true, "12", ""},
                       {"empty local, on", "", "1203", true, false, "", ""},
                   });
}

TEST(NumberMatching, FirstRecordInFileOrderWinsWithItsOwnPrefix) {
    ExpectSearches(Table({"0123456", "123456"}),
                   {{"first of two", "", "0123456", false, true, "", ""}});
    ExpectSearches(Table({"123456", "0123456"}),
                   {{"first of two, reversed", "", "0123456", false, true, "0", ""}});
    // The first record's tail matches but its area code does not: nothing of it is kept.
    ExpectSearches(Table({"03-1234", "045-1234"}), {{"second record after a failed area check", "",
                                                     "0451234#", true, true, "", "#"}});
    ExpectSearches(Table({"03-1234"}),
                   {{"failed area check leaves nothing", "", "0451234#", true, false, "", ""}});
    ExpectSearches(Table({}), {{"empty table", "", "0451234", true, false, "", ""}});
}

TEST(NumberMatching, PairSearchFollowsTheVisitingOrder) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> lines;  // in file order
        const char* local;
        const char* newNumber;  // null: no hit
        const char* prefix;
    } cases[] = {
        // 3123456 lies in bucket 5, 123456 in bucket 3: the later line is visited first.
        {"bucket order", {{"3123456", "A"}, {"123456", "B"}}, "3123456", "B", "3"},
        {"bucket order, reversed file", {{"123456", "B"}, {"3123456", "A"}}, "3123456", "B", "3"},
        // 123456 and 0123456 share bucket 3: the key added last heads the chain.
        {"same bucket", {{"123456", "B"}, {"0123456", "C"}}, "0123456", "C", ""},
        {"repeated key keeps its place",
         {{"0123456", "C"}, {"123456", "B"}, {"0123456", "D"}},
         "0123456",
         "B",
         "0"},
        {"value as written", {{"03-1234", "0120-11-2222,x"}}, "0,031234#", "0120-11-2222,x", "0,"},
        {"key too long for a record", {{"12345678901-1234", "E"}}, "123456789011234", nullptr, ""},
        {"no match", {{"03-1234", "F"}}, "5678", nullptr, ""},
    };
    for (const Case& c : cases) {
        PairTable table;
        for (const auto& [key, value] : c.lines) {
            table.Set(key, value);
        }
        AccessPointIndex index;
        index.Build(table);
        for (const bool indexed : {true, false}) {
            AccessPointHit hit;
            memset(&hit, 'Z', sizeof(hit));
            const bool found = indexed ? index.Find("", c.local, false, &hit)
                                       : ReferenceFind(table, "", c.local, false, &hit);
            const std::string name = std::string(c.name) + (indexed ? " (index)" : " (reference)");
            EXPECT_EQ(found, c.newNumber != nullptr) << name;
            EXPECT_STREQ(hit.newNumber, c.newNumber != nullptr ? c.newNumber : "") << name;
            EXPECT_STREQ(hit.prefix, c.prefix) << name;
        }
    }
    EXPECT_EQ(PairTable::BucketOf("3123456"), 5u);
    EXPECT_EQ(PairTable::BucketOf("123456"), 3u);
    EXPECT_EQ(PairTable::BucketOf("0123456"), 3u);
}

TEST(NumberMatching, CoveringRecordMatchesEveryNumberTheLaterOneMatches) {
    const AccessPointTable records =
        Table({"1234", "234", "34", "4", "03-1234", "03-234", "06-1234", "031234", "3-4", "12#4",
               "2#4", "03-", "-1234"});
    struct Case {
        size_t earlier, later;
        bool localOnlyIsOk, covers;
    } cases[] = {
        {1, 0, false, true},   // 234 is a tail of 1234
        {0, 1, false, false},  // but not the other way round
        {3, 2, false, false},  // a single byte never matches
        {5, 4, false, false},  // same area code and a tail, but 031234 does not end with 03234
        {5, 4, true, false},   // the prefix of 234 holds the 1 and fails the area check
        {4, 4, false, true},   // the same record twice
        {4, 4, true, true},   {4, 6, false, false},  // another area code
        {1, 4, false, false},  // entries with area code 03 never meet an empty area code
        {7, 4, false, false},  // 031234 meets no entry with an area code
        {10, 9, false, true},  // 2#4 is a tail of 12#4
        {12, 4, true, false},  // -1234 has an empty area code but 03-1234 needs entries of 03
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RecordCoversRecord(records[c.earlier], records[c.later], c.localOnlyIsOk),
                  c.covers)
            << c.earlier << " before " << c.later << (c.localOnlyIsOk ? " LocalOnlyIsOk" : "");
    }
    // Whenever it says so, every number the later record matches, the earlier one matches.
    const char* areas[] = {"", "03", "06"};
    const char* befores[] = {"", "0", "0,", "03", "03-", "9", "12-"};
    const char* afters[] = {"", "#", "5", "-", "##1", ","};
    char prefix[kAffixSize];
    char suffix[kAffixSize];
    for (const AccessPointRecord& earlier : records) {
        for (const AccessPointRecord& later : records) {
            for (const bool localOnlyIsOk : {false, true}) {
                if (!RecordCoversRecord(earlier, later, localOnlyIsOk)) {
                    continue;
                }
                for (const AccessPointRecord& core : records) {
                    for (const char* before : befores) {
                        for (const char* after : afters) {
                            const std::string number =
                                std::string(before) + core.areaCode + core.localNumber + after;
                            for (const char* area : areas) {
                                if (MatchAccessPointRecord(later, area, number.c_str(),
                                                           localOnlyIsOk, prefix, suffix)) {
                                    EXPECT_TRUE(
                                        MatchAccessPointRecord(earlier, area, number.c_str(),
                                                               localOnlyIsOk, prefix, suffix))
                                        << earlier.areaCode << "-" << earlier.localNumber
                                        << " misses " << area << " / " << number;
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

}  // namespace
