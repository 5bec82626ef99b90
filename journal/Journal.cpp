// The journal written ahead of each change, and the recovery at start.
#include "journal/Journal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "res/resource.h"
#include "settings/ByteText.h"
#include "ui/UserSide.h"

const char kJournalSuffix[] = ".jnl";

namespace {

const char kRunPrefix[] = "run-";
const char kLockSuffix[] = ".lock";
const char kReportedSuffix[] = ".reported";
// With its own text the list stays within what a message box is given.
constexpr size_t kListBytes = 1024;
// Runs that claim a sequence at the same moment take the next ones; this many at most.
constexpr int kClaimTries = 64;
constexpr size_t kSequenceDigits = 10;

bool AnyOpen(const JournalRun& run) {
    for (const JournalChange& c : run.changes) {
        if (c.outcome == ChangeOutcome::Open) {
            return true;
        }
    }
    return false;
}

// The sequence of "run-<ten digits><suffix>", else 0.
uint32_t SequenceBefore(const std::string& name, const char* suffix) {
    const size_t start = sizeof(kRunPrefix) - 1;
    const size_t end = strlen(suffix);
    if (name.size() != start + kSequenceDigits + end || name.compare(0, start, kRunPrefix) != 0 ||
        name.compare(name.size() - end, end, suffix) != 0) {
        return 0;
    }
    // Of 64 bits, so that ten nines are refused where long has 32 bits and saturates too.
    char* stop = nullptr;
    const unsigned long long sequence = strtoull(name.c_str() + start, &stop, 10);
    return stop == name.c_str() + start + kSequenceDigits && name[start] >= '0' &&
                   name[start] <= '9' && sequence <= 0xFFFFFFFFull
               ? static_cast<uint32_t>(sequence)
               : 0;
}

bool SamePhonebook(const char* listed, const std::string& recorded) {
    return recorded.empty() || EqualsNoCase(listed, recorded.c_str());
}

}  // namespace

std::string RunFileName(uint32_t sequence) {
    char name[32];
    snprintf(name, sizeof(name), "%s%010lu%s", kRunPrefix, static_cast<unsigned long>(sequence),
             kJournalSuffix);
    return name;
}

uint32_t RunSequence(const std::string& fileName) {
    return SequenceBefore(fileName, kJournalSuffix);
}

std::string RunLockName(const std::string& runFile) {
    const size_t end = runFile.size() - std::min(runFile.size(), strlen(kJournalSuffix));
    return runFile.substr(0, end) + kLockSuffix;
}

namespace {

// Runs named by the clock (format 1) first, then the numbered ones: their names sort as
// their sequences do.
std::vector<std::string> SortedRuns(const std::vector<std::string>& names) {
    std::vector<std::string> runs;
    for (int numbered = 0; numbered < 2; ++numbered) {
        for (const std::string& name : names) {
            if ((RunSequence(name) != 0) == (numbered != 0)) {
                runs.push_back(name);
            }
        }
    }
    return runs;
}

}  // namespace

std::vector<std::string> ListRuns(const JournalStore& store) {
    return SortedRuns(store.List(kJournalSuffix));
}

Journal::Journal(JournalStore* store, const std::string& stamp) : store_(store) {
    run_.stamp = stamp;
}

Journal::~Journal() {
    if (claim_ != -1) {
        store_->Release(claim_);
        if (!openOnDisk_) {
            store_->Remove(RunLockName(file_));
        }
    }
}

// The next sequence after every run file and every lock, claimed by creating its lock;
// a run that took it first makes this one try the next.
bool Journal::Claim() {
    uint32_t sequence = 0;
    for (const char* suffix : {kJournalSuffix, kLockSuffix}) {
        for (const std::string& name : store_->List(suffix)) {
            sequence = std::max(sequence, SequenceBefore(name, suffix));
        }
    }
    std::string existing;
    for (int tries = 0; tries < kClaimTries; ++tries) {
        const std::string file = RunFileName(++sequence);
        claim_ = store_->Claim(RunLockName(file));
        if (claim_ != -1) {
            if (!store_->Read(file, &existing)) {
                file_ = file;
                return true;
            }
            store_->Release(claim_);
            store_->Remove(RunLockName(file));
            claim_ = -1;
        }
    }
    return false;
}

