// The program's own journal: the user's journal folder, one run per process.
#pragma once

#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"

// The named mutex that one running Dialnest holds (Windows 98 has named mutexes too); the
// kit tool's restore asks for it as well.
constexpr char kProgramRunMutex[] = "Dialnest.ProgramRun";

// True when no other Dialnest of this session runs; from then on this process holds the
// mutex until it ends, however it ends. Win32 only.
bool ClaimProgramRun();

// The folder of UserJournalFolder(); made on the first use.
FolderJournalStore& ProgramJournalStore();

// This process's run, stamped with the local time it was first asked for.
Journal& ProgramJournal();
