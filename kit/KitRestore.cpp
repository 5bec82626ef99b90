// The restore command: lists the journal's runs, and puts back what one of them changed.
#include "kit/KitRestore.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialup/EntryRecord.h"
#include "dialup/PhonebookEntries.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"
#include "kit/KitText.h"
#include "kit/KitTool.h"
#include "settings/ByteText.h"
#include "sim/SimDialupApi.h"
#ifdef _WIN32
#include <windows.h>

#include "dialup/DialupLibrary.h"
#endif

namespace {

const char kRestoreUsage[] =
    "usage: dialnest-kit restore --list [OPTIONS]\n"
    "       dialnest-kit restore RUN [--dry-run | --apply] [OPTIONS]\n"
    "options: --journal=DIR  --phonebook=FILE  --os-class=nt|9x\n";

struct RestoreArguments {
    bool list = false;
    bool apply = false;
    std::string run;
    std::string journal;
    std::string phonebook;
    OsClass osClass = 9;
    bool osClassGiven = false;
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
        if (arg.compare(0, 7, "--lang=") == 0) {
            continue;  // the restore's reports are the same in every language
        }
        auto value = [&](const char* option, std::string* to) {
            const std::string prefix = std::string(option) + "=";
            if (arg.compare(0, prefix.size(), prefix) == 0) {
                *to = arg.substr(prefix.size());
                return true;
            }
            if (arg == option && i + 1 < argc) {
                *to = argv[++i];
                return true;
            }
            return false;
        };
        std::string osClass;
        if (arg == "--list") {
            a.list = true;
        } else if (arg == "--apply") {
            a.apply = true;
        } else if (arg == "--dry-run") {
            a.apply = false;
        } else if (value("--journal", &a.journal) || value("--phonebook", &a.phonebook)) {
        } else if (value("--os-class", &osClass)) {
            a.osClassGiven = true;
            if (osClass == "nt" || osClass == "9x") {
                a.osClass = osClass == "nt" ? 9 : 6;
            } else {
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
    if (a.error.empty() && a.list == !a.run.empty()) {
        a.error = a.list ? "--list takes no RUN" : "no RUN given (see --list)";
    }
    return a;
}

// The number an entry dials as stored, with its area code when it uses one.
std::string NumberOf(const EntryState& state) {
    if (!state.exists) {
        return "(no entry)";
    }
    RASENTRYA entry{};
    memcpy(&entry, state.properties.data(),
           state.properties.size() < sizeof(entry) ? state.properties.size() : sizeof(entry));
    const std::string local(entry.szLocalPhoneNumber,
                            strnlen(entry.szLocalPhoneNumber, sizeof(entry.szLocalPhoneNumber)));
    if ((entry.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0) {
        return std::string(entry.szAreaCode, strnlen(entry.szAreaCode, sizeof(entry.szAreaCode))) +
               "-" + local;
    }
    return local;
}

// The run a journal file holds, as --list shows it and RUN names it; a file not named as the
// program names its runs is shown whole.
std::string RunOf(const std::string& fileName) {
    const size_t start = strlen("run-");
    const size_t end = strlen(kJournalSuffix);
    if (fileName.compare(0, start, "run-") != 0 || fileName.size() < start + end) {
        return fileName;
    }
    return fileName.substr(start, fileName.size() - start - end);
}

const char* ReadProblem(JournalRead read) {
    switch (read) {
        case JournalRead::Truncated:
            return "cut short";
        case JournalRead::Corrupted:
            return "damaged";
        case JournalRead::FutureFormat:
            return "of a later Dialnest";
        case JournalRead::Whole:
            break;
    }
    return "unreadable";
}

void ListRuns(JournalStore& store, FILE* out) {
    const std::vector<std::string> files = store.List(kJournalSuffix);
    if (files.empty()) {
        fprintf(out, "no runs kept in %s\n", ShowPath(store.PathOf("")).c_str());
    }
    for (const std::string& name : files) {
        std::string bytes;
        JournalRun run;
        const JournalRead read =
            store.Read(name, &bytes) ? ParseJournalRun(bytes, &run) : JournalRead::Truncated;
        if (read != JournalRead::Whole) {
            fprintf(out, "%s  (%s: never acted on)\n", RunOf(name).c_str(), ReadProblem(read));
            continue;
        }
        fprintf(out, "%s  %zu change(s)\n", RunOf(name).c_str(), run.changes.size());
        for (const JournalChange& c : run.changes) {
            fprintf(out, "  [%s] %s: number %s -> %s, user name %s -> %s (%s)\n",
                    c.entryName.c_str(), ChangeKindName(c.kind), NumberOf(c.before).c_str(),
                    NumberOf(c.after).c_str(), c.before.userName.c_str(), c.after.userName.c_str(),
                    ChangeOutcomeName(c.outcome));
        }
    }
}

// The entry as it is now, in the terms of the journal.
EntryState StateNow(const DialupApi& api, OsClass osClass, const JournalChange& c,
                    RasDword* error) {
    const char* book = PhonebookArgument(c.phonebook.c_str());
    EntryRecord now;
    *error = ReadEntryRecord(api, book, c.entryName.c_str(), &now);
    if (*error == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
        *error = 0;
        return EntryState{};
    }
    std::string userName;
    if (*error == 0) {
        *error = ReadSavedUserName(api, book, c.entryName.c_str(), IsNtFamily(osClass), &userName);
    }
    return StateOf(&now, userName);
}

bool SameState(const EntryState& a, const EntryState& b) {
    return a.exists == b.exists &&
           (!a.exists || (a.properties == b.properties && a.userName == b.userName));
}

int Restore(JournalStore& store, const DialupApi& api, const RestoreArguments& a, FILE* out,
            FILE* err) {
    const std::string name = "run-" + a.run + kJournalSuffix;
    std::string bytes;
    JournalRun run;
    if (!store.Read(name, &bytes)) {
        fprintf(err, "dialnest-kit: no run %s (see restore --list)\n", a.run.c_str());
        return kExitUsage;
    }
    const JournalRead read = ParseJournalRun(bytes, &run);
    if (read != JournalRead::Whole) {
        fprintf(out, "run %s is %s: nothing is done with it\n", a.run.c_str(), ReadProblem(read));
        return kExitError;
    }
    fprintf(out, "%s the changes of run %s\n",
            a.apply ? "putting back" : "would put back (dry run)", a.run.c_str());
    // A restore is itself a change: recorded first, so that Dialnest's next start puts an
    // interrupted one right.
    Journal journal(&store, a.run + "-restore");
    bool allWell = true;
    for (size_t i = run.changes.size(); i-- > 0;) {
        const JournalChange& c = run.changes[i];
        const char* entry = c.entryName.c_str();
        if (c.outcome != ChangeOutcome::Made && c.outcome != ChangeOutcome::Finished) {
            const bool open = c.outcome == ChangeOutcome::Open;
            fprintf(out, "  [%s] %s\n", entry,
                    open ? "skipped: not finished; Dialnest puts it back at its next start"
                         : "nothing to do: the run did not change it");
            allWell = allWell && !open;
            continue;
        }
        RasDword error = 0;
        const EntryState now = StateNow(api, a.osClass, c, &error);
        if (error != 0) {
            fprintf(out, "  [%s] failed: cannot be read (error %u)\n", entry, unsigned(error));
            allWell = false;
        } else if (SameState(now, c.before)) {
            fprintf(out, "  [%s] already as it was\n", entry);
        } else if (!SameState(now, c.after)) {
            fprintf(out, "  [%s] skipped: changed since that run, not touched\n", entry);
            allWell = false;
        } else if (!a.apply) {
            fprintf(out, "  [%s] would be put back: number %s -> %s, user name %s -> %s\n", entry,
                    NumberOf(now).c_str(), NumberOf(c.before).c_str(), now.userName.c_str(),
                    c.before.userName.c_str());
        } else {
            JournalChange undo = c;
            undo.kind = ChangeKind::Restore;
            undo.before = c.after;
            undo.after = c.before;
            undo.writes = 2;
            undo.writesPassword = false;
            bool wrote = false;
            RasDword result = journal.Begin(undo) ? 0 : RasDword{kMissingOperation};
            if (result == 0) {
                JournalChange back = undo;
                back.before = c.before;
                result = PutBackChange(api, a.osClass, back, &wrote);
            }
            if (result == 0) {
                journal.End(ChangeOutcome::Made);
                fprintf(out, "  [%s] put back: number %s, user name %s\n", entry,
                        NumberOf(c.before).c_str(), c.before.userName.c_str());
            } else {
                fprintf(out, "  [%s] failed (error %u)%s\n", entry, unsigned(result),
                        wrote ? ": it may be only partly put back" : "");
                allWell = false;
            }
        }
    }
    return allWell ? kExitClean : kExitError;
}

}  // namespace

int RunRestore(int argc, const char* const* argv, FILE* out, FILE* err) {
    const RestoreArguments a = ParseRestore(argc, argv);
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
        ListRuns(store, out);
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
    const int status = Restore(store, api, chosen, out, err);
#ifdef _WIN32
    if (a.phonebook.empty()) {
        ReleaseDialup(api);
    }
#endif
    return status;
}
