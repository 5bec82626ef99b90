// The access-point migration end to end: the progress window, the two confirmation
// dialogs, the entries rewritten in the substitute phonebook, and the run's messages.
#include "DialnestGuiTest.h"

namespace {

constexpr UINT kProgressGetRange = WM_USER + 7;  // PBM_GETRANGE
constexpr int kMigrationButton = 1001;
constexpr int kProgressText = 205;
constexpr int kUserNameBox = 1001;
constexpr int kPasswordBox = 1002;
constexpr int kPhoneNumber = 1003;
constexpr int kOldNumber = 1004;
constexpr int kNewNumber = 1005;
constexpr int kEntryNameBox = 1006;
constexpr int kEditUserName = 1011;
constexpr int kEditPassword = 1012;
constexpr int kEditModem = 1013;
constexpr int kOldUserName = 1014;
constexpr int kNewUserName = 1015;
constexpr int kOldDomain = 1016;
constexpr int kNewDomain = 1017;
constexpr int kModemList = 1018;
constexpr int kDomainLabel = 1021;

const std::string kSettings =
    "DefaultTelNumber,0570-000-111\r\n"
    "DefaultMobileNumber,0570-000-222\r\n"
    "DefaultFletsIsdnNumber,1492\r\n"
    "OldDialupDomain,@old.example.ne.jp\r\n"
    "MobileDomain,@phs.example.ne.jp\r\n"
    "OldDomain,@isdn-old.example.ne.jp\r\n"
    "FletsIsdnDomain,@isdn.example.ne.jp\r\n";
const std::string kDevices =
    "[devices]\r\nmodem,Standard 56000 bps Modem\r\nmodem,PHSカード\r\nisdn,ISDN TA\r\n";

std::string Entry(const std::string& name, const std::string& number, const std::string& user,
                  const std::string& device = "Standard 56000 bps Modem",
                  const std::string& type = "modem") {
    return "[" + name + "]\r\nOptions=0x05000110\r\nLocalPhoneNumber=" + number +
           "\r\nDeviceType=" + type + "\r\nDeviceName=" + device + "\r\nUserName=" + user +
           "\r\nPassword=sample\r\n";
}

class MigrationTest : public DialnestGuiTest {
protected:
    void WriteKit(const std::string& entries, const std::string& settings = kSettings) {
        kit.WriteText("APGEN.csv", "東京,03-3333-0101\r\n");
        kit.WriteText("APPHS.csv", "0570-000-888\r\n");
        if (!settings.empty())
            kit.WriteText("ISP_INF.csv", settings);
        kit.WritePhonebook(kDevices + entries);
    }

    // Starts the program and presses the migration button.
    void StartMigration() {
        HWND menu = Start(kProductName);
        ASSERT_NE(menu, nullptr);
        Settle(300);
        Click(Control(menu, kMigrationButton));
    }

    HWND ProgressWindow() { return app.WaitForWindow("アクセスポイント移行", 5000); }

