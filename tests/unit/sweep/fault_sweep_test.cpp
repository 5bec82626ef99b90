// The fault sweep: each job runs, at each operating-system class and for every way of
// accepting and declining its proposals, once against the substitute phonebook, recording
// every phonebook call; then once per recorded call and per fault, with exactly that call
// failing. After every run each entry must be as it was, or as a completed change left it,
// never in between; the counts and messages must say what really happened.
// Its second mode ends the process instead: a child runs the job and is ended right after
// call k applied (or while the journal's record is written), then the start-up recovery
// runs, once more after a second end during a first recovery; each entry must then be as
// it was or as complete as a finished change, with nothing left open in the journal, each
// put-back named, and the run's restore must give back every entry as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../kit/KitRun.h"
#include "../migrate/MigrationHarness.h"
#include "../newconn/FakeRegistry.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"
#include "migrate/MigrationMessages.h"
#include "newconn/EntryCreation.h"
#include "res/resource.h"
#include "sim/PhonebookFile.h"
#include "sim/SimRasApi.h"

namespace {

// The numbers the program tells apart, and one it does not know.
const RasDword kFailures[] = {ERROR_BUFFER_TOO_SMALL,
                              ERROR_BUFFER_INVALID,
                              ERROR_CANNOT_OPEN_PHONEBOOK,
                              ERROR_CANNOT_FIND_PHONEBOOK_ENTRY,
                              ERROR_OUTOFMEMORY_,
                              ERROR_INVALID_USER_BUFFER_,
                              31};

// How a call is made to fail, as RASSIM_FAIL says it for the k-th call of an operation.
// `available`: the mode is swept (a mode can be switched off while it is being looked into).
struct FaultMode {
    const char* name;
    const char* item;  // after "Operation#k", before the error number where it takes one
    bool takesError;
    bool checksMessages;  // the messages of a refusal are known exactly
    bool available;
    bool readsOnly;  // only a call that fills something in can leave it unfilled
};
const FaultMode kModes[] = {
    {"fails before doing anything", ":", true, true, true, false},
    {"applies, then fails", ":after:", true, false, true, false},
    {"succeeds with nothing filled in", ":empty", false, false, true, true},
};

const char kModem[] = "Standard 56000 bps Modem";
const char kTyped[] = "pw2";  // every password typed in a run; the saved ones are "secret"
const char kKitSettings[] = "UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n";

enum class Job { Creation, Migration };

struct Scenario {
    const char* name;
    Job job;
    std::function<void(MigrationHarness&)> setUp;  // entries, and for a migration the kit
    bool makeDefault;                              // creation: make it the default connection
    bool registryRefuses;                          // creation: every registry write fails
    bool standardOnly = false;                     // swept for a standard user only
};

// A pass as a standard user, the normal case from Vista on, with a phonebook of the user's own.
bool g_standardUser = false;
const char kOwnPhonebook[] = "own.pbk";

// Who runs the program: with `running`, this pass's subscriber.
void RunAs(MigrationHarness& h, bool running) {
    unsetenv("RASSIM_USER_PHONEBOOK");
    unsetenv("RASSIM_RIGHTS");
    if (g_standardUser) {
        setenv("RASSIM_USER_PHONEBOOK", h.folder().PathTo(kOwnPhonebook).c_str(), 1);
        setenv("RASSIM_RIGHTS", running ? "standard" : "admin", 1);
    }
}

// Both phonebooks as one text, the user's own entries named "own:" and their name.
std::string BooksOf(const MigrationHarness& h) {
    const std::string all = h.sim.ReadFile(), own = h.folder().Read(kOwnPhonebook);
    SimPhonebookFile books = ParsePhonebook(all.data(), all.size());
    for (SimEntry entry : ParsePhonebook(own.data(), own.size()).entries) {
        CopyField(entry.name, (std::string("own:") + entry.name).c_str());
        books.entries.push_back(entry);
    }
    return own.empty() ? all : FormatPhonebook(books);
}

struct OwnPhonebook : UserPhonebook {
    std::string path;
    bool Prepare(std::string* out) override {
        *out = path;
        return g_standardUser;
    }
};

// Each entry's text in the phonebook file, by name; an entry that is not there has none.
std::map<std::string, std::string> EntryTexts(const std::string& file) {
    const SimPhonebookFile book = ParsePhonebook(file.data(), file.size());
    std::map<std::string, std::string> texts;
    for (const SimEntry& entry : book.entries) {
        SimPhonebookFile one;
        one.entries.push_back(entry);
        // Windows gives a new entry a fresh id: only whether there is one is compared.
        RasGuid& id = one.entries[0].properties.guidId;
        const RasGuid none{};
        memset(&id, memcmp(&id, &none, sizeof id) != 0 ? 0xFF : 0, sizeof id);
        texts[entry.name] = FormatPhonebook(one);
    }
    return texts;
}

// What one run did.
struct Outcome {
    std::string file;
    std::vector<ShownMessage> shown;      // every message but the overwrite question
    std::vector<std::string> proposedTo;  // the entry of each proposal (or question), in order
    std::vector<std::string> calls;       // a run without a fault: its phonebook calls
    std::vector<std::string> registry;
    int changedCount = 0;
    bool created = false;
    bool madeDefault = false;   // created and made the default connection, as CreateEntry said
    std::string dialled = "-";  // the default connection afterwards, where Windows has one
};

// Runs the job at `osClass`, with `fail` as RASSIM_FAIL; the user answers the proposals
// (for a creation: the overwrite question) in turn with `answers`, and `further` after them.
Outcome RunJobIn(MigrationHarness& h, const Scenario& s, OsClass osClass, const char* fail,
                 const std::vector<bool>& answers, bool further, Journal* journal) {
    Outcome out;
    h.ui.answers = answers;
    h.ui.otherAnswers = further;
    h.ui.editAccessPoint = [&](AccessPointChangeFields& f) {
        out.proposedTo.push_back(f.entryName);
        f.editPassword = 1;  // a new password, so that both records really change
        CopyField(f.password, kTyped);
    };
    h.ui.editUserName = [&](UserNameChangeFields& f) {
        out.proposedTo.push_back(f.entryName);
        f.editModem = 1;  // a new modem, so that a user-name change writes both records
        CopyField(f.modemName, "Other Modem");
    };
    ResetSimCallRecord(fail == nullptr);
    h.sim.Fail(fail);
    RunAs(h, true);
    if (s.job == Job::Creation) {
        CreationInputs inputs{};
        CopyField(inputs.entryName, "Nestnet");
        CopyField(inputs.userName, "taro");
        CopyField(inputs.domainText, "@dial.example");
        CopyField(inputs.password, kTyped);
        CopyField(inputs.accessPointNumber, "0570-000-111");
        CopyField(inputs.modemName, kModem);
        inputs.makeDefault = s.makeDefault;
        FakeRegistry registry;
        registry.AddKey(RegistryRoot::CurrentUser, kInternetSettingsKey);
        registry.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
        registry.AddKey(RegistryRoot::LocalMachine, kAutodialDefaultKey);
        registry.refuseWrites = s.registryRefuses;
        h.user.answer = answers.empty() ? further : answers[0];
        ExistingEntry existing;
        OwnPhonebook own;
        own.path = h.folder().PathTo(kOwnPhonebook);
        if (ConfirmCreation(h.api(), osClass, h.user, inputs.entryName, &existing)) {
            const Creation made = CreateEntry(inputs, existing, h.api(), h.folder(), h.user,
                                              registry, osClass, journal, &own);
            out.created = made != Creation::Failed;
            out.madeDefault = made == Creation::Created && s.makeDefault;
        }
        out.registry = registry.writes;
    } else {
        auto context = h.MakeContext(osClass);
        context->journal = journal;
        context->allUsersChangeable = !g_standardUser;
        context->RunMigration();
        out.changedCount = context->changedCount;
    }
    RunAs(h, false);
    h.sim.Fail(nullptr);
    if (fail == nullptr) {
        out.calls = SimCallRecord();
    }
    RASAUTODIALENTRYA entry = {sizeof entry, 0, 0, {}};
    RasDword bytes = sizeof entry, count = 0;
    if (h.api().RasGetAutodialAddressA(nullptr, nullptr, &entry, &bytes, &count) == 0) {
        out.dialled = count == 1 ? entry.szEntry : "";
    }
    out.file = BooksOf(h);
    for (const ShownMessage& m : h.user.shown) {
        if (m.kind == ShownMessage::Question) {
            out.proposedTo.push_back("Nestnet");
        } else {
            out.shown.push_back(m);
        }
    }
    return out;
}

Outcome RunJob(const Scenario& s, OsClass osClass, const char* fail,
               const std::vector<bool>& answers, bool further) {
    MigrationHarness h;
    h.sim.ActAsWindowsOf(osClass);
    RunAs(h, false);
    s.setUp(h);
    return RunJobIn(h, s, osClass, fail, answers, further, nullptr);
}

void KitAnd(MigrationHarness& h, const std::string& settings) {
    h.WriteProviderKit(settings);
}

const Scenario kScenarios[] = {
    {"creation of a new entry", Job::Creation,
     [](MigrationHarness& h) { h.AddModemEntry("Other", "03", "1234", "o@other.example"); }, false,
     false},
    {"creation over an entry of that name", Job::Creation,
     [](MigrationHarness& h) { h.AddModemEntry("NESTNET", "", "0000", "old@old.example"); }, false,
     false},
    {"creation over an entry of the same user name", Job::Creation,
     [](MigrationHarness& h) { h.AddModemEntry("NESTNET", "", "0000", "taro@dial.example"); },
     false, false},
    {"creation over it as the default connection", Job::Creation,
     [](MigrationHarness& h) { h.AddModemEntry("NESTNET", "", "0000", "old@old.example"); }, true,
     false},
    {"creation as the default connection, registry refuses", Job::Creation,
     [](MigrationHarness& h) { h.AddModemEntry("Other", "03", "1234", "o@other.example"); }, true,
     true},
    {"general table", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("General", "", "0,0312345678#", "Xabc@dial.example");
     },
     false, false},
    {"PHS table", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Phs", "", "07011112222", "Xabc@m.example");
     },
     false, false},
    {"pair table", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Pair", "06", "9999-0000", "Xabc@a.example");
     },
     false, false},
    {"Flets ISDN user name", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Flets", "", "0,03-5555-1492", "Xabc@old.example");
     },
     false, false},
    {"Flets ISDN user name, no saved password", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Flets", "", "0,03-5555-1492", "Xabc@old.example", "");
     },
     false, false},
    {"both proposals on one entry", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, "UserPrefix,X\r\nOldDialupDomain,@old.example\r\n");
         h.AddModemEntry("Both", "", "1111492", "Xabc@old.example");
     },
     false, false},
    {"several entries", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("General", "", "0312345678", "Xabc@dial.example");
         h.AddModemEntry("Other provider", "", "0312345678", "yabc@dial.example");
         h.AddModemEntry("Isdn", "", "0312345678", "Xabc@dial.example");
         h.EditEntry("Isdn", [](RASENTRYA& e) { CopyField(e.szDeviceType, "isdn"); });
         h.AddModemEntry("Phs", "", "07011112222", "Xabc@m.example");
     },
     false, false},
    {"an entry of the user's own phonebook", Job::Migration,
     [](MigrationHarness& h) {
         KitAnd(h, "UserPrefix,X\r\nOldDialupDomain,@old.example\r\n");
         h.AddModemEntry("Mine", "", "1111492", "Xabc@old.example");
         h.folder().Write(kOwnPhonebook, h.sim.ReadFile());
         h.sim.WriteFile("");
     },
     false, false, true},
};

