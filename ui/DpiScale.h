// Sizes given in pixels at 96 dots per inch, brought to the DPI a window is drawn at. Portable:
// the shell asks Windows for the DPI, this only does the arithmetic.
#pragma once

// The DPI at which every pixel size of the program and of the provider's files is given.
constexpr int kDesignDpi = 96;

// `pixels` at 96 DPI scaled to `dpi`, rounded to the nearest pixel with halves away from zero
// (as MulDiv rounds), so that -18 and 18 scale to the same height. A result beyond the range
// of int is held at its limit instead of wrapping; a DPI of 0 or less counts as 96.
int ScaleForDpi(int pixels, int dpi);
