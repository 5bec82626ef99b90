// The placeholder Windows hands out for a saved password from 2000 on (RasGetCredentialsA,
// and RasGetEntryDialParamsA on the NT family): sixteen asterisks, which given back keep the
// saved password. A box that shows it must never turn it into part of a new password.
#pragma once

#include <cstddef>

extern const char kSavedPasswordPlaceholder[];  // "****************"

// True when `password` still holds the placeholder (sixteen asterisks in a row) anywhere: it
// is then no password the subscriber typed, and is never written.
bool HoldsPasswordPlaceholder(const char* password);

// What a box that showed the placeholder holds after the subscriber changed it into `now`
// (code page 932): only what was typed, the placeholder replaced whole (typed after it,
// before it, over part of it, or pasted). Deleting from it leaves the box empty. `out` holds
// `size` bytes and is always terminated; the typed text is cut at a character boundary.
void TypedOverPlaceholder(const char* now, char* out, size_t size);