// Every way of answering the scenario's proposals: each run without a fault, with its
// answers. A proposal that only appears after some answers is answered both ways too.
struct Answered {
    std::vector<bool> answers;
    Outcome outcome;
};

void Explore(const Scenario& s, OsClass osClass, const std::vector<bool>& prefix,
             std::vector<Answered>* all) {
    Outcome run = RunJob(s, osClass, nullptr, prefix, false);
    if (run.proposedTo.size() > prefix.size()) {
        for (bool answer : {false, true}) {
            std::vector<bool> next = prefix;
            next.push_back(answer);
            Explore(s, osClass, next, all);
        }
        return;
    }
    all->push_back(Answered{prefix, run});
}

// The states each entry may be in after a run, with the number of changes each holds: as
// it was, or as any choice of accepted and declined proposals leaves it when every write
// succeeds. "" stands for no entry of that name.
using EntryStates = std::map<std::string, std::map<std::string, int>>;

void AddStates(const std::string& file, const std::map<std::string, int>& changes,
               EntryStates* states) {
    const auto texts = EntryTexts(file);
    std::set<std::string> names;
    for (const auto& entry : *states) {
        names.insert(entry.first);
    }
    for (const auto& entry : texts) {
        names.insert(entry.first);
    }
    for (const std::string& name : names) {
        const auto found = texts.find(name);
        // The user's own entries are told apart in the text, not in the proposals.
        auto counted = changes.find(name);
        if (counted == changes.end() && name.rfind("own:", 0) == 0) {
            counted = changes.find(name.substr(4));
        }
        (*states)[name].emplace(found != texts.end() ? found->second : "",
                                counted != changes.end() ? counted->second : 0);
    }
}