bool Journal::Save() {
    if (store_ == nullptr) {
        return true;
    }
    if (!store_->Replace(file_, FormatJournalRun(run_))) {
        return false;
    }
    openOnDisk_ = AnyOpen(run_);
    return true;
}

bool Journal::Begin(const JournalChange& change) {
    if (store_ != nullptr && file_.empty() && !Claim()) {
        open_ = false;
        return false;
    }
    run_.changes.push_back(change);
    run_.changes.back().writesDone = 0;
    run_.changes.back().outcome = ChangeOutcome::Open;
    if (!Save()) {
        run_.changes.pop_back();
        open_ = false;
        return false;
    }
    open_ = true;
    return true;
}

bool Journal::WriteDone() {
    if (!open_) {
        return true;
    }
    JournalChange& change = run_.changes.back();
    ++change.writesDone;
    if (!Save()) {
        --change.writesDone;
        return false;
    }
    return true;
}

void Journal::End(ChangeOutcome outcome) {
    if (!open_) {
        return;
    }
    open_ = false;
    JournalChange& change = run_.changes.back();
    change.outcome = outcome;
    if (outcome == ChangeOutcome::Made) {
        change.writesDone = change.writes;
    }
    // Not recorded, the change stays open; the next start then finds it in one of its
    // states, as it was or as made.
    Save();
}

void Journal::Discard() {
    if (!open_) {
        return;
    }
    open_ = false;
    run_.changes.pop_back();
    // Not recorded, the change stays open: the next start finds the entry as it was before.
    Save();
}

EntryNow::~EntryNow() {
    WipeBytes(&password[0], password.size());
}

RasDword ReadEntryNow(const DialupApi& api, OsClass osClass, const JournalChange& change,
                      const std::vector<PhonebookEntryName>& entries, EntryNow* now) {
    now->exists = false;
    now->record.Release();
    now->userName.clear();
    now->passwordRead = false;
    now->password.clear();
    const char* name = change.entryName.c_str();
    bool listed = false;
    for (const PhonebookEntryName& entry : entries) {
        listed = listed || (EqualsNoCase(entry.name, name) &&
                            SamePhonebook(entry.phonebook, change.phonebook));
    }
    if (!listed) {
        return 0;
    }
    const char* book = PhonebookArgument(change.phonebook.c_str());
    const RasDword read = ReadEntryRecord(api, osClass, book, name, &now->record);
    if (read != 0) {
        return read == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY ? 0 : read;
    }
    now->exists = true;
    if (IsNtFamily(osClass)) {
        return ReadSavedUserName(api, book, name, true, &now->userName);
    }
    RASDIALPARAMSA params;
    bool saved = false;
    const RasDword result = ReadDialParams(api, book, name, &params, &saved);
    if (result == 0) {
        now->userName.assign(params.szUserName,
                             strnlen(params.szUserName, sizeof(params.szUserName)));
        now->passwordRead = true;
        if (saved) {
            now->password.assign(params.szPassword,
                                 strnlen(params.szPassword, sizeof(params.szPassword)));
        }
    }
    WipeBytes(&params, sizeof(params));
    return result;
}

ChangeStage StageOf(const JournalChange& change, const EntryNow& now) {
    if (!now.exists) {
        // Gone: as it was before a creation, as made by a restore that removed it.
        return !change.before.exists  ? ChangeStage::Before
               : !change.after.exists ? ChangeStage::Made
                                      : ChangeStage::Since;
    }
    // Where the 9x family shows the password and the record kept the old one, a password
    // saved since is a change the record does not explain: the states before the last write
    // hold the old one, and a made state that saves none does too.
    const bool passwordBefore =
        !now.passwordRead || !change.before.passwordKept || now.password == change.before.password;
    const bool propertiesAfter = SameProperties(change.after, &now.record);
    const bool userBefore = now.userName == change.before.userName && passwordBefore;
    const bool isBefore = SameProperties(change.before, &now.record) && userBefore;
    const bool isPartWay = change.writes == 2 && propertiesAfter && userBefore;
    const bool isMade = propertiesAfter && now.userName == change.after.userName &&
                        (change.writesPassword || passwordBefore);
    const ChangeStage earlier = isBefore ? ChangeStage::Before : ChangeStage::PartWay;
    if (!isMade) {
        return isBefore || isPartWay ? earlier : ChangeStage::Since;
    }
    if (!isBefore && !isPartWay) {
        return ChangeStage::Made;
    }
    // As made, it also looks as it did before the last write. That write is not begun while
    // the writes before it are not recorded done; after that only the password it saves
    // can tell.
    if (change.writesDone < change.writes - 1) {
        return earlier;
    }
    if (!change.writesPassword) {
        return isBefore ? ChangeStage::Before : ChangeStage::Made;
    }
    if (now.passwordRead && (change.after.passwordKept || change.before.passwordKept)) {
        const bool made = change.after.passwordKept ? now.password == change.after.password
                                                    : now.password != change.before.password;
        return made ? ChangeStage::Made : earlier;
    }
    return ChangeStage::MadeOrPartWay;
}

