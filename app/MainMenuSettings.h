// The provider's settings for the main menu window: caption, heading text and heading size
// from ISP_INF.csv (CaptionStart, TitleStart, TitleFontSize).
#pragma once

#include "settings/IspSettings.h"

struct MainMenuSettings {
    bool hasCaption = false;
    char caption[kIspLineCapacity] = {};
    bool hasHeading = false;
    char heading[kIspLineCapacity] = {};
    // The heading's character height in pixels; 0 when no usable size was given.
    int headingSize = 0;
};

// Applies every line in file order, so the last occurrence of a key wins; a size of 1 or
// less leaves the size as it was. False when ISP_INF.csv does not exist.
bool ReadMainMenuSettings(const DataFiles& files, MainMenuSettings* settings);