EntryStates StatesOf(const Scenario& s, const std::string& before,
                     const std::vector<Answered>& all) {
    EntryStates states;
    AddStates(before, {}, &states);
    for (const Answered& a : all) {
        std::map<std::string, int> changes;
        for (size_t i = 0; i < a.answers.size(); ++i) {
            changes[a.outcome.proposedTo[i]] += a.answers[i] ? 1 : 0;
        }
        if (s.job == Job::Creation && a.outcome.created) {
            changes = {{"Nestnet", 1}, {"NESTNET", 1}};
        }
        AddStates(a.outcome.file, changes, &states);
    }
    // An entry that only a change made was absent before.
    const auto beforeTexts = EntryTexts(before);
    for (auto& entry : states) {
        if (beforeTexts.count(entry.first) == 0) {
            entry.second.emplace("", 0);
        }
    }
    return states;
}

// The changes the file holds (summed over entries), or -1 when an entry is in none of its
// states or an entry exists that none of the states has.
std::string WithoutPasswords(const std::string& text);

// With `withoutPasswords`, saved passwords are not compared.
int ChangesHeld(const EntryStates& states, const std::string& file, bool withoutPasswords = false) {
    auto texts = EntryTexts(file);
    for (auto& text : texts) {
        text.second = withoutPasswords ? WithoutPasswords(text.second) : text.second;
    }
    for (const auto& entry : texts) {
        if (states.count(entry.first) == 0) {
            return -1;
        }
    }
    int changes = 0;
    for (const auto& entry : states) {
        const auto found = texts.find(entry.first);
        const std::string text = found != texts.end() ? found->second : "";
        auto state = entry.second.begin();
        while (state != entry.second.end() &&
               (withoutPasswords ? WithoutPasswords(state->first) : state->first) != text) {
            ++state;
        }
        if (state == entry.second.end()) {
            return -1;
        }
        changes += state->second;
    }
    return changes;
}

