// PNG decoding on libpng: the memory source, the transformations to 4-byte pixels, the
// ownership of the rows and the one failure message.
#include "logo/PngImage.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "res/resource.h"
#include "ui/UserSide.h"

#if !defined(PNG_USER_MEM_SUPPORTED) || !defined(PNG_SET_USER_LIMITS_SUPPORTED)
#error "libpng needs user memory functions and user limits"
#endif

#if defined(__SANITIZE_ADDRESS__)
#define DIALNEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DIALNEST_ASAN 1
#endif
#endif
#ifdef DIALNEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

// libpng calls back into the image through these; they may reach its private members.
struct PngCallbacks {
    // Every libpng error ends here and never returns to libpng. The jump is the compiler's
    // own non-local goto: it needs no unwinder, so it behaves alike natively and on 32-bit
    // Windows, where the C library's longjmp unwinds through SEH. Only libpng's C frames and
    // these callbacks lie between here and the jump point, none with a destructor.
    [[noreturn]] static void Error(png_structp png, png_const_charp /*message*/) {
        PngImage* image = static_cast<PngImage*>(png_get_error_ptr(png));
#ifdef DIALNEST_ASAN
        // The frames jumped over leave their poisoned red zones behind otherwise.
        __asan_handle_no_return();
#endif
        __builtin_longjmp(image->errorJump_, 1);
    }

    // libpng's warnings and its own error texts are never shown.
    static void Warning(png_structp /*png*/, png_const_charp /*message*/) {}

    // libpng's allocator is made explicit so that the rows, allocated through it, can be
    // freed with the matching function after the read structure is gone, and so that no
    // block is larger than the bound.
    static png_voidp Allocate(png_structp /*png*/, png_alloc_size_t size) {
        return size <= PngImage::kMaxBlockBytes ? std::malloc(size) : nullptr;
    }
    static void Release(png_structp /*png*/, png_voidp memory) {
        std::free(memory);
    }

    static void Read(png_structp png, png_bytep out, size_t count) {
        PngMemorySource* source = static_cast<PngMemorySource*>(png_get_io_ptr(png));
        if (source == nullptr || count > source->length - source->position) {
            png_error(png, "read past the end of the data");
        }
        if (count > 0) {
            std::memcpy(out, source->data + source->position, count);
            source->position += count;
        }
    }
};

PngImage::PngImage(UserSide& user) : user_(user) {}

PngImage::~PngImage() {
    DestroyStructs();
    FreeRows();
}

void PngImage::Empty() {
    DestroyStructs();
    FreeRows();
    width_ = 0;
    height_ = 0;
    bitDepth_ = 0;
    colourType_ = 0;
}

bool PngImage::LoadFile(const char* path) {
    Empty();
    FILE* file = path != nullptr ? std::fopen(path, "rb") : nullptr;
    if (file == nullptr) {
        return false;
    }
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        length = std::ftell(file);
    }
    if (length <= 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return false;
    }
    if (length > kMaxFileBytes) {
        std::fclose(file);
        user_.ShowAppMessage(Message{IDS_PNG_ERROR}, MessageIcon::Warning);
        return false;
    }
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[length]);
    const size_t read = buffer ? std::fread(buffer.get(), 1, static_cast<size_t>(length), file) : 0;
    std::fclose(file);
    if (read == 0) {
        return false;
    }
    if (std::strstr(path, ".png") == nullptr && std::strstr(path, ".PNG") == nullptr) {
        return false;
    }
    return LoadFromMemory(buffer.get(), read);
}

bool PngImage::LoadFromMemory(const unsigned char* data, size_t length) {
    Empty();
    source_ = PngMemorySource{data, data != nullptr ? length : 0, 0};

    const bool decoded = DecodeGuarded();
    DestroyStructs();
    source_ = PngMemorySource{};
    if (!decoded) {
        FreeRows();
        width_ = 0;
        height_ = 0;
        user_.ShowAppMessage(Message{IDS_PNG_ERROR}, MessageIcon::Warning);
    }
    return decoded;
}

bool PngImage::DecodeGuarded() {
    if (__builtin_setjmp(errorJump_) != 0) {
        return false;  // libpng or the memory source gave up; members say what to release
    }
    return Decode();
}

// Kept out of DecodeGuarded so that no local of the decoding lives in the frame the error
// jump returns to.
[[gnu::noinline]] bool PngImage::Decode() {
    read_ = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, this, PngCallbacks::Error,
                                     PngCallbacks::Warning, nullptr, PngCallbacks::Allocate,
                                     PngCallbacks::Release);
    if (read_ == nullptr) {
        return false;
    }
    info_ = png_create_info_struct(read_);
    if (info_ == nullptr) {
        return false;
    }
    endInfo_ = png_create_info_struct(read_);
    if (endInfo_ == nullptr) {
        return false;
    }
    png_set_user_limits(read_, kMaxDimension, kMaxDimension);
    png_set_chunk_malloc_max(read_, kMaxChunkBytes);
    png_set_read_fn(read_, &source_, PngCallbacks::Read);

    png_read_info(read_, info_);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    png_get_IHDR(read_, info_, &width, &height, &bitDepth_, &colourType_, nullptr, nullptr,
                 nullptr);

    if (bitDepth_ < 8) {
        png_set_packing(read_);
    }
    if (colourType_ == PNG_COLOR_TYPE_PALETTE) {
        png_set_expand(read_);
    }
    if (colourType_ == PNG_COLOR_TYPE_GRAY && bitDepth_ < 8) {
        png_set_expand(read_);
    }
    if (colourType_ == PNG_COLOR_TYPE_GRAY || colourType_ == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(read_);
    }
    // The logo control reads 4 bytes per pixel, so 16-bit samples are brought to 8 bits
    // rather than left at twice the row length.
    if (bitDepth_ == 16) {
        png_set_strip_16(read_);
    }
    png_set_filler(read_, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(read_, info_);

    const size_t rowBytes = png_get_rowbytes(read_, info_);
    if (rowBytes != static_cast<size_t>(width) * 4) {
        png_error(read_, "unexpected pixel layout");
    }
    if (rowBytes * height > kMaxImageBytes) {
        png_error(read_, "image too large");
    }

    rows_ = static_cast<unsigned char**>(png_malloc(read_, sizeof(unsigned char*) * height));
    std::memset(rows_, 0, sizeof(unsigned char*) * height);
    rowCount_ = height;
    for (png_uint_32 y = 0; y < height; ++y) {
        rows_[y] = static_cast<unsigned char*>(png_malloc(read_, rowBytes));
    }
    png_read_image(read_, rows_);
    png_read_end(read_, info_);

    width_ = width;
    height_ = height;
    return true;
}

void PngImage::DestroyStructs() {
    if (read_ != nullptr) {
        png_destroy_read_struct(&read_, info_ != nullptr ? &info_ : nullptr,
                                endInfo_ != nullptr ? &endInfo_ : nullptr);
    }
    read_ = nullptr;
    info_ = nullptr;
    endInfo_ = nullptr;
}

void PngImage::FreeRows() {
    if (rows_ != nullptr) {
        for (uint32_t y = 0; y < rowCount_; ++y) {
            PngCallbacks::Release(nullptr, rows_[y]);
        }
        PngCallbacks::Release(nullptr, rows_);
    }
    rows_ = nullptr;
    rowCount_ = 0;
}