bool PasswordBack(OsClass osClass, const JournalChange& change, const EntryNow& now) {
    return !IsNtFamily(osClass) && change.before.passwordKept && now.passwordRead &&
           now.password != change.before.password;
}

JournalChange UndoOf(OsClass osClass, const JournalChange& change, const EntryNow& now) {
    JournalChange undo = change;
    undo.kind = ChangeKind::Restore;
    undo.before = StateOf(&now.record, now.userName);
    undo.after = change.before;
    // The writes PutBackChange makes, no more: a restore ended after its last one is made.
    const bool back = change.before.exists;
    const bool properties = back && !SameProperties(change.before, &now.record);
    const bool passwordBack = back && PasswordBack(osClass, change, now);
    const bool userName = back && (now.userName != change.before.userName || passwordBack);
    undo.writes = back ? int{properties} + int{userName} : 1;
    undo.writesDone = 0;
    undo.writesUserName = userName;
    undo.writesPassword = passwordBack;
    undo.recovering = false;
    return undo;
}

RasDword PutBackChange(const DialupApi& api, OsClass osClass, const JournalChange& change,
                       const EntryNow& now, bool* wrote) {
    *wrote = false;
    if (!now.exists) {
        return 0;
    }
    const char* book = PhonebookArgument(change.phonebook.c_str());
    const char* name = change.entryName.c_str();
    if (!change.before.exists) {
        if (api.RasDeleteEntryA == nullptr) {
            return kMissingOperation;
        }
        *wrote = true;
        const RasDword deleted = api.RasDeleteEntryA(book, name);
        return deleted == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY ? 0 : deleted;
    }
    if (!SameProperties(change.before, &now.record)) {
        EntryRecord record;
        RecordOf(change.before, change.phonebook, &record);
        *wrote = true;
        const RasDword written = WriteEntryRecord(api, name, record);
        if (written != 0) {
            return written;
        }
    }
    const bool passwordBack = PasswordBack(osClass, change, now);
    if (now.userName == change.before.userName && !passwordBack) {
        return 0;
    }
    *wrote = true;
    if (!passwordBack) {
        return WriteSavedUserName(api, book, name, IsNtFamily(osClass), change.before.userName);
    }
    RASDIALPARAMSA params;
    bool saved = false;
    RasDword result = ReadDialParams(api, book, name, &params, &saved);
    if (result == 0) {
        CopyField(params.szUserName, change.before.userName.c_str());
        CopyField(params.szPassword, change.before.password.c_str());
        result = PutBackDialParams(api, book, params, !change.before.password.empty());
    }
    WipeBytes(&params, sizeof(params));
    return result;
}