// The file with every saved password left out.
std::string WithoutPasswords(const std::string& file) {
    SimPhonebookFile book = ParsePhonebook(file.data(), file.size());
    for (SimEntry& entry : book.entries) {
        entry.password[0] = '\0';
    }
    return FormatPhonebook(book);
}

bool IsWrite(const std::string& operation) {
    return operation.rfind("RasSet", 0) == 0 || operation.rfind("RasDelete", 0) == 0;
}

// A write that reports success having done nothing is a lie no caller can see without
// reading every write back; "nothing filled in" is a fault of the calls that fill in.
bool FillsSomethingIn(const std::string& operation) {
    return operation.rfind("RasGet", 0) == 0 || operation.rfind("RasEnum", 0) == 0;
}

// The message a refused write shows, or none for the one write whose refusal the form
// reports alone.
std::vector<unsigned> ExpectedForWrite(Job job, const std::string& operation, RasDword error) {
    if (job == Job::Creation) {
        // The form reports these alone (the general failure, or the default connection's).
        if (operation == "RasSetEntryDialParamsA" || operation == "RasSetAutodialAddressA") {
            return {};
        }
        return {EntryFailureMessage(error).textId};
    }
    return {ChangeFailureMessage(error).textId};
}

bool IsFailureReport(Job job, unsigned textId) {
    for (RasDword error : kFailures) {
        if (textId == (job == Job::Creation ? EntryFailureMessage(error).textId
                                            : ChangeFailureMessage(error).textId)) {
            return true;
        }
    }
    return textId == IDS_ENTRY_FAILED_OTHER || textId == IDS_PHONEBOOK_READ_FAILED ||
           textId == IDS_NO_DIALUP_ENTRIES || textId == IDS_ENTRIES_NOT_EXAMINED;
}

