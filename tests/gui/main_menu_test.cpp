// Start-up and the main menu: which window opens, the provider's caption and heading,
// the about box, keys that must do nothing, and the end of the run.
#include <algorithm>
#include <fstream>

#include "DialnestGuiTest.h"
#include "journal/JournalRecord.h"

namespace {

constexpr int kHeading = 1006;
constexpr int kNewConnectionButton = 1000;
constexpr int kMigrationButton = 1001;
constexpr int kEntryNameEdit = 1005;
const std::string kDefaultHeading = "インターネット　ダイヤルネスト";
const std::string kNoProviderFiles =
    "このプログラムと同じフォルダーに、プロバイダーの設定ファイルがありません。\n\n"
    "ISP_INF.csv\nCTMENU.csv\nAPGEN.csv\nAPPHS.csv\nAPAIR.csv\nLogo.png\n\n"
    "ダウンロードした圧縮ファイル（ZIPファイル）の中から直接起動した場合は、先にすべてのファイルを"
    "展開し、"
    "展開したフォルダーにあるこのプログラムを起動してください。";

class MainMenuTest : public DialnestGuiTest {
protected:
    HWND StartMenu(const std::string& caption = kProductName) {
        HWND menu = Start(caption);
        EXPECT_NE(menu, nullptr) << "the main menu did not appear";
        if (menu != nullptr)
            Settle(300);
        return menu;
    }
};

TEST_F(MainMenuTest, AnyOneAccessPointTableOpensTheMenu) {
    for (const char* table : {"APGEN.csv", "APPHS.csv", "APAIR.csv"}) {
        Kit one;
        one.WriteText(table, "");
        DialnestProcess run;
        ASSERT_TRUE(run.Start(one.ExePath()));
        HWND menu = run.WaitForWindow(kProductName);
        ASSERT_NE(menu, nullptr) << table;
        EXPECT_NE(Control(menu, kNewConnectionButton), nullptr) << table;
        EXPECT_NE(Control(menu, kMigrationButton), nullptr) << table;
        EXPECT_EQ(WindowText(Control(menu, kHeading)), kDefaultHeading) << table;
        EXPECT_TRUE(IsCentredOver(menu)) << table;
        Close(menu);
        EXPECT_TRUE(run.WaitForExit()) << table << ": the close box ends the run";
    }
}

// Without any provider file (run from inside an unextracted archive) the program says so
// and ends; one file of the kit is enough to keep it quiet and open the form.
TEST_F(MainMenuTest, WithoutTablesTheFormOpensDirectly) {
    for (const char* file : {"", "ISP_INF.csv", "Logo.png"}) {
        Kit one;
        if (file[0] != '\0')
            one.WriteText(file, "");
        DialnestProcess run;
        ASSERT_TRUE(run.Start(one.ExePath()));
        if (file[0] == '\0') {
            MessageBoxInfo box = run.WaitForMessageBox();
            EXPECT_EQ(box.caption, kProductName);
            EXPECT_EQ(box.text, kNoProviderFiles);
            EXPECT_EQ(box.icon, BoxIcon::Warning);
            Answer(box, IDOK);
            EXPECT_TRUE(run.WaitForExit()) << "the message is the last thing it does";
            continue;
        } else {
            EXPECT_TRUE(run.NoMessageBoxWithin(300)) << file;
        }
        HWND window = run.WaitForWindow(kProductName);
        ASSERT_NE(window, nullptr) << file;
        EXPECT_EQ(Control(window, kNewConnectionButton), nullptr) << file;
        EXPECT_NE(Control(window, kEntryNameEdit), nullptr) << "the new-connection form";
        EXPECT_TRUE(IsCentredOver(window)) << file;
        Close(window);
        EXPECT_TRUE(run.WaitForExit()) << file;
    }
}

TEST_F(MainMenuTest, ProviderCaptionAndHeading) {
    struct Case {
        const char* name;
        std::string settings;
        std::string caption;
        std::string heading;
    } cases[] = {
        {"caption and heading", "CaptionStart,接続ツール\r\nTitleStart,ようこそ\r\n", "接続ツール",
         "ようこそ"},
        {"lower-case keys", "captionstart,abc\r\ntitlestart,def\r\n", "abc", "def"},
        {"empty value ignored", "CaptionStart,\r\nTitleStart,\r\n", kProductName, kDefaultHeading},
        {"value with commas", "TitleStart,a,b,c\r\n", kProductName, "a,b,c"},
        {"two lines for one key", "CaptionStart,first\r\nCaptionStart,second\r\n", "second",
         kDefaultHeading},
        {"last line without a line break", "TitleStart,最後の行", kProductName, "最後の行"},
        {"blank before the key", " CaptionStart,x\r\n", kProductName, kDefaultHeading},
    };
    for (const Case& c : cases) {
        Kit one;
        one.WriteText("APGEN.csv", "");
        one.WriteText("ISP_INF.csv", c.settings);
        DialnestProcess run;
        ASSERT_TRUE(run.Start(one.ExePath()));
        HWND menu = run.WaitForWindow(c.caption);
        ASSERT_NE(menu, nullptr) << c.name << ": no window captioned " << c.caption;
        EXPECT_EQ(WindowText(Control(menu, kHeading)), c.heading) << c.name;
        Close(menu);
        EXPECT_TRUE(run.WaitForExit()) << c.name;
    }
}

TEST_F(MainMenuTest, HeadingSizeFromTitleFontSize) {
    auto measure = [](const std::string& settings) {
        Kit one;
        one.WriteText("APGEN.csv", "");
        if (!settings.empty())
            one.WriteText("ISP_INF.csv", settings);
        DialnestProcess run;
        if (!run.Start(one.ExePath()))
            return -1;
        HWND menu = run.WaitForWindow(kProductName);
        if (menu == nullptr)
            return -1;
        SetText(Control(menu, kHeading), "ＭＭ");  // same glyphs for every measurement
        Settle(300);
        const int height = InkExtent(Control(menu, kHeading)).cy;
        Close(menu);
        run.WaitForExit();
        return height;
    };
    const int standard = measure("");
    ASSERT_GT(standard, 8) << "the 18-pixel heading was not drawn";
    for (const char* unchanged :
         {"TitleFontSize,1\r\n", "TitleFontSize,0\r\n", "TitleFontSize,-5\r\n",
          "TitleFontSize,large\r\n", "TitleFontSize,\r\n"}) {
        EXPECT_EQ(measure(unchanged), standard) << unchanged;
    }
    const int size24 = measure("TitleFontSize,24\r\n");
    EXPECT_GT(size24, standard);
    EXPECT_EQ(measure("TitleFontSize,24abc\r\n"), size24);
    EXPECT_EQ(measure("titlefontsize,24\r\n"), size24);
    EXPECT_EQ(measure("TitleFontSize,24\r\nTitleFontSize,1\r\n"), size24)
        << "an unusable later value keeps the last valid size";
    EXPECT_GT(measure("TitleFontSize,200\r\n"), size24) << "as large as fits the label";
}

TEST_F(MainMenuTest, AboutBoxFromTheSystemMenu) {
    kit.WriteText("APGEN.csv", "");
    HWND menu = StartMenu();
    ASSERT_NE(menu, nullptr);
    SystemCommand(menu, 0x0010);
    HWND about = app.WaitForWindow("Dialnestのﾊﾞｰｼﾞｮﾝ情報");
    ASSERT_NE(about, nullptr);
    bool versionLine = false;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        versionLine = versionLine || WindowText(child) == "Dialnest Version 1.0";
    }
    EXPECT_TRUE(versionLine);
    EXPECT_TRUE(IsCentredOver(about, menu));
    EXPECT_TRUE(IsShown(menu)) << "the menu stays behind the about box";
    ClickAndWait(Control(about, IDOK));
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(IsShown(menu));
    EXPECT_TRUE(app.Running());
}

