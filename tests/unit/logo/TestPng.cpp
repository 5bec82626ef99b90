// PNG writer for the decoder's tests (libpng into a memory buffer) and chunk surgery.
#include "TestPng.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A picture the writer refuses is a fault of the test itself.
[[noreturn]] void WriterError(png_structp, png_const_charp message) {
    std::fprintf(stderr, "test PNG writer: %s\n", message);
    std::abort();
}

void WriterWarning(png_structp, png_const_charp) {}

void WriteToVector(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

uint32_t ReadBigEndian(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void WriteBigEndian(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value >> 24);
    p[1] = static_cast<unsigned char>(value >> 16);
    p[2] = static_cast<unsigned char>(value >> 8);
    p[3] = static_cast<unsigned char>(value);
}

}  // namespace

std::vector<unsigned char> WritePng(const TestPicture& picture) {
    std::vector<unsigned char> out;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, WriterError, WriterWarning);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, WriteToVector, FlushNothing);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);

    std::vector<png_color> palette;
    for (const auto& entry : picture.palette) {
        palette.push_back(png_color{entry[0], entry[1], entry[2]});
    }
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    if (!picture.paletteAlpha.empty()) {
        png_set_tRNS(png, info, picture.paletteAlpha.data(),
                     static_cast<int>(picture.paletteAlpha.size()), nullptr);
    }
    if (picture.greyTransparent >= 0) {
        png_color_16 grey{};
        grey.gray = static_cast<png_uint_16>(picture.greyTransparent);
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
    png_text text{};
    if (!picture.compressedText.empty()) {
        text.compression = PNG_TEXT_COMPRESSION_zTXt;
        text.key = const_cast<char*>("Comment");
        text.text = const_cast<char*>(picture.compressedText.c_str());
        text.text_length = picture.compressedText.size();
        png_set_text(png, info, &text, 1);
    }

    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : picture.rows) {
        rows.push_back(const_cast<png_bytep>(row.data()));
    }
    if (picture.interlaced) {
        png_set_interlace_handling(png);
    }
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool FindChunk(const std::vector<unsigned char>& png, const char* type, size_t* dataOffset,
               size_t* length) {
    size_t at = 8;  // past the signature
    while (at + 8 <= png.size()) {
        const uint32_t chunkLength = ReadBigEndian(&png[at]);
        if (std::memcmp(&png[at + 4], type, 4) == 0) {
            *dataOffset = at + 8;
            *length = chunkLength;
            return true;
        }
        at += 12 + size_t{chunkLength};
    }
    return false;
}

void FixChunkCrc(std::vector<unsigned char>& png, size_t dataOffset, size_t length) {
    const unsigned char* typeAndData = &png[dataOffset - 4];
    const uLong crc = crc32(crc32(0, nullptr, 0), typeAndData, static_cast<uInt>(length + 4));
    WriteBigEndian(&png[dataOffset + length], static_cast<uint32_t>(crc));
}

void PatchDimensions(std::vector<unsigned char>& png, uint32_t width, uint32_t height) {
    size_t offset = 0;
    size_t length = 0;
    if (!FindChunk(png, "IHDR", &offset, &length)) {
        std::abort();
    }
    WriteBigEndian(&png[offset], width);
    WriteBigEndian(&png[offset + 4], height);
    FixChunkCrc(png, offset, length);
}

void InsertChunk(std::vector<unsigned char>& png, const char* type, const std::string& data,
                 uint32_t declaredLength) {
    std::vector<unsigned char> chunk(12 + data.size());
    WriteBigEndian(&chunk[0],
                   declaredLength != 0 ? declaredLength : static_cast<uint32_t>(data.size()));
    std::memcpy(&chunk[4], type, 4);
    std::memcpy(&chunk[8], data.data(), data.size());
    FixChunkCrc(chunk, 8, data.size());
    const size_t afterHeader = 8 + 12 + 13;
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(afterHeader), chunk.begin(), chunk.end());
}