// Entry names compare without regard to the case of A-Z.
std::string Upper(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return name;
}

// Autodial is switched on, last, exactly for a created entry made the default connection,
// and where Windows can say which it dials, that is the new entry.
bool RegistryAsDecided(const Scenario& s, const Outcome& out) {
    const bool autodial =
        !out.registry.empty() && out.registry.back().find(":NoNetAutodial=") != std::string::npos;
    if (!s.makeDefault || !out.created) {
        return out.registry.empty() && !out.madeDefault;
    }
    return (s.registryRefuses ? out.registry.empty() : autodial == out.madeDefault) &&
           (!out.madeDefault || out.dialled == "-" || Upper(out.dialled) == "NESTNET");
}

struct SweepCounts {
    int calls = 0;
    int runs = 0;
    int mixed = 0;
    int combinations = 0;
    int passwordUnknown = 0;  // finished but for a password that never shows, and said so
    int unknowable = 0;       // runs left with a password nothing can read back
};

// The journal's folder as the kill mode needs it: counts its replaces, and ends the process
// at the `endAt`-th one, after writing only half of the new file beside the old one (torn)
// or after the new file took the old one's place (whole).
class EndingStore : public FolderJournalStore {
public:
    EndingStore(const std::string& folder, int endAt, bool whole)
        : FolderJournalStore(folder), endAt_(endAt), whole_(whole) {}
    bool Replace(const std::string& name, const std::string& bytes) override {
        if (++replaces == endAt_) {
            FolderJournalStore::Replace(whole_ ? name : name + ".new",
                                        whole_ ? bytes : bytes.substr(0, bytes.size() / 2));
            _exit(3);
        }
        return FolderJournalStore::Replace(name, bytes);
    }
    int replaces = 0;

private:
    int endAt_;
    bool whole_;
};

// The first write of a recovery, whichever it is, ends it.
const char kRecoveryEnd[] =
    "RasSetEntryPropertiesA#1:kill,RasDeleteEntryA#1:kill,RasSetCredentialsA#1:kill,"
    "RasSetEntryDialParamsA#1:kill";

