// libFuzzer target: any bytes into the logo decoder. Every outcome must be a clean true or
// false, with exactly one message for false and readable rows for true.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/UserSide.h"
#include "logo/PngImage.h"

namespace {

class CountingUserSide : public UserSide {
public:
    void ShowProgramMessage(const Message&, MessageIcon) override { ++shown; }
    void ShowAppMessage(const Message&, MessageIcon) override { ++shown; }
    bool AskProgramQuestion(const Message&) override { return ++shown, true; }
    int shown = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CountingUserSide user;
    PngImage image(user);
    const bool loaded = image.LoadFromMemory(data, size);
    if (loaded != (user.shown == 0) || loaded != (image.Rows() != nullptr)) {
        std::abort();
    }
    unsigned sum = 0;
    for (uint32_t y = 0; y < image.Height(); ++y) {
        for (uint32_t x = 0; x < image.Width() * 4; ++x) {
            sum += image.Rows()[y][x];  // every byte handed out must be readable
        }
    }
    // A second load into the same object must release the first image cleanly.
    if (loaded && (!image.LoadFromMemory(data, size) || user.shown != 0)) {
        std::abort();
    }
    return static_cast<int>(sum & 0);
}
