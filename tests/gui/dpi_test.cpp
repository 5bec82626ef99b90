// The program at each screen scale of the table, with the sample kit's own values in every
// field: each text of the main menu, the form, both migration dialogs and the progress window
// fits its control, the heading is drawn in its scaled font, and the logo at its scaled size
// with magenta still transparent.
#include <algorithm>

#include "DialnestGuiTest.h"

namespace {

constexpr int kHeading = 1006;
constexpr int kNewNumber = 1005;
constexpr int kNewUserName = 1015;
constexpr int kLogo = 1023;
constexpr int kDomainLabel = 1021;
constexpr int kMethodList = 1024;
// examples/kit: ISP_INF.csv and Logo.png (20 x 20, its ring's right edge at (19, 9)), with a
// heading too wide for its place at its size and old and new domains of 40 characters.
const std::string kMenuCaption = "ネストネット接続ツール";
const std::string kHeadingText = "さくらネット ダイヤルアップ接続";
constexpr int kTitleFontSize = 20;
const std::string kDialupDomain = "@WWW.dial-old.sakura-internet.example.jp";
const std::string kOldDomain = "@isdn-old.mmm.sakura-internet.example.jp";
const std::string kSettings = "\r\nTitleStart," + kHeadingText + "\r\nTitleFontSize,20\r\n" +
                              "OldDialupDomain," + kDialupDomain + "\r\nOldDomain," + kOldDomain +
                              "\r\nFletsIsdnDomain,@isdn.mmmmmmm.sakura-internet.example.jp\r\n";
// The form grows with its domain label to show these whole: DialupDomain, which stands as the
// form opens, and the domain of a method row added to the sample menu.
const std::string kFormDomains[] = {"@dial.sakura-net.example.jp",                // 27
                                    "@WWW.dial-mmm.sakura-internet.example.jp"};  // 40
constexpr COLORREF kLogoBlue = 0x185CC4;
// An entry on an old access point and a Flets ISDN one on the old domain.
const std::string kModem = "DeviceType=modem\nDeviceName=Standard 56000 bps Modem\n";
const std::string kPhonebook = "[旧ネストネット]\nLocalPhoneNumber=0,03-3333-0101\nUserName=taro" +
                               kDialupDomain + "\n" + kModem +
                               "[ネストネットＩＳＤＮ]\nLocalPhoneNumber=1492\nUserName=hanako" +
                               kOldDomain + "\n" + kModem;

// Extent of `utf8` (lines split at '\n') in a font made here like the program's.
SIZE TextExtent(const std::string& utf8, const wchar_t* face, int height, int weight) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(-height, 0, 0, 0, weight, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SIZE total = {0, 0};
    for (size_t start = 0, end = 0; start <= utf8.size(); start = end + 1) {
        end = std::min(utf8.find('\n', start), utf8.size());
        const std::wstring line = FromUtf8(utf8.substr(start, end - start));
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        total = {std::max(total.cx, size.cx), total.cy + metrics.tmHeight};
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    return total;
}

// The client rectangle less what is not text: the box of a check box or radio button, the
// drop button of a list, an edit's margins, a button's edges.
SIZE TextRoom(HWND control, int dpi) {
    RECT client = {};
    GetClientRect(control, &client);
    const LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    const bool box = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                     kind == BS_AUTORADIOBUTTON;
    const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
    const std::string type = ClassOf(control);
    const LONG other = type == "Button"     ? MulDiv(box ? 17 : 6, dpi, 96)
                       : type == "ComboBox" ? GetSystemMetrics(SM_CXVSCROLL) + MulDiv(6, dpi, 96)
                       : type == "Edit"     ? LOWORD(margins) + HIWORD(margins)
                                            : 0;
    return {client.right - other, client.bottom};
}

// The heading's size in pixels at `dpi`: TitleFontSize scaled is too large, so the largest
// at which the text fits its label. In the bold IPAGothic that the set-up maps MS Gothic to,
// the text is 264 pixels wide at 16 and 295 at 17, the label 280 at 96 DPI; 357 at 22 and
// 388 at 23, the label 360 at 120; 419 at 26 and 450 at 27, 440 at 144; 543 at 34 and 574
// at 35, 560 at 192.
int HeadingSize(int dpi) {
    return dpi == 96 ? 16 : dpi == 120 ? 22 : dpi == 144 ? 26 : 34;
}

// The ink of the heading's text drawn in one line at `height` pixels, found as InkExtent
// finds it on the screen.
SIZE HeadingInk(int height) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1024, -128, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, 1024, 128, WHITENESS);
    HFONT font = CreateFontW(-height, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                             L"MS ゴシック");
    HGDIOBJ oldFont = SelectObject(dc, font);
    const std::wstring text = FromUtf8(kHeadingText);
    TextOutW(dc, 8, 8, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    RECT ink = {1024, 128, -1, -1};
    for (LONG i = 0; i < 1024 * 128; ++i) {
        const DWORD c = static_cast<const DWORD*>(bits)[i];
        if (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 200) {
            ink = {std::min(ink.left, i % 1024), std::min(ink.top, i / 1024),
                   std::max(ink.right, i % 1024), i / 1024};
        }
    }
    DeleteObject(SelectObject(dc, oldFont));
    DeleteObject(SelectObject(dc, oldBitmap));
    DeleteDC(dc);
    return {ink.right - ink.left + 1, ink.bottom - ink.top + 1};
}

void ExpectEveryTextFits(HWND dialog, int dpi, const std::string& what) {
    ASSERT_NE(dialog, nullptr) << what;
    int checked = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text = WindowText(child);
        if (!IsShown(child) || text.empty() || ClassOf(child) == "msctls_progress32")
            continue;
        if (ClassOf(child) == "Edit" && (GetWindowLongW(child, GWL_STYLE) & ES_PASSWORD))
            text.assign(text.size(), '*');
        const bool heading = WindowText(dialog) == kMenuCaption && GetDlgCtrlID(child) == kHeading;
        const SIZE need = heading ? TextExtent(text, L"MS ゴシック", HeadingSize(dpi), FW_BOLD)
                                  : TextExtent(text, L"ＭＳ Ｐゴシック", MulDiv(9, dpi, 72), 0);
        const SIZE room = TextRoom(child, dpi);
        EXPECT_TRUE(need.cx <= room.cx && need.cy <= room.cy)
            << what << ": \"" << text << "\" (control " << GetDlgCtrlID(child) << ") needs "
            << need.cx << "x" << need.cy << ", has " << room.cx << "x" << room.cy;
        ++checked;
    }
    EXPECT_GT(checked, 0) << what;
}

