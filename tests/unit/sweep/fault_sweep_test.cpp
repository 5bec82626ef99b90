// The fault sweep: each job runs once against the substitute phonebook, recording every
// phonebook call; then once per recorded call and per failure number, with exactly that call
// failing. After every run each entry must be as it was, or as a completed change left it,
// never in between; the counts and messages must say what really happened.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../migrate/MigrationHarness.h"
#include "../newconn/FakeRegistry.h"
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

const char kModem[] = "Standard 56000 bps Modem";
const char kKitSettings[] = "UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n";

enum class Job { Creation, Migration };

struct Scenario {
    const char* name;
    Job job;
    OsClass osClass;
    std::function<void(MigrationHarness&)> setUp;  // entries, and for a migration the kit
    bool makeDefault;                              // creation: make it the default connection
};

// Each entry's text in the phonebook file, by name; an entry that is not there has none.
std::map<std::string, std::string> EntryTexts(const std::string& file) {
    const SimPhonebookFile book = ParsePhonebook(file.data(), file.size());
    std::map<std::string, std::string> texts;
    for (const SimEntry& entry : book.entries) {
        SimPhonebookFile one;
        one.entries.push_back(entry);
        texts[entry.name] = FormatPhonebook(one);
    }
    return texts;
}

// What one run did.
struct Outcome {
    std::string file;
    std::vector<ShownMessage> shown;
    std::vector<std::string> proposedTo;  // the entry of each proposal, in order
    int changedCount = 0;
    int foundCount = 0;
    bool created = false;
    bool registryWritten = false;
};

// Runs the job, with `fail` as RASSIM_FAIL; the user answers the proposals in turn with
// `answers` (yes to any further one).
Outcome RunJob(const Scenario& s, const char* fail, const std::vector<bool>& answers = {}) {
    MigrationHarness h;
    s.setUp(h);
    Outcome out;
    h.ui.answers = answers;
    h.ui.otherAnswers = true;
    h.ui.editAccessPoint = [&](AccessPointChangeFields& f) {
        out.proposedTo.push_back(f.entryName);
        f.editPassword = 1;  // a new password, so that both records really change
        CopyField(f.password, "pw2");
    };
    h.ui.editUserName = [&](UserNameChangeFields& f) {
        out.proposedTo.push_back(f.entryName);
        f.editModem = 1;  // a new modem, so that a user-name change writes both records
        CopyField(f.modemName, "Other Modem");
    };
    ResetSimCallRecord(fail == nullptr);
    h.sim.Fail(fail);
    if (s.job == Job::Creation) {
        CreationInputs inputs{};
        CopyField(inputs.entryName, "Nestnet");
        CopyField(inputs.userName, "taro");
        CopyField(inputs.domainText, "@dial.example");
        CopyField(inputs.password, "secret");
        CopyField(inputs.accessPointNumber, "0570-000-111");
        CopyField(inputs.modemName, kModem);
        inputs.makeDefault = s.makeDefault;
        FakeRegistry registry;
        registry.AddKey(RegistryRoot::CurrentUser, kRemoteAccessKey);
        out.created = CreateEntry(inputs, h.api(), h.folder(), h.user, registry, s.osClass);
        out.registryWritten = !registry.writes.empty();
    } else {
        auto context = h.MakeContext(s.osClass);
        context->RunMigration();
        out.changedCount = context->changedCount;
        out.foundCount = context->foundCount;
    }
    h.sim.Fail(nullptr);
    out.file = h.sim.ReadFile();
    out.shown = h.user.shown;
    return out;
}

void KitAnd(MigrationHarness& h, const std::string& settings) {
    h.WriteProviderKit(settings);
}

const Scenario kScenarios[] = {
    {"creation of a new entry", Job::Creation, 8,
     [](MigrationHarness& h) { h.AddModemEntry("Other", "03", "1234", "o@other.example"); }, false},
    {"creation over an entry of that name", Job::Creation, 8,
     [](MigrationHarness& h) { h.AddModemEntry("NESTNET", "", "0000", "old@old.example"); }, false},
    {"creation over it as the default connection, 9x", Job::Creation, 6,
     [](MigrationHarness& h) { h.AddModemEntry("NESTNET", "", "0000", "old@old.example"); }, true},
    {"general table", Job::Migration, 8,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("General", "", "0,0312345678#", "Xabc@dial.example");
     },
     false},
    {"PHS table", Job::Migration, 8,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Phs", "", "07011112222", "Xabc@m.example");
     },
     false},
    {"PHS table, 9x", Job::Migration, 6,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Phs", "", "07011112222", "Xabc@m.example");
     },
     false},
    {"pair table", Job::Migration, 8,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Pair", "06", "9999-0000", "Xabc@a.example");
     },
     false},
    {"Flets ISDN user name", Job::Migration, 8,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("Flets", "", "0,03-5555-1492", "Xabc@old.example");
     },
     false},
    {"both proposals on one entry, 9x", Job::Migration, 6,
     [](MigrationHarness& h) {
         KitAnd(h, "UserPrefix,X\r\nOldDialupDomain,@old.example\r\n");
         h.AddModemEntry("Both", "", "1111492", "Xabc@old.example");
     },
     false},
    {"several entries", Job::Migration, 8,
     [](MigrationHarness& h) {
         KitAnd(h, kKitSettings);
         h.AddModemEntry("General", "", "0312345678", "Xabc@dial.example");
         h.AddModemEntry("Other provider", "", "0312345678", "yabc@dial.example");
         h.AddModemEntry("Isdn", "", "0312345678", "Xabc@dial.example");
         h.EditEntry("Isdn", [](RASENTRYA& e) { CopyField(e.szDeviceType, "isdn"); });
         h.AddModemEntry("Phs", "", "07011112222", "Xabc@m.example");
     },
     false},
};

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
        const auto counted = changes.find(name);
        (*states)[name].emplace(found != texts.end() ? found->second : "",
                                counted != changes.end() ? counted->second : 0);
    }
}

