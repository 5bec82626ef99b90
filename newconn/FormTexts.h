// What the new-connection form reads from ISP_INF.csv when it opens: the provider's texts
// and the domain.
#pragma once

#include "settings/IspSettings.h"

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