class DpiTest : public DialnestGuiTest, public testing::WithParamInterface<int> {};

TEST_P(DpiTest, EveryTextFitsAndTheLogoScales) {
    const int dpi = GetParam();
    ScopedLogPixels screen(static_cast<DWORD>(dpi));
    kit.CopySampleKit();
    kit.WriteBytes("ISP_INF.csv", kit.ReadBytes("ISP_INF.csv") +
                                      ToCp932(kSettings + "DialupDomain," + kFormDomains[0]));
    kit.WriteBytes("CTMENU.csv",
                   kit.ReadBytes("CTMENU.csv") +
                       ToCp932("1,長いドメイン," + kFormDomains[1] + ",0570-000-111"));
    kit.WritePhonebook(kPhonebook);

    HWND menu = Start(kMenuCaption);
    ASSERT_NE(menu, nullptr);
    Settle(300);
    ExpectEveryTextFits(menu, dpi, "main menu");
    const int size = HeadingSize(dpi);
    EXPECT_LT(size, MulDiv(kTitleFontSize, dpi, 96)) << "the heading does not fit at its size";
    const SIZE ink = InkExtent(Control(menu, kHeading));
    const SIZE drawn = HeadingInk(size);
    EXPECT_TRUE(ink.cx == drawn.cx && ink.cy == drawn.cy)
        << "the heading is drawn as large as fits, no larger: " << ink.cx << "x" << ink.cy
        << ", not " << drawn.cx << "x" << drawn.cy;

    Click(Control(menu, 1000));
    HWND form = app.WaitForWindow("ネストネット　新しい接続");
    ASSERT_NE(form, nullptr);
    SetText(Control(form, 1001), "taro");
    SetText(Control(form, 1002), "sample");
    const std::vector<std::string> methods = Rows(Control(form, kMethodList));
    // Row 0 is a prompt: the form as it opens, then from the last row, the long domain's, on.
    for (size_t row = methods.size(); row >= 1; --row) {
        if (row < methods.size()) {
            SelectRow(Control(form, kMethodList), static_cast<int>(row));
            Settle(200);
        }
        const std::string domain = WindowText(Control(form, kDomainLabel));
        ExpectEveryTextFits(form, dpi, "form with " + domain);
        EXPECT_LE(ClientRectOnScreen(Control(form, kDomainLabel)).right,
                  ClientRectOnScreen(form).right)
            << domain;
        if (row + 2 > methods.size()) {
            EXPECT_EQ(domain, kFormDomains[methods.size() - row]);
        }
    }
    // Logo pixels probed in the middle of their scaled blocks, and the column past the logo.
    const RECT logo = ClientRectOnScreen(Control(form, kLogo));
    const auto logoPixel = [&](int x, int y) {
        return ScreenPixel(logo.left + (2 * x + 1) * dpi / 192, logo.top + (2 * y + 1) * dpi / 192);
    };
    const COLORREF background = ScreenPixel(logo.left - 1, logo.top);
    EXPECT_EQ(logoPixel(0, 0), background) << "magenta corner";
    EXPECT_EQ(logoPixel(9, 4), background) << "magenta inside the ring";
    EXPECT_EQ(logoPixel(19, 9), kLogoBlue) << "the ring's right edge";
    EXPECT_EQ(ScreenPixel(logo.left + MulDiv(20, dpi, 96), logo.top + MulDiv(9, dpi, 96) + 1),
              background)
        << "the logo ends at its scaled width";
    Close(form);
    EXPECT_TRUE(app.WaitForExit());

    DialnestProcess migration;
    ASSERT_TRUE(migration.Start(kit.ExePath()));
    menu = migration.WaitForWindow(kMenuCaption);
    ASSERT_NE(menu, nullptr);
    Settle(300);
    Click(Control(menu, 1001));
    HWND accessPoint = WaitForDialog(migration, kNewNumber);
    ExpectEveryTextFits(accessPoint, dpi, "access-point dialog");
    ExpectEveryTextFits(migration.WaitForWindow("アクセスポイント移行"), dpi, "progress window");
    Click(Control(accessPoint, IDCANCEL));
    HWND userName = WaitForDialog(migration, kNewUserName);
    ExpectEveryTextFits(userName, dpi, "user-name dialog");
    Click(Control(userName, IDCANCEL));
    const MessageBoxInfo box = migration.WaitForMessageBox();
    EXPECT_EQ(box.text, "2個の古い設定を見つけましたが変更しませんでした");
    Answer(box, IDOK);
    EXPECT_TRUE(migration.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Screens, DpiTest, testing::Values(96, 120, 144, 192));

}  // namespace