EntryStates StatesOf(const Scenario& s, const std::string& before, const Outcome& clean) {
    EntryStates states;
    AddStates(before, {}, &states);
    if (s.job == Job::Creation) {
        AddStates(clean.file, {{"Nestnet", 1}, {"NESTNET", 1}}, &states);
    }
    const size_t proposals = s.job == Job::Migration ? clean.proposedTo.size() : 0;
    for (unsigned mask = 1; mask < (1u << proposals); ++mask) {
        std::vector<bool> answers;
        std::map<std::string, int> changes;
        for (size_t i = 0; i < proposals; ++i) {
            answers.push_back((mask >> i) & 1u);
            changes[clean.proposedTo[i]] += (mask >> i) & 1u;
        }
        const Outcome run = RunJob(s, nullptr, answers);
        EXPECT_EQ(run.changedCount, static_cast<int>(__builtin_popcount(mask)));
        AddStates(run.file, changes, &states);
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
int ChangesHeld(const EntryStates& states, const std::string& file) {
    const auto texts = EntryTexts(file);
    for (const auto& entry : texts) {
        if (states.count(entry.first) == 0) {
            return -1;
        }
    }
    int changes = 0;
    for (const auto& entry : states) {
        const auto found = texts.find(entry.first);
        const auto state = entry.second.find(found != texts.end() ? found->second : "");
        if (state == entry.second.end()) {
            return -1;
        }
        changes += state->second;
    }
    return changes;
}

bool IsWrite(const std::string& operation) {
    return operation.rfind("RasSet", 0) == 0 || operation.rfind("RasDelete", 0) == 0;
}

// The message a refused write shows, or none for the one write whose refusal the form
// reports alone.
std::vector<unsigned> ExpectedForWrite(Job job, const std::string& operation, RasDword error) {
    if (job == Job::Creation) {
        if (operation == "RasSetEntryDialParamsA") {
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
           textId == IDS_NO_DIALUP_ENTRIES;
}

TEST(FaultSweep, EveryFailureLeavesEachEntryOldOrNew) {
    int callsSwept = 0;
    int runs = 0;
    int mixed = 0;
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        std::string before;
        {
            MigrationHarness h;
            s.setUp(h);
            before = h.sim.ReadFile();
        }
        const Outcome clean = RunJob(s, nullptr);
        const std::vector<std::string> calls = SimCallRecord();
        ASSERT_FALSE(calls.empty());
        ASSERT_TRUE(clean.shown.empty());
        const EntryStates states = StatesOf(s, before, clean);
        const int allChanges = ChangesHeld(states, clean.file);
        ASSERT_GT(allChanges, 0);
        if (s.job == Job::Migration) {
            ASSERT_EQ(clean.changedCount, allChanges);
        }

        std::map<std::string, int> seen;
        for (const std::string& operation : calls) {
            const int ordinal = ++seen[operation];
            ++callsSwept;
            for (RasDword error : kFailures) {
                const std::string fail =
                    operation + "#" + std::to_string(ordinal) + ":" + std::to_string(error);
                SCOPED_TRACE(fail);
                ++runs;
                const Outcome out = RunJob(s, fail.c_str());
                const int changes = ChangesHeld(states, out.file);
                if (changes < 0) {
                    ++mixed;
                    ADD_FAILURE() << "an entry is neither old nor new:\n" << out.file;
                    continue;
                }
                if (s.job == Job::Migration) {
                    EXPECT_EQ(out.changedCount, changes) << "counted as changed";
                } else {
                    EXPECT_EQ(out.created, changes == allChanges);
                    EXPECT_EQ(out.registryWritten, s.makeDefault && out.created);
                }
                std::vector<unsigned> shown;
                for (const ShownMessage& m : out.shown) {
                    EXPECT_EQ(m.icon, MessageIcon::Warning);
                    shown.push_back(m.textId);
                }
                if (IsWrite(operation)) {
                    EXPECT_EQ(shown, ExpectedForWrite(s.job, operation, error));
                    if (!shown.empty() && shown[0] == IDS_CHANGE_FAILED_OTHER) {
                        EXPECT_EQ(out.shown[0].number, static_cast<int>(error));
                    }
                } else {
                    EXPECT_LE(shown.size(), 1u);
                    for (unsigned id : shown) {
                        EXPECT_TRUE(IsFailureReport(s.job, id)) << "message " << id;
                    }
                }
            }
        }
    }
    printf("fault sweep: %d calls swept, %d runs, %d mixed states\n", callsSwept, runs, mixed);
    EXPECT_EQ(mixed, 0);
}

}  // namespace