// The exit status of `body` run in a child process (-1: it did not exit).
int InChild(const std::function<void()>& body) {
    fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Ended {
    std::string file;  // the phonebook after the recovery
    int status = 0;    // the child's: 3 when it was ended where it was told
    int open = 0;      // files that hold an open change, or cannot be read whole
    RecoveryReport report;
    std::set<std::string> changed;  // entries the recovery wrote
    std::string restored;           // the phonebook after the restore (none: as recovered)
};

// Runs the job in a child ended by `kill` (RASSIM_FAIL) or at the journal's `endAt`-th
// replace, then the start-up recovery (after a first one ended at its first write, with
// `twice`).
Ended EndAndRecover(const Scenario& s, OsClass osClass, const std::string& kill, int endAt,
                    bool whole, const std::vector<bool>& answers, bool twice) {
    MigrationHarness h;
    h.sim.ActAsWindowsOf(osClass);  // the same Windows before the end and at the next start
    RunAs(h, false);
    s.setUp(h);
    const std::string folder = h.folder().PathTo("journal");
    Ended out;
    out.status = InChild([&] {
        EndingStore store(folder, endAt, whole);
        Journal journal(&store, "20260101-000000");
        RunJobIn(h, s, osClass, kill.empty() ? nullptr : kill.c_str(), answers, true, &journal);
        _exit(store.replaces);  // how many there were, for a run not ended
    });
    FolderJournalStore store(folder);
    RunAs(h, true);
    const auto ended = EntryTexts(BooksOf(h));
    if (twice) {
        InChild([&] {
            ResetSimCallRecord(false);
            h.sim.Fail(kRecoveryEnd);
            RecoveryReport first;
            RecoverJournal(store, h.api(), osClass, &first);
        });
    }
    RecoverJournal(store, h.api(), osClass, &out.report);
    RunAs(h, false);
    out.file = BooksOf(h);
    const auto recovered = EntryTexts(out.file);
    std::vector<std::pair<std::string, std::string>> differ;
    std::set_symmetric_difference(ended.begin(), ended.end(), recovered.begin(), recovered.end(),
                                  std::back_inserter(differ));
    for (const auto& entry : differ) {
        // The name, without the "own:" of an entry of the user's own phonebook.
        out.changed.insert(Upper(entry.first.substr(entry.first.rfind(':') + 1)));
    }
    for (const std::string& name : store.List(kJournalSuffix)) {
        std::string bytes;
        JournalRun run;
        store.Read(name, &bytes);
        out.open += ParseJournalRun(bytes, &run) != JournalRead::Whole ||
                    bytes.find("outcome open") != std::string::npos;
        // Never a password the run typed; the saved one only where 9x hands it out anyway.
        // The scratch folder's random name, in the phonebook's path, may spell anything.
        for (size_t at; (at = bytes.find(h.folder().path())) != bytes.npos;)
            bytes.erase(at, h.folder().path().size());
        EXPECT_TRUE(bytes.find(kTyped) == bytes.npos &&
                    (!IsNtFamily(osClass) || bytes.find("secret") == bytes.npos))
            << name;
    }
    std::string bytes;
    if (store.Read(RunFileName(1), &bytes)) {
        RunAs(h, true);
        const KitRun restore =
            RunKit({"restore", "1", "--apply", "--journal=" + folder, "--phonebook=" + h.sim.path(),
                    IsNtFamily(osClass) ? "--os-class=nt" : "--os-class=9x"});
        RunAs(h, false);
        EXPECT_EQ(restore.status, 0) << restore.out;
        out.restored = BooksOf(h);
    }
    return out;
}

// The ending mode for one way of answering: each phonebook call of its clean run ended
// after it applied (once more with the recovery itself ended), then each replace of the
// journal's record ended torn and whole.
void EndEachCall(const Scenario& s, OsClass osClass, const Answered& a, const EntryStates& states,
                 const std::string& before, SweepCounts* counts) {
    const int replaces = EndAndRecover(s, osClass, "", 0, false, a.answers, false).status;
    struct Case {
        std::string kill;
        int endAt;
        bool whole;
        bool twice;
    };
    std::vector<Case> cases;
    std::map<std::string, int> seen;
    for (const std::string& operation : a.outcome.calls) {
        const std::string kill = operation + "#" + std::to_string(++seen[operation]) + ":kill";
        cases.push_back({kill, 0, false, false});
        cases.push_back({kill, 0, false, true});
        ++counts->calls;
    }
    for (int n = 1; n <= replaces; ++n) {
        cases.push_back({"", n, false, false});
        cases.push_back({"", n, true, false});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kill + " journal write " + std::to_string(c.endAt) +
                     (c.whole ? " whole" : " torn") + (c.twice ? ", recovery ended" : ""));
        ++counts->runs;
        const Ended out = EndAndRecover(s, osClass, c.kill, c.endAt, c.whole, a.answers, c.twice);
        EXPECT_EQ(out.status, 3) << "not ended where told";
        EXPECT_EQ(out.open, 0) << "left open in the journal";
        std::set<std::string> told;
        for (const std::string& name : out.report.putBack) {
            told.insert(Upper(name));
        }
        EXPECT_EQ(out.changed, told) << "put back and told differ";
        EXPECT_TRUE(out.report.leftAsIs.empty());
        if (!out.restored.empty()) {
            const char* typed = IsNtFamily(osClass) ? kTyped : nullptr;
            EXPECT_EQ(EntryTexts(ButTypedPassword(out.restored, before, typed)),
                      EntryTexts(ButTypedPassword(before, before, typed)))
                << "not as before after the restore";
        }
        if (ChangesHeld(states, out.file) < 0 && !out.report.partly.empty() &&
            ChangesHeld(states, out.file, true) >= 0) {
            ++counts->passwordUnknown;
        } else if (ChangesHeld(states, out.file) < 0) {
            ++counts->mixed;
            ADD_FAILURE() << "an entry is neither old nor new:\n" << out.file;
        }
    }
}

