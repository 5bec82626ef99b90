// How large the main menu's heading is drawn: the size the provider asks for, or, when its
// text would be cut at that size, the largest size at which it fits its label whole. The
// program measures its real font; the kit tool estimates with the face's fixed widths.
#pragma once

// The heading label's room at 96 DPI: 160 x 23 dialog units of the template's 9-point font.
constexpr int kHeadingRoomWidth = 280;
constexpr int kHeadingRoomHeight = 34;

// The heading the template gives (インターネット　ダイヤルネスト, code page 932) and its size
// in pixels at 96 DPI, which TitleStart and TitleFontSize replace.
constexpr char kDefaultHeading[] =
    "\x83\x43\x83\x93\x83\x5E\x81\x5B\x83\x6C\x83\x62\x83\x67\x81\x40\x83\x5F\x83\x43\x83\x84"
    "\x83\x8B\x83\x6C\x83\x58\x83\x67";
constexpr int kDefaultHeadingSize = 18;

struct HeadingExtent {
    int width = 0;
    int height = 0;
};

// The largest size from 1 to `wanted` at which `measure(size)` (a HeadingExtent) fits in
// `roomWidth` x `roomHeight`: `wanted` itself when it fits, 1 when nothing does. The extent
// grows with the size and a line is never lower than its size, so the search starts at the
// room's height and halves the range: a few dozen measurements at most.
template <class Measure>
int FitHeadingSize(int wanted, int roomWidth, int roomHeight, Measure measure) {
    const auto fits = [&](int size) {
        const HeadingExtent e = measure(size);
        return e.width <= roomWidth && e.height <= roomHeight;
    };
    int low = 1;  // taken to fit: no smaller heading is drawn
    int high = wanted < roomHeight ? wanted : roomHeight;
    if (high <= low || fits(high)) {
        return high > low ? high : low;
    }
    while (high - low > 1) {  // `high` does not fit
        const int middle = low + (high - low) / 2;
        (fits(middle) ? low : high) = middle;
    }
    return low;
}

// The extent of `text` (code page 932) in the heading's bold "MS ゴシック" of `size`
// pixels: a fixed-pitch face whose full-width characters are `size` wide and half-width
// ones half that, each a pixel wider in bold, one line `size` high.
HeadingExtent EstimateHeadingExtent(const char* text, int size);
