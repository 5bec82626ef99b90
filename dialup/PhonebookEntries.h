// The names of all entries of the default phonebook, listed with the two-call size
// negotiation of the dial-up library. Shared by the new-connection form's name look-up and
// the migration's walk over every entry.
#pragma once

#include <vector>

#include "dialup/DialupApi.h"

// All entry names of the default phonebook, in the phonebook's order. The first call
// offers one 264-byte record with a stated size of 0; when that is too small (603) a
// buffer of the reported size follows, and the second call's result decides. False when
// the library lacks the operation, the second call fails, or the reported size is absurd
// (more than 65536 records); `entries` is then empty. Every name (code page 932) is
// zero-terminated within its 257-byte field.
bool EnumerateEntries(const DialupApi& api, std::vector<RASENTRYNAMEA>* entries);
