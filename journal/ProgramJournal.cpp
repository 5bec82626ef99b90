// The program's own journal.
#include "journal/ProgramJournal.h"

#include <windows.h>

#include <cstdio>

bool ClaimProgramRun() {
    static HANDLE mutex = nullptr;
    if (mutex == nullptr) {
        mutex = CreateMutexA(nullptr, FALSE, kProgramRunMutex);
        // Another program's object of that name leaves no mutex: the run goes on, its
        // journal still guarded by each run's own lock.
        if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    return true;
}

FolderJournalStore& ProgramJournalStore() {
    static FolderJournalStore store(UserJournalFolder());
    return store;
}

Journal& ProgramJournal() {
    static Journal journal = [] {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char stamp[32];
        snprintf(stamp, sizeof(stamp), "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                 now.wHour, now.wMinute, now.wSecond);
        return Journal(&ProgramJournalStore(), stamp);
    }();
    return journal;
}