namespace {

// One open change of `run` (file `file`) settled by its entry's stage; false when it stays
// open.
bool SettleChange(JournalStore& store, const DialupApi& api, OsClass osClass,
                  const std::string& file, JournalRun& run, JournalChange& change,
                  const std::vector<PhonebookEntryName>& entries, RecoveryReport* report) {
    EntryNow now;
    if (ReadEntryNow(api, osClass, change, entries, &now) != 0) {
        report->partly.push_back(change.entryName);
        return false;
    }
    switch (StageOf(change, now)) {
        case ChangeStage::Since:
            change.outcome = ChangeOutcome::Left;
            report->leftAsIs.push_back(change.entryName);
            return true;
        case ChangeStage::Made:
            change.outcome = ChangeOutcome::Finished;
            return true;
        case ChangeStage::MadeOrPartWay:
            // Putting the properties back could pair the old number with a new password;
            // as that password may not be there either, the subscriber is told to look.
            change.outcome = ChangeOutcome::Finished;
            report->partly.push_back(change.entryName);
            return true;
        case ChangeStage::Before:
            change.outcome = ChangeOutcome::RolledBack;
            if (change.recovering) {
                report->putBack.push_back(change.entryName);  // by a start that then ended
            }
            return true;
        case ChangeStage::PartWay:
            break;
    }
    // Noted first, so that a start that ends in the middle of it is followed by one that
    // tells the subscriber.
    change.recovering = true;
    store.Replace(file, FormatJournalRun(run));
    bool wrote = false;
    if (PutBackChange(api, osClass, change, now, &wrote) != 0) {
        report->partly.push_back(change.entryName);
        return false;
    }
    change.outcome = ChangeOutcome::RolledBack;
    report->putBack.push_back(change.entryName);
    return true;
}

// Names joined a line each, within kListBytes ("..." in place of those beyond).
std::string ListText(const std::vector<std::string>& names, bool bracketed) {
    std::string text;
    for (const std::string& name : names) {
        const std::string line = (text.empty() ? "" : "\n") + (bracketed ? "[" + name + "]" : name);
        if (text.size() + line.size() > kListBytes) {
            return text + "\n...";
        }
        text += line;
    }
    return text;
}

void ShowList(UserSide& user, unsigned textId, const std::vector<std::string>& names,
              bool bracketed) {
    if (names.empty()) {
        return;
    }
    const std::string text = ListText(names, bracketed);
    Message message{textId};
    message.text = text.c_str();
    user.ShowProgramMessage(message, MessageIcon::Warning);
}

}  // namespace

