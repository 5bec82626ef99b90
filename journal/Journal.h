// The journal of this run's phonebook changes, written ahead of each change, and the
// recovery at the next start. A change is recorded (entry as read, what it will write) and
// on disk before its first write; marked complete once its writes succeeded or were put
// back. A change found open at a start, in a run that has ended, is put back when the entry
// is in a state the change explains, and left as it is otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialup/DialupApi.h"
#include "dialup/EntryRecord.h"
#include "dialup/OsClass.h"
#include "dialup/PhonebookEntries.h"
#include "journal/JournalRecord.h"
#include "journal/JournalStore.h"

class UserSide;

constexpr size_t kJournalRunsKept = 10;
// Removed at one start at most, so that a folder of thousands never holds up the window.
constexpr size_t kJournalRemovalsPerStart = 500;
extern const char kJournalSuffix[];  // ".jnl"

// Run files are "run-<sequence>.jnl", the sequence in ten digits: one more than any the
// folder holds, so runs are ordered by it (and by name) and never by the clock. A run holds
// "run-<sequence>.lock" (JournalStore::Claim) while its process lives, and the lock file
// stays until its file is known to hold nothing open: a run without one is closed and never
// needs reading.
std::string RunFileName(uint32_t sequence);
// The sequence of a run file's name; 0 for a name of another form (format 1 named its runs
// by the clock), which is older than every numbered run.
uint32_t RunSequence(const std::string& fileName);
// The run files of `store`, oldest first.
std::vector<std::string> ListRuns(const JournalStore& store);
// The lock a run holds while its process lives.
std::string RunLockName(const std::string& runFile);

class Journal {
public:
    // Keeps nothing: every step succeeds. For callers that write no subscriber's phonebook.
    Journal() = default;
    // Records into a run file of `store`, claimed at the first Begin; `stamp` is the clock's
    // YYYYMMDD-HHMMSS, for people to read.
    Journal(JournalStore* store, const std::string& stamp);
    // Releases the run's claim: from then on the run counts as ended (and closed, when its
    // file was last saved with nothing open).
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

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
    // The run file; empty until the first Begin claimed one.
    const std::string& FileName() const { return file_; }

private:
    bool Claim();
    bool Save();

    JournalStore* store_ = nullptr;
    std::string file_;
    JournalRun run_;
    bool open_ = false;
    bool openOnDisk_ = false;  // the file as last saved holds an open change
    intptr_t claim_ = -1;      // the lock held while the run lives
};

// The entry of a change as it is now. `exists` only when the enumeration lists it in the
// change's phonebook (for the default phonebook: anywhere, and the default one holds it).
struct EntryNow {
    bool exists = false;
    EntryRecord record;
    std::string userName;
    bool passwordRead = false;  // the 9x family reveals the saved password
    std::string password;       // "" when none is saved
    ~EntryNow();
};

// Reads the entry of `change` now, among `entries` (the enumeration). 0, or the failure's
// number.
RasDword ReadEntryNow(const DialupApi& api, OsClass osClass, const JournalChange& change,
                      const std::vector<PhonebookEntryName>& entries, EntryNow* now);

// Where the entry stands among the states the change explains: as it was, after the
// properties of a change of two writes, as made; made or part-way when only a password
// the NT family never shows tells them apart; Since: in none of them.
enum class ChangeStage { Before, PartWay, Made, MadeOrPartWay, Since };
ChangeStage StageOf(const JournalChange& change, const EntryNow& now);

// Puts the entry of `change`, which is now `now` and exists, back as `change.before`: its
// properties whole, its user name (the saved password stays as the phonebook has it,
// except on the 9x family, where the one kept is put back too), or removes an entry that
// did not exist before. Never creates an entry. 0, or the first failing call's number;
// `wrote` tells whether anything was written.
RasDword PutBackChange(const DialupApi& api, OsClass osClass, const JournalChange& change,
                       const EntryNow& now, bool* wrote);

// Whether putting `change` back also puts back the password the 9x family kept for it.
bool PasswordBack(OsClass osClass, const JournalChange& change, const EntryNow& now);

// The record of putting `change` back from `now` (`Restore`), counting the writes that
// PutBackChange makes.
JournalChange UndoOf(OsClass osClass, const JournalChange& change, const EntryNow& now);

// What the start-up recovery did.
struct RecoveryReport {
    std::vector<std::string> putBack;   // entries put back as they were
    std::vector<std::string> leftAsIs;  // changed since the change began: left as they are
    // Entries that could not be put back (left open), or whose change was finished but for a
    // new password that may not have been saved.
    std::vector<std::string> partly;
    std::vector<std::string> unreadable;  // journal files reported now (once each)
};

// Every open change of every run that has ended (its lock left, not held; or named by the
// clock, as format 1 named runs), newest run first and in each its newest change first, by
// the entry's stage: put back from part-way; left as made (told to check it when only an
// unseen password could tell); left as it is when changed since, and named; closed silently
// when as it was, unless an earlier start's put-back got it there (then it is named as put
// back). An older change of an entry waits while a newer one of it stays open. Each is
// marked complete in its file as it is settled. A file that cannot be read whole, or is of
// a later format, is never acted on and reported once. Of the runs with nothing open and
// the unreadable files, all but the newest kJournalRunsKept are removed, the oldest first
// and kJournalRemovalsPerStart at most.
void RecoverJournal(JournalStore& store, const DialupApi& api, OsClass osClass,
                    RecoveryReport* report);

// The recovery's messages, each once: the entries put back (IDS_JOURNAL_PUT_BACK), those
// changed since (IDS_JOURNAL_LEFT_AS_IS), one per entry that could not be put back
// (IDS_ENTRY_PARTLY_CHANGED), the files not read (IDS_JOURNAL_UNREADABLE); program
// messages with the warning icon.
void TellRecovery(const RecoveryReport& report, UserSide& user);

// Shown when a change is not made because its record could not be written.
void TellNotRecorded(UserSide& user, const char* entryName);
