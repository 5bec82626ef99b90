// Run-time binding of the dial-up phonebook library, by its full path in the system
// directory, and the operating-system class from the version query.
#pragma once

#include "dialup/DialupApi.h"
#include "dialup/DialupLibrary.h"
#include "dialup/OsClass.h"

class UserSide;

// Loads <system directory>\RASAPI32.DLL and resolves every operation. When RasDialA or
// RasHangUpA is missing, shows "RASAPI32.DLL エラー" (no owner) and leaves `api` unbound.
void BindDialup(DialupApi& api);

OsClass QueryOsClass();