    void ExpectFinal(const std::string& text) {
        ExpectBoxAndOk(kAppTitle, text, BoxIcon::Information);
        EXPECT_TRUE(app.WaitForExit()) << "the run ends with its final message";
    }
};

TEST_F(MigrationTest, WithoutSettingsOnlyTheWarning) {
    WriteKit(Entry("旧接続", "03-3333-0101", "taro@old.example.ne.jp"), "");
    const std::string before = kit.ReadBytes("phonebook.ini");
    StartMigration();
    HWND progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(WindowText(Control(progress, kProgressText)), "ダイヤルアップ設定情報取得中");
    ExpectBoxAndOk(kAppTitle, "ISPの設定を読み込めません", BoxIcon::Warning);
    EXPECT_TRUE(app.WaitForExit());
    EXPECT_EQ(kit.ReadBytes("phonebook.ini"), before);
}

TEST_F(MigrationTest, EmptyPhonebookAndFailedEnumeration) {
    WriteKit("");
    StartMigration();
    ExpectBoxAndOk(kAppTitle, "ダイヤルアップネットワークが設定されていません",
                   BoxIcon::Information);
    EXPECT_TRUE(app.WaitForExit());

    ScopedEnvironment failing("RASSIM_FAIL", "RasEnumEntriesA:621");
    DialnestProcess second;
    ASSERT_TRUE(second.Start(kit.ExePath()));
    HWND menu = second.WaitForWindow(kProductName);
    ASSERT_NE(menu, nullptr);
    Settle(300);
    Click(Control(menu, kMigrationButton));
    MessageBoxInfo box = second.WaitForMessageBox();
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_EQ(box.text, "電話帳の読み込みに失敗しました");
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    Answer(box, IDOK);
    EXPECT_TRUE(second.WaitForExit());
}

TEST_F(MigrationTest, OtherEntriesAreLeftAlone) {
    WriteKit(Entry("他社", "06-1111-2222", "a@other.example.jp") +
             Entry("ISDN機器", "03-3333-0101", "b@old.example.ne.jp", "ISDN TA", "isdn"));
    const std::string before = kit.ReadBytes("phonebook.ini");
    StartMigration();
    ExpectFinal("変更が必要なダイヤルアップネットワークはありません");
    EXPECT_EQ(kit.ReadBytes("phonebook.ini"), before);
}

TEST_F(MigrationTest, AcceptedAccessPointChangeRewritesTheNumberOnly) {
    WriteKit(Entry("旧ネスト", "0,03-3333-0101#", "taro@old.example.ne.jp"));
    StartMigration();
    HWND dialog = WaitForDialog(app, kNewNumber);
    ASSERT_NE(dialog, nullptr);
    HWND progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(WindowText(Control(progress, kProgressText)), "[旧ネスト]をチェック中");
    EXPECT_TRUE(IsCentredOver(progress));
    EXPECT_TRUE(IsCentredOver(dialog));

    EXPECT_EQ(WindowText(Control(dialog, kEntryNameBox)), "旧ネスト");
    EXPECT_EQ(WindowText(Control(dialog, kOldNumber)), "0,03-3333-0101#");
    EXPECT_EQ(WindowText(Control(dialog, kNewNumber)), "0,0570-000-111#")
        << "the prefix and suffix around the old access point stay";
    EXPECT_EQ(WindowText(Control(dialog, kUserNameBox)), "taro");
    EXPECT_EQ(WindowText(Control(dialog, kDomainLabel)), "@old.example.ne.jp");
    EXPECT_EQ(WindowText(Control(dialog, kPasswordBox)), "****************")
        << "the NT family never reveals a saved password";
    EXPECT_EQ(WindowText(Control(dialog, kModemList)), "Standard 56000 bps Modem");
    for (int locked : {kUserNameBox, kPasswordBox, kModemList}) {
        EXPECT_FALSE(IsWindowEnabled(Control(dialog, locked))) << locked;
    }
    EXPECT_TRUE(IsWindowEnabled(Control(dialog, kNewNumber)));
    Click(Control(dialog, kEditUserName));
    Settle(200);
    EXPECT_TRUE(IsWindowEnabled(Control(dialog, kUserNameBox))) << "ticking unlocks the box";
    Click(Control(dialog, kEditUserName));
    Settle(200);
    EXPECT_FALSE(IsWindowEnabled(Control(dialog, kUserNameBox)));

    Click(Control(dialog, IDOK));
    ExpectFinal("1個の設定を変更しました");
    const SimPhonebookFile book = Phonebook();
    ASSERT_EQ(book.entries.size(), 1u);
    EXPECT_STREQ(book.entries[0].properties.szLocalPhoneNumber, "0,0570-000-111#");
    EXPECT_STREQ(book.entries[0].userName, "taro@old.example.ne.jp");
    EXPECT_STREQ(book.entries[0].password, "sample") << "the saved password is kept";
    EXPECT_STREQ(book.entries[0].properties.szDeviceName, "Standard 56000 bps Modem");
}

// The program ended right after one of its writes of an accepted change: the next start puts
// the entry back (or, when its last write was made, leaves it changed) before the menu, and
// says so; no typed password reaches the journal.
TEST_F(MigrationTest, EndedInTheMiddleOfAChangeIsPutRightAtTheNextStart) {
    struct Case {
        const char* kill;
        bool newPassword;     // typed in the dialog
        const char* message;  // null: none, the change was complete
        const char* number;   // the entry's number after the next start
    } cases[] = {
        {"RasSetEntryPropertiesA#1:kill", true,
         "前回ダイヤルネストが設定の変更の途中で終了したため、次のダイヤルアップネットワーク設定"
         "を変更前の状態に戻しました\n\n[旧ネスト]",
         "0,03-3333-0101#"},
        {"RasSetCredentialsA#1:kill", false, nullptr, "0,0570-000-111#"},
        // A new password under the same user name never shows: the change is left made,
        // and the subscriber is asked to look at it.
        {"RasSetCredentialsA#1:kill", true,
         "[旧ネスト]の設定は一部だけが変更された状態になっている可能性があります。\n\nこの接続"
         "の電話番号、ユーザー名、パスワードを確認してください。",
         "0,0570-000-111#"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kill) + (c.newPassword ? ", new password" : ""));
        WriteKit(Entry("旧ネスト", "0,03-3333-0101#", "taro@old.example.ne.jp"));
        const std::string before = kit.ReadBytes("phonebook.ini");
        {
            ScopedEnvironment ending("RASSIM_FAIL", c.kill);
            StartMigration();
            HWND dialog = WaitForDialog(app, kNewNumber);
            ASSERT_NE(dialog, nullptr);
            if (c.newPassword) {
                Click(Control(dialog, kEditPassword));
                Settle(200);
                SetWindowTextW(Control(dialog, kPasswordBox), L"typed-secret");
            }
            Click(Control(dialog, IDOK));
            ASSERT_TRUE(app.WaitForExit());
            EXPECT_EQ(app.ExitCode(), 3u) << "ended by the substitute";
        }
        EXPECT_TRUE(app.Start(kit.ExePath()));
        if (c.message != nullptr) {
            ExpectBoxAndOk(kProductName, c.message, BoxIcon::Warning);
        }
        if (c.number == std::string("0,03-3333-0101#")) {
            const std::string after = kit.ReadBytes("phonebook.ini");
            EXPECT_EQ(FormatPhonebook(ParsePhonebook(after.data(), after.size())),
                      FormatPhonebook(ParsePhonebook(before.data(), before.size())))
                << "the entry as it was";
        }
        HWND menu = app.WaitForWindow(kProductName);
        ASSERT_NE(menu, nullptr) << "the menu follows";
        EXPECT_NE(Control(menu, kMigrationButton), nullptr);
        EXPECT_STREQ(Phonebook().entries[0].properties.szLocalPhoneNumber, c.number);
        app.Kill();
        ASSERT_TRUE(app.WaitForExit());

        const std::string journal = JournalFiles(true);
        EXPECT_NE(journal.find("outcome "), std::string::npos) << "the run is kept";
        EXPECT_EQ(journal.find("outcome open"), std::string::npos) << "left open";
        EXPECT_EQ(journal.find("typed-secret"), std::string::npos) << "typed password on disk";
        EXPECT_EQ(journal.find("sample"), std::string::npos) << "saved password on disk";
        JournalFiles(false);
    }
}

