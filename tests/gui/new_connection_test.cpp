// The new-connection form end to end: filling from the provider files, choosing a method,
// the checks of Create in their order, the overwrite question, the entry written to the
// substitute phonebook, the default-connection registry values and the failure messages.
#include <cstring>

#include "DialnestGuiTest.h"

namespace {

constexpr int kEntryName = 1005;
constexpr int kUserName = 1001;
constexpr int kPassword = 1002;
constexpr int kNumber = 1003;
constexpr int kMakeDefault = 1011;
constexpr int kModems = 1018;
constexpr int kTone = 1019;
constexpr int kPulse = 1020;
constexpr int kDomain = 1021;
constexpr int kHint = 1022;
constexpr int kMethods = 1024;

const std::string kMenu =
    "種別,表示名,ドメイン,番号\r\n"
    "9,接続方法を選択してください,,\r\n"
    "1,アナログ・ISDN,@dial.example.ne.jp,0570-000-111\r\n"
    "2,PHS 64K,@phs.example.ne.jp,0570-000-222##64\r\n"
    "1,番号なし\r\n";
const std::string kDevices =
    "[devices]\r\nmodem,Standard 56000 bps Modem\r\nisdn,ISDN TA\r\nMODEM,PHSカード\r\n";
const std::string kExistingEntry =
    "[Nestnet]\r\nLocalPhoneNumber=03-0000-0000\r\nDeviceType=modem\r\n"
    "DeviceName=Standard 56000 bps Modem\r\nUserName=old@example.ne.jp\r\nPassword=oldpass\r\n";

const std::string kNoName = "この接続に付ける名前が入力されていません";
const std::string kNoUser = "ユーザー名が入力されていません";
const std::string kNoPassword = "パスワードが入力されていません";
const std::string kNoNumber = "アクセスポイント電話番号が入力されていません";
const std::string kNoModem = "モデムが選択されていません";
const std::string kNoMode = "トーンかパルスを選択してください";
const std::string kChooseMethod = "接続方法を選択してください";
const std::string kCreated = "ダイヤルアップネットワークを作成しました";
const std::string kCreateFailed = "ダイヤルアップネットワーク作成に失敗しました";

class NewConnectionTest : public DialnestGuiTest {
protected:
    HWND StartForm(const std::string& caption = kProductName) {
        HWND form = Start(caption);
        EXPECT_NE(form, nullptr) << "the form captioned " << caption << " did not appear";
        if (form != nullptr)
            Settle(300);
        return form;
    }

    // Kit with the menu, the devices and, optionally, settings.
    void StandardKit(const std::string& settings = std::string()) {
        kit.WriteText("CTMENU.csv", kMenu);
        kit.WritePhonebook(kDevices);
        if (!settings.empty())
            kit.WriteText("ISP_INF.csv", settings);
    }

    void Fill(HWND form, const std::string& name, const std::string& user,
              const std::string& password) {
        SetText(Control(form, kEntryName), name);
        SetText(Control(form, kUserName), "");
        Type(Control(form, kUserName), user);
        Type(Control(form, kPassword), password);
    }

    // Starts `run` from `one`, fills the form for "Nestnet" with the first method and presses
    // 作成; answers the overwrite question with OK when `overwrite`.
    HWND CreateNestnet(const Kit& one, DialnestProcess& run, bool overwrite) {
        EXPECT_TRUE(run.Start(one.ExePath()));
        HWND form = run.WaitForWindow(kProductName);
        if (form == nullptr) {
            return nullptr;
        }
        SelectRow(Control(form, kMethods), 1);
        Settle(300);
        Fill(form, "Nestnet", "taro", "secret");
        Click(Control(form, IDOK));
        if (overwrite) {
            MessageBoxInfo question = run.WaitForMessageBox();
            EXPECT_EQ(question.icon, BoxIcon::Question);
            Answer(question, IDOK);
        }
        return form;
    }

