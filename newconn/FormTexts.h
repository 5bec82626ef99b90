// What the new-connection form reads from ISP_INF.csv when it opens: the provider's texts
// and the domain.
#pragma once

#include "settings/IspSettings.h"

// The form's 9-point font at 96 DPI is this many pixels high. Its domain label grows with
// the form to hold its text on one line, as far as the screen allows: on a screen 640 pixels
// wide at 96 DPI, the smallest our subscribers have, it holds about kDomainRoomAtLargest
// pixels. The program measures its real font; the kit tool estimates a domain's width with
// EstimateTextWidth: a full-width character as wide as the font is high, a half-width one
// half that.
constexpr int kFormFontPixels = 12;
constexpr int kDomainRoomAtLargest = 360;

struct FormTexts {
    char domain[kIspLineCapacity] = {};     // DialupDomain, shown after the user name
    char caption[kIspLineCapacity] = {};    // CaptionSetting; empty: the template's
    char entryName[kIspLineCapacity] = {};  // DefaultEntryName
    char telNumber[kIspLineCapacity] = {};  // DefaultTelNumber
    bool hasCaption = false;
    bool hasEntryName = false;
    bool hasTelNumber = false;
};

// DialupDomain, CaptionSetting, DefaultEntryName and DefaultTelNumber, in one reading of the
// file (the form opens faster for it); the last line of each key wins. False when
// ISP_INF.csv does not exist (nothing changes then).
bool ReadFormTexts(const DataFiles& files, FormTexts* texts);
