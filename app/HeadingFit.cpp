// The kit tool's estimate of the heading's extent.
#include "app/HeadingFit.h"

#include "settings/ByteText.h"

HeadingExtent EstimateHeadingExtent(const char* text, int size) {
    long long width = 0;
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        const bool full = IsLeadByte932(static_cast<unsigned char>(*p)) && p[1] != '\0';
        width += (full ? size : size / 2) + 1;
        p += full ? 1 : 0;
    }
    HeadingExtent extent;
    extent.width = width > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(width);
    extent.height = size;
    return extent;
}
