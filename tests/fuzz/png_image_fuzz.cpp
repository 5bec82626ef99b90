// libFuzzer target: any bytes into the logo decoder. Every outcome must be a clean true or
// false, with exactly one message for false and readable rows for true.
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzModels.h"
#include "logo/PngImage.h"

namespace {

volatile unsigned sink;  // keeps the reads of every row

void CheckLoad(const uint8_t* data, size_t size) {
    CountingUserSide user;
    PngImage image(user);
    const bool loaded = image.LoadFromMemory(data, size);
    Check(user.shown == (loaded ? 0 : 1), "one message exactly when the load fails");
    Check(loaded == (image.Rows() != nullptr), "rows exactly when the load succeeds");
    Check(loaded || (image.Width() == 0 && image.Height() == 0), "a failed load is empty");
    unsigned sum = 0;
    for (uint32_t y = 0; y < image.Height(); ++y) {
        for (uint32_t x = 0; x < image.Width() * 4; ++x) {
            sum += image.Rows()[y][x];  // every byte handed out must be readable
        }
    }
    sink = sum;
    // A second load into the same object must release the first image cleanly.
    if (loaded) {
        Check(image.LoadFromMemory(data, size) && user.shown == 0, "the same bytes load again");
    }
}

uint32_t BigEndian(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The bytes with the checksum of every whole chunk made right. Nearly every mutation breaks
// a checksum, and the decoder stops there; this copy takes mutations on into the chunks.
std::vector<uint8_t> WithRightChecksums(const uint8_t* data, size_t size) {
    std::vector<uint8_t> fixed(data, data + size);
    size_t at = 8;  // past the signature
    while (size - at >= 12) {
        const uint32_t length = BigEndian(&fixed[at]);
        if (length > size - at - 12)
            break;
        const uLong crc = crc32(0, &fixed[at + 4], length + 4);
        for (int i = 0; i < 4; ++i)
            fixed[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + size_t{length};
    }
    return fixed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckLoad(data, size);
    if (size > 8) {
        const std::vector<uint8_t> fixed = WithRightChecksums(data, size);
        if (!std::equal(fixed.begin(), fixed.end(), data))
            CheckLoad(fixed.data(), fixed.size());
    }
    return 0;
}
