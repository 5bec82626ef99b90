// The restore command: lists the journal's runs, and puts back what one of them changed.
#include "kit/KitRestore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialup/EntryRecord.h"
#include "dialup/PhonebookEntries.h"
#include "dialup/UserPhonebook.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"
#include "journal/ProgramJournal.h"
#include "kit/KitPreview.h"
#include "kit/KitReport.h"
#include "kit/KitStrings.h"
#include "kit/KitText.h"
#include "kit/KitTool.h"
#include "res/resource.h"
#include "settings/ByteText.h"
#include "sim/SimDialupApi.h"
#include "sim/SimPlatform.h"
#include "sim/SimRegistryWriter.h"
#include "sim/SimVersion.h"
#ifdef _WIN32
#include <windows.h>

#include "dialup/DialupLibrary.h"
#include "newconn/ShellRegistryWriter.h"
#endif

namespace {

const char kRestoreUsage[] =
    "usage: dialnest-kit restore --list [OPTIONS]\n"
    "       dialnest-kit restore RUN [--dry-run | --apply] [OPTIONS]\n"
    "options: --journal=DIR  --phonebook=FILE  --os-class=nt|9x  --lang=ja|en\n";
const char kRestoreHelp[] =
    "\n"
    "--list     the runs the journal keeps, oldest first, with what each changed\n"
    "RUN        a run as --list names it: tells entry by entry what putting back its\n"
    "           changes would do (--dry-run, the default) or does it (--apply). An entry\n"
    "           that is no longer as the run left it is never touched.\n"
    "--journal  the journal folder (on Windows, by default the user's own)\n"
    "--phonebook  a substitute phonebook file instead of the system's phonebook: it stands\n"
    "           for each phonebook a record names that the substitute does not list (one of\n"
    "           another machine, Windows paths included), read as the Windows family the\n"
    "           records were written on\n"
    "--os-class the Windows family, when it should not be asked or taken from the records\n"
    "--lang     the language of the reports: Japanese (ja) or English (en)\n"
    "\n"
    "exit status: 0 every entry put back (or as it was), 1 any skipped or failed, 2 usage error\n";

struct RestoreArguments {
    bool list = false;
    bool apply = false;
    bool help = false;
    std::string run;
    std::string journal;
    std::string phonebook;
    OsClass osClass = 9;
    bool osClassGiven = false;
    Language language = UserLanguage();
    std::string error;
};

RestoreArguments ParseRestore(int argc, const char* const* argv) {
    RestoreArguments a;
    bool command = false;
    for (int i = 1; i < argc && a.error.empty(); ++i) {
        const std::string arg = argv[i];
        if (!command && arg == "restore") {
            command = true;
            continue;
        }
        const auto value = [&](const char* option, std::string* to) {
            return OptionValue(argc, argv, &i, option, to, &a.error);
        };
        std::string osClass;
        std::string language;
        if (arg == "--list") {
            a.list = true;
        } else if (arg == "--apply") {
            a.apply = true;
        } else if (arg == "--dry-run") {
            a.apply = false;
        } else if (arg == "--help" || arg == "-h") {
            a.help = true;
        } else if (value("--journal", &a.journal) || value("--phonebook", &a.phonebook)) {
        } else if (value("--lang", &language)) {
            TakeLanguage(language, &a.language, &a.error);
        } else if (value("--os-class", &osClass)) {
            a.osClassGiven = true;
            if (osClass == "nt" || osClass == "9x") {
                a.osClass = osClass == "nt" ? 9 : 6;
            } else if (a.error.empty()) {
                a.error = "--os-class takes nt or 9x, not \"" + osClass + "\"";
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            a.error = "unknown option " + arg;
        } else if (a.run.empty()) {
            a.run = arg;
        } else {
            a.error = "too many arguments";
        }
    }
    if (a.error.empty() && !a.help && a.list == !a.run.empty()) {
        a.error = a.list ? "--list takes no RUN" : "no RUN given (see --list)";
    }
    return a;
}

// The entry's properties as a record, zero beyond what the state holds.
RASENTRYA EntryOf(const EntryState& state) {
    RASENTRYA entry{};
    if (!state.properties.empty()) {
        memcpy(&entry, state.properties.data(),
               state.properties.size() < sizeof(entry) ? state.properties.size() : sizeof(entry));
    }
    return entry;
}

// The number an entry dials as stored, with its area code when it uses one.
std::string NumberOf(Language l, const EntryState& state) {
    if (!state.exists) {
        return Say(l, Phrase::NoEntry);
    }
    const RASENTRYA entry = EntryOf(state);
    const std::string local(entry.szLocalPhoneNumber,
                            strnlen(entry.szLocalPhoneNumber, sizeof(entry.szLocalPhoneNumber)));
    if ((entry.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0) {
        return Show(
            std::string(entry.szAreaCode, strnlen(entry.szAreaCode, sizeof(entry.szAreaCode))) +
            "-" + local);
    }
    return Show(local);
}

// What differs between two states of an entry, in the order a support desk reads it out:
// number, user name, modem, name servers, and a password typed in between. An entry that
// does not exist has none of them.
std::string Changes(Language l, const EntryState& from, const EntryState& to, bool newPassword) {
    const RASENTRYA a = EntryOf(from);
    const RASENTRYA b = EntryOf(to);
    const auto modem = [&](const EntryState& s, const RASENTRYA& e) {
        return s.exists ? Quoted(std::string(e.szDeviceName,
                                             strnlen(e.szDeviceName, sizeof(e.szDeviceName))))
                        : Say(l, Phrase::NoneShown);
    };
    const auto servers = [&](const EntryState& s, const RASENTRYA& e) {
        const std::string shown = s.exists ? NameServers(e, l) : std::string();
        return shown.empty() ? Say(l, Phrase::NoneShown) : shown;
    };
    const auto user = [&](const EntryState& s) {
        return s.exists ? Quoted(s.userName) : Say(l, Phrase::NoneShown);
    };
    const struct {
        Phrase part;
        std::string before;
        std::string after;
    } parts[] = {{Phrase::PartNumber, NumberOf(l, from), NumberOf(l, to)},
                 {Phrase::PartUserName, user(from), user(to)},
                 {Phrase::PartModem, modem(from, a), modem(to, b)},
                 {Phrase::PartNameServers, servers(from, a), servers(to, b)}};
    std::string text;
    for (const auto& p : parts) {
        if (p.before != p.after) {
            text += (text.empty() ? "" : Say(l, Phrase::PartSeparator)) +
                    Say(l, p.part, {p.before, p.after});
        }
    }
    if (newPassword) {
        text += (text.empty() ? "" : Say(l, Phrase::PartSeparator)) + Say(l, Phrase::PartPassword);
    }
    return text.empty() ? Say(l, Phrase::NothingShown) : text;
}

// "YYYYMMDD-HHMMSS", as runs are stamped, read aloud as "YYYY-MM-DD HH:MM"; anything else
// as it stands.
std::string ShownTime(const std::string& stamp) {
    const bool stamped =
        stamp.size() == 15 && stamp[8] == '-' &&
        std::all_of(stamp.begin(), stamp.end(), [](char c) { return IsDigit(c) || c == '-'; });
    if (!stamped) {
        return Show(stamp);
    }
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2);
}

// Which phonebook a recorded path is: the user's own, which Windows keeps below that user's
// roaming application data ("AppData\Roaming" from Vista on, "Application Data" of a profile
// before), or the one of all users (ProgramData, All Users; also the default, "").
Phrase PhonebookOf(const std::string& recorded) {
    const std::string below = std::string("\\") + kUserPhonebookBelowAppData;
    const auto endsWith = [](const std::string& text, const std::string& end) {
        return text.size() >= end.size() &&
               EqualsNoCase(text.substr(text.size() - end.size()).c_str(), end.c_str());
    };
    if (!endsWith(recorded, below)) {
        return Phrase::AllUsersPhonebook;
    }
    std::string folder = recorded.substr(0, recorded.size() - below.size());
    for (char& c : folder) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const bool own = endsWith(folder, "\\appdata\\roaming") ||
                     (endsWith(folder, "\\application data") &&
                      folder.find("\\all users\\") == std::string::npos);
    return own ? Phrase::OwnPhonebook : Phrase::AllUsersPhonebook;
}

// The run a journal file holds, as --list shows it and RUN names it: its sequence, or the
// clock's stamp that format 1 named runs by.
std::string RunOf(const std::string& fileName) {
    if (RunSequence(fileName) != 0) {
        return std::to_string(RunSequence(fileName));
    }
    const size_t start = strlen("run-");
    const size_t end = strlen(kJournalSuffix);
    if (fileName.compare(0, start, "run-") != 0 || fileName.size() < start + end) {
        return Show(fileName);
    }
    return Show(fileName.substr(start, fileName.size() - start - end));
}

Phrase ReadProblem(JournalRead read) {
    return read == JournalRead::FutureFormat ? Phrase::ReadLater
           : read == JournalRead::Corrupted  ? Phrase::ReadDamaged
                                             : Phrase::ReadCutShort;
}

Phrase KindPhrase(ChangeKind kind) {
    const Phrase phrases[] = {Phrase::KindCreation, Phrase::KindAccessPoint, Phrase::KindUserName,
                              Phrase::KindRestore};
    return phrases[static_cast<int>(kind)];
}

Phrase OutcomePhrase(ChangeOutcome outcome) {
    const Phrase phrases[] = {Phrase::OutcomeOpen,     Phrase::OutcomeMade,
                              Phrase::OutcomeUndone,   Phrase::OutcomeRolledBack,
                              Phrase::OutcomeFinished, Phrase::OutcomeRestored,
                              Phrase::OutcomeLeft,     Phrase::OutcomeRefused};
    return phrases[static_cast<int>(outcome)];
}

void Say(FILE* out, Language l, Phrase phrase, const std::vector<Arg>& args = {}) {
    fprintf(out, "%s\n", Say(l, phrase, args).c_str());
}

// A phrase with arguments of its own, as an argument of another.
Arg Both(Phrase phrase, const std::vector<Arg>& args) {
    Arg both("");
    both.en = Say(Language::English, phrase, args);
    both.ja = Say(Language::Japanese, phrase, args);
    return both;
}

// What putting back the default connection that a creation found does (`apply`) or would
// do, said below its entry's line. False when it failed.
bool TellDefault(RegistryWriter& registry, const DialupApi& api, const RestoreArguments& a,
                 const JournalChange& c, const std::vector<PhonebookEntryName>& entries,
                 FILE* out) {
    const DefaultBefore& before = c.defaultBefore;
    const bool exists = FindEntryNamed(entries, before.dialled.c_str()) != nullptr;
    const DefaultPutBack outcome =
        PutBackDefaultConnection(registry, api, c.entryName.c_str(), before, exists, a.apply);
    const Language l = a.language;
    const Arg why = before.dialled.empty()
                        ? Arg(Phrase::NoDefaultBefore)
                        : Both(Phrase::DefaultBeforeGone, {Quoted(before.dialled)});
    switch (outcome) {
        case DefaultPutBack::None:
            break;
        case DefaultPutBack::Before:
            Say(out, l, a.apply ? Phrase::DefaultBack : Phrase::DefaultWouldBack,
                {Quoted(before.dialled)});
            break;
        case DefaultPutBack::Removed:
            Say(out, l, a.apply ? Phrase::DefaultRemoved : Phrase::DefaultWouldRemove,
                {Show(c.entryName), why});
            break;
        case DefaultPutBack::ChangedSince:
            Say(out, l, Phrase::DefaultChangedSince);
            break;
        case DefaultPutBack::Failed:
            Say(out, l, Phrase::DefaultFailed);
            return false;
    }
    return true;
}

void ListRuns(JournalStore& store, Language l, FILE* out) {
    const std::vector<std::string> files = ListRuns(store);
    if (files.empty()) {
        Say(out, l, Phrase::RestoreNoRuns, {ShowPath(store.PathOf(""))});
    }
    const std::vector<std::string> locks = store.List(".lock");
    for (const std::string& name : files) {
        const std::string lock = RunLockName(name);
        if (std::find(locks.begin(), locks.end(), lock) != locks.end() && store.Held(lock)) {
            Say(out, l, Phrase::RestoreRunGoing, {RunOf(name)});
            continue;
        }
        std::string bytes;
        JournalRun run;
        const JournalRead read =
            store.Read(name, &bytes) ? ParseJournalRun(bytes, &run) : JournalRead::Truncated;
        if (read != JournalRead::Whole) {
            Say(out, l, Phrase::RestoreRunUnreadable, {RunOf(name), ReadProblem(read)});
            continue;
        }
        // What Windows refused for lack of rights was never made: counted apart.
        const size_t refused = static_cast<size_t>(std::count_if(
            run.changes.begin(), run.changes.end(),
            [](const JournalChange& c) { return c.outcome == ChangeOutcome::Refused; }));
        Say(out, l, Phrase::RestoreRunLine,
            {RunOf(name), ShownTime(run.stamp), std::to_string(run.changes.size() - refused),
             refused == 0 ? Arg("")
                          : Arg(Say(l, Phrase::RefusedCount, {std::to_string(refused)}))});
        for (const JournalChange& c : run.changes) {
            Say(out, l, Phrase::RestoreChangeLine,
                {Show(c.entryName), KindPhrase(c.kind), PhonebookOf(c.phonebook),
                 Changes(l, c.before, c.after, c.writesPassword), OutcomePhrase(c.outcome)});
        }
    }
}

std::string Stamp() {
    const time_t now = time(nullptr);
    char stamp[32] = "";
    if (const struct tm* local = localtime(&now)) {
        strftime(stamp, sizeof(stamp), "%Y%m%d-%H%M%S", local);
    }
    return stamp;
}

// Sets an environment variable of this process, and puts back what it was at the end.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value)
        : name_(name), had_(ReadSimEnvironment(name, &old_)) {
        Set(value);
    }
    ~ScopedVariable() { Set(old_, !had_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const std::string& value, bool remove = false) {
#ifdef _WIN32
        _putenv((name_ + "=" + (remove ? "" : value)).c_str());
#else
        remove ? unsetenv(name_.c_str()) : setenv(name_.c_str(), value.c_str(), 1);
#endif
    }
    std::string name_;
    std::string old_;
    bool had_;
};

// The Windows version the substitute plays for records of the family `osClass` of structure
// size `size` (0: any): the one it plays now where that fits, else the oldest that does.
// Empty when the one it plays fits.
std::string FittingSimWindows(OsClass osClass, uint32_t size) {
    const auto fits = [&](SimWindows v) {
        return (v != SimWindows::Win98) == IsNtFamily(osClass) &&
               (size == 0 || IsKnownEntrySize(v, size));
    };
    if (fits(CurrentSimWindows())) {
        return std::string();
    }
    for (const char* name : {"98", "nt4", "2000", "xp", "vista", "7", "10"}) {
        SimWindows version;
        if (ParseSimWindows(name, &version) && fits(version)) {
            return name;
        }
    }
    return std::string();
}

int Restore(JournalStore& store, const DialupApi& api, RegistryWriter& registry,
            const RestoreArguments& a, FILE* out, FILE* err) {
    const Language l = a.language;
    // A number past the sequence's 32 bits names no run (never a wrapped one).
    const bool numbered = !a.run.empty() && a.run.size() <= 10 &&
                          a.run.find_first_not_of("0123456789") == std::string::npos;
    const unsigned long long sequence = numbered ? strtoull(a.run.c_str(), nullptr, 10) : 0;
    const std::string name = !numbered ? "run-" + a.run + kJournalSuffix
                             : sequence > 0xFFFFFFFFull
                                 ? std::string()
                                 : RunFileName(static_cast<uint32_t>(sequence));
    std::string bytes;
    JournalRun run;
    if (name.empty() || !store.Read(name, &bytes)) {
        fprintf(err, "dialnest-kit: %s\n", Say(l, Phrase::RestoreNoRun, {Show(a.run)}).c_str());
        return kExitUsage;
    }
    if (store.Held(RunLockName(name))) {
        Say(out, l, Phrase::RestoreRunNotEnded, {Show(a.run)});
        return kExitError;
    }
    const JournalRead read = ParseJournalRun(bytes, &run);
    if (read != JournalRead::Whole) {
        Say(out, l, Phrase::RestoreRunNotRead, {Show(a.run), ReadProblem(read)});
        return kExitError;
    }
#ifdef _WIN32
    // Entries are written by their names in code page 932, which the library reads in the
    // code page for programs: under another, it would write garbled names.
    if (a.apply && GetACP() != 932) {
        fprintf(err, "%s\n", ProgramText(Message{IDS_CODE_PAGE_NOT_JAPANESE}).c_str());
        return kExitError;
    }
    // The program's own changes would race with these.
    if (a.apply) {
        if (const HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, kProgramRunMutex)) {
            CloseHandle(running);
            Say(out, l, Phrase::RestoreProgramRunning);
            return kExitError;
        }
    }
#endif
    // A substitute file is read as the Windows the records were written on, and stands for
    // each phonebook they name that the substitute does not list (one of another machine, in
    // whatever form): a journal copied from a subscriber reads as it was written.
    OsClass osClass = a.osClass;
    std::vector<std::string> recorded;
    for (const JournalChange& c : run.changes) {
        recorded.push_back(c.phonebook);
    }
    std::unique_ptr<ScopedVariable> played;
    if (!a.phonebook.empty()) {
        osClass = a.osClassGiven ? a.osClass : RecordedOsClass(run.changes);
        uint32_t size = 0;
        for (const JournalChange& c : run.changes) {
            size = size != 0        ? size
                   : c.after.exists ? c.after.structureSize
                                    : c.before.structureSize;
        }
        const std::string version = FittingSimWindows(osClass, size);
        if (!version.empty()) {
            played.reset(new ScopedVariable("RASSIM_WINVER", version));
        }
    }
    std::vector<PhonebookEntryName> entries;
    const RasDword listed = EnumerateEntries(api, &entries);
    for (JournalChange& c : run.changes) {
        const bool reached = std::any_of(entries.begin(), entries.end(), [&](const auto& e) {
            return EqualsNoCase(e.phonebook, c.phonebook.c_str());
        });
        if (!a.phonebook.empty() && !c.phonebook.empty() && !reached) {
            c.phonebook = a.phonebook;
        }
    }
    Say(out, l, a.apply ? Phrase::RestoreApply : Phrase::RestoreDryRun,
        {Show(a.run), ShownTime(run.stamp)});
    // A restore is itself a change: recorded first, so that Dialnest's next start puts an
    // interrupted one right.
    Journal journal(&store, Stamp());
    const bool nt = IsNtFamily(osClass);
    bool allWell = true;
    std::map<std::string, const JournalChange*> wouldBe;  // entry and phonebook: newer change
    for (size_t i = run.changes.size(); i-- > 0;) {
        const JournalChange& c = run.changes[i];
        const std::string entry = Show(c.entryName);
        const Arg book = PhonebookOf(recorded[i]);
        if (c.outcome != ChangeOutcome::Made && c.outcome != ChangeOutcome::Finished) {
            const bool open = c.outcome == ChangeOutcome::Open;
            Say(out, l,
                open                                  ? Phrase::RestoreNotFinished
                : c.outcome == ChangeOutcome::Refused ? Phrase::RestoreRefusedInRun
                                                      : Phrase::RestoreNothingToDo,
                {entry, book});
            allWell = allWell && !open;
            continue;
        }
        EntryNow now;
        const RasDword error = listed != 0 ? listed : ReadEntryNow(api, osClass, c, entries, &now);
        // A dry run writes nothing: an older change of an entry that a newer one would put
        // back meets the entry as that one would leave it.
        const std::string key = c.entryName + "\n" + c.phonebook;
        const auto newer = wouldBe.find(key);
        if (error == 0 && newer != wouldBe.end()) {
            const EntryState& state = newer->second->before;
            now.exists = state.exists;
            now.record.Release();
            if (state.exists) {
                RecordOf(state, c.phonebook, &now.record);
            }
            now.userName = state.userName;
            now.password = state.passwordKept ? state.password : now.password;
        }
        const ChangeStage stage = error == 0 ? StageOf(c, now) : ChangeStage::Since;
        // Windows never reveals a saved password on the NT family: one typed in the run stays.
        const bool passwordBack = PasswordBack(osClass, c, now);
        const Arg password = c.writesPassword && nt ? Arg(Phrase::PasswordStays)
                             : passwordBack         ? Arg(Phrase::PasswordBack)
                                                    : Arg("");
        if (error != 0) {
            Say(out, l, Phrase::RestoreCannotRead, {entry, book, std::to_string(error)});
        } else if (stage == ChangeStage::Before) {
            Say(out, l, Phrase::RestoreAlready, {entry, book});
            allWell = TellDefault(registry, api, a, c, entries, out) && allWell;
            continue;
        } else if (stage != ChangeStage::Made && stage != ChangeStage::MadeOrPartWay) {
            Say(out, l, Phrase::RestoreChangedSince, {entry, book});
        } else if (!a.apply) {
            wouldBe[key] = &c;
            if (c.before.exists) {
                Say(out, l, Phrase::RestoreWould,
                    {entry, book, Changes(l, StateOf(&now.record, now.userName), c.before, false),
                     password});
            } else {
                Say(out, l, Phrase::RestoreWouldRemove, {entry, book});
            }
            allWell = TellDefault(registry, api, a, c, entries, out) && allWell;
            continue;
        } else {
            const JournalChange undo = UndoOf(osClass, c, now);
            const std::string changes =
                Changes(l, StateOf(&now.record, now.userName), c.before, false);
            bool wrote = false;
            RasDword result = kMissingOperation;
            if (!journal.Begin(undo)) {
                Say(out, l, Phrase::RestoreNotRecorded, {entry, book});
            } else if ((result = PutBackChange(api, osClass, c, now, &wrote)) == 0) {
                journal.End(ChangeOutcome::Made);
                if (c.before.exists) {
                    Say(out, l, Phrase::RestorePutBack, {entry, book, changes, password});
                } else {
                    Say(out, l, Phrase::RestoreRemoved, {entry, book});
                }
                allWell = TellDefault(registry, api, a, c, entries, out) && allWell;
                continue;
            } else if (result == ERROR_ACCESS_DENIED_ && !wrote) {
                journal.End(ChangeOutcome::Refused);
                Say(out, l, Phrase::RestoreNeedsAdministrator, {entry, book});
            } else {
                Say(out, l, Phrase::RestoreFailed,
                    {entry, book, std::to_string(result),
                     wrote ? Arg(Phrase::PartlyPutBack) : Arg("")});
            }
        }
        allWell = false;
    }
    return allWell ? kExitClean : kExitError;
}

}  // namespace

