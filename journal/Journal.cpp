// The journal written ahead of each change, and the recovery at start.
#include "journal/Journal.h"

#include <algorithm>
#include <cstring>

#include "dialup/EntryRecord.h"
#include "dialup/PhonebookEntries.h"
#include "res/resource.h"
#include "settings/ByteText.h"
#include "ui/UserSide.h"

const char kJournalSuffix[] = ".jnl";

namespace {

const char kReportedSuffix[] = ".reported";
// With its own text the list stays within what a message box is given.
constexpr size_t kPutBackListBytes = 1024;

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

std::string RunFileName(const std::string& stamp) {
    return "run-" + stamp + kJournalSuffix;
}

bool AnyOpen(const JournalRun& run) {
    for (const JournalChange& c : run.changes) {
        if (c.outcome == ChangeOutcome::Open) {
            return true;
        }
    }
    return false;
}

// Removes the oldest run files beyond `kept` that are whole and hold no open change; a
// file that cannot be read whole is never touched.
void PruneRuns(JournalStore& store, size_t kept) {
    std::vector<std::string> removable;
    for (const std::string& name : store.List(kJournalSuffix)) {
        std::string bytes;
        JournalRun run;
        if (store.Read(name, &bytes) && ParseJournalRun(bytes, &run) == JournalRead::Whole &&
            !AnyOpen(run)) {
            removable.push_back(name);
        }
    }
    for (size_t i = 0; i + kept < removable.size(); ++i) {
        store.Remove(removable[i]);
    }
}

}  // namespace

Journal::Journal(JournalStore* store, const std::string& stamp) : store_(store) {
    run_.stamp = stamp;
    file_ = RunFileName(stamp);
    std::string existing;
    for (int n = 2; store_ != nullptr && store_->Read(file_, &existing); ++n) {
        run_.stamp = stamp + "-" + std::to_string(n);
        file_ = RunFileName(run_.stamp);
    }
}

bool Journal::Save() {
    return store_ == nullptr || store_->Replace(file_, FormatJournalRun(run_));
}

