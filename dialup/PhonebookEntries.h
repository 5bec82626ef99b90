// The names of all phonebook entries, with the phonebook that holds each, listed with the
// two-call size negotiation of the dial-up library. Shared by the new-connection form's name
// look-up and the migration's walk over every entry.
#pragma once

#include <vector>

#include "dialup/DialupApi.h"

// One listed entry (code page 932, zero-terminated). `phonebook` is the path the library
// reported for it, empty where it reports none (before Windows 2000): every later call for
// the entry passes it, so that it reaches the phonebook the entry was found in.
struct PhonebookEntryName {
    char name[RAS_MaxEntryName + 1];
    char phonebook[RAS_MaxPath + 1];
    // In the all-users phonebook, as the 2000 form says (REN_AllUsers); the short form tells
    // nothing, and there is only one phonebook before 2000.
    bool allUsers;
};

// The phonebook argument of a call for an entry found in `phonebook`: null (the default
// phonebook) when it is empty or null.
inline const char* PhonebookArgument(const char* phonebook) {
    return phonebook != nullptr && phonebook[0] != '\0' ? phonebook : nullptr;
}

// All entries of every phonebook the library lists with no phonebook named, in its order.
// Asks in the Windows 2000 form first (which names each entry's phonebook) and, when the
// library refuses that size (632, as versions before 2000 do), in the short form. Each form:
// one record with a stated size of 0, then, on 603, a buffer of the reported size; the
// second call's result decides. Returns 0, or the failure's number: 120 when the library
// lacks the operation, 632 for a reported size of more than 65536 records, 13 for a
// success that did not fill in the count or a record (a count beyond the buffer, a record
// without a name); `entries` is then empty.
RasDword EnumerateEntries(const DialupApi& api, std::vector<PhonebookEntryName>* entries);

// The first listed entry named `name` (letters A-Z without regard to case, as the phonebook
// compares names); null when none is, or `name` is null.
const PhonebookEntryName* FindEntryNamed(const std::vector<PhonebookEntryName>& entries,
                                         const char* name);