TEST_F(MainMenuTest, EnterAndEscapeDoNothingAndArrowsStayOnTheButtons) {
    kit.WriteText("APGEN.csv", "");
    HWND menu = StartMenu();
    ASSERT_NE(menu, nullptr);
    HWND focus = FocusOf(menu);
    EXPECT_EQ(focus, Control(menu, kNewConnectionButton)) << "focus starts on button 1000";
    // Each key, and the button that has the focus after it: never a label, which shows none.
    const std::pair<UINT, int> keys[] = {
        {VK_RETURN, kNewConnectionButton}, {VK_ESCAPE, kNewConnectionButton},
        {VK_DOWN, kMigrationButton},       {VK_DOWN, kNewConnectionButton},
        {VK_UP, kMigrationButton},         {VK_RIGHT, kNewConnectionButton},
        {VK_LEFT, kMigrationButton},       {VK_ESCAPE, kMigrationButton}};
    for (const auto& [key, button] : keys) {
        PressKey(FocusOf(menu), key);
        Settle(300);
        EXPECT_TRUE(app.Running()) << key;
        EXPECT_TRUE(IsShown(menu)) << key;
        EXPECT_EQ(app.Windows().size(), 1u) << "no other window opened for key " << key;
        EXPECT_EQ(GetDlgCtrlID(FocusOf(menu)), button) << "after key " << key;
    }
}

TEST_F(MainMenuTest, NewConnectionButtonHandsOverToTheForm) {
    kit.WriteText("APGEN.csv", "");
    HWND menu = StartMenu();
    ASSERT_NE(menu, nullptr);
    Click(Control(menu, kNewConnectionButton));
    Settle(500);
    EXPECT_FALSE(IsShown(menu)) << "the menu hides while the form runs";
    HWND form = nullptr;
    for (HWND window : app.Windows()) {
        if (Control(window, kEntryNameEdit) != nullptr)
            form = window;
    }
    ASSERT_NE(form, nullptr) << "the new-connection form";
    Close(form);
    EXPECT_TRUE(app.WaitForExit()) << "cancelling the form ends the run; the menu never returns";
}

class StartupFailureTest : public DialnestGuiTest {};

