// Pixel sizes at 96 DPI brought to another DPI: rounding at the exact half-pixel edges, the
// sign, and the limits of int.
#include <gtest/gtest.h>

#include <climits>

#include "ui/DpiScale.h"

namespace {

TEST(DpiScaleTest, RoundsToNearestHalvesAwayFromZeroAndHoldsAtTheLimits) {
    const struct {
        int pixels, dpi, expected;
    } cases[] = {
        {18, 96, 18},
        {18, 120, 23},  // 22.5: a half rounds up
        {-18, 120, -23},
        {22, 144, 33},
        {22, 192, 44},
        {1, 144, 2},    // 1.5
        {1, 143, 1},    // 1.489...
        {3, 112, 4},    // 3.5 exactly
        {3, 111, 3},    // 3.47
        {-3, 112, -4},  // -3.5 away from zero, like MulDiv
        {0, 192, 0},
        {20, 0, 20},  // no DPI known: 96
        {20, -120, 20},
        {1073741823, 192, 2147483646},  // the largest that fits at 192
        {1073741824, 192, INT_MAX},     // one past: held, not wrapped
        {-1073741824, 192, INT_MIN},    // exactly the least int
        {-1073741825, 192, INT_MIN},    // one past
        {INT_MAX, 96, INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
    }
}

}  // namespace