    // Presses 作成, expects the box that follows to read `text`, and then the focus in
    // control `focus`.
    void CreateExpecting(HWND form, const std::string& caption, const std::string& text,
                         BoxIcon icon, int focus = 0) {
        Click(Control(form, IDOK));
        ExpectBoxAndOk(caption, text, icon);
        if (focus != 0) {
            Settle(200);
            EXPECT_EQ(GetDlgCtrlID(FocusOf(form)), focus) << text;
        }
    }
};

TEST_F(NewConnectionTest, FillsItselfFromTheProviderFiles) {
    StandardKit(
        "CaptionSetting,ネスト接続\r\nDefaultEntryName,ネストネット\r\n"
        "DefaultTelNumber,0120-111-222\r\nDialupDomain,@default.example.ne.jp\r\n");
    HWND form = StartForm("ネスト接続");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(WindowText(Control(form, kEntryName)), "ネストネット");
    // The first row is a heading (kind 9), so nothing is applied: the provider's defaults stand.
    EXPECT_EQ(WindowText(Control(form, kNumber)), "0120-111-222");
    EXPECT_EQ(WindowText(Control(form, kDomain)), "@default.example.ne.jp");
    const std::vector<std::string> methods = {"接続方法を選択してください", "アナログ・ISDN",
                                              "PHS 64K", "番号なし"};
    EXPECT_EQ(Rows(Control(form, kMethods)), methods);
    EXPECT_EQ(SelectedRow(Control(form, kMethods)), 0);
    const std::vector<std::string> modems = {"Standard 56000 bps Modem", "PHSカード"};
    EXPECT_EQ(Rows(Control(form, kModems)), modems) << "modems only, in phonebook order";
    EXPECT_EQ(SelectedRow(Control(form, kModems)), 0);
    EXPECT_EQ(WindowText(Control(form, kHint)),
              "PHSの場合、メーカーにより#の後の数字が異なる場合があります。\n"
              "詳しくはPHSカードのマニュアルをご覧ください。");
    EXPECT_TRUE(IsChecked(Control(form, kTone)));
    EXPECT_FALSE(IsChecked(Control(form, kPulse)));
    EXPECT_TRUE(IsChecked(Control(form, kMakeDefault)));
    EXPECT_FALSE(IsShown(Control(form, 1023))) << "no Logo.png, no logo";
    Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(NewConnectionTest, AValidFirstRowOverridesTheDefaults) {
    kit.WriteText("CTMENU.csv", "1,ISDN,@isdn.example.ne.jp,0570-1\r\n");
    kit.WriteText("ISP_INF.csv", "DefaultTelNumber,0120\r\nDialupDomain,@x.example.ne.jp\r\n");
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(WindowText(Control(form, kNumber)), "0570-1");
    EXPECT_EQ(WindowText(Control(form, kDomain)), "@isdn.example.ne.jp");
    EXPECT_EQ(WindowText(Control(form, kHint)),
              "接続方法を選択してください。\nアクセスポイント電話番号が自動入力されます。");
    Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(NewConnectionTest, ChoosingRowsSetsNumberAndDomainAndHeadingsSnapBack) {
    StandardKit();
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    HWND methods = Control(form, kMethods);
    EXPECT_EQ(WindowText(Control(form, kDomain)), "@") << "the template's text";

    SelectRow(methods, 0);  // the heading row, before any row was applied: nothing happens
    EXPECT_TRUE(app.NoMessageBoxWithin(500));

    SelectRow(methods, 2);
    Settle(300);
    EXPECT_EQ(WindowText(Control(form, kNumber)), "0570-000-222##64");
    EXPECT_EQ(WindowText(Control(form, kDomain)), "@phs.example.ne.jp");

    SelectRow(methods, 3);  // a row with two columns clears number and domain
    Settle(300);
    EXPECT_EQ(WindowText(Control(form, kNumber)), "");
    EXPECT_EQ(WindowText(Control(form, kDomain)), "");

    SelectRow(methods, 1);
    Settle(300);
    EXPECT_EQ(WindowText(Control(form, kNumber)), "0570-000-111");

    SelectRow(methods, 0);  // now the heading snaps back to the row applied last
    ExpectBoxAndOk(kAppTitle, kChooseMethod, BoxIcon::Warning);
    Settle(200);
    EXPECT_EQ(SelectedRow(methods), 1);
    EXPECT_EQ(WindowText(Control(form, kNumber)), "0570-000-111");
    Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(NewConnectionTest, CreateChecksInTheirOrder) {
    StandardKit();
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    SetText(Control(form, kNumber), "");
    // Nothing filled in: each check stops the next one from being reached.
    CreateExpecting(form, kProductName, kNoName, BoxIcon::Warning, kEntryName);
    SetText(Control(form, kEntryName), "ネスト");
    CreateExpecting(form, kProductName, kNoUser, BoxIcon::Warning, kUserName);
    // Typed with the Japanese input mode on, and a trailing blank: refused, text selected.
    Type(Control(form, kUserName), "ｈａｎａｋｏ ");
    CreateExpecting(form, kProductName, kUserNotPlain, BoxIcon::Warning, kUserName);
    const DWORD selection =
        static_cast<DWORD>(SendMessageW(Control(form, kUserName), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 7) << "the whole name is selected";
    SetText(Control(form, kUserName), "taro");
    CreateExpecting(form, kProductName, kNoPassword, BoxIcon::Warning, kPassword);
    Type(Control(form, kPassword), "secret");
    // No method applied and more than one row: the number check asks for a method instead.
    CreateExpecting(form, kProductName, kChooseMethod, BoxIcon::Warning, kMethods);
    SetText(Control(form, kNumber), "0570-1");
    // All fields filled but no method row applied: the application's message box.
    CreateExpecting(form, kAppTitle, kChooseMethod, BoxIcon::Warning, kMethods);
    SelectRow(Control(form, kMethods), 1);
    Settle(300);
    // A domain of its own before the method's: refused; the method's own domain may stand.
    SetText(Control(form, kUserName), "taro@dial-old.example.ne.jp");
    CreateExpecting(form, kProductName, UserNameHasDomain("@dial.example.ne.jp"), BoxIcon::Warning,
                    kUserName);
    SetText(Control(form, kUserName), "taro@DIAL.example.ne.jp");
    SetText(Control(form, kNumber), "");
    CreateExpecting(form, kProductName, kNoNumber, BoxIcon::Warning, kNumber);
    EXPECT_TRUE(IsShown(form)) << "every check leaves the form open";
    Close(form);
    EXPECT_TRUE(app.WaitForExit());
    EXPECT_TRUE(Phonebook().entries.empty());
}

TEST_F(NewConnectionTest, ModemAndDiallingModeChecks) {
    kit.WriteText("CTMENU.csv", "1,ISDN,@isdn.example.ne.jp,0570-1\r\n");
    kit.WritePhonebook("[devices]\r\nisdn,ISDN TA\r\n");  // no modem at all
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    Fill(form, "ネスト", "taro", "secret");
    CreateExpecting(form, kProductName, kNoModem, BoxIcon::Warning, kModems);
    Close(form);
    EXPECT_TRUE(app.WaitForExit());

    kit.WritePhonebook(kDevices);
    DialnestProcess second;
    ASSERT_TRUE(second.Start(kit.ExePath()));
    form = second.WaitForWindow(kProductName);
    ASSERT_NE(form, nullptr);
    Fill(form, "ネスト", "taro", "secret");
    SendMessageW(Control(form, kTone), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(Control(form, IDOK));
    MessageBoxInfo box = second.WaitForMessageBox();
    EXPECT_EQ(box.text, kNoMode);
    EXPECT_EQ(box.caption, kProductName);
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    Answer(box, IDOK);
    Close(form);
    EXPECT_TRUE(second.WaitForExit());
}

TEST_F(NewConnectionTest, WithoutMethodMenuCreateAlwaysAsksForAMethod) {
    kit.WritePhonebook(kDevices);
    kit.WriteText("ISP_INF.csv", "DefaultTelNumber,0570-9\r\n");
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(WindowText(Control(form, kNumber)), "0570-9");
    Fill(form, "ネスト", "taro", "secret");
    CreateExpecting(form, kAppTitle, kChooseMethod, BoxIcon::Warning);
    Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(NewConnectionTest, OneHeadingRowOnlyAsksForTheNumber) {
    kit.WritePhonebook(kDevices);
    kit.WriteText("CTMENU.csv", "9,見出し,,\r\n");
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    Fill(form, "ネスト", "taro", "secret");
    CreateExpecting(form, kProductName, kNoNumber, BoxIcon::Warning, kNumber);
    Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(NewConnectionTest, CreatesTheEntryWithUserNameDomainAndPassword) {
    StandardKit("SetDnsIpAddress,true\r\nDns1,192.0.2.53\r\nDns2,192.0.2.54\r\n");
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    SelectRow(Control(form, kMethods), 1);
    Settle(300);
    // The whole address, copied from the provider's letter: the domain is not added twice.
    Fill(form, "ネストネット", "taro@dial.example.ne.jp", "pass-word");
    SendMessageW(Control(form, kMakeDefault), BM_SETCHECK, BST_UNCHECKED, 0);
    CreateExpecting(form, kProductName, kCreated, BoxIcon::Information);
    EXPECT_TRUE(app.WaitForExit()) << "the form closes after creating";

    const SimPhonebookFile book = Phonebook();
    const SimEntry* entry = FindEntry(book, "ネストネット");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(book.entries.size(), 1u);
    EXPECT_STREQ(entry->userName, "taro@dial.example.ne.jp");
    EXPECT_STREQ(entry->password, "pass-word");
    EXPECT_STREQ(entry->properties.szLocalPhoneNumber, "0570-000-111");
    EXPECT_STREQ(entry->properties.szDeviceType, "modem");
    EXPECT_STREQ(entry->properties.szDeviceName, "Standard 56000 bps Modem");
    EXPECT_EQ(entry->properties.dwfOptions, 0x05000114u);
    EXPECT_EQ(entry->properties.dwCountryCode, 81u);
    EXPECT_EQ(entry->properties.dwfOptions2, 0x43u);
    EXPECT_EQ(entry->properties.dwIdleDisconnectSeconds, 0xFFFFFFFFu);
    EXPECT_EQ(entry->properties.ipaddrDns.a, 192);
    EXPECT_EQ(entry->properties.ipaddrDns.d, 53);
    EXPECT_EQ(entry->properties.ipaddrDnsAlt.d, 54);
}

TEST_F(NewConnectionTest, PulseDiallingPrefixesTheNumber) {
    StandardKit();
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    SelectRow(Control(form, kMethods), 1);
    Settle(300);
    Fill(form, "pulse", "taro", "secret");
    Click(Control(form, kPulse));
    Settle(200);
    SendMessageW(Control(form, kMakeDefault), BM_SETCHECK, BST_UNCHECKED, 0);
    CreateExpecting(form, kProductName, kCreated, BoxIcon::Information);
    EXPECT_TRUE(app.WaitForExit());
    const SimPhonebookFile book = Phonebook();
    const SimEntry* entry = FindEntry(book, "pulse");
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->properties.szLocalPhoneNumber, "P0570-000-111") << "the NT family";
}

TEST_F(NewConnectionTest, OverwriteQuestionForANameThatDiffersInCase) {
    for (bool accept : {false, true}) {
        Kit one;
        one.WriteText("CTMENU.csv", kMenu);
        one.WritePhonebook(kDevices + kExistingEntry);
        const std::string before = one.ReadBytes("phonebook.ini");
        DialnestProcess run;
        ASSERT_TRUE(run.Start(one.ExePath()));
        HWND form = run.WaitForWindow(kProductName);
        ASSERT_NE(form, nullptr);
        SelectRow(Control(form, kMethods), 1);
        Settle(300);
        Fill(form, "NESTNET", "hanako", "newpass");
        SendMessageW(Control(form, kMakeDefault), BM_SETCHECK, BST_UNCHECKED, 0);
        Click(Control(form, IDOK));
        MessageBoxInfo question = run.WaitForMessageBox();
        EXPECT_EQ(question.caption, kProductName);
        EXPECT_EQ(question.text, "[NESTNET]は既に存在します\n\n上書きしてよろしいですか？");
        EXPECT_EQ(question.icon, BoxIcon::Question);
        EXPECT_EQ(question.buttons, (std::vector<int>{IDOK, IDCANCEL}));
        if (!accept) {
            // Declined by key: the name, which is what changes next, has the focus.
            PressKey(FocusOf(question.window), VK_ESCAPE);
            EXPECT_TRUE(run.NoMessageBoxWithin(500));
            EXPECT_TRUE(IsShown(form)) << "declining leaves the form open";
            EXPECT_EQ(GetDlgCtrlID(FocusOf(form)), kEntryName);
            EXPECT_EQ(one.ReadBytes("phonebook.ini"), before) << "and the phonebook untouched";
            Close(form);
            EXPECT_TRUE(run.WaitForExit());
            continue;
        }
        Answer(question, IDOK);
        MessageBoxInfo report = run.WaitForMessageBox();
        EXPECT_EQ(report.text, kCreated);
        Answer(report, IDOK);
        EXPECT_TRUE(run.WaitForExit());
        const SimPhonebookFile book = ParsedPhonebook(one);
        ASSERT_EQ(book.entries.size(), 1u);
        EXPECT_STREQ(book.entries[0].name, "Nestnet") << "written over the old entry";
        EXPECT_STREQ(book.entries[0].userName, "hanako@dial.example.ne.jp");
        EXPECT_STREQ(book.entries[0].password, "newpass");
    }
}

TEST_F(NewConnectionTest, RefusedEntriesShowTheirMessageAndKeepTheOldEntry) {
    const std::string lead = "ダイヤルアップネットワーク設定の作成に失敗しました\n\n";
    struct Case {
        int error;
        std::string text;
    } cases[] = {
        {610, lead + "アドレスまたは参照先のバッファが無効です。"},
        {621, lead + "電話帳が壊れているか、必要なコンポーネントがありません。"},
        {14, lead + "モデムを検出できませんでした。接続されているか確認してください。"},
        {1784, lead + "現在使用中の環境ではダイヤルアップネットワークを作成できません。\n"
                      "適切な環境にしてから再度チャレンジしてください。"},
        {31, lead + "エラーコード：31"},
    };
    for (const Case& c : cases) {
        Kit one;
        one.WriteText("CTMENU.csv", kMenu);
        one.WritePhonebook(kDevices + kExistingEntry);
        const std::string before = one.ReadBytes("phonebook.ini");
        const std::string fault = "RasSetEntryPropertiesA:" + std::to_string(c.error);
        ScopedEnvironment failing("RASSIM_FAIL", fault.c_str());
        DialnestProcess run;
        ASSERT_NE(CreateNestnet(one, run, true), nullptr);
        MessageBoxInfo refusal = run.WaitForMessageBox();
        EXPECT_EQ(refusal.caption, kProductName) << c.error;
        EXPECT_EQ(refusal.text, c.text) << c.error;
        EXPECT_EQ(refusal.icon, BoxIcon::Warning) << c.error;
        bool noticeShown = false;
        for (HWND window : run.Windows()) {
            noticeShown = noticeShown ||
                          WindowText(Control(window, kHint)) == "ダイヤルアップネットワーク作成中";
        }
        EXPECT_TRUE(noticeShown) << "the creation notice stands while the phonebook answers";
        Answer(refusal, IDOK);
        MessageBoxInfo report = run.WaitForMessageBox();
        EXPECT_EQ(report.text, kCreateFailed) << c.error;
        EXPECT_EQ(report.icon, BoxIcon::Warning) << c.error;
        Answer(report, IDOK);
        EXPECT_TRUE(run.WaitForExit()) << c.error;
        EXPECT_EQ(one.ReadBytes("phonebook.ini"), before) << "the old entry is intact, " << c.error;
    }
}

// Refused user name and password: only the general failure is reported, and the phonebook
// holds what it held before: no new entry, or the old entry of that name as it was.
TEST_F(NewConnectionTest, RefusedDialParametersLeaveThePhonebookAsItWas) {
    for (bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite ? "over an existing entry" : "new entry");
        Kit one;
        one.WriteText("CTMENU.csv", kMenu);
        one.WritePhonebook(kDevices + (overwrite ? kExistingEntry : std::string()));
        const std::string before = FormatPhonebook(ParsedPhonebook(one));
        ScopedEnvironment failing("RASSIM_FAIL", "RasSetEntryDialParamsA#1:87");
        DialnestProcess run;
        ASSERT_NE(CreateNestnet(one, run, overwrite), nullptr);
        MessageBoxInfo report = run.WaitForMessageBox();
        EXPECT_EQ(report.text, kCreateFailed);
        EXPECT_EQ(report.icon, BoxIcon::Warning);
        Answer(report, IDOK);
        EXPECT_TRUE(run.WaitForExit());
        EXPECT_EQ(FormatPhonebook(ParsedPhonebook(one)), before);
    }
}

TEST_F(NewConnectionTest, OverlongUserNameIsRefusedBeforeAnythingIsWritten) {
    StandardKit();
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    SelectRow(Control(form, kMethods), 1);
    Settle(300);
    Fill(form, "ネスト", std::string(250, 'u'), "secret");  // 250 + 19 bytes of domain
    CreateExpecting(form, kProductName,
                    "ユーザー名とドメインが長すぎます。\n合わせて半角256文字以内にしてください。",
                    BoxIcon::Warning, kUserName);
    EXPECT_TRUE(IsShown(form)) << "the form stays open for a shorter name";
    // A name Windows does not take (RasValidateEntryNameA) is asked for again in the same way.
    Fill(form, "ネスト:1", "taro", "secret");
    CreateExpecting(
        form, kProductName,
        "この接続に付ける名前はWindowsで使えません。\n\n文字か数字を含め、先頭をピリオド（.）"
        "にせず、次の記号を使わずに入力してください。\n| > < ? * \\ / :",
        BoxIcon::Warning, kEntryName);
    Close(form);
    EXPECT_TRUE(app.WaitForExit());
    EXPECT_TRUE(Phonebook().entries.empty());
}

TEST_F(NewConnectionTest, EnterAndEscapeDoNotCloseTheForm) {
    StandardKit();
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    for (int id : {kEntryName, kUserName}) {
        SetFocus(nullptr);
        for (UINT key : {VK_RETURN, VK_ESCAPE}) {
            PressKey(Control(form, id), key);
            EXPECT_TRUE(app.NoMessageBoxWithin(300)) << "Enter must not press 作成";
            EXPECT_TRUE(IsShown(form));
            EXPECT_TRUE(app.Running());
        }
    }
    Close(form);
    EXPECT_TRUE(app.WaitForExit()) << "the close box cancels";
    EXPECT_TRUE(Phonebook().entries.empty());
}

}  // namespace