// A second start while the first shows a proposal or a failure mid-change says that Dialnest
// runs and ends, touching nothing; the first goes on to its end.
TEST_F(MigrationTest, SecondStartWhileTheFirstRunsSaysSoAndEnds) {
    for (const std::string fail : {"", "RasSetCredentialsA#1:31"}) {
        SCOPED_TRACE(fail);
        WriteKit(Entry("旧ネスト", "0,03-3333-0101#", "taro@old.example.ne.jp"));
        const std::string before = FormatPhonebook(Phonebook());
        ScopedEnvironment failing("RASSIM_FAIL", fail.c_str());
        StartMigration();
        HWND dialog = WaitForDialog(app, kNewNumber);
        ASSERT_NE(dialog, nullptr);
        MessageBoxInfo failure;
        if (!fail.empty()) {
            Click(Control(dialog, IDOK));
            failure = app.WaitForMessageBox();
            ASSERT_NE(failure.window, nullptr);
        }
        const std::string during = kit.ReadBytes("phonebook.ini");
        DialnestProcess second;
        ASSERT_TRUE(second.Start(kit.ExePath()));
        MessageBoxInfo told = second.WaitForMessageBox();
        EXPECT_EQ(told.caption, kProductName);
        EXPECT_EQ(told.text,
                  "ダイヤルネストはすでに起動しています。\n\n起動しているダイヤルネストを"
                  "終了してから、もう一度起動してください。");
        EXPECT_EQ(told.icon, BoxIcon::Warning);
        Answer(told, IDOK);
        EXPECT_TRUE(second.WaitForExit());
        EXPECT_EQ(kit.ReadBytes("phonebook.ini"), during) << "written by the second start";
        if (failure.window != nullptr) {
            Answer(failure, IDOK);
        } else {
            Click(Control(dialog, IDOK));
        }
        ExpectFinal(fail.empty() ? "1個の設定を変更しました"
                                 : "1個の古い設定を見つけましたが変更しませんでした");
        EXPECT_EQ(FormatPhonebook(Phonebook()) == before, !fail.empty());
    }
}

