// The journal of this run's phonebook changes, written ahead of each change, and the
// recovery at the next start. A change is recorded (entry as read, what it will write) and
// on disk before its first write; marked complete once its writes succeeded or were put
// back. A change found open at a start is put back, unless its last write was made.
#pragma once

#include <string>
#include <vector>

#include "dialup/DialupApi.h"
#include "dialup/OsClass.h"
#include "journal/JournalRecord.h"
#include "journal/JournalStore.h"

class UserSide;

constexpr int kJournalRunsKept = 10;
extern const char kJournalSuffix[];  // ".jnl"

class Journal {
public:
    // Keeps nothing: every step succeeds. For callers that write no subscriber's phonebook.
    Journal() = default;
    // Records into run file "run-<stamp>.jnl" of `store` (another name when one exists).
    Journal(JournalStore* store, const std::string& stamp);

    // Records `change` as open with no write done; the run's file is replaced whole. False
    // when it did not reach the disk: the change must then not be made.
    bool Begin(const JournalChange& change);
    // A write of the open change succeeded (not its last). False when that was not
    // recorded: the change must then stop and put back what it wrote.
    bool WriteDone();
    // The open change is over: Made, or Undone. A change whose undo failed is left open, for
    // the next start to put back.
    void End(ChangeOutcome outcome);
    // The open change wrote nothing after all (its first write was refused outright): the
    // record keeps nothing of it.
    void Discard();

    const JournalRun& Run() const { return run_; }
    const std::string& FileName() const { return file_; }

private:
    bool Save();

    JournalStore* store_ = nullptr;
    std::string file_;
    JournalRun run_;
    bool open_ = false;
};

// What the start-up recovery did.
struct RecoveryReport {
    std::vector<std::string> putBack;  // entries put back as they were
    // Entries that could not be put back (left open), or whose change was finished but for a
    // new password that may not have been saved.
    std::vector<std::string> partly;
    std::vector<std::string> unreadable;  // journal files reported now (once each)
};

// Every open change of every run file, newest first: put back as it was before (its
// properties whole; its user name, the saved password left as it is; an entry that did not
// exist is removed), or, when its last write was made (the user name it wrote is there, or
// the properties it wrote where it does not change the user name), left as made; where that
// last write was a new password under the same user name, which never shows, the entry is
// left as made and reported as perhaps partly changed. Each is
// then marked complete in its file, one by one. A file that cannot be read whole, or is of
// a later format, is never acted on and reported once. Old run files beyond the last
// kJournalRunsKept with no open change are removed.
void RecoverJournal(JournalStore& store, const DialupApi& api, OsClass osClass,
                    RecoveryReport* report);

// Puts one change's entry back as `change.before` (the support desk's restore and the
// recovery). 0, or the first failing call's number. `wrote` tells whether anything had to
// be written.
RasDword PutBackChange(const DialupApi& api, OsClass osClass, const JournalChange& change,
                       bool* wrote);

// The recovery's messages: one naming the entries put back (IDS_JOURNAL_PUT_BACK), one per
// entry that could not be (IDS_ENTRY_PARTLY_CHANGED), one per file reported
// (IDS_JOURNAL_UNREADABLE); program messages with the warning icon.
void TellRecovery(const RecoveryReport& report, UserSide& user);

// Shown when a change is not made because its record could not be written.
void TellNotRecorded(UserSide& user, const char* entryName);
