// PNG decoding: every colour type into 4-byte pixels, interlacing, replacement, and the one
// message for every failure. Plain standard C++ so it also runs as a Windows program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPng.h"
#include "logo/PngImage.h"
#include "res/resource.h"
#include "support/RecordingUserSide.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Row = std::vector<unsigned char>;

// All rows of the image, 4 bytes per pixel, or a note on why they cannot be read.
std::string Pixels(const PngImage& image) {
    if (image.Rows() == nullptr) {
        return "<no rows>";
    }
    std::string all;
    for (uint32_t y = 0; y < image.Height(); ++y) {
        all.append(reinterpret_cast<const char*>(image.Rows()[y]), image.Width() * 4);
    }
    return all;
}

std::string Quads(std::initializer_list<unsigned> bytes) {
    std::string out;
    for (unsigned b : bytes) {
        out.push_back(static_cast<char>(b));
    }
    return out;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out += (i % 4 == 0 && i > 0) ? " " : "";
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TestPicture Picture(uint32_t width, int bitDepth, int colourType, std::vector<Row> rows) {
    TestPicture p;
    p.width = width;
    p.height = static_cast<uint32_t>(rows.size());
    p.bitDepth = bitDepth;
    p.colourType = colourType;
    p.rows = std::move(rows);
    return p;
}

TestPicture PaletteLogo(std::vector<unsigned char> alpha) {
    TestPicture p = Picture(4, 4, 3, {{0x01, 0x21}});  // indices 0 1 2 1
    p.palette = {{{255, 0, 0}}, {{0, 255, 0}}, {{0, 0, 255}}};
    p.paletteAlpha = std::move(alpha);
    return p;
}

// 'W' white, 'B' black, 'b' black with alpha 0: 4 bytes per letter.
std::string GreyPixels(const char* pattern) {
    std::string out;
    for (const char* p = pattern; *p != '\0'; ++p) {
        const char grey = *p == 'W' ? '\xFF' : '\0';
        out += std::string(3, grey) + (*p == 'b' ? '\0' : '\xFF');
    }
    return out;
}

TestPicture BlackTransparent(TestPicture p) {
    p.greyTransparent = 0;
    return p;
}

// A picture with every pixel different, for comparisons between stored forms.
TestPicture Noise(uint32_t width, uint32_t height, int bitDepth, int colourType, int bytesPerRow) {
    TestPicture p;
    p.width = width;
    p.height = height;
    p.bitDepth = bitDepth;
    p.colourType = colourType;
    uint32_t state = 12345;
    for (uint32_t y = 0; y < height; ++y) {
        Row row(static_cast<size_t>(bytesPerRow));
        for (unsigned char& b : row) {
            state = state * 1103515245u + 12345u;
            b = static_cast<unsigned char>(state >> 16);
        }
        p.rows.push_back(row);
    }
    if (colourType == 3) {
        for (int i = 0; i < (1 << bitDepth); ++i) {
            p.palette.push_back({{static_cast<unsigned char>(i), static_cast<unsigned char>(~i),
                                  static_cast<unsigned char>(i * 7)}});
        }
        p.paletteAlpha = {0, 64, 128, 192};
    }
    return p;
}

// "PNGエラー" in the application's message box (caption Dialnest), warning icon, once.
void ExpectOnlyPngError(const RecordingUserSide& user, const char* name) {
    ASSERT_EQ(user.shown.size(), 1u) << name;
    EXPECT_EQ(user.shown[0].kind, ShownMessage::App) << name;
    EXPECT_EQ(user.shown[0].textId, unsigned{IDS_PNG_ERROR}) << name;
    EXPECT_EQ(user.shown[0].icon, MessageIcon::Warning) << name;
}

bool Load(PngImage& image, const Bytes& png) {
    return image.LoadFromMemory(png.data(), png.size());
}

TEST(PngImage, EveryColourTypeBecomesFourBytesPerPixel) {
    struct Case {
        const char* name;
        TestPicture picture;
        std::string expected;
    } cases[] = {
        {"1-bit grey", Picture(10, 1, 0, {{0xAA, 0x80}, {0x55, 0x40}}),
         GreyPixels("WBWBWBWBWB"
                    "BWBWBWBWBW")},
        {"1-bit grey with black transparent", BlackTransparent(Picture(2, 1, 0, {{0x40}})),
         GreyPixels("bW")},
        {"2-bit grey widens to 8 bits", Picture(4, 2, 0, {{0x1B}}),
         Quads({0, 0, 0, 255, 0x55, 0x55, 0x55, 255, 0xAA, 0xAA, 0xAA, 255, 255, 255, 255, 255})},
        {"8-bit grey", Picture(2, 8, 0, {{0x10, 0xF0}}),
         Quads({0x10, 0x10, 0x10, 255, 0xF0, 0xF0, 0xF0, 255})},
        {"grey with alpha", Picture(2, 8, 4, {{0x10, 0x40, 0x90, 0x00}}),
         Quads({0x10, 0x10, 0x10, 0x40, 0x90, 0x90, 0x90, 0x00})},
        {"RGB gets the filler", Picture(2, 8, 2, {{1, 2, 3, 255, 0, 254}}),
         Quads({1, 2, 3, 255, 255, 0, 254, 255})},
        {"RGBA keeps its alpha", Picture(2, 8, 6, {{1, 2, 3, 0x80, 4, 5, 6, 0}}),
         Quads({1, 2, 3, 0x80, 4, 5, 6, 0})},
        {"palette with transparency", PaletteLogo({0x00, 0x80}),
         Quads({255, 0, 0, 0, 0, 255, 0, 0x80, 0, 0, 255, 255, 0, 255, 0, 0x80})},
        {"palette without transparency", PaletteLogo({}),
         Quads({255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255})},
        {"16-bit RGB keeps the high bytes",
         Picture(1, 16, 2, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}}), Quads({0x12, 0x56, 0x9A, 255})},
        {"16-bit RGBA", Picture(1, 16, 6, {{0xFF, 0x01, 0x00, 0xFE, 0xFF, 0xFF, 0x80, 0x7F}}),
         Quads({0xFF, 0x00, 0xFF, 0x80})},
        {"16-bit grey", Picture(2, 16, 0, {{0xAB, 0xCD, 0x00, 0xFF}}),
         Quads({0xAB, 0xAB, 0xAB, 255, 0, 0, 0, 255})},
        {"16-bit grey with alpha", Picture(1, 16, 4, {{0x40, 0x01, 0xC0, 0x02}}),
         Quads({0x40, 0x40, 0x40, 0xC0})},
    };
    for (const Case& c : cases) {
        RecordingUserSide user;
        PngImage image(user);
        ASSERT_TRUE(Load(image, WritePng(c.picture))) << c.name;
        EXPECT_TRUE(user.shown.empty()) << c.name;
        EXPECT_EQ(image.Width(), c.picture.width) << c.name;
        EXPECT_EQ(image.Height(), c.picture.height) << c.name;
        EXPECT_EQ(Hex(Pixels(image)), Hex(c.expected)) << c.name;
    }
}