// One scenario at one class in either mode: failing each call, or ending the process there.
void SweepOne(const Scenario& s, OsClass osClass, bool ending, SweepCounts* counts) {
    std::string before;
    {
        MigrationHarness h;
        h.sim.ActAsWindowsOf(osClass);
        RunAs(h, false);
        s.setUp(h);
        before = BooksOf(h);
    }
    std::vector<Answered> all;
    Explore(s, osClass, {}, &all);
    const EntryStates states = StatesOf(s, before, all);
    std::vector<Answered> blindAll = all;
    for (Answered& a : blindAll) {
        a.outcome.file = WithoutPasswords(a.outcome.file);
    }
    const EntryStates blind = StatesOf(s, WithoutPasswords(before), blindAll);
    for (const Answered& a : all) {
        std::string answered;
        for (bool answer : a.answers) {
            answered += answer ? "y" : "n";
        }
        SCOPED_TRACE("answers " + answered);
        ++counts->combinations;
        if (ending) {
            EndEachCall(s, osClass, a, states, before, counts);
            continue;
        }
        const Outcome& clean = a.outcome;
        ASSERT_FALSE(clean.calls.empty());
        // A standard user is told of what only an administrator may change, and nothing else.
        for (const ShownMessage& m : clean.shown) {
            ASSERT_TRUE(g_standardUser && (m.textId == IDS_ENTRIES_NEED_ADMINISTRATOR ||
                                           m.textId == IDS_OVERWRITE_NEEDS_ADMINISTRATOR))
                << "message " << m.textId;
        }
        EXPECT_TRUE(RegistryAsDecided(s, clean));
        const int allChanges = ChangesHeld(states, clean.file);
        ASSERT_GE(allChanges, 0);
        if (s.job == Job::Migration) {
            ASSERT_EQ(clean.changedCount, allChanges);
        }

        std::map<std::string, int> seen;
        for (const std::string& operation : clean.calls) {
            const int ordinal = ++seen[operation];
            ++counts->calls;
            for (const FaultMode& mode : kModes) {
                if (!mode.available || (mode.readsOnly && !FillsSomethingIn(operation))) {
                    continue;
                }
                const size_t errors =
                    mode.takesError ? sizeof(kFailures) / sizeof(kFailures[0]) : 1;
                for (size_t e = 0; e < errors; ++e) {
                    const RasDword error = kFailures[e];
                    const std::string fail =
                        operation + "#" + std::to_string(ordinal) + mode.item +
                        (mode.takesError ? std::to_string(error) : std::string());
                    SCOPED_TRACE(fail);
                    ++counts->runs;
                    const Outcome out = RunJob(s, osClass, fail.c_str(), a.answers, true);
                    // The NT family never reveals a saved password: after a refused write
                    // of it whose user name tells nothing, the change stays, uncounted, the
                    // entry named for the subscriber to check; its password is either.
                    const bool unknowable =
                        IsNtFamily(osClass) && mode.takesError &&
                        operation == (s.job == Job::Migration ? "RasSetCredentialsA"
                                                              : "RasSetEntryDialParamsA") &&
                        std::any_of(out.shown.begin(), out.shown.end(), [](const ShownMessage& m) {
                            return m.textId == IDS_ENTRY_PARTLY_CHANGED;
                        });
                    const int changes = unknowable ? ChangesHeld(blind, WithoutPasswords(out.file))
                                                   : ChangesHeld(states, out.file);
                    if (changes < 0) {
                        ++counts->mixed;
                        ADD_FAILURE() << "an entry is neither old nor new:\n" << out.file;
                        continue;
                    }
                    if (unknowable) {
                        ++counts->unknowable;
                        EXPECT_EQ(out.changedCount, s.job == Job::Migration ? changes - 1 : 0);
                        EXPECT_GT(changes, 0) << "kept, not counted";
                        EXPECT_FALSE(out.created);
                    } else if (s.job == Job::Migration) {
                        EXPECT_EQ(out.changedCount, changes) << "counted as changed";
                    } else {
                        // Created exactly when the new entry is there (also when the old one
                        // vanished before the question and none was asked).
                        EXPECT_EQ(out.created, changes > 0);
                        EXPECT_TRUE(RegistryAsDecided(s, out));
                    }
                    // A standard user may also be told, as without the fault, of what only an
                    // administrator may change; the rest is as an administrator is told.
                    std::vector<unsigned> shown, asWithout;
                    for (const ShownMessage& m : out.shown) {
                        EXPECT_EQ(m.icon, MessageIcon::Warning);
                        const bool administrator = m.textId == IDS_ENTRIES_NEED_ADMINISTRATOR ||
                                                   m.textId == IDS_OVERWRITE_NEEDS_ADMINISTRATOR;
                        (administrator ? asWithout : shown).push_back(m.textId);
                    }
                    for (unsigned id : asWithout) {
                        EXPECT_TRUE(
                            std::any_of(clean.shown.begin(), clean.shown.end(),
                                        [id](const ShownMessage& m) { return m.textId == id; }))
                            << "message " << id;
                    }
                    if (!mode.checksMessages) {
                        continue;  // what is left behind is what counts
                    }
                    if (IsWrite(operation)) {
                        std::vector<unsigned> expected = ExpectedForWrite(s.job, operation, error);
                        if (unknowable) {
                            expected.push_back(IDS_ENTRY_PARTLY_CHANGED);
                        }
                        EXPECT_EQ(shown, expected);
                        // A standard user may have been told first what is not theirs.
                        const auto other = std::find_if(
                            out.shown.begin(), out.shown.end(), [](const ShownMessage& m) {
                                return m.textId == IDS_CHANGE_FAILED_OTHER;
                            });
                        if (!shown.empty() && shown[0] == IDS_CHANGE_FAILED_OTHER) {
                            EXPECT_EQ(other->number, static_cast<int>(error));
                        }
                    } else {
                        // A standard user's change refused for rights is put back; when that
                        // cannot read the entry, it is named as maybe partly changed.
                        const auto partly = std::count(shown.begin(), shown.end(),
                                                       unsigned{IDS_ENTRY_PARTLY_CHANGED});
                        EXPECT_LE(partly, g_standardUser ? 1 : 0);
                        EXPECT_LE(shown.size() - static_cast<size_t>(partly), 1u);
                        for (unsigned id : shown) {
                            EXPECT_TRUE(IsFailureReport(s.job, id) ||
                                        id == IDS_ENTRY_PARTLY_CHANGED)
                                << "message " << id;
                        }
                    }
                }
            }
        }
    }
}

