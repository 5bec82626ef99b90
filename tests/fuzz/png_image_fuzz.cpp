// libFuzzer target: any bytes into the logo decoder. Every outcome must be a clean true or
// false, with exactly one message for false and readable rows for true.
#include <cstddef>
#include <cstdint>

#include "FuzzModels.h"
#include "logo/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
    // A second load into the same object must release the first image cleanly.
    if (loaded) {
        Check(image.LoadFromMemory(data, size) && user.shown == 0, "the same bytes load again");
    }
    return static_cast<int>(sum & 0);
}
