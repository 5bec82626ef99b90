// The program started from a folder whose name is Shift-JIS text in which ソ, 表 and 能 end
// in the byte 0x5C, the backslash: with the whole sample kit it must find its provider files
// and behave exactly as from an ASCII folder, in the main menu, the form and a migration; so
// must a program carrying the sample kit, in a folder holding only a settings file.
#include "AcceptingUser.h"
#include "sim/PhonebookFile.h"

namespace {

constexpr int kHeading = 1006;
constexpr int kNewConnectionButton = 1000;
constexpr int kMigrationButton = 1001;
constexpr int kUserName = 1001;
constexpr int kPassword = 1002;
constexpr int kNumber = 1003;
constexpr int kEntryName = 1005;
constexpr int kDomain = 1021;
constexpr int kHint = 1022;
constexpr int kLogo = 1023;
constexpr int kMethods = 1024;

// What a user sees of one run of each job.
struct Seen {
    std::string menuCaption, heading;
    std::string formCaption, entryName, number, domain, hint;
    std::vector<std::string> methods;
    bool logoShown = false;
    std::vector<std::string> formMessages, migrationMessages;
    std::string phonebook;  // after the migration
};

// The texts of the windows and message boxes, in one list for comparing runs.
std::vector<std::string> Texts(const Seen& seen) {
    std::vector<std::string> texts = {seen.menuCaption, seen.heading, seen.formCaption,
                                      seen.entryName,   seen.number,  seen.domain,
                                      seen.hint};
    texts.insert(texts.end(), seen.formMessages.begin(), seen.formMessages.end());
    texts.insert(texts.end(), seen.migrationMessages.begin(), seen.migrationMessages.end());
    return texts;
}

Seen RunJobs(const std::string& folder, bool packed) {
    Seen seen;
    Kit kit(folder);
    if (packed) {
        EXPECT_TRUE(kit.PackSampleKit());
        kit.WriteText("ISP_INF.csv", "CaptionStart,よそ\r\nCaptionSetting,よそ\r\n");
    } else {
        kit.CopySampleKit();
    }
    kit.CopyIn(SourcePath("tests/data/bad-input/scenario-phonebook.ini"), "phonebook.ini");

    DialnestProcess form;
    EXPECT_TRUE(form.Start(kit.ExePath())) << kit.ExePath();
    HWND menu = form.WaitForWindow(std::string());
    seen.menuCaption = WindowText(menu);
    seen.heading = WindowText(Control(menu, kHeading));
    Settle(300);
    Click(Control(menu, kNewConnectionButton));
    HWND shown = nullptr;
    for (int i = 0; i < 100 && shown == nullptr; ++i) {
        MessageBoxInfo box = form.WaitForMessageBox(50);
        if (box.window != nullptr) {
            seen.formMessages.push_back(box.text);
            Answer(box, IDOK);
        }
        for (HWND window : form.Windows()) {
            if (Control(window, kMethods) != nullptr)
                shown = window;
        }
    }
    for (MessageBoxInfo box = form.WaitForMessageBox(300); box.window != nullptr;
         box = form.WaitForMessageBox(300)) {
        seen.formMessages.push_back(box.text);
        Answer(box, IDOK);
    }
    EXPECT_NE(shown, nullptr) << "the form did not open";
    if (shown != nullptr) {
        seen.formCaption = WindowText(shown);
        seen.entryName = WindowText(Control(shown, kEntryName));
        seen.number = WindowText(Control(shown, kNumber));
        seen.domain = WindowText(Control(shown, kDomain));
        seen.hint = WindowText(Control(shown, kHint));
        seen.methods = Rows(Control(shown, kMethods));
        seen.logoShown = IsShown(Control(shown, kLogo));
        SelectRow(Control(shown, kMethods), 1);
        Settle(300);
        Type(Control(shown, kUserName), "taro");
        Type(Control(shown, kPassword), "secret");
        Click(Control(shown, IDOK));
        MessageBoxInfo created = form.WaitForMessageBox();
        seen.formMessages.push_back(created.text);
        Answer(created, IDOK);
    }
    EXPECT_TRUE(form.WaitForExit());

    DialnestProcess migration;
    EXPECT_TRUE(migration.Start(kit.ExePath()));
    menu = migration.WaitForWindow(std::string());
    Settle(300);
    Click(Control(menu, kMigrationButton));
    seen.migrationMessages = AcceptEverything(migration);
    EXPECT_FALSE(migration.Running()) << "the migration did not end";
    SimPhonebookFile book = ParsedPhonebook(kit);  // each new entry's id is Windows' own
    for (SimEntry& entry : book.entries) entry.properties.guidId = RasGuid{};
    seen.phonebook = FromCp932(FormatPhonebook(book));
    return seen;
}

TEST(ProgramFolder, ShiftJisFolderAndPackedProgramBehaveAsAscii) {
    const Seen ascii = RunJobs("", false);
    // The sample kit was read: its texts, the PHS note of its methods, no message while the
    // form opens, its logo, and the four entries of the scenario rewritten.
    EXPECT_EQ(Texts(ascii),
              (std::vector<std::string>{
                  "ネストネット接続ツール", "ネストネット接続", "ネストネット　新しい接続",
                  "ネストネット", "0570-000-111", "@dial.example.ne.jp",
                  "PHSの場合、メーカーにより#の後の数字が異なる場合があります。\n"
                  "詳しくはPHSカードのマニュアルをご覧ください。",
                  "ダイヤルアップネットワークを作成しました", "4個の設定を変更しました"}));
    EXPECT_EQ(ascii.methods.size(), 5u);
    EXPECT_NE(ascii.phonebook.find("UserName=taro@dial.example.ne.jp"), std::string::npos);
    EXPECT_TRUE(ascii.logoShown);

    // 表 and ソ end in 0x5C within a name, 能 right before the separator of the program's
    // own file name, and 表 before a separator of its own; then ("") the packed program.
    for (const std::string name : {"ソフト表示能力", "表\\接続ソ能", ""}) {
        SCOPED_TRACE(name);
        const Seen shiftJis = RunJobs(name, name.empty());
        EXPECT_EQ(Texts(shiftJis), Texts(ascii));
        EXPECT_EQ(shiftJis.methods, ascii.methods);
        EXPECT_EQ(shiftJis.logoShown, ascii.logoShown);
        EXPECT_EQ(shiftJis.phonebook, ascii.phonebook) << "the same entries rewritten the same way";
    }
}

}  // namespace
