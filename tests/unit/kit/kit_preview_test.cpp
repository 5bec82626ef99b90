// dialnest-kit preview: a phonebook with one entry per outcome of the rules, told entry by
// entry and left untouched; the runs that stop early; the limit of a new number.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "KitRun.h"
#include "support/TempFolder.h"

namespace {

// The output without its first line, which names the kit and the phonebook.
std::string Body(const std::string& out) {
    return out.substr(out.find('\n') + 1);
}

std::string Entry(const std::string& name, const std::string& number, const std::string& user) {
    return "[" + name + "]\r\nOptions=0x05000110\r\nLocalPhoneNumber=" + number +
           "\r\nDeviceType=modem\r\nDeviceName=Standard 56000 bps Modem\r\nUserName=" + user +
           "\r\nPassword=sample\r\n";
}

TEST(KitPreview, OneEntryPerOutcomeWritesNothing) {
    const std::string kit = SourcePath("tests/data/kits/preview/kit");
    TempFolder scratch;
    const std::string phonebook = ReadFile(SourcePath("tests/data/kits/preview/phonebook.ini"));
    scratch.Write("phonebook.ini", phonebook);
    const std::string path = scratch.PathTo("phonebook.ini");

    const KitRun nt = RunKit({"preview", kit, path});
    EXPECT_EQ(nt.status, 0) << nt.err;
    EXPECT_EQ(Body(nt.out), ReadFile(SourcePath("tests/data/kits/preview/expected.txt")));
    EXPECT_EQ(scratch.Read("phonebook.ini"), phonebook) << "the phonebook is only read";

    // The 9x family reads and writes dial parameters instead of credentials: same proposals.
    const KitRun nineX = RunKit({"preview", "--os-class=9x", kit, path});
    EXPECT_EQ(Body(nineX.out), Body(nt.out));

    const KitRun json = RunKit({"preview", "--json", kit, path});
    EXPECT_NE(json.out.find("{\"name\": \"他社\", \"stop\": \"other-user-prefix\""),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"messages\": [{\"text\": \"6個の設定を変更しました\", \"icon\": "
                            "\"information\"}]}"),
              std::string::npos);
    EXPECT_EQ(scratch.Read("phonebook.ini"), phonebook);
    EXPECT_NE(RunKit({"preview", "--lang=ja", kit, path})
                  .out.find("最後の表示（情報）: \"6個の設定を変更しました\""),
              std::string::npos);
}

TEST(KitPreview, RunsThatStopEarlyAndRefusedChanges) {
    const std::string settings = "DefaultTelNumber,";
    struct Case {
        const char* name;
        const char* settings;  // ISP_INF.csv; null: none
        std::string telNumber;
        std::string entries;
        const char* fail;  // RASSIM_FAIL
        int status;
        const char* message;
    } cases[] = {
        {"no ISP_INF.csv", nullptr, "", Entry("a", "03-3333-0101", "x@y"), nullptr, 1,
         "ISPの設定を読み込めません"},
        {"phonebook not listed", "", "0570", Entry("a", "03-3333-0101", "x@y"),
         "RasEnumEntriesA:621", 1, "電話帳の読み込みに失敗しました"},
        {"no entries", "", "0570", "", nullptr, 0,
         "ダイヤルアップネットワークが設定されていません"},
        {"nothing to change", "", "0570", Entry("a", "06-1111-2222", "x@y"), nullptr, 0,
         "変更が必要なダイヤルアップネットワークはありません"},
        {"new number of 128 bytes", "", std::string(128, '5'), Entry("a", "03-3333-0101", "x@y"),
         nullptr, 0, "1個の設定を変更しました"},
        {"new number of 129 bytes", "", std::string(129, '5'), Entry("a", "03-3333-0101", "x@y"),
         nullptr, 1, "新しい電話番号が長すぎます"},
        {"empty new number", "", "", Entry("a", "03-3333-0101", "x@y"), nullptr, 1,
         "-> \"\"  (EMPTY: the entry would dial nothing)"},
    };
    for (const Case& c : cases) {
        TempFolder kit;
        kit.Write("APGEN.csv", "03-3333-0101\r\n");
        if (c.settings != nullptr) {
            kit.Write("ISP_INF.csv", settings + c.telNumber + "\r\n");
        }
        kit.Write("phonebook.ini", c.entries);
        if (c.fail != nullptr) {
            setenv("RASSIM_FAIL", c.fail, 1);
        }
        const KitRun run = RunKit({"preview", kit.path(), kit.PathTo("phonebook.ini")});
        unsetenv("RASSIM_FAIL");
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.name << "\n" << run.out;
        EXPECT_EQ(kit.Read("phonebook.ini"), c.entries) << c.name;
    }
}

}  // namespace