TEST_F(MigrationTest, DeclinedChangesAreCountedButNotWritten) {
    WriteKit(Entry("一", "03-3333-0101", "a@old.example.ne.jp") +
             Entry("二", "0570-000-888", "b@phs-old.example.ne.jp"));
    const std::string before = kit.ReadBytes("phonebook.ini");
    StartMigration();
    for (int i = 0; i < 2; ++i) {
        HWND dialog = WaitForDialog(app, kNewNumber);
        ASSERT_NE(dialog, nullptr) << i;
        // Escape declines, like "変更しない".
        if (i == 0) {
            Click(Control(dialog, IDCANCEL));
        } else {
            PressKey(Control(dialog, kNewNumber), VK_ESCAPE);
        }
        Settle(300);
    }
    ExpectFinal("2個の古い設定を見つけましたが変更しませんでした");
    EXPECT_EQ(kit.ReadBytes("phonebook.ini"), before);
}

TEST_F(MigrationTest, PhsChangeWithAnEditedUserNameAndModem) {
    WriteKit(Entry("PHS接続", "0570-000-888##64", "hanako@x.example.ne.jp"));
    StartMigration();
    HWND dialog = WaitForDialog(app, kNewNumber);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(Control(dialog, kNewNumber)), "0570-000-222##64");
    EXPECT_EQ(WindowText(Control(dialog, kDomainLabel)), "@phs.example.ne.jp");
    // By keys alone: each 編集する comes before its box, and ticking it hands the box the focus.
    PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(dialog, kNewNumber)), 1);
    const std::pair<UINT, int> keys[] = {{VK_TAB, kEditUserName},
                                         {VK_SPACE, kUserNameBox},
                                         {VK_TAB, kEditPassword},
                                         {VK_TAB, kEditModem},
                                         {VK_SPACE, kModemList}};
    for (const auto& [key, focus] : keys) {
        PressKey(FocusOf(dialog), key);
        EXPECT_EQ(GetDlgCtrlID(FocusOf(dialog)), focus) << "after key " << key;
    }
    // Full-width letters can never log in: refused, the dialog stays, the box has the focus.
    SetText(Control(dialog, kUserNameBox), "ｈａｎａｋｏ２");
    Click(Control(dialog, IDOK));
    ExpectBoxAndOk(kProductName, kUserNotPlain, BoxIcon::Warning);
    Settle(200);
    EXPECT_TRUE(IsShown(dialog));
    EXPECT_EQ(FocusOf(dialog), Control(dialog, kUserNameBox));
    SetText(Control(dialog, kUserNameBox), "hanako@x.example.ne.jp");
    Click(Control(dialog, IDOK));
    ExpectBoxAndOk(kProductName, UserNameHasDomain("@phs.example.ne.jp"), BoxIcon::Warning);
    Settle(200);
    EXPECT_EQ(FocusOf(dialog), Control(dialog, kUserNameBox));
    SetText(Control(dialog, kUserNameBox), "hanako2");
    SelectRow(Control(dialog, kModemList), 1);
    Settle(200);
    // Enter in a box accepts the dialog.
    PressKey(Control(dialog, kUserNameBox), VK_RETURN);
    ExpectFinal("1個の設定を変更しました");
    const SimPhonebookFile book = Phonebook();
    ASSERT_EQ(book.entries.size(), 1u);
    EXPECT_STREQ(book.entries[0].userName, "hanako2@phs.example.ne.jp");
    EXPECT_STREQ(book.entries[0].properties.szLocalPhoneNumber, "0570-000-222##64");
    EXPECT_STREQ(book.entries[0].properties.szDeviceName, ToCp932("PHSカード").c_str());
}

