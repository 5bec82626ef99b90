// Small PNG streams for the decoder's tests, written without libpng, and the
// chunk surgery that damages them in controlled ways.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TestPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colourType = 2;  // PNG colour type: 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    bool interlaced = false;
    std::vector<std::vector<unsigned char>> rows;  // in the stored form: packed, big-endian
    std::vector<std::array<unsigned char, 3>> palette;
    std::vector<unsigned char> paletteAlpha;  // a tRNS chunk for palette images when not empty
    int greyTransparent = -1;                 // a tRNS chunk for grey images when >= 0
    std::string compressedText;               // a zTXt chunk when not empty
};

// The PNG stream of `picture`: its chunks in the order of the fields above, then one IDAT
// chunk of unfiltered scan lines (Adam7 passes when interlaced) and IEND.
std::vector<unsigned char> WritePng(const TestPicture& picture);

// Offset of the data of the first chunk of `type` and its length; false when absent.
bool FindChunk(const std::vector<unsigned char>& png, const char* type, size_t* dataOffset,
               size_t* length);

// Recomputes the CRC of the chunk whose data starts at `dataOffset`.
void FixChunkCrc(std::vector<unsigned char>& png, size_t dataOffset, size_t length);

// Inserts a chunk of `type` with `data` and a valid CRC right after the header chunk; its
// length field says `declaredLength` when that is given, the data's length otherwise.
void InsertChunk(std::vector<unsigned char>& png, const char* type, const std::string& data,
                 uint32_t declaredLength = 0);

// Writes new dimensions into the header chunk, with a valid CRC.
void PatchDimensions(std::vector<unsigned char>& png, uint32_t width, uint32_t height);
