// The program's own journal.
#include "journal/ProgramJournal.h"

#include <windows.h>

#include <cstdio>

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
