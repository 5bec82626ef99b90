// The pair table's hash and visiting order, which decide ties between matching pairs.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/PairTable.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Walk(const PairTable& table) {
    Pairs out;
    for (const PairTable::Pair& pair : table) {
        out.emplace_back(pair.key, pair.value);
    }
    return out;
}

TEST(PairTable, HashTakesBytesAsSigned) {
    struct Case {
        std::string key;
        uint32_t hash;
        uint32_t bucket;
    } cases[] = {
        {"", 0u, 0},
        {"A", 65u, 14},
        {"03", 1635u, 3},
        {"\xff", 4294967295u, 0},               // -1
        {"\x93\x8c\x8b\x9e", 4290919880u, 13},  // 東京
        {"03-1234-5678", 3088383233u, 16},      // wraps around
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PairTable::Hash(c.key), c.hash) << c.key;
        EXPECT_EQ(PairTable::BucketOf(c.key), c.bucket) << c.key;
    }
}

TEST(PairTable, VisitsBucketsInOrderAndChainsFromTheLastKeyAdded) {
    // Buckets: k0 9, k8 0, k50 0, k4 13, k7 16, k9 1, k61 0.
    PairTable table;
    EXPECT_TRUE(Walk(table).empty());
    for (const char* key : {"k0", "k8", "k50", "k4", "k7", "k9"}) {
        table.Set(key, std::string("v") + key);
    }
    EXPECT_EQ(Walk(table), (Pairs{{"k50", "vk50"},
                                  {"k8", "vk8"},
                                  {"k9", "vk9"},
                                  {"k0", "vk0"},
                                  {"k4", "vk4"},
                                  {"k7", "vk7"}}));

    table.Set("k8", "replaced");  // keeps its place behind k50
    table.Set("k61", "vk61");     // a new key goes in front of its chain
    EXPECT_EQ(Walk(table), (Pairs{{"k61", "vk61"},
                                  {"k50", "vk50"},
                                  {"k8", "replaced"},
                                  {"k9", "vk9"},
                                  {"k0", "vk0"},
                                  {"k4", "vk4"},
                                  {"k7", "vk7"}}));
    EXPECT_EQ(table.size(), 7u);
    ASSERT_NE(table.Find("k8"), nullptr);
    EXPECT_EQ(*table.Find("k8"), "replaced");
    EXPECT_EQ(table.Find("K8"), nullptr) << "keys compare byte for byte";

    table.Clear();
    EXPECT_TRUE(Walk(table).empty());
    EXPECT_EQ(table.Find("k8"), nullptr);
}

}  // namespace
