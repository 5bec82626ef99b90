// The program at the screen scales a subscriber's Windows offers: with the sample kit's own
// values in every field, each text of the main menu, the form and both migration dialogs fits
// its control, the heading is drawn in its scaled font, and the logo is drawn at its scaled
// size with magenta still transparent. One run per DPI of the table.
#include <algorithm>
#include <string>
#include <vector>

#include "DialnestGuiTest.h"

namespace {

constexpr int kHeading = 1006;
constexpr int kNewConnectionButton = 1000;
constexpr int kMigrationButton = 1001;
constexpr int kUserName = 1001;
constexpr int kPassword = 1002;
constexpr int kNewNumber = 1005;
constexpr int kNewUserName = 1015;
constexpr int kLogo = 1023;
constexpr int kMethodList = 1024;

// From examples/kit/ISP_INF.csv and Logo.png.
const std::string kMenuCaption = "ネストネット接続ツール";
const std::string kFormCaption = "ネストネット　新しい接続";
constexpr int kSampleTitleFontSize = 22;
constexpr int kSampleLogoSide = 20;
constexpr COLORREF kLogoBlue = 0x185CC4;  // 24, 92, 196 as the screen reports it

// The sample phonebook's entry, which dials an old access point with an old dial-up domain,
// and a Flets ISDN entry with the kit's old domain.
const std::string kPhonebook =
    "[devices]\r\nmodem,Standard 56000 bps Modem\r\nmodem,PHSカード 64K\r\nisdn,ISDN TA\r\n"
    "[旧ネストネット]\r\nOptions=0x05000110\r\nLocalPhoneNumber=0,03-3333-0101\r\n"
    "DeviceType=modem\r\nDeviceName=Standard 56000 bps Modem\r\n"
    "UserName=taro@dial-old.example.ne.jp\r\nPassword=sample\r\n"
    "[ネストネットＩＳＤＮ]\r\nOptions=0x05000110\r\nLocalPhoneNumber=1492\r\n"
    "DeviceType=modem\r\nDeviceName=Standard 56000 bps Modem\r\n"
    "UserName=hanako@isdn-old.example.ne.jp\r\nPassword=sample\r\n";

struct DpiCase {
    const char* name;
    DWORD dpi;
};

int Scale(int pixels, DWORD dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), 96);
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// A font like the program's, in this process, for measuring.
class Font {
public:
    Font(const wchar_t* face, int height, int weight) {
        LOGFONTW description = {};
        description.lfHeight = -height;
        description.lfWeight = weight;
        description.lfCharSet = SHIFTJIS_CHARSET;
        wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
        font_ = CreateFontIndirectW(&description);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, font_);
    }
    ~Font() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Width of the widest line and height of all lines of `utf8`.
    SIZE Extent(const std::string& utf8) const {
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc_, &metrics);
        SIZE total = {0, 0};
        size_t start = 0;
        while (start <= utf8.size()) {
            size_t end = utf8.find('\n', start);
            if (end == std::string::npos)
                end = utf8.size();
            const std::wstring line = FromUtf8(utf8.substr(start, end - start));
            SIZE size = {0, 0};
            GetTextExtentPoint32W(dc_, line.c_str(), static_cast<int>(line.size()), &size);
            total.cx = std::max(total.cx, size.cx);
            total.cy += metrics.tmHeight;
            start = end + 1;
        }
        return total;
    }

private:
    HFONT font_;
    HDC dc_;
    HGDIOBJ old_;
};

// The room a control leaves its text: the client rectangle less the box of a check box or
// radio button, the drop button of a list, the margins of an edit and the edge of a button.
SIZE TextRoom(HWND control, DWORD dpi) {
    RECT client = {};
    GetClientRect(control, &client);
    SIZE room = {client.right, client.bottom};
    const std::string type = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (type == "Button") {
        const LONG kind = style & BS_TYPEMASK;
        const bool box = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                         kind == BS_AUTORADIOBUTTON;
        room.cx -= box ? Scale(17, dpi) : 2 * Scale(3, dpi);
    } else if (type == "ComboBox") {
        room.cx -= GetSystemMetrics(SM_CXVSCROLL) + 2 * Scale(3, dpi);
    } else if (type == "Edit") {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        room.cx -= LOWORD(margins) + HIWORD(margins);
    }
    return room;
}

// Every visible child of `dialog` that shows a text, with the font the program draws it in.
void ExpectEveryTextFits(HWND dialog, DWORD dpi, const char* what) {
    ASSERT_NE(dialog, nullptr) << what;
    const Font dialogFont(L"ＭＳ Ｐゴシック", MulDiv(9, static_cast<int>(dpi), 72), FW_NORMAL);
    const Font headingFont(L"MS ゴシック", Scale(kSampleTitleFontSize, dpi), FW_BOLD);
    int checked = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text = WindowText(child);
        if (!IsShown(child) || text.empty() || ClassOf(child) == "msctls_progress32")
            continue;
        if (GetWindowLongW(child, GWL_STYLE) & ES_PASSWORD && ClassOf(child) == "Edit")
            text = std::string(text.size(), '*');
        const bool heading = GetDlgCtrlID(child) == kHeading && ClassOf(dialog) == "#32770" &&
                             WindowText(dialog) == kMenuCaption;
        const SIZE need = (heading ? headingFont : dialogFont).Extent(text);
        const SIZE room = TextRoom(child, dpi);
        EXPECT_LE(need.cx, room.cx) << what << ": \"" << text << "\" (control "
                                    << GetDlgCtrlID(child) << ") is cut at the side";
        EXPECT_LE(need.cy, room.cy) << what << ": \"" << text << "\" (control "
                                    << GetDlgCtrlID(child) << ") is cut at the bottom";
        ++checked;
    }
    EXPECT_GT(checked, 0) << what;
}

// Columns from the first to the last dark pixel of `control` on the screen.
int InkWidth(HWND control) {
    const RECT rect = ClientRectOnScreen(control);
    const int width = rect.right - rect.left;
    const std::vector<COLORREF> pixels = CaptureScreen(rect);
    int first = width;
    int last = -1;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const COLORREF c = pixels[i];
        if (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 200) {
            const int column = static_cast<int>(i) % width;
            first = std::min(first, column);
            last = std::max(last, column);
        }
    }
    return last < first ? 0 : last - first + 1;
}

class DpiTest : public DialnestGuiTest, public testing::WithParamInterface<DpiCase> {
protected:
    // The confirmation dialog that has control `id`, once it is shown.
    HWND WaitForDialog(DialnestProcess& run, int id) {
        for (int i = 0; i < 200; ++i) {
            for (HWND window : run.Windows()) {
                if (WindowText(window) == kProductName && Control(window, id) != nullptr) {
                    Settle(300);
                    return window;
                }
            }
            Settle(50);
        }
        return nullptr;
    }
};

TEST_P(DpiTest, EveryTextFitsAndTheLogoScales) {
    const DWORD dpi = GetParam().dpi;
    ScopedLogPixels screen(dpi);
    kit.CopySampleKit();
    kit.WritePhonebook(kPhonebook);

    HWND menu = Start(kMenuCaption);
    ASSERT_NE(menu, nullptr);
    Settle(300);
    ExpectEveryTextFits(menu, dpi, "main menu");
    const Font headingFont(L"MS ゴシック", Scale(kSampleTitleFontSize, dpi), FW_BOLD);
    const LONG headingWidth = headingFont.Extent(WindowText(Control(menu, kHeading))).cx;
    EXPECT_GE(InkWidth(Control(menu, kHeading)), headingWidth * 9 / 10)
        << "the heading is drawn in its font scaled to " << dpi << " DPI";

    Click(Control(menu, kNewConnectionButton));
    HWND form = app.WaitForWindow(kFormCaption);
    ASSERT_NE(form, nullptr);
    SetText(Control(form, kUserName), "taro");
    SetText(Control(form, kPassword), "sample");
    // Each method brings its own number and domain; the first row is only the prompt.
    const std::vector<std::string> methods = Rows(Control(form, kMethodList));
    for (int row = static_cast<int>(methods.size()) - 1; row >= 1; --row) {
        SelectRow(Control(form, kMethodList), row);
        Settle(200);
        ExpectEveryTextFits(form, dpi, ("form with " + methods[static_cast<size_t>(row)]).c_str());
    }

    // Sample logo pixels (x, y): the magenta corner, the magenta inside the ring, and the
    // ring's right edge in its last column, each probed at the middle of its scaled block.
    const RECT logo = ClientRectOnScreen(Control(form, kLogo));
    const int side = Scale(kSampleLogoSide, dpi);
    const auto at = [&](int x, int y) {
        return ScreenPixel(logo.left + (2 * x + 1) * static_cast<int>(dpi) / 192,
                           logo.top + (2 * y + 1) * static_cast<int>(dpi) / 192);
    };
    const COLORREF background =
        ScreenPixel(ClientRectOnScreen(form).left + 1, ClientRectOnScreen(form).top + 1);
    EXPECT_EQ(at(0, 0), background) << "magenta corner";
    EXPECT_EQ(at(9, 4), background) << "magenta inside the ring";
    EXPECT_EQ(at(19, 9), kLogoBlue) << "the ring's right edge";
    EXPECT_EQ(ScreenPixel(logo.left + side - 1, logo.top + Scale(9, dpi) + 1), kLogoBlue)
        << "the logo reaches " << side << " pixels";
    EXPECT_EQ(ScreenPixel(logo.left + side, logo.top + Scale(9, dpi) + 1), background)
        << "and ends there";
    Close(form);
    EXPECT_TRUE(app.WaitForExit());

    DialnestProcess migration;
    ASSERT_TRUE(migration.Start(kit.ExePath()));
    menu = migration.WaitForWindow(kMenuCaption);
    ASSERT_NE(menu, nullptr);
    Settle(300);
    Click(Control(menu, kMigrationButton));
    HWND accessPoint = WaitForDialog(migration, kNewNumber);
    ExpectEveryTextFits(accessPoint, dpi, "access-point dialog");
    ExpectEveryTextFits(migration.WaitForWindow("アクセスポイント移行"), dpi, "progress window");
    Click(Control(accessPoint, IDCANCEL));
    HWND userName = WaitForDialog(migration, kNewUserName);
    ExpectEveryTextFits(userName, dpi, "user-name dialog");
    Click(Control(userName, IDCANCEL));
    MessageBoxInfo box = migration.WaitForMessageBox();
    EXPECT_EQ(box.text, "2個の古い設定を見つけましたが変更しませんでした");
    Answer(box, IDOK);
    EXPECT_TRUE(migration.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Screens, DpiTest,
                         testing::Values(DpiCase{"Dpi96", 96}, DpiCase{"Dpi120", 120},
                                         DpiCase{"Dpi144", 144}, DpiCase{"Dpi192", 192}),
                         [](const testing::TestParamInfo<DpiCase>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
