// The phonebook's modems, as the form and the confirmation dialogs list them.
#pragma once

#include <string>
#include <vector>

#include "dialup/DialupApi.h"

// Names of the devices whose type is "modem" (letters compared without regard to case),
// in the order the phonebook reports them (code page 932). The buffer is sized from the
// byte count of the sizing call. Empty when the enumeration fails or reports no device.
std::vector<std::string> ListModems(const DialupApi& api);

// The row to select for `modemName`: the first row whose text equals it (letters without
// regard to case, double-byte characters whole), else row 0; -1 when there are no rows.
int FindModemRow(const std::vector<std::string>& rows, const char* modemName);

// The rows of a modem list that starts on `modemName` (an entry's own modem; null or "" for
// none): the modems, with `modemName` put first when it is not among them (a modem no longer
// installed), so that the row shown is the modem the entry keeps unless the user picks
// another. `selected` is the row to select, -1 when there are no rows.
struct ModemRows {
    std::vector<std::string> names;
    int selected = -1;
};
ModemRows ModemRowsFor(const std::vector<std::string>& modems, const char* modemName);