int RunRestore(int argc, const char* const* argv, FILE* out, FILE* err) {
    const RestoreArguments a = ParseRestore(argc, argv);
    if (a.help && a.error.empty()) {
        fputs(kRestoreUsage, out);
        fputs(kRestoreHelp, out);
        return kExitClean;
    }
    if (!a.error.empty()) {
        fprintf(err, "dialnest-kit: %s\n%s", a.error.c_str(), kRestoreUsage);
        return kExitUsage;
    }
    std::string folder = a.journal;
#ifdef _WIN32
    if (folder.empty()) {
        folder = UserJournalFolder();
    }
#endif
    if (folder.empty()) {
        fprintf(err, "dialnest-kit: no --journal=DIR given\n%s", kRestoreUsage);
        return kExitUsage;
    }
    FolderJournalStore store(folder);
    if (a.list) {
        ListRuns(store, a.language, out);
        return kExitClean;
    }
    DialupApi api;
    OsClass osClass = a.osClass;
    if (!a.phonebook.empty()) {
#ifdef _WIN32
        _putenv(("RASSIM_PHONEBOOK=" + a.phonebook).c_str());
#else
        setenv("RASSIM_PHONEBOOK", a.phonebook.c_str(), 1);
#endif
        api = SimDialupApi();
    } else {
#ifdef _WIN32
        if (!LoadDialupLibrary(api)) {
            fprintf(err, "dialnest-kit: the system's dial-up library cannot be loaded\n");
            return kExitError;
        }
        if (!a.osClassGiven) {
            OSVERSIONINFOA version{};
            version.dwOSVersionInfoSize = sizeof(version);
            const bool queried = GetVersionExA(&version) != 0;
            osClass =
                ClassifyOs(OsVersionFacts{queried, version.dwPlatformId, version.dwMajorVersion,
                                          version.dwMinorVersion, version.dwBuildNumber});
        }
#else
        fprintf(err,
                "dialnest-kit: no --phonebook=FILE given: here only a substitute "
                "phonebook file can be used\n%s",
                kRestoreUsage);
        return kExitUsage;
#endif
    }
    RestoreArguments chosen = a;
    chosen.osClass = osClass;
#ifdef _WIN32
    ShellRegistryWriter registry;
#else
    SimRegistryWriter registry;
#endif
    const int status = Restore(store, api, registry, chosen, out, err);
#ifdef _WIN32
    if (a.phonebook.empty()) {
        ReleaseDialup(api);
    }
#endif
    return status;
}
