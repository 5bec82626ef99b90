// The journal's record of phonebook changes: one file per run of the program, holding each
// change it began, with the entry as it was and as the change writes it. Text, so that a
// support desk can read it; a check line at the end tells a whole file from a torn or
// altered one. Never holds a password the change writes; the one before it only where
// Windows hands it to any program anyway (the 9x family), so that it can be put back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialup/EntryRecord.h"
#include "dialup/OsClass.h"

// The format this program writes (it reads the earlier ones too); a file that names a later
// one is left alone. Format 3 added the 9x family's device settings, the default
// connection a creation found and the outcome "refused".
constexpr int kJournalFormat = 3;

// Restore: the support desk putting back a change of an earlier run.
enum class ChangeKind { Creation, AccessPoint, UserName, Restore };

// Where a change stands. Open: begun, not known to be over (the process may have ended in
// the middle). The others are final.
enum class ChangeOutcome {
    Open,
    Made,        // every write succeeded
    Undone,      // a write was refused and the earlier ones were put back in the run
    RolledBack,  // found open at a start and put back as it was
    Finished,    // found open at a start with its last write made: left as the change made it
    Restored,    // put back later by the support desk's restore
    Left,        // found open at a start in none of its states: changed since, left as it is
    Refused,     // Windows refused it for lack of rights: nothing of it stays written
};

// One entry as it was, or as a change writes it: the properties buffer whole (structure
// and alternate numbers, code page 932 bytes) and the user name. `exists` false: no entry.
struct EntryState {
    bool exists = false;
    uint32_t structureSize = 0;       // dwSize
    std::vector<uint8_t> properties;  // the buffer the library reads or is given
    std::vector<uint8_t> deviceInfo;  // 9x family: the device settings handed back with it
    std::string userName;
    bool passwordKept = false;  // 9x family only: `password` is the saved one ("": none)
    std::string password;
};

// The default connection as a creation found it before it made its entry the default, so
// that a restore can put it back.
// Where it was read, and is to be put back: through the dial-up library (XP and later), or
// the registry value that names it before XP, the user's or the machine's.
enum class DefaultPlace { Call, UserValue, MachineValue };

struct DefaultBefore {
    bool recorded = false;  // the creation makes its entry the default connection
    DefaultPlace place = DefaultPlace::Call;
    std::string dialled;          // the entry Windows dialled by default ("": none)
    int64_t enableAutodial = -1;  // "EnableAutodial" as it was; -1: not there
    int64_t noNetAutodial = -1;   // "NoNetAutodial" likewise
};

struct JournalChange {
    ChangeKind kind = ChangeKind::Creation;
    std::string entryName;
    std::string phonebook;  // empty: the default phonebook
    EntryState before;
    EntryState after;
    // Phonebook writes the change makes (properties and/or user name), and how many of
    // them are known to have succeeded: the last one may have been made when the process
    // ended before it could say so.
    int writes = 0;
    int writesDone = 0;
    bool writesUserName = false;  // its last write is the user name (and maybe a password)
    bool writesPassword = false;  // that write also saves a new password (never recorded)
    ChangeOutcome outcome = ChangeOutcome::Open;
    bool recovering = false;  // a start began putting it back: the end of that is told
    DefaultBefore defaultBefore;
};

struct JournalRun {
    std::string stamp;  // when the run began, YYYYMMDD-HHMMSS by the clock: for people only
    std::vector<JournalChange> changes;
};

enum class JournalRead { Whole, Truncated, Corrupted, FutureFormat };

// The file's bytes: a header with the format, the run, each change, and the check line.
std::string FormatJournalRun(const JournalRun& run);

// Whole with `run` filled, or why the bytes are no record to act on: Truncated when the
// check line is missing (a torn write), Corrupted when it does not match or a line breaks
// the format, FutureFormat when the header names a later format.
JournalRead ParseJournalRun(const std::string& bytes, JournalRun* run);

// The entry's state from what the library handed over (`record` null: no entry).
EntryState StateOf(const EntryRecord* record, const std::string& userName);

// A change of entry `name` from `before` (null: no entry) with `beforeUser` to `after` with
// `afterUser`, in `after`'s phonebook, in `writes` writes of which the last saves the user
// name (as both jobs write), with a new password when `writesPassword`. `beforePassword`:
// the saved password as the 9x family reveals it, kept for the restore; null elsewhere.
// The text fields of `after` are kept as the phonebook stores them (nothing after the end
// of a text), since that is how every read gives them back.
JournalChange DescribeChange(ChangeKind kind, const char* name, const EntryRecord* before,
                             const char* beforeUser, const EntryRecord& after,
                             const char* afterUser, int writes, bool writesPassword,
                             const char* beforePassword = nullptr);

// The record to write back for `state` in `phonebook`.
void RecordOf(const EntryState& state, const std::string& phonebook, EntryRecord* record);

// Whether the entry read now (`record` null: absent) holds exactly the properties of `state`,
// compared at the size the read returns: bytes the shorter one lacks count as zero. What
// Windows fills in on its own (the entry's id) is no part of what a change writes and is not
// compared; the device settings are, where they were read (the 9x family).
bool SameProperties(const EntryState& state, const EntryRecord* record);

// Zeroes what follows the end of each text field of the RASENTRYA in `properties`.
void ClearTextTails(std::vector<uint8_t>* properties);

// The Windows family the run of `changes` was recorded on, as its entries' structure
// version says: the 95/98/Me form of RASENTRYA is the smallest, every NT version's is
// larger. 6 (the 9x family) or 9 (the NT family, also when no change names a size).
OsClass RecordedOsClass(const std::vector<JournalChange>& changes);

const char* ChangeKindName(ChangeKind kind);
const char* ChangeOutcomeName(ChangeOutcome outcome);
