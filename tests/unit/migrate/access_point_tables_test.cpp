// Line rules of APGEN.csv/APPHS.csv/APAIR.csv, the split of a table number, the readers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "settings/AccessPointTables.h"
#include "settings/DataFiles.h"
#include "settings/PairTable.h"
#include "support/TempFolder.h"

namespace {

using Records = std::vector<std::pair<std::string, std::string>>;  // area code, local number

Records Flatten(const AccessPointTable& table) {
    Records out;
    for (const AccessPointRecord& r : table) {
        out.emplace_back(r.areaCode, r.localNumber);
    }
    return out;
}

TEST(SplitTableNumber, AreaCodeAndDigitsOfTheRest) {
    struct Case {
        std::string text;
        bool fits;
        const char* area;
        const char* local;
    } cases[] = {
        {"03-1234-5678", true, "03", "12345678"},
        {"0312345678", true, "", "0312345678"},
        {"0570-00-1234", true, "0570", "001234"},
        {"-12-34", true, "", "1234"},
        {"03-1234-5678,99", true, "03", "1234567899"},
        {"03-(12) 34#x", true, "03", "1234"},
        {"03-", true, "03", ""},
        {"0570 001 234", true, "", "0570 001 234"},
        {" 03-1234", true, " 03", "1234"},
        {"\x93\x8c\x8b\x9e-1", true, "\x93\x8c\x8b\x9e", "1"},
        // Field limits: 10 bytes of area code, 128 of local number; longer is skipped whole.
        {std::string(10, '9') + "-1", true, "9999999999", "1"},
        {std::string(11, '9') + "-1", false, "", ""},
        {"0-" + std::string(128, '5'), true, "0", nullptr},
        {"0-" + std::string(129, '5'), false, "", ""},
        {"0-" + std::string(129, '5') + "x", false, "", ""},
        {std::string(128, '7'), true, "", nullptr},
        {std::string(129, '7'), false, "", ""},
        {"0-1" + std::string(300, '-') + "2", true, "0", "12"},  // dropped bytes do not count
    };
    for (const Case& c : cases) {
        AccessPointRecord record;
        memset(&record, 'Z', sizeof(record));
        EXPECT_EQ(SplitTableNumber(c.text.c_str(), &record), c.fits) << c.text;
        EXPECT_STREQ(record.areaCode, c.area) << c.text;
        if (c.local != nullptr) {
            EXPECT_STREQ(record.localNumber, c.local) << c.text;
        } else {
            EXPECT_EQ(strlen(record.localNumber), 128u) << c.text;
        }
    }
}

TEST(AccessPointTables, GeneralAndPhsFilesInFileOrder) {
    TempFolder folder;
    const std::string lines = std::string(
        "\x94\xd4\x8d\x86\r\n"                       // 番号 alone: skipped
        " 0312345678\r\n"                            // not digit-led: skipped
        "-1234\r\n"                                  // not digit-led: skipped
        "\x93\x8c\x8b\x9e,03-1234-5678\r\n"          // 東京: label not kept
        "\x91\xe5\x8d\xe3, 06-1234-5678\r\n"         // 大阪: blank kept
        "0570 001 234\n"                             // digit-led: kept whole
        "name,number\r"                              // a heading with a comma is read
        "label,\r\n"                                 // nothing after the comma
        ",045-111\r\n"                               // empty label
        "x,03-1234-5678,99\r\n"                      // digits across the comma
        "\x96\xbc\x8c\xc3\x89\xae,052-111-2222\r\n"  // 名古屋
        "\x96\xbc\x8c\xc3\x89\xae,052-111-2222\r\n"  // duplicate kept
        "too long,00000000000-1\r\n"                 // area code over 10 bytes: skipped
        "03-\r\n"
        "last,011-222");  // no line break after the last line
    const Records expected = {
        {"03", "12345678"}, {" 06", "12345678"},  {"", "0570 001 234"}, {"", "number"},
        {"045", "111"},     {"03", "1234567899"}, {"052", "1112222"},   {"052", "1112222"},
        {"03", ""},         {"011", "222"},
    };
    folder.Write("APGEN.csv", lines);
    folder.Write("APPHS.csv", lines);
    AccessPointTable general;
    AccessPointTable phs;
    EXPECT_TRUE(ReadAccessPointTable(folder, kGeneralTableFile, &general));
    EXPECT_TRUE(ReadAccessPointTable(folder, kPhsTableFile, &phs));
    EXPECT_EQ(Flatten(general), expected);
    EXPECT_EQ(Flatten(phs), expected);
}

TEST(AccessPointTables, MissingOrUnreadableFileEmptiesTheTable) {
    TempFolder folder;
    AccessPointTable table(3);
    EXPECT_FALSE(ReadAccessPointTable(folder, kGeneralTableFile, &table));
    EXPECT_TRUE(table.empty());

    table.resize(2);
    folder.MakeFolder("APPHS.csv");  // present, but nothing to open
    EXPECT_TRUE(ReadAccessPointTable(folder, kPhsTableFile, &table));
    EXPECT_TRUE(table.empty());

    PairTable pairs;
    pairs.Set("1", "2");
    EXPECT_FALSE(ReadPairTable(folder, &pairs));
    EXPECT_TRUE(pairs.empty());
}

TEST(AccessPointTables, PairFileKeepsKeyAndValueAsWritten) {
    TempFolder folder;
    folder.Write("APAIR.csv",
                 "old,new\r\n"
                 "no comma\r\n"
                 ",0120-1\r\n"
                 "0311112222,\r\n"
                 "03-1111-2222,0120-11-2222,x\r\n"
                 " 03-1, x \r\n"
                 "ABC,1\r\n"
                 "abc,2\r\n"
                 "0311112222,first\r\n"
                 "0311112222,second\r\n");
    PairTable pairs;
    ASSERT_TRUE(ReadPairTable(folder, &pairs));
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"old", "new"}, {"03-1111-2222", "0120-11-2222,x"}, {" 03-1", " x "}, {"ABC", "1"},
        {"abc", "2"},   {"0311112222", "second"},
    };
    EXPECT_EQ(pairs.size(), expected.size());
    for (const auto& [key, value] : expected) {
        const std::string* found = pairs.Find(key);
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(*found, value) << key;
    }
    EXPECT_EQ(pairs.Find(""), nullptr);
}

}  // namespace
