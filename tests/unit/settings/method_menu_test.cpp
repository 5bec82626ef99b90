// CTMENU.csv: which lines are rows, how columns split, and what the loader reports.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "settings/MethodMenu.h"
#include "support/TempFolder.h"

namespace {

// Shift-JIS words whose second bytes are 0x5C ("\") and 0x7C ("|").
#define SJIS_HYOU "\x95\x5c"                    // 表
#define SJIS_SOFUTO "\x83\x5c\x83\x74\x83\x67"  // ソフト
#define SJIS_PORUTO "\x83\x7c\x81\x5b\x83\x67"  // ポート
#define SJIS_KETAI "\x8c\x67\x91\xd1"           // 携帯

struct Row {
    int kind;
    std::string name, domain, number;
};

bool operator==(const Row& a, const Row& b) {
    return a.kind == b.kind && a.name == b.name && a.domain == b.domain && a.number == b.number;
}

std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << "{" << r.kind << ", \"" << r.name << "\", \"" << r.domain << "\", \"" << r.number
               << "\"}";
}

Row ToRow(const MethodMenuItem& item) {
    return {item.kind, item.displayName, item.domainText, item.accessPointNumber};
}

TEST(MethodMenu, ColumnSplit) {
    struct Case {
        const char* line;
        bool isRow;
        Row row;
    } cases[] = {
        {"1,Dial-up,@isp.example,0570-01-2345",
         true,
         {1, "Dial-up", "@isp.example", "0570-01-2345"}},
        {"2,Name only", true, {2, "Name only", "", ""}},
        {"3,,@only.domain,111", true, {3, "", "@only.domain", "111"}},
        {"4,Gap,,0120#5", true, {4, "Gap", "", "0120#5"}},
        {"5,Trailing,@d,", true, {5, "Trailing", "@d", ""}},
        {"6,a,b,c,extra,more", true, {6, "a", "b", "c"}},
        {"12abc,Kind from leading digits", true, {12, "Kind from leading digits", "", ""}},
        {"9,PHS heading", true, {9, "PHS heading", "", ""}},
        {"0", true, {0, "", "", ""}},
        {"7 ,blank kept", true, {7, "blank kept", "", ""}},
        {"1, x , @y ,#31", true, {1, " x ", " @y ", "#31"}},
        // Second bytes 0x5C and 0x7C stay with their lead bytes, whatever follows.
        {"1," SJIS_HYOU "," SJIS_SOFUTO "," SJIS_PORUTO,
         true,
         {1, SJIS_HYOU, SJIS_SOFUTO, SJIS_PORUTO}},
        {"1," SJIS_KETAI "PHS,@m.example,0570#" SJIS_HYOU,
         true,
         {1, SJIS_KETAI "PHS", "@m.example", "0570#" SJIS_HYOU}},
        // A lead byte takes the next byte with it, even a comma; a final lead byte stands alone.
        {"1,a\x95,b,c", true, {1, "a\x95,b", "c", ""}},
        {"1,a,\x95", true, {1, "a", "\x95", ""}},
        {" 1,leading blank", false, {}},
        {"a,letter", false, {}},
        {",1,comma first", false, {}},
        {";1,comment", false, {}},
        {"\x82\x50,full-width one", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        MethodMenuItem item;
        memset(&item, 0x7f, sizeof(item));
        ASSERT_EQ(ParseMethodMenuLine(c.line, &item), c.isRow) << c.line;
        if (c.isRow) {
            EXPECT_EQ(ToRow(item), c.row) << c.line;
        }
    }
}

TEST(MethodMenu, LongColumnsAreCutAtACharacterBoundary) {
    const std::string ascii(300, 'n');
    std::string wide;
    for (int i = 0; i < 150; ++i) {
        wide += SJIS_HYOU;
    }
    const std::string line = "1," + ascii + "," + wide + ",0";
    MethodMenuItem item;
    ASSERT_TRUE(ParseMethodMenuLine(line.c_str(), &item));
    EXPECT_EQ(std::string(item.displayName), ascii.substr(0, 255));
    EXPECT_EQ(std::string(item.domainText), wide.substr(0, 254)) << "no half character at the end";
    EXPECT_STREQ(item.accessPointNumber, "0");
}

TEST(MethodMenu, LoadKeepsFileOrderAndFindsPhsRows) {
    TempFolder folder;
    folder.Write("CTMENU.csv",
                 "kind,name,domain,number\r\n"
                 "9,Choose a method\r\n"
                 "\r\n"
                 "1," SJIS_HYOU
                 "dial,@isp.example,0570-01-2345\r\n"
                 "# comment\n"
                 "3,Air,@air.example,#9\r"
                 "2,Last without line break,@x,1");
    std::vector<MethodMenuItem> rows(3);
    bool hasPhs = true;
    ASSERT_TRUE(LoadMethodMenu(folder, &rows, &hasPhs));
    std::vector<Row> got;
    for (const MethodMenuItem& item : rows) {
        got.push_back(ToRow(item));
    }
    const std::vector<Row> expected = {
        {9, "Choose a method", "", ""},
        {1, SJIS_HYOU "dial", "@isp.example", "0570-01-2345"},
        {3, "Air", "@air.example", "#9"},
        {2, "Last without line break", "@x", "1"},
    };
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(hasPhs);
    EXPECT_FALSE(IsChoosableMethod(rows[0]));
    EXPECT_TRUE(IsChoosableMethod(rows[1]));
}

TEST(MethodMenu, PhsNoteFlag) {
    struct Case {
        const char* file;
        bool hasPhs;
    } cases[] = {
        {"9,PHS only as a heading\r\n", true},
        {"1,Dial-up\r\n2," SJIS_KETAI "PHS,@p,0570#1\r\n", true},
        {"1,phs in lower case\r\n", false},
        {"1,Dial-up,PHS in the domain,PHS\r\n", false},
        {"PHS,not a row\r\n", false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.Write("CTMENU.csv", c.file);
        std::vector<MethodMenuItem> rows;
        bool hasPhs = !c.hasPhs;
        EXPECT_TRUE(LoadMethodMenu(folder, &rows, &hasPhs));
        EXPECT_EQ(hasPhs, c.hasPhs) << c.file;
    }
}

TEST(MethodMenu, MissingOrUnreadableFile) {
    TempFolder folder;
    std::vector<MethodMenuItem> rows(2);
    bool hasPhs = true;
    EXPECT_FALSE(LoadMethodMenu(folder, &rows, &hasPhs));
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(hasPhs);

    folder.MakeFolder("CTMENU.csv");
    rows.resize(2);
    EXPECT_TRUE(LoadMethodMenu(folder, &rows, &hasPhs));
    EXPECT_TRUE(rows.empty());
}

}  // namespace