TEST_F(MigrationTest, FletsIsdnUserNameChange) {
    WriteKit(Entry("フレッツ", "1492", "jiro@isdn-old.example.ne.jp"));
    StartMigration();
    HWND dialog = WaitForDialog(app, kNewUserName);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsCentredOver(dialog));
    EXPECT_EQ(WindowText(Control(dialog, kEntryNameBox)), "フレッツ");
    EXPECT_EQ(WindowText(Control(dialog, kPhoneNumber)), "1492");
    EXPECT_EQ(WindowText(Control(dialog, kOldUserName)), "jiro");
    EXPECT_EQ(WindowText(Control(dialog, kOldDomain)), "@isdn-old.example.ne.jp");
    EXPECT_EQ(WindowText(Control(dialog, kNewUserName)), "jiro");
    EXPECT_EQ(WindowText(Control(dialog, kNewDomain)), "@isdn.example.ne.jp");
    EXPECT_FALSE(IsWindowEnabled(Control(dialog, kPasswordBox)));
    Click(Control(dialog, kEditPassword));
    Settle(200);
    EXPECT_TRUE(IsWindowEnabled(Control(dialog, kPasswordBox)));
    // Typed after the sixteen asterisks that stand for the saved password: they go, whole.
    SendMessageW(Control(dialog, kPasswordBox), EM_SETSEL, 16, 16);
    Type(Control(dialog, kPasswordBox), "newpass");
    EXPECT_EQ(WindowText(Control(dialog, kPasswordBox)), "newpass");
    SetText(Control(dialog, kNewUserName), "jiro ");
    Click(Control(dialog, IDOK));
    ExpectBoxAndOk(kProductName, kUserNotPlain, BoxIcon::Warning);
    Settle(200);
    EXPECT_EQ(FocusOf(dialog), Control(dialog, kNewUserName));
    SetText(Control(dialog, kNewUserName), "jiro@isdn-old.example.ne.jp");
    Click(Control(dialog, IDOK));
    ExpectBoxAndOk(kProductName, UserNameHasDomain("@isdn.example.ne.jp"), BoxIcon::Warning);
    Settle(200);
    // The whole new address typed in: its domain is not added a second time.
    SetText(Control(dialog, kNewUserName), "jiro@ISDN.example.ne.jp");
    Click(Control(dialog, IDOK));
    ExpectFinal("1個の設定を変更しました");
    const SimPhonebookFile book = Phonebook();
    ASSERT_EQ(book.entries.size(), 1u);
    EXPECT_STREQ(book.entries[0].userName, "jiro@ISDN.example.ne.jp");
    EXPECT_STREQ(book.entries[0].password, "newpass");
    EXPECT_STREQ(book.entries[0].properties.szLocalPhoneNumber, "1492") << "number unchanged";
}

// The dialog refuses an empty new number with the form's own words and stays open; the
// modem box shows the entry's own modem, which it keeps, although it is no longer installed.
TEST_F(MigrationTest, EmptyNumberRefusedAndTheKeptModemShown) {
    WriteKit(Entry("旧ネスト", "03-3333-0101", "taro@old.example.ne.jp", "Gone Modem"));
    StartMigration();
    HWND dialog = WaitForDialog(app, kNewNumber);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(Control(dialog, kModemList)), "Gone Modem");
    SetText(Control(dialog, kNewNumber), "");
    Click(Control(dialog, IDOK));
    ExpectBoxAndOk(kProductName, "アクセスポイント電話番号が入力されていません", BoxIcon::Warning);
    Settle(200);
    ASSERT_TRUE(IsWindow(dialog)) << "the dialog stays open";
    SetText(Control(dialog, kNewNumber), "0570-000-999");
    Click(Control(dialog, kEditModem));
    Settle(200);
    Click(Control(dialog, IDOK));
    ExpectFinal("1個の設定を変更しました");
    const SimPhonebookFile book = Phonebook();
    ASSERT_EQ(book.entries.size(), 1u);
    EXPECT_STREQ(book.entries[0].properties.szLocalPhoneNumber, "0570-000-999");
    EXPECT_STREQ(book.entries[0].properties.szDeviceName, "Gone Modem") << "as shown";
}

