// The binding table filled with the substitute library's functions, so that the core's
// unit tests run against the substitute phonebook (the file that RASSIM_PHONEBOOK names).
#pragma once

#include "dialup/DialupApi.h"

// Every entry point set; `library` is a non-null marker (there is no library to release).
DialupApi SimDialupApi();
