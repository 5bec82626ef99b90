// The kit tool's estimate of the heading's extent.
#include "app/HeadingFit.h"

#include "settings/ByteText.h"

HeadingExtent EstimateHeadingExtent(const char* text, int size) {
    HeadingExtent extent;
    extent.width = EstimateTextWidth(text, size + 1, size / 2 + 1);
    extent.height = size;
    return extent;
}