// Each operating-system class as an administrator, and the newest as a standard user.
const std::pair<OsClass, bool> kPasses[] = {{6, false}, {8, false}, {9, false}, {9, true}};

void SweepAll(bool ending, SweepCounts* counts) {
    for (const auto& [osClass, standardUser] : kPasses) {
        g_standardUser = standardUser;
        for (const Scenario& s : kScenarios) {
            if (s.standardOnly && !standardUser) {
                continue;
            }
            SCOPED_TRACE(std::string(s.name) + ", class " + std::to_string(osClass) +
                         (standardUser ? ", standard user" : ""));
            SweepOne(s, osClass, ending, counts);
        }
        unsetenv("RASSIM_USER_PHONEBOOK");
    }
    g_standardUser = false;
}

TEST(FaultSweep, EveryFailureLeavesEachEntryOldOrNew) {
    SweepCounts counts;
    SweepAll(false, &counts);
    printf("fault sweep: %d combinations of answers, %d calls swept, %d runs, %d mixed states\n",
           counts.combinations, counts.calls, counts.runs, counts.mixed);
    printf("runs with a password nothing can read back: %d\n", counts.unknowable);
    EXPECT_EQ(counts.mixed, 0);
    // Each scenario at each of the four passes, answered in one way at least; each call
    // failed in turn, at least once.
    EXPECT_GE(counts.combinations, 4 * 12 + 1);
    EXPECT_GE(counts.calls, counts.combinations);
    EXPECT_GT(counts.runs, counts.calls);
}

TEST(FaultSweep, EveryEndOfTheProcessIsPutRightAtTheNextStart) {
    SweepCounts counts;
    SweepAll(true, &counts);
    printf(
        "kill sweep: %d combinations of answers, %d calls ended, %d runs, %d mixed states, "
        "%d told to check the password\n",
        counts.combinations, counts.calls, counts.runs, counts.mixed, counts.passwordUnknown);
    EXPECT_EQ(counts.mixed, 0);
    EXPECT_GE(counts.combinations, 4 * 12 + 1);
    EXPECT_GE(counts.calls, counts.combinations);
    EXPECT_GE(counts.runs, 2 * counts.calls) << "each call ended, and the recovery too";
}

}  // namespace
