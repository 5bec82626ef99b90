// The messages of a migration run that are chosen by numbers: the final report by the
// run's counts, and the failure of an entry change by the phonebook's error number.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "dialup/RasTypes.h"
#include "ui/UserSide.h"

// An entry the run could not look at, and the number of the read that failed.
struct NotExaminedEntry {
    std::string name;  // code page 932
    RasDword error;
};

// The most bytes of the list that IDS_ENTRIES_NOT_EXAMINED shows; with its own text it stays
// within what a message box is given.
constexpr size_t kNotExaminedListBytes = 1024;

// The final report of a run, shown with the information icon in the application's message
// box: IDS_NOTHING_TO_CHANGE when nothing was found; otherwise IDS_CHANGED_COUNT with
// `changedCount` for its %d when something was changed, else IDS_FOUND_NOT_CHANGED with
// `foundCount`. A `foundCount` below 0 (kNamedNotFound) stands for a run that proposed
// nothing but named entries the user may not change: IDS_CHANGED_COUNT with 0, since
// something did need changing. Used by the driver without a progress window and by the
// progress window.
constexpr int kNamedNotFound = -1;
Message FinalMigrationMessage(int changedCount, int foundCount);

// The message for a refused change of an entry's properties: IDS_CHANGE_FAILED_610, _621,
// _14, _1784, or IDS_CHANGE_FAILED_OTHER with the number for its %d.
Message ChangeFailureMessage(RasDword error);

// The %s of IDS_ENTRIES_NOT_EXAMINED: one line "[name] (error)" per entry, in order, joined
// by line breaks. Lines that would take the list beyond kNotExaminedListBytes are left out
// and "..." ends the list instead (the list stays within the limit).
std::string NotExaminedList(const std::vector<NotExaminedEntry>& entries);

// The %s of IDS_ENTRIES_NEED_ADMINISTRATOR: "[name]" per entry, capped as NotExaminedList.
std::string EntryNameList(const std::vector<std::string>& names);
