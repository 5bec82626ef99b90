// Modem drop-down lists.
#include "dialup/ModemCombo.h"

#include "dialup/Modems.h"

void FillModemCombo(HWND list, const DialupApi& api, const char* modemName) {
    for (LRESULT row = SendMessageA(list, CB_GETCOUNT, 0, 0) - 1; row >= 0; --row) {
        SendMessageA(list, CB_DELETESTRING, static_cast<WPARAM>(row), 0);
    }
    const ModemRows rows = ModemRowsFor(ListModems(api), modemName);
    for (const std::string& name : rows.names) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (rows.selected >= 0) {
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(rows.selected), 0);
    }
}
