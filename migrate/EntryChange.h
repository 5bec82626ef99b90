// Writing an accepted change into a phonebook entry: the split of a new number into area
// code and local number for an entry that dials with country and area codes. The change
// itself is MigrationContext::ApplyEntryChange.
#pragma once

#include <cstddef>

#include "migrate/MigrationUi.h"

// The two parts of a new number (code page 932), each at most 256 bytes.
struct NewNumberParts {
    char areaCode[kChangeFieldSize];
    char localNumber[kChangeFieldSize];
};

// Splits at the first hyphen: the area code is the text before it (empty when the hyphen
// comes first), the local number everything after it unchanged, further hyphens included,
// or "-" when nothing follows the hyphen. Without a hyphen the area code is empty and the
// local number is the whole text. False, with both parts empty, for a null number or one
// longer than 256 bytes.
bool SplitNewNumber(const char* newNumber, NewNumberParts* parts);

// Keeps only the digits 0-9 of `text`, in order (the NT family stores area codes so).
void KeepDigitsOnly(char* text);

// The refusal of a new number typed into the access-point change dialog: IDS_NO_ACCESS_POINT
// (the form's own message for a missing number) when it is null or empty, else 0.
unsigned CheckNewNumber(const char* newNumber);

// The refusal of the user name an accepted dialog hands back, as UserNameProblem with the
// domain the change adds (the message names it as its argument): for the access-point
// change only when its user-name box was ticked, and with no domain when the whole name is
// kept; for the user-name change always, with the new domain. 0 when it may be written.
unsigned CheckAcceptedUserName(const AccessPointChangeFields& fields);
unsigned CheckAcceptedUserName(const UserNameChangeFields& fields);
