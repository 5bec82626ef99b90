// The phonebook's modems, as the form and the confirmation dialogs list them.
#pragma once

#include <string>
#include <vector>

#include "dialup/DialupApi.h"

// Names of the devices whose type is "modem" (letters compared without regard to case),
// in the order the phonebook reports them (code page 932). Empty when the enumeration
// fails or reports no device.
std::vector<std::string> ListModems(const DialupApi& api);

// The row to select for `modemName`: the first row whose text equals it (letters without
// regard to case, double-byte characters whole), else row 0; -1 when there are no rows.
int FindModemRow(const std::vector<std::string>& rows, const char* modemName);
