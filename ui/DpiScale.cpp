// Pixel sizes scaled by DPI.
#include "ui/DpiScale.h"

#include <climits>
#include <cstdint>

int ScaleForDpi(int pixels, int dpi) {
    if (dpi <= 0) {
        dpi = kDesignDpi;
    }
    const int64_t product = static_cast<int64_t>(pixels) * dpi;
    const int64_t half = kDesignDpi / 2;
    const int64_t scaled =
        product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
    if (scaled > INT_MAX) {
        return INT_MAX;
    }
    if (scaled < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(scaled);
}