TEST(PngImage, InterlacedDecodesLikeStraight) {
    struct Case {
        const char* name;
        TestPicture picture;
    } cases[] = {
        {"RGBA 8-bit", Noise(13, 11, 8, 6, 13 * 4)},
        {"1-bit grey", Noise(19, 9, 1, 0, 3)},
        {"4-bit palette", Noise(9, 10, 4, 3, 5)},
        {"16-bit RGB", Noise(7, 8, 16, 2, 7 * 6)},
    };
    for (Case& c : cases) {
        RecordingUserSide user;
        PngImage straight(user);
        PngImage interlaced(user);
        ASSERT_TRUE(Load(straight, WritePng(c.picture))) << c.name;
        c.picture.interlaced = true;
        ASSERT_TRUE(Load(interlaced, WritePng(c.picture))) << c.name;
        EXPECT_EQ(interlaced.Width(), straight.Width()) << c.name;
        EXPECT_EQ(interlaced.Height(), straight.Height()) << c.name;
        EXPECT_EQ(Hex(Pixels(interlaced)), Hex(Pixels(straight))) << c.name;
        EXPECT_TRUE(user.shown.empty()) << c.name;
    }
}

TEST(PngImage, EachLoadReplacesTheImageBefore) {
    RecordingUserSide user;
    PngImage image(user);
    EXPECT_EQ(image.Width(), 0u);
    EXPECT_EQ(image.Rows(), nullptr);

    const TestPicture first = Picture(3, 8, 2, {{9, 9, 9, 9, 9, 9, 9, 9, 9}, Row(9, 7)});
    const TestPicture second = Picture(1, 8, 0, {{1}, {2}, {3}, {4}, {5}});
    ASSERT_TRUE(Load(image, WritePng(first)));
    ASSERT_TRUE(Load(image, WritePng(second)));
    EXPECT_EQ(image.Width(), 1u);
    EXPECT_EQ(image.Height(), 5u);
    EXPECT_EQ(Hex(Pixels(image)),
              Hex(Quads({1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255, 4, 4, 4, 255, 5, 5, 5, 255})));

    const Bytes notPng = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
    EXPECT_FALSE(Load(image, notPng));
    EXPECT_EQ(image.Width(), 0u);
    EXPECT_EQ(image.Height(), 0u);
    EXPECT_EQ(image.Rows(), nullptr);

    ASSERT_TRUE(Load(image, WritePng(first)));
    EXPECT_EQ(image.Width(), 3u);
    EXPECT_EQ(image.Height(), 2u);
    EXPECT_EQ(user.shown.size(), 1u);
}