TEST_F(StartupFailureTest, LibraryWithoutDialFunctions) {
    ScopedSystemLibrary variant(BuildFolder() + "\\tests\\gui\\rasapi32_without_dial.dll");
    kit.WriteText("APGEN.csv", "");
    ASSERT_TRUE(app.Start(kit.ExePath()));
    ExpectBoxAndOk(kProductName, "RASAPI32.DLL エラー", BoxIcon::Warning);
    ExpectBoxAndOk("エラー", "現在の環境ではダイヤルアップネットワークがご利用いただけません",
                   BoxIcon::Warning);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(StartupFailureTest, LibraryThatCannotBeLoaded) {
    ScopedDllOverride disabled("rasapi32", "");
    kit.WriteText("APGEN.csv", "");
    ASSERT_TRUE(app.Start(kit.ExePath()));
    ExpectBoxAndOk("エラー", "現在の環境ではダイヤルアップネットワークがご利用いただけません",
                   BoxIcon::Warning);
    EXPECT_TRUE(app.WaitForExit());
}

// Under another code page for programs (an English Windows: 1252; the UTF-8 option: 65001;
// Wine takes it from its locale) the program says what to change, in Japanese and English
// (on 9x in English), through the Unicode call, and ends before it recovers, writes or shows
// anything else.
TEST_F(StartupFailureTest, CodePageOtherThanJapanese) {
    const std::string both =
        "このプログラムは、Windows の「Unicode "
        "対応ではないプログラムの言語」が日本語のときだけ正しく"
        "動きます。文字化けした名前で設定を作らないように、何も変更せずに終了しました。\n\n"
        "コントロール パネルの「地域」を開き、「管理」タブの「システム ロケールの変更」で「日本語 "
        "(日本)」を選んでください。「ベータ: ワールドワイド言語サポートで Unicode UTF-8 を使用」に"
        "チェックが付いていれば外してください。Windows "
        "を再起動してから、このプログラムをもう一度起動"
        "してください。\n\nThis program works only when the “Language for non-Unicode programs” of "
        "Windows is Japanese. It has ended without changing anything.\n\nIn Control Panel, open "
        "Region, and on the Administrative tab "
        "choose “Change system locale...” and Japanese (Japan). If “Beta: Use Unicode UTF-8 for "
        "worldwide language support” is ticked, clear it. Restart Windows, then start this program "
        "again.";
    const std::string english =
        "This program works only on a Japanese edition of Windows (code page 932). It has ended "
        "without changing anything.";
    kit.CopySampleKit();
    kit.WritePhonebook("[一般]\r\nLocalPhoneNumber=0,03-3333-0101\r\n");
    // A run that ended inside a creation: a recovery would close its change.
    JournalRun ended;
    ended.stamp = "20260101-000000";
    ended.changes.resize(1);
    ended.changes[0].entryName = ToCp932("新規");
    ended.changes[0].after.exists = true;
    ended.changes[0].writes = 2;
    CreateDirectoryW((JournalFolder() + L"\\..").c_str(), nullptr);
    CreateDirectoryW(JournalFolder().c_str(), nullptr);
    std::ofstream((JournalFolder() + L"\\run-0000000001.jnl").c_str(), std::ios::binary)
        << FormatJournalRun(ended);
    std::ofstream((JournalFolder() + L"\\run-0000000001.lock").c_str(), std::ios::binary);
    const std::string journal = JournalFiles(true);
    const std::string phonebook = kit.ReadBytes("phonebook.ini");
    struct Case {
        const char* locale;
        const char* windows;
        const std::string& text;
    } cases[] = {{"en_US.UTF-8", "win7", both},
                 {"hi_IN.UTF-8", "win10", both},
                 {"en_US.UTF-8", "win98", english}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.windows);
        ScopedWindowsVersion reported(c.windows);
        DialnestProcess run;
        ASSERT_TRUE(run.StartInLocale(kit.ExePath(), c.locale));
        MessageBoxInfo box = run.WaitForMessageBox();
        EXPECT_EQ(box.caption, kAppTitle);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.icon, BoxIcon::Warning);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        Answer(box, IDOK);
        EXPECT_TRUE(run.WaitForExit()) << "the message is the only thing it does";
        EXPECT_EQ(kit.ReadBytes("phonebook.ini"), phonebook);
        EXPECT_EQ(JournalFiles(true), journal) << "no recovery, no run of its own";
    }
}

TEST_F(StartupFailureTest, LibraryPlantedBesideTheProgramIsNeverLoaded) {
    CopyFileW(FromUtf8(BuildFolder() + "\\tests\\gui\\rasapi32_without_dial.dll").c_str(),
              FromUtf8(kit.PathTo("RASAPI32.DLL")).c_str(), FALSE);
    kit.WriteText("APGEN.csv", "");
    HWND menu = Start(kProductName);
    ASSERT_NE(menu, nullptr) << "the system directory's library is the one in use";
    EXPECT_TRUE(app.NoMessageBoxWithin(500));
    Close(menu);
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace
