// The provider's logo on the new-connection form: drawn with exact magenta transparent in
// every pixel encoding, hidden without Logo.png, and one message for a file that does not
// decode.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "DialnestGuiTest.h"

namespace {

constexpr int kLogo = 1023;

// ---- A small PNG writer: 8-bit samples, stored (uncompressed) deflate blocks ----

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t Adler32(const std::string& bytes) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (unsigned char c : bytes) {
        a = (a + c) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

std::string BigEndian(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string Chunk(const char* type, const std::string& data) {
    const std::string typeAndData = std::string(type, 4) + data;
    return BigEndian(static_cast<uint32_t>(data.size())) + typeAndData +
           BigEndian(Crc32(typeAndData));
}

// A zlib stream of stored blocks holding `raw`.
std::string Stored(const std::string& raw) {
    std::string out = "\x78\x01";
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(~n & 0xFF);
        out += static_cast<char>((~n >> 8) & 0xFF);
        out += raw.substr(at, n);
        at += n;
    } while (at < raw.size());
    return out + BigEndian(Adler32(raw));
}

struct PngParts {
    uint32_t width = 0;
    uint32_t height = 0;
    int colourType = 2;             // 2 RGB, 3 palette, 6 RGBA; always 8 bits per sample
    std::vector<std::string> rows;  // samples of each row, without the filter byte
    std::string palette;            // PLTE data when not empty
    std::string paletteAlpha;       // tRNS data when not empty
};

std::string WritePng(const PngParts& p) {
    std::string header = BigEndian(p.width) + BigEndian(p.height);
    header += {8, static_cast<char>(p.colourType), 0, 0, 0};
    std::string raw;
    for (const std::string& row : p.rows) raw += '\0' + row;
    std::string png = "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header);
    if (!p.palette.empty())
        png += Chunk("PLTE", p.palette);
    if (!p.paletteAlpha.empty())
        png += Chunk("tRNS", p.paletteAlpha);
    return png + Chunk("IDAT", Stored(raw)) + Chunk("IEND", "");
}

// ---- The test logo ----

struct Colour {
    unsigned char r, g, b;
};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kMagenta{255, 0, 255};      // the transparent colour
constexpr Colour kNearMagenta{255, 0, 254};  // one step off: opaque
constexpr Colour kBlue{0, 0, 255};
constexpr int kSide = 16;

// 16 x 16 in four 8 x 8 quadrants: red, magenta / near-magenta, blue.
int Quadrant(int x, int y) {
    return (y >= kSide / 2 ? 2 : 0) + (x >= kSide / 2 ? 1 : 0);
}
constexpr Colour kQuadrantColour[4] = {kRed, kMagenta, kNearMagenta, kBlue};

std::string Samples(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

PngParts RgbLogo() {
    PngParts p{kSide, kSide, 2, {}, {}, {}};
    for (int y = 0; y < kSide; ++y) {
        std::string row;
        for (int x = 0; x < kSide; ++x) {
            const Colour c = kQuadrantColour[Quadrant(x, y)];
            row += Samples({c.r, c.g, c.b});
        }
        p.rows.push_back(row);
    }
    return p;
}

// Alpha that would hide or fade the opaque quadrants if it were honoured.
PngParts RgbaLogo() {
    constexpr unsigned char kAlpha[4] = {0x00, 0xFF, 0x80, 0x01};
    PngParts p{kSide, kSide, 6, {}, {}, {}};
    for (int y = 0; y < kSide; ++y) {
        std::string row;
        for (int x = 0; x < kSide; ++x) {
            const int q = Quadrant(x, y);
            const Colour c = kQuadrantColour[q];
            row += Samples({c.r, c.g, c.b, kAlpha[q]});
        }
        p.rows.push_back(row);
    }
    return p;
}

PngParts PaletteLogo() {
    PngParts p{kSide, kSide, 3, {}, {}, Samples({0x00, 0x40})};
    for (const Colour& c : kQuadrantColour) p.palette += Samples({c.r, c.g, c.b});
    for (int y = 0; y < kSide; ++y) {
        std::string row;
        for (int x = 0; x < kSide; ++x) row += static_cast<char>(Quadrant(x, y));
        p.rows.push_back(row);
    }
    return p;
}

// ---- Screen colours ----

COLORREF ScreenColour(const Colour& c) {  // as CaptureScreen reports it: 0x00RRGGBB
    return (COLORREF{c.r} << 16) | (COLORREF{c.g} << 8) | c.b;
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(c));
    return text;
}

// The form's own background, from a corner of its client area that no control covers.
COLORREF FormBackground(HWND form) {
    const RECT client = ClientRectOnScreen(form);
    return ScreenPixel(client.left + 1, client.top + 1);
}

template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

class LogoTest : public DialnestGuiTest {
protected:
    // Starts the program without access-point tables, so the form opens directly; a form
    // initialised with a message box first needs `expectPngError`.
    HWND StartForm(bool expectPngError = false) {
        EXPECT_TRUE(app.Start(kit.ExePath()));
        if (expectPngError)
            ExpectBoxAndOk(kAppTitle, "PNGエラー", BoxIcon::Warning);
        HWND form = app.WaitForWindow(kProductName);
        EXPECT_NE(form, nullptr) << "the new-connection form did not appear";
        if (form != nullptr)
            Settle(300);
        return form;
    }

    void CloseForm(HWND form) {
        Close(form);
        EXPECT_TRUE(app.WaitForExit()) << "closing the form ends the run";
    }
};

struct LogoCase {
    const char* name;
    PngParts (*make)();
};

class LogoDrawnTest : public LogoTest, public testing::WithParamInterface<LogoCase> {};

TEST_P(LogoDrawnTest, OpaquePixelsInTheirColourMagentaShowsTheForm) {
    kit.WriteBytes("Logo.png", WritePng(GetParam().make()));
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(app.NoMessageBoxWithin(200));
    HWND logo = Control(form, kLogo);
    ASSERT_TRUE(IsShown(logo)) << "control 1023 is shown when Logo.png exists";

    const RECT area = ClientRectOnScreen(logo);
    ASSERT_GE(area.right - area.left, kSide - 2) << "the control is about 20 x 21 pixels";
    ASSERT_GE(area.bottom - area.top, kSide - 2);
    const COLORREF background = FormBackground(form);
    ASSERT_NE(background, ScreenColour(kMagenta));

    struct Probe {
        const char* what;
        int x, y;
        COLORREF expected;
    } probes[] = {
        {"red", 3, 3, ScreenColour(kRed)},
        {"red at the corner", 0, 0, ScreenColour(kRed)},
        {"magenta", 12, 3, background},
        {"magenta next to red", 8, 0, background},
        {"255,0,254", 3, 12, ScreenColour(kNearMagenta)},
        {"blue", 12, 12, ScreenColour(kBlue)},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(Hex(ScreenPixel(area.left + p.x, area.top + p.y)), Hex(p.expected))
            << p.what << " at (" << p.x << "," << p.y << ")";
    }
    CloseForm(form);
}

INSTANTIATE_TEST_SUITE_P(Encodings, LogoDrawnTest,
                         testing::Values(LogoCase{"Rgb", RgbLogo},
                                         LogoCase{"RgbaAlphaIgnored", RgbaLogo},
                                         LogoCase{"PaletteWithTransparency", PaletteLogo}),
                         CaseName<LogoCase>);

TEST_F(LogoTest, WithoutLogoFileTheControlStaysHidden) {
    kit.WriteText("CTMENU.csv", "");  // a kit without a logo, not a program without its files
    HWND form = StartForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(app.NoMessageBoxWithin(200));
    HWND logo = Control(form, kLogo);
    ASSERT_NE(logo, nullptr);
    EXPECT_FALSE(IsShown(logo));
    CloseForm(form);
}

struct BadLogoCase {
    const char* name;
    std::string bytes;
    bool message;  // "PNGエラー" while the form initialises
};

std::string CutInTheImageData() {
    const std::string png = WritePng(RgbLogo());
    const size_t idat = png.find("IDAT");
    return png.substr(0, idat + 4 + 300);  // the image data holds 16 * 49 bytes
}

class BadLogoTest : public LogoTest, public testing::WithParamInterface<BadLogoCase> {};

TEST_P(BadLogoTest, ControlShownButPaintsNothing) {
    const BadLogoCase& c = GetParam();
    kit.WriteBytes("Logo.png", c.bytes);
    HWND form = StartForm(c.message);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(app.NoMessageBoxWithin(300)) << "at most one message";
    HWND logo = Control(form, kLogo);
    EXPECT_TRUE(IsShown(logo));

    const COLORREF background = FormBackground(form);
    const std::vector<COLORREF> pixels = CaptureScreen(ClientRectOnScreen(logo));
    ASSERT_FALSE(pixels.empty());
    size_t painted = 0;
    for (COLORREF pixel : pixels) painted += pixel != background ? 1 : 0;
    EXPECT_EQ(painted, 0u) << "pixels differing from the form's background " << Hex(background);
    CloseForm(form);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadLogoTest,
    testing::Values(BadLogoCase{"NotAPng", "GIF89a not a picture at all", true},
                    BadLogoCase{"CutInTheImageData", CutInTheImageData(), true},
                    BadLogoCase{"SignatureOnly", "\x89PNG\r\n\x1a\n", true},
                    BadLogoCase{"EmptyFile", "", false}),
    CaseName<BadLogoCase>);

}  // namespace