// Each failure follows a good load into the same image, so a left-over image shows too.
TEST(PngImage, EveryFailureShowsOneMessageAndLeavesNoImage) {
    const Bytes good = WritePng(Noise(16, 16, 8, 2, 48));
    size_t idat = 0;
    size_t idatLength = 0;
    ASSERT_TRUE(FindChunk(good, "IDAT", &idat, &idatLength));
    size_t iend = 0;
    size_t iendLength = 0;
    ASSERT_TRUE(FindChunk(good, "IEND", &iend, &iendLength));
    auto cut = [&](size_t length) { return Bytes(good.begin(), good.begin() + length); };
    auto patched = [&](uint32_t width, uint32_t height) {
        Bytes png = good;
        PatchDimensions(png, width, height);
        return png;
    };
    auto withChunk = [&](const char* type, const std::string& data, uint32_t declared) {
        Bytes png = good;
        InsertChunk(png, type, data, declared);
        return png;
    };
    Bytes badIdatCrc = good;
    badIdatCrc[idat + 5] ^= 0x10;
    Bytes badDeflate = good;
    badDeflate[idat] ^= 0xFF;  // the zlib header
    FixChunkCrc(badDeflate, idat, idatLength);

    const uint32_t over = PngImage::kMaxDimension + 1;
    const uint32_t most = PngImage::kMaxDimension;
    const std::vector<Row> rowsPastBound(PngImage::kMaxImageBytes / (most * 4) + 1, Row(most, 0));
    struct Case {
        const char* name;
        Bytes data;
    } cases[] = {
        {"no bytes", {}},
        {"not a PNG", {'<', 'h', 't', 'm', 'l', '>', 'x', 'y', 'z', 0, 0, 0}},
        {"signature only", cut(8)},
        {"cut inside the header", cut(20)},
        {"cut in the middle of the image data", cut(idat + idatLength / 2)},
        {"end chunk missing", cut(iend - 8)},
        {"image data CRC wrong", badIdatCrc},
        {"compressed data damaged", badDeflate},
        {"zero width", patched(0, 16)},
        {"width over the limit", WritePng(Picture(over, 8, 0, {Row(over, 0)}))},
        {"height over the limit", WritePng(Picture(1, 8, 0, std::vector<Row>(over, Row(1, 0))))},
        {"huge dimensions", patched(100000, 100000)},
        {"largest dimensions PNG allows", patched(0x7FFFFFFF, 0x7FFFFFFF)},
        {"ancillary chunk longer than the data", withChunk("zTXt", "Comment", 0x7FFFFFF0)},
        {"decoded data over the bound", WritePng(Picture(most, 8, 0, rowsPastBound))},
    };
    for (const Case& c : cases) {
        RecordingUserSide user;
        PngImage image(user);
        ASSERT_TRUE(Load(image, good)) << c.name;
        EXPECT_FALSE(Load(image, c.data)) << c.name;
        ExpectOnlyPngError(user, c.name);
        EXPECT_EQ(image.Width(), 0u) << c.name;
        EXPECT_EQ(image.Height(), 0u) << c.name;
        EXPECT_EQ(image.Rows(), nullptr) << c.name;
    }

    RecordingUserSide user;
    PngImage image(user);
    EXPECT_FALSE(image.LoadFromMemory(nullptr, 100));
    ExpectOnlyPngError(user, "no data");
}

TEST(PngImage, LimitsLeaveOrdinaryImagesAlone) {
    const uint32_t most = PngImage::kMaxDimension;
    TestPicture withBigText = Picture(1, 8, 0, {Row(1, 0x33)});
    withBigText.compressedText.assign(PngImage::kMaxChunkBytes * 2, 'a');
    struct Case {
        const char* name;
        TestPicture picture;
        size_t textChunkBytes;  // an uncompressed text chunk of this size when not 0
    } cases[] = {
        {"widest accepted", Picture(most, 8, 0, {Row(most, 0x33)}), 0},
        {"tallest accepted", Picture(1, 8, 0, std::vector<Row>(most, Row(1, 0x33))), 0},
        {"largest accepted",
         Picture(most, 8, 0,
                 std::vector<Row>(PngImage::kMaxImageBytes / (most * 4), Row(most, 0x33))),
         0},
        {"compressed text beyond the bound does not fail the image", withBigText, 0},
        {"text chunk beyond the bound is skipped", Picture(1, 8, 0, {Row(1, 0x33)}),
         PngImage::kMaxChunkBytes + 1},
    };
    for (const Case& c : cases) {
        Bytes png = WritePng(c.picture);
        if (c.textChunkBytes > 0) {
            InsertChunk(png, "tEXt",
                        std::string("Comment\0", 8) + std::string(c.textChunkBytes, 'a'));
        }
        RecordingUserSide user;
        PngImage image(user);
        EXPECT_TRUE(Load(image, png)) << c.name;
        EXPECT_TRUE(user.shown.empty()) << c.name;
        EXPECT_EQ(image.Width(), c.picture.width) << c.name;
        EXPECT_EQ(image.Height(), c.picture.height) << c.name;
        ASSERT_NE(image.Rows(), nullptr) << c.name;
        EXPECT_EQ(image.Rows()[c.picture.height - 1][0], 0x33) << c.name;
    }
}

}  // namespace
