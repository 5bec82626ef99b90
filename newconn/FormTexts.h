// What the new-connection form reads when it opens: the provider's texts and domain from
// ISP_INF.csv, and the modems of the phonebook.
#pragma once

#include <string>
#include <vector>

#include "dialup/DialupApi.h"
#include "settings/IspSettings.h"

struct FormTexts {
    char caption[kIspLineCapacity] = {};      // CaptionSetting; empty: the template's
    char entryName[kIspLineCapacity] = {};    // DefaultEntryName
    char telNumber[kIspLineCapacity] = {};    // DefaultTelNumber
    bool hasCaption = false;
    bool hasEntryName = false;
    bool hasTelNumber = false;
};

// CaptionSetting, DefaultEntryName and DefaultTelNumber; the last line of each key wins.
// False when ISP_INF.csv does not exist (nothing changes then).
bool ReadFormTexts(const DataFiles& files, FormTexts* texts);

// DialupDomain, the text shown after the user name; empty when the file or key is missing.
void ReadFormDomain(const DataFiles& files, char (&domain)[kIspLineCapacity]);

// Names of the phonebook's devices whose type is "modem" (letters compared without regard
// to case), in the order the phonebook reports them (code page 932). Empty when the
// enumeration fails.
std::vector<std::string> ListModems(const DialupApi& api);
