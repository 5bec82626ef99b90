// Decodes a PNG file or memory block into rows of 4-byte pixels (red, green, blue, alpha or
// filler) with libpng. Every decoding failure shows one message: "PNGエラー".
#pragma once

#include <cstddef>
#include <cstdint>

class UserSide;
struct png_struct_def;
struct png_info_def;

// The bytes libpng reads from: a buffer the caller owns, its length and the read position.
struct PngMemorySource {
    const unsigned char* data = nullptr;
    size_t length = 0;
    size_t position = 0;
};

class PngImage {
public:
    // Largest width and height accepted; a logo beyond this is refused as a decoding failure
    // rather than allocated without limit.
    static constexpr uint32_t kMaxDimension = 4096;

    // Largest decoded image in bytes (4 per pixel): 4096 x 1024 pixels. A logo needs far
    // less; a stream claiming more is refused before its rows are allocated.
    static constexpr size_t kMaxImageBytes = 16 * 1024 * 1024;

    // Largest buffer an ancillary chunk (text, colour profile) may occupy once read or
    // decompressed; a larger one is skipped without a message, the image still decodes.
    static constexpr size_t kMaxChunkBytes = 2 * 1024 * 1024;

    // Largest single block libpng may take. A chunk's declared length decides an
    // allocation before its data is read, so a damaged length could otherwise ask for 2 GiB.
    static constexpr size_t kMaxBlockBytes = kMaxChunkBytes + 64 * 1024;

    // A logo file of more bytes than this is refused as a decoding failure.
    static constexpr long kMaxFileBytes = 64L * 1024 * 1024;

    // `user` shows the decoding failure message and must outlive the image.
    explicit PngImage(UserSide& user);
    ~PngImage();
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    // Decodes a whole PNG stream of `length` bytes at `data` (not kept after the call),
    // replacing the image of an earlier load. True: Width, Height and Rows describe the new
    // image. False: "PNGエラー" has been shown once (application message box, warning
    // icon) and the image is empty. Images of every colour type and bit depth come out as
    // 8 bits per sample, 4 bytes per pixel; 16-bit samples keep their high byte.
    bool LoadFromMemory(const unsigned char* data, size_t length);

    // Reads the whole file at `path` (code page 932) and decodes it as LoadFromMemory does;
    // the image is empty unless true. False with nothing shown when the file cannot be
    // opened or reads as empty, or the path contains neither ".png" nor ".PNG"; false after
    // "PNGエラー" when the file holds more than kMaxFileBytes or does not decode.
    bool LoadFile(const char* path);

    // Pixels per row and number of rows of the current image; 0 when empty.
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }

    // Height() rows, top row first, each Width() * 4 bytes: red, green, blue, then alpha
    // (colour types with alpha, or a transparency chunk on a palette or low-depth grey
    // image) or 0xFF. Null when the image is empty. Valid until the next load.
    const unsigned char* const* Rows() const { return rows_; }

private:
    friend struct PngCallbacks;

    void Empty();
    bool DecodeGuarded();
    bool Decode();
    void DestroyStructs();
    void FreeRows();

    UserSide& user_;
    PngMemorySource source_;
    png_struct_def* read_ = nullptr;
    png_info_def* info_ = nullptr;
    png_info_def* endInfo_ = nullptr;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    int bitDepth_ = 0;
    int colourType_ = 0;
    unsigned char** rows_ = nullptr;
    uint32_t rowCount_ = 0;  // entries of rows_, some possibly still null after a failure
    // Where libpng's errors return to: the state of an unfinished load lives in the members
    // above, so nothing needs to survive the jump in locals.
    void* errorJump_[5] = {};
};
