// Run-time binding of the dial-up phonebook library, by its full path in the system
// directory, and the operating-system class from the version query.
#pragma once

#include <windows.h>

#include "dialup/DialupApi.h"
#include "dialup/OsClass.h"

class UserSide;

// Loads `fileName` from the system directory by its full path; null when it cannot.
HMODULE LoadSystemLibrary(const char* fileName);

// Loads <system directory>\RASAPI32.DLL and resolves every operation. When RasDialA or
// RasHangUpA is missing, shows "RASAPI32.DLL エラー" (no owner) and leaves `api` unbound.
void BindDialup(DialupApi& api);

// Releases the library if it is loaded and clears the binding.
void ReleaseDialup(DialupApi& api);

OsClass QueryOsClass();
