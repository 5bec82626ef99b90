// The program's own journal: the user's journal folder, one run per process.
#pragma once

#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"

// The folder of UserJournalFolder(); made on the first use.
FolderJournalStore& ProgramJournalStore();

// This process's run, stamped with the local time it was first asked for.
Journal& ProgramJournal();