bool Journal::Begin(const JournalChange& change) {
    const bool first = run_.changes.empty();
    run_.changes.push_back(change);
    run_.changes.back().writesDone = 0;
    run_.changes.back().outcome = ChangeOutcome::Open;
    if (!Save()) {
        run_.changes.pop_back();
        open_ = false;
        return false;
    }
    open_ = true;
    if (first && store_ != nullptr) {
        PruneRuns(*store_, kJournalRunsKept);
    }
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
    // Not recorded, the change stays open; the next start then finds its last write made,
    // or puts it back as it was: either is a whole state.
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

RasDword PutBackChange(const DialupApi& api, OsClass osClass, const JournalChange& change,
                       bool* wrote) {
    *wrote = false;
    const char* book = PhonebookArgument(change.phonebook.c_str());
    const char* name = change.entryName.c_str();
    EntryRecord now;
    const RasDword read = ReadEntryRecord(api, book, name, &now);
    if (read != 0 && read != ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
        return read;
    }
    const bool exists = read == 0;
    if (!change.before.exists) {
        if (!exists || api.RasDeleteEntryA == nullptr) {
            return exists ? static_cast<RasDword>(kMissingOperation) : 0;
        }
        *wrote = true;
        const RasDword deleted = api.RasDeleteEntryA(book, name);
        return deleted == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY ? 0 : deleted;
    }
    if (!SameProperties(change.before, exists ? &now : nullptr)) {
        EntryRecord record;
        RecordOf(change.before, change.phonebook, &record);
        *wrote = true;
        const RasDword written = WriteEntryRecord(api, name, record);
        if (written != 0) {
            return written;
        }
    }
    std::string userName;
    const RasDword userRead = ReadSavedUserName(api, book, name, IsNtFamily(osClass), &userName);
    if (userRead != 0) {
        return userRead;
    }
    if (userName == change.before.userName) {
        return 0;
    }
    *wrote = true;
    return WriteSavedUserName(api, book, name, IsNtFamily(osClass), change.before.userName);
}

namespace {

enum class LastWrite { NotMade, Made, Unknown };

// Whether the last write of an open change was made: only a change whose last write is the
// user name can have been ended after it, and that write shows in the user name it saved,
// or, where it keeps the user name, in the properties written before it. A new password
// under the same user name never shows: Unknown.
LastWrite LastWriteOf(const DialupApi& api, OsClass osClass, const JournalChange& change) {
    if (!change.writesUserName || change.writesDone != change.writes - 1) {
        return LastWrite::NotMade;
    }
    const char* book = PhonebookArgument(change.phonebook.c_str());
    EntryRecord now;
    if (ReadEntryRecord(api, book, change.entryName.c_str(), &now) != 0) {
        return LastWrite::NotMade;
    }
    if (change.after.userName != change.before.userName) {
        std::string userName;
        return ReadSavedUserName(api, book, change.entryName.c_str(), IsNtFamily(osClass),
                                 &userName) == 0 &&
                       userName == change.after.userName
                   ? LastWrite::Made
                   : LastWrite::NotMade;
    }
    if (!SameProperties(change.after, &now)) {
        return LastWrite::NotMade;
    }
    return change.writesPassword ? LastWrite::Unknown : LastWrite::Made;
}

void ReportOnce(JournalStore& store, const std::string& name, RecoveryReport* report) {
    const std::string marker = name + kReportedSuffix;
    std::string seen;
    if (store.Read(marker, &seen)) {
        return;
    }
    report->unreadable.push_back(store.PathOf(name));
    store.Replace(marker, std::string());
}

}  // namespace

void RecoverJournal(JournalStore& store, const DialupApi& api, OsClass osClass,
                    RecoveryReport* report) {
    std::vector<std::string> files = store.List(kJournalSuffix);
    std::reverse(files.begin(), files.end());
    for (const std::string& name : files) {
        std::string bytes;
        JournalRun run;
        if (!store.Read(name, &bytes) || ParseJournalRun(bytes, &run) != JournalRead::Whole) {
            ReportOnce(store, name, report);
            continue;
        }
        for (size_t i = run.changes.size(); i-- > 0;) {
            JournalChange& change = run.changes[i];
            if (change.outcome != ChangeOutcome::Open) {
                continue;
            }
            bool wrote = false;
            const LastWrite last = LastWriteOf(api, osClass, change);
            if (last != LastWrite::NotMade) {
                // Putting the properties back could pair the old number with a new password;
                // when that password may not be there either, the subscriber is told to look.
                change.outcome = ChangeOutcome::Finished;
                if (last == LastWrite::Unknown) {
                    report->partly.push_back(change.entryName);
                }
            } else if (PutBackChange(api, osClass, change, &wrote) == 0) {
                change.outcome = ChangeOutcome::RolledBack;
                if (wrote) {
                    report->putBack.push_back(change.entryName);
                }
            } else {
                report->partly.push_back(change.entryName);
                continue;
            }
            // Each change is marked as soon as it is settled, so that an end during the
            // recovery repeats only what is still open.
            if (!store.Replace(name, FormatJournalRun(run))) {
                report->partly.push_back(change.entryName);
            }
        }
    }
    PruneRuns(store, kJournalRunsKept);
}

void TellRecovery(const RecoveryReport& report, UserSide& user) {
    if (!report.putBack.empty()) {
        std::string names;
        for (const std::string& name : report.putBack) {
            const std::string line = (names.empty() ? "[" : "\n[") + name + "]";
            if (names.size() + line.size() > kPutBackListBytes) {
                names += "\n...";
                break;
            }
            names += line;
        }
        Message message{IDS_JOURNAL_PUT_BACK};
        message.text = names.c_str();
        user.ShowProgramMessage(message, MessageIcon::Warning);
    }
    for (const std::string& name : report.partly) {
        Message message{IDS_ENTRY_PARTLY_CHANGED};
        message.text = name.c_str();
        user.ShowProgramMessage(message, MessageIcon::Warning);
    }
    for (const std::string& path : report.unreadable) {
        Message message{IDS_JOURNAL_UNREADABLE};
        message.text = path.c_str();
        user.ShowProgramMessage(message, MessageIcon::Warning);
    }
}

void TellNotRecorded(UserSide& user, const char* entryName) {
    Message message{IDS_JOURNAL_NOT_WRITTEN};
    message.text = entryName;
    user.ShowProgramMessage(message, MessageIcon::Warning);
}