// An entry that cannot be read is named, with the error number, before the final message.
TEST_F(MigrationTest, UnreadableEntryIsNamedBeforeTheFinalMessage) {
    WriteKit(Entry("旧ネスト", "03-3333-0101", "taro@old.example.ne.jp"));
    ScopedEnvironment failing("RASSIM_FAIL", "RasGetCredentialsA:5");
    StartMigration();
    ExpectBoxAndOk(kAppTitle,
                   "次のダイヤルアップネットワーク設定は読み込めなかったため確認していません\n\n"
                   "[旧ネスト] (5)\n\nかっこ内の数字はエラーコードです。",
                   BoxIcon::Warning);
    ExpectFinal("変更が必要なダイヤルアップネットワークはありません");
}

// One failing step of an accepted change: the entry stays as it was, the failure is shown,
// and the change is not counted.
TEST_F(MigrationTest, FailedChangeLeavesTheEntryAsItWas) {
    const std::string lead = "ダイヤルアップネットワーク設定の変更に失敗しました\n\n";
    const std::string refused1784 =
        lead +
        "現在使用中の環境ではダイヤルアップネットワークを作成できません。\n"
        "適切な環境にしてから再度チャレンジしてください。";
    struct Case {
        const char* what;
        const char* fail;       // RASSIM_FAIL
        std::string newNumber;  // typed over the proposal; empty: as proposed
        std::string message;
    } cases[] = {
        {"properties refused", "RasSetEntryPropertiesA#1:1784", "", refused1784},
        {"new number too long", "", std::string(129, '5'),
         "ダイヤルアップネットワーク設定の変更を中止しました\n\n新しい電話番号が長すぎます。"},
        {"credentials refused after the properties", "RasSetCredentialsA#1:31", "",
         lead + "エラーコード：31"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Kit one;
        one.WriteText("APPHS.csv", "0570-000-888\r\n");
        one.WriteText("ISP_INF.csv", kSettings);
        one.WritePhonebook(kDevices + Entry("PHS接続", "0570-000-888", "hanako@x.example.ne.jp"));
        const std::string before = FormatPhonebook(ParsedPhonebook(one));
        ScopedEnvironment failing("RASSIM_FAIL", c.fail);
        DialnestProcess run;
        ASSERT_TRUE(run.Start(one.ExePath()));
        HWND menu = run.WaitForWindow(kProductName);
        ASSERT_NE(menu, nullptr);
        Settle(300);
        Click(Control(menu, kMigrationButton));
        HWND dialog = WaitForDialog(run, kNewNumber);
        ASSERT_NE(dialog, nullptr);
        if (!c.newNumber.empty()) {
            SetText(Control(dialog, kNewNumber), c.newNumber);
        }
        Click(Control(dialog, IDOK));
        MessageBoxInfo failure = run.WaitForMessageBox();
        EXPECT_EQ(failure.caption, kProductName);
        EXPECT_EQ(failure.text, c.message);
        EXPECT_EQ(failure.icon, BoxIcon::Warning);
        Answer(failure, IDOK);
        MessageBoxInfo final = run.WaitForMessageBox();
        EXPECT_EQ(final.text, "1個の古い設定を見つけましたが変更しませんでした");
        EXPECT_EQ(final.icon, BoxIcon::Information);
        Answer(final, IDOK);
        EXPECT_TRUE(run.WaitForExit());
        EXPECT_EQ(FormatPhonebook(ParsedPhonebook(one)), before);
    }
}

// The bar's range is a 32-bit value: a count above 65 535 does not wrap.
TEST_F(MigrationTest, ProgressRangeTakesLargeCounts) {
    WriteKit(Entry("旧ネスト", "03-3333-0101", "taro@old.example.ne.jp"));
    StartMigration();
    HWND dialog = WaitForDialog(app, kNewNumber);
    ASSERT_NE(dialog, nullptr);
    HWND progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);
    HWND bar = Control(progress, 206);
    EXPECT_EQ(SendMessageW(bar, kProgressGetRange, FALSE, 0), 1) << "one entry";
    SendMessageW(progress, WM_APP + 1, 0, 70000);
    EXPECT_EQ(SendMessageW(bar, kProgressGetRange, FALSE, 0), 70000);
    Click(Control(dialog, IDCANCEL));
    ExpectFinal("1個の古い設定を見つけましたが変更しませんでした");
}

}  // namespace
