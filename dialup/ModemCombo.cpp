// Modem drop-down lists.
#include "dialup/ModemCombo.h"

#include "dialup/Modems.h"

void FillModemCombo(HWND list, const DialupApi& api, const char* modemName) {
    for (LRESULT row = SendMessageA(list, CB_GETCOUNT, 0, 0) - 1; row >= 0; --row) {
        SendMessageA(list, CB_DELETESTRING, static_cast<WPARAM>(row), 0);
    }
    const std::vector<std::string> modems = ListModems(api);
    for (const std::string& name : modems) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const int row = FindModemRow(modems, modemName);
    if (row >= 0) {
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }
}
