// The messages of a migration run that are chosen by numbers: the final report by the
// run's counts, and the failure of an entry change by the phonebook's error number.
#pragma once

#include "dialup/RasTypes.h"
#include "ui/UserSide.h"

// The final report of a run, shown with the information icon in the application's message
// box: IDS_NOTHING_TO_CHANGE when nothing was found; otherwise IDS_CHANGED_COUNT with
// `changedCount` for its %d when something was changed, else IDS_FOUND_NOT_CHANGED with
// `foundCount`. Used by the driver without a progress window and by the progress window.
Message FinalMigrationMessage(int changedCount, int foundCount);

// The message for a refused change of an entry's properties: IDS_CHANGE_FAILED_610, _621,
// _14, _1784, or IDS_CHANGE_FAILED_OTHER with the number for its %d.
Message ChangeFailureMessage(RasDword error);
