// Loading the system's dial-up phonebook library by its full path in the system directory
// and resolving its operations, without any message: the program's binding (DialupBinding.h)
// and the kit tool's read-only preview both start here.
#pragma once

#include "dialup/DialupApi.h"

// Loads <system directory>\RASAPI32.DLL and resolves every operation of DIALUP_OPERATIONS;
// an operation the library lacks stays empty. False, with `api` unbound, when the library
// cannot be loaded.
bool LoadDialupLibrary(DialupApi& api);

// Releases the library if it is loaded and clears the binding.
void ReleaseDialup(DialupApi& api);