void RecoverJournal(JournalStore& store, const DialupApi& api, OsClass osClass,
                    RecoveryReport* report) {
    // One listing of the folder: a look-up of a name that is not there scans the whole
    // folder on FAT (and under Wine), which thousands of runs would make a start wait for.
    std::vector<std::string> runList, locks, marks, leftovers;  // each sorted, as listed
    const auto endsIn = [](const std::string& name, const char* end) {
        const size_t n = strlen(end);
        return name.size() > n && name.compare(name.size() - n, n, end) == 0;
    };
    const auto has = [](const std::vector<std::string>& sorted, const std::string& name) {
        return std::binary_search(sorted.begin(), sorted.end(), name);
    };
    for (const std::string& name : store.List("")) {
        const std::string base = name.substr(0, name.size() - std::min<size_t>(4, name.size()));
        if (endsIn(name, kJournalSuffix)) {
            runList.push_back(name);
        } else if (endsIn(name, kLockSuffix)) {
            locks.push_back(name);
        } else if (endsIn(name, kReportedSuffix)) {
            marks.push_back(name);
        } else if (endsIn(name, ".old") || endsIn(name, ".new")) {
            leftovers.push_back(name);  // of a replace that ended (Windows)
            // "<run>.old" alone stands for the run (an end between the 9x renames); the run's
            // own name sorts just before it.
            if (endsIn(name, ".old") && endsIn(base, kJournalSuffix) &&
                (runList.empty() || runList.back() != base)) {
                runList.push_back(base);
            }
        }
    }
    const std::vector<std::string>& listedRuns = runList;
    const std::vector<std::string> runs = SortedRuns(runList);
    std::vector<bool> removable(runs.size(), false);
    std::vector<bool> unreported(runs.size(), false);
    std::vector<PhonebookEntryName> entries;
    bool listed = false;
    RasDword listError = 0;
    // Entries with a newer change still open (or in a run that has not ended): an older
    // change of theirs cannot tell its states apart from what the newer one wrote.
    std::vector<std::string> waiting;  // entry name, a line break, phonebook
    const auto key = [](const JournalChange& change) {
        return change.entryName + "\n" + change.phonebook;
    };
    const auto waits = [&](const JournalChange& change) {
        for (const std::string& newer : waiting) {
            if (EqualsNoCase(newer.c_str(), key(change).c_str())) {
                return true;
            }
        }
        return false;
    };
    for (size_t i = runs.size(); i-- > 0;) {
        const std::string& file = runs[i];
        const bool locked = has(locks, RunLockName(file));
        if (!locked && RunSequence(file) != 0) {
            removable[i] = true;  // closed: its process saved it with nothing open
            continue;
        }
        std::string bytes;
        JournalRun run;
        const bool whole =
            store.Read(file, &bytes) && ParseJournalRun(bytes, &run) == JournalRead::Whole;
        if (locked && store.Held(RunLockName(file))) {
            // Its process still runs, and may be in the middle of a change.
            for (const JournalChange& change : run.changes) {
                if (change.outcome == ChangeOutcome::Open) {
                    waiting.push_back(key(change));
                }
            }
            continue;
        }
        if (!whole) {
            removable[i] = true;
            unreported[i] = !has(marks, file + kReportedSuffix);
            continue;
        }
        bool saved = true;
        for (size_t k = run.changes.size(); k-- > 0;) {
            JournalChange& change = run.changes[k];
            if (change.outcome != ChangeOutcome::Open) {
                continue;
            }
            if (!listed) {
                listError = EnumerateEntries(api, &entries);
                listed = true;
            }
            if (listError != 0 || waits(change)) {
                if (listError != 0) {
                    report->partly.push_back(change.entryName);
                }
                waiting.push_back(key(change));
                continue;
            }
            // Each change is marked as soon as it is settled, so that an end during the
            // recovery repeats only what is still open.
            if (SettleChange(store, api, osClass, file, run, change, entries, report)) {
                saved = store.Replace(file, FormatJournalRun(run));
            } else {
                waiting.push_back(key(change));
            }
        }
        removable[i] = !AnyOpen(run);
        if (removable[i] && saved && locked) {
            store.Remove(RunLockName(file));
        }
    }
    size_t left = static_cast<size_t>(std::count(removable.begin(), removable.end(), true));
    const size_t last = left > kJournalRunsKept + kJournalRemovalsPerStart
                            ? left - kJournalRemovalsPerStart
                            : kJournalRunsKept;
    for (size_t i = 0; i < runs.size() && left > last; ++i) {
        if (removable[i]) {
            for (const std::string& name : {runs[i] + ".old", runs[i] + ".new", runs[i],
                                            runs[i] + kReportedSuffix, RunLockName(runs[i])}) {
                if (name == runs[i] || has(marks, name) || has(leftovers, name) ||
                    has(locks, name)) {
                    store.Remove(name);
                }
            }
            removable[i] = false;
            --left;
        }
    }
    // Each unreadable file is told once: a mark beside those that stay.
    for (size_t i = runs.size(); i-- > 0;) {
        if (unreported[i]) {
            report->unreadable.push_back(store.PathOf(runs[i]));
            if (removable[i]) {
                store.Replace(runs[i] + kReportedSuffix, std::string());
            }
        }
    }
    // Locks of runs that ended before they wrote a whole record, with the torn copy of one
    // that ended inside its first replace.
    for (const std::string& lock : locks) {
        const std::string file = lock.substr(0, lock.size() - strlen(kLockSuffix)) + kJournalSuffix;
        if (!has(listedRuns, file) && !store.Held(lock)) {
            if (has(leftovers, file + ".new")) {
                store.Remove(file + ".new");
            }
            store.Remove(lock);
        }
    }
}

void TellRecovery(const RecoveryReport& report, UserSide& user) {
    ShowList(user, IDS_JOURNAL_PUT_BACK, report.putBack, true);
    ShowList(user, IDS_JOURNAL_LEFT_AS_IS, report.leftAsIs, true);
    for (const std::string& name : report.partly) {
        Message message{IDS_ENTRY_PARTLY_CHANGED};
        message.text = name.c_str();
        user.ShowProgramMessage(message, MessageIcon::Warning);
    }
    ShowList(user, IDS_JOURNAL_UNREADABLE, report.unreadable, false);
}

void TellNotRecorded(UserSide& user, const char* entryName) {
    Message message{IDS_JOURNAL_NOT_WRITTEN};
    message.text = entryName;
    user.ShowProgramMessage(message, MessageIcon::Warning);
}
