// Fills a drop-down list with the phonebook's modems.
#pragma once

#include <windows.h>

#include "dialup/DialupApi.h"

// Empties `list` (last row first), adds the rows of ModemRowsFor in order and selects the
// row of `modemName` (letters without regard to case; put first when not installed), else
// the first row.
void FillModemCombo(HWND list, const DialupApi& api, const char* modemName);
