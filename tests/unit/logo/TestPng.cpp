// PNG writer for the decoder's tests (chunks by hand, image data through zlib) and chunk
// surgery. Not libpng's writer: the program's libpng is built for reading only.
#include "TestPng.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

uint32_t ReadBigEndian(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void WriteBigEndian(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value >> 24);
    p[1] = static_cast<unsigned char>(value >> 16);
    p[2] = static_cast<unsigned char>(value >> 8);
    p[3] = static_cast<unsigned char>(value);
}

void AppendChunk(std::vector<unsigned char>& png, const char* type, const std::string& data) {
    const size_t at = png.size();
    png.resize(at + 12 + data.size());
    WriteBigEndian(&png[at], static_cast<uint32_t>(data.size()));
    std::memcpy(&png[at + 4], type, 4);
    std::memcpy(&png[at + 8], data.data(), data.size());
    FixChunkCrc(png, at + 8, data.size());
}

// A failure leaves a stream of zeros, which the decoder then refuses in the test.
std::string Deflate(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

// The scan lines of one pass (filter type 0 each): the pixels from column x0 every dx of the
// rows from y0 every dy, packed as stored.
void AppendPass(const TestPicture& p, uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy,
                std::string& raw) {
    static const size_t kChannels[] = {1, 0, 3, 1, 2, 0, 4};
    const size_t bits = static_cast<size_t>(p.bitDepth) * kChannels[p.colourType];
    const size_t columns = x0 < p.width ? (p.width - x0 + dx - 1) / dx : 0;
    for (uint32_t y = y0; y < p.height && columns > 0; y += dy) {
        std::string line((columns * bits + 7) / 8, '\0');
        for (size_t to = 0; to < columns * bits; ++to) {
            const size_t from = (x0 + to / bits * dx) * bits + to % bits;
            if ((p.rows[y][from / 8] >> (7 - from % 8)) & 1) {
                line[to / 8] = static_cast<char>(line[to / 8] | (0x80 >> (to % 8)));
            }
        }
        raw += '\0' + line;
    }
}

}  // namespace

std::vector<unsigned char> WritePng(const TestPicture& picture) {
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> png(kSignature, kSignature + sizeof(kSignature));
    std::string header(13, '\0');
    WriteBigEndian(reinterpret_cast<unsigned char*>(&header[0]), picture.width);
    WriteBigEndian(reinterpret_cast<unsigned char*>(&header[4]), picture.height);
    header[8] = static_cast<char>(picture.bitDepth);
    header[9] = static_cast<char>(picture.colourType);
    header[12] = picture.interlaced ? 1 : 0;
    AppendChunk(png, "IHDR", header);

    std::string palette;
    for (const auto& entry : picture.palette) {
        palette.append(entry.begin(), entry.end());
    }
    std::string alpha(picture.paletteAlpha.begin(), picture.paletteAlpha.end());
    if (picture.greyTransparent >= 0) {
        alpha = {static_cast<char>(picture.greyTransparent >> 8),
                 static_cast<char>(picture.greyTransparent & 0xFF)};
    }
    for (const auto& chunk : {std::make_pair("PLTE", palette), std::make_pair("tRNS", alpha)}) {
        if (!chunk.second.empty()) {
            AppendChunk(png, chunk.first, chunk.second);
        }
    }
    if (!picture.compressedText.empty()) {
        AppendChunk(png, "zTXt", std::string("Comment\0\0", 9) + Deflate(picture.compressedText));
    }

    static const uint32_t kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::string raw;
    if (picture.interlaced) {
        for (const auto& pass : kAdam7) {
            AppendPass(picture, pass[0], pass[1], pass[2], pass[3], raw);
        }
    } else {
        AppendPass(picture, 0, 0, 1, 1, raw);
    }
    AppendChunk(png, "IDAT", Deflate(raw));
    AppendChunk(png, "IEND", "");
    return png;
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
