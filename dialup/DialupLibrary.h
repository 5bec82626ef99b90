// Loading libraries from the system directory by their full path, and the dial-up phonebook
// library's operations, without any message: the program's binding (DialupBinding.h) and the
// kit tool's read-only preview both start here.
#pragma once

#include <windows.h>

#include <string>

#include "dialup/DialupApi.h"

// Where Windows offers SetDefaultDllDirectories (8 and later; Vista and 7 with the 2011 loader
// update), makes the libraries that system libraries load in turn come from the system
// directory only, never from the program's folder. Elsewhere nothing changes, and the
// full-path loads below keep a planted dial-up library out all the same. Called first thing
// in each program; true when the search was restricted.
bool RestrictLibrarySearch();

// Loads `fileName` from the system directory by its full path; null when it cannot.
HMODULE LoadSystemLibrary(const char* fileName);

// The user's application-data folder (code page 932, without a final backslash):
// SHGetFolderPathA (2000 and later, Me), else SHGetSpecialFolderPathA (the shell of Windows 98,
// and of 95 with the desktop update), both looked up at run time. Empty when neither names one.
std::string UserAppDataFolder();

// Loads <system directory>\RASAPI32.DLL and resolves every operation of DIALUP_OPERATIONS;
// an operation the library lacks stays empty. False, with `api` unbound, when the library
// cannot be loaded.
bool LoadDialupLibrary(DialupApi& api);

// Releases the library if it is loaded and clears the binding.
void ReleaseDialup(DialupApi& api);
