// Loading libraries from the system directory by their full path, and the dial-up phonebook
// library's operations, without any message: the program's binding (DialupBinding.h) and the
// kit tool's read-only preview both start here.
#pragma once

#include <windows.h>

#include "dialup/DialupApi.h"

// Where Windows offers SetDefaultDllDirectories (8 and later; Vista and 7 with the 2011 loader
// update), makes the libraries that system libraries load in turn come from the system
// directory only, never from the program's folder. Elsewhere nothing changes, and the
// full-path loads below keep a planted dial-up library out all the same. Called first thing
// in each program; true when the search was restricted.
bool RestrictLibrarySearch();

// Loads `fileName` from the system directory by its full path; null when it cannot.
HMODULE LoadSystemLibrary(const char* fileName);

// Loads <system directory>\RASAPI32.DLL and resolves every operation of DIALUP_OPERATIONS;
// an operation the library lacks stays empty. False, with `api` unbound, when the library
// cannot be loaded.
bool LoadDialupLibrary(DialupApi& api);

// Releases the library if it is loaded and clears the binding.
void ReleaseDialup(DialupApi& api);
