// Where the provider's logo stands on the new-connection form and which colour it paints as
// transparent: shared by the logo control and the kit tool, which measures a logo against them.
#pragma once

#include <cstdint>

struct LogoColour {
    uint8_t red, green, blue;
};

// Exact magenta; red 255, green 0, blue 254 is drawn like any other colour.
constexpr LogoColour kLogoTransparentColour{255, 0, 255};

// Control 1023 of the form's template is 13 x 14 dialog units; with the form's font
// (9-point "ＭＳ Ｐゴシック") at 96 dots per inch that is 20 x 21 pixels. The logo is drawn at
// its own size from the control's corner, not clipped by the program; at a higher DPI the
// control and the logo grow alike, so 96 DPI is the measure.
constexpr int kLogoAreaWidth = 20;
constexpr int kLogoAreaHeight = 21;
