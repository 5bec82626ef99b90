// The support desk's restore and the start-up recovery over one journal: each kind of
// change, with its entry changed since in each way, is put back, or left as it is and told;
// the list, the dry run, the languages and the usage errors.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../migrate/MigrationHarness.h"
#include "../newconn/FakeRegistry.h"
#include "KitRun.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"
#include "newconn/EntryCreation.h"

namespace {

const char kOsaka[] = "\x82\xb3\x82\xad\x82\xe7\x91\xe5\x8d\xe3";  // さくら大阪

// Every change of the journal folder's run `file` made open again, its lock left, as an end
// of the process leaves them.
void Reopen(const std::string& folder, const std::string& file) {
    FolderJournalStore store(folder);
    std::string bytes;
    JournalRun run;
    ASSERT_TRUE(store.Read(file, &bytes));
    ASSERT_EQ(ParseJournalRun(bytes, &run), JournalRead::Whole);
    for (JournalChange& change : run.changes) {
        change.outcome = ChangeOutcome::Open;
    }
    store.Replace(file, FormatJournalRun(run));
    store.Replace(RunLockName(file), "");
}

TEST(KitRestore, EachKindChangedSinceInEachWayIsLeftAsItIsAndTold) {
    enum class Since { None, AsBefore, UserName, Number, Deleted, Remade };
    struct Kind {
        const char* what;
        const char* entry;
        bool existedBefore;
        std::vector<bool> answers;  // the migration's proposals (One, さくら大阪, Flets)
        bool create;                // the change is the creation of `entry`
        bool restore;               // the change is a restore of the migration
    } kinds[] = {
        {"creation of a new entry", "Nest", false, {}, true, false},
        {"creation over an entry", "One", true, {}, true, false},
        {"access-point change (area code)", kOsaka, true, {false, true, false}, false, false},
        {"user-name change", "Flets", true, {false, false, true}, false, false},
        {"restore", "One", true, {true, false, false}, false, true},
    };
    for (const Kind& k : kinds) {
        for (Since since : {Since::None, Since::AsBefore, Since::UserName, Since::Number,
                            Since::Deleted, Since::Remade}) {
            for (bool recovery : {false, true}) {
                SCOPED_TRACE(std::string(k.what) + ", since " + std::to_string(int(since)) +
                             (recovery ? ", recovery" : ", restore"));
                MigrationHarness h;
                h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n");
                h.AddModemEntry("One", "", "0312345678", "Xone@dial.example");
                h.AddModemEntry(kOsaka, "06", "9999-0000", "Xsakura@a.example");
                h.AddModemEntry("Flets", "", "0,03-5555-1492", "Xabc@old.example");
                const std::string folder = h.folder().PathTo("journal");
                std::string before = h.sim.ReadFile();
                {
                    FolderJournalStore store(folder);
                    Journal journal(&store, "20260101-000000");
                    auto context = h.MakeContext(9);
                    if (k.create) {
                        CreationInputs inputs{};
                        CopyField(inputs.entryName, k.entry);
                        CopyField(inputs.userName, "taro");
                        CopyField(inputs.domainText, "@dial.example");
                        CopyField(inputs.password, "pw2");
                        CopyField(inputs.accessPointNumber, "0570-000-111");
                        CopyField(inputs.modemName, "Standard 56000 bps Modem");
                        FakeRegistry registry;
                        ExistingEntry existing;
                        ASSERT_TRUE(ConfirmCreation(h.api(), h.user, inputs.entryName, &existing));
                        ASSERT_EQ(CreateEntry(inputs, existing, h.api(), h.folder(), h.user,
                                              registry, 9, &journal),
                                  Creation::Created);
                    } else {
                        h.ui.answers = k.answers;
                        context->journal = &journal;
                        context->RunMigration();
                        ASSERT_EQ(context->changedCount, 1);
                    }
                }
                std::string run = "1";
                if (k.restore) {
                    before = h.sim.ReadFile();
                    ASSERT_EQ(
                        RunKit({"restore", "--journal=" + folder, "--phonebook=" + h.sim.path(),
                                "--os-class=nt", "1", "--apply"})
                            .status,
                        0);
                    run = "2";
                }
                const bool nothing = since == Since::None;
                const bool asBefore =
                    since == Since::AsBefore || (since == Since::Deleted && !k.existedBefore);
                if (since == Since::AsBefore) {
                    h.sim.WriteFile(before);
                } else if (since == Since::UserName) {
                    ASSERT_EQ(WriteSavedUserName(h.api(), nullptr, k.entry, true, "hand@x.example"),
                              0u);
                } else if (since == Since::Number) {
                    h.EditEntry(k.entry,
                                [](RASENTRYA& e) { CopyField(e.szLocalPhoneNumber, "0999"); });
                } else if (since != Since::None) {
                    ASSERT_EQ(h.api().RasDeleteEntryA(nullptr, k.entry), 0u);
                    if (since == Since::Remade) {
                        h.AddModemEntry(k.entry, "", "0888", "hand@x.example");
                    }
                }
                const std::string now = h.sim.ReadFile();
                if (recovery) {
                    Reopen(folder, RunFileName(static_cast<uint32_t>(std::stoul(run))));
                    FolderJournalStore store(folder);
                    RecoveryReport report;
                    RecoverJournal(store, h.api(), 9, &report);
                    EXPECT_EQ(h.sim.ReadFile(), now) << "written";
                    EXPECT_EQ(report.leftAsIs, nothing || asBefore
                                                   ? std::vector<std::string>{}
                                                   : std::vector<std::string>{k.entry});
                    EXPECT_TRUE(report.putBack.empty() && report.partly.empty());
                    continue;
                }
                const KitRun restored =
                    RunKit({"restore", "--journal=" + folder, "--phonebook=" + h.sim.path(),
                            "--os-class=nt", "--lang=en", run, "--apply"});
                const std::string said = restored.out + restored.err;
                const bool putBack = nothing && !asBefore;
                EXPECT_EQ(restored.status, putBack || asBefore ? 0 : 1) << said;
                EXPECT_NE(said.find(putBack    ? (k.existedBefore ? "] put back" : "] removed")
                                    : asBefore ? "] already as it was"
                                               : "] skipped: changed since that run"),
                          std::string::npos)
                    << said;
                EXPECT_NE(
                    said.find(std::string("[") + (k.entry == kOsaka ? "さくら大阪" : k.entry)),
                    std::string::npos)
                    << said;
                EXPECT_EQ(ButTypedPassword(h.sim.ReadFile(), before, "pw2"),
                          ButTypedPassword(putBack ? before : now, before, "pw2"))
                    << said;
                if (putBack && k.create && k.existedBefore) {
                    EXPECT_NE(said.find("password typed during that run stays"), std::string::npos);
                }
            }
        }
    }
}

TEST(KitRestore, ListsDryRunsSpeaksBothLanguagesAndRefusesBadUse) {
    MigrationHarness h;
    h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n");
    h.AddModemEntry(kOsaka, "06", "9999-0000", "Xsakura@a.example");
    const std::string folder = h.folder().PathTo("journal");
    {
        FolderJournalStore store(folder);
        Journal journal(&store, "20260101-000000");
        h.ui.otherAnswers = true;
        auto context = h.MakeContext(9);
        context->journal = &journal;
        context->RunMigration();
        ASSERT_EQ(context->changedCount, 1);
    }
    const std::string made = h.sim.ReadFile();
    struct Step {
        std::vector<std::string> arguments;
        int status;
        const char* said;  // the output holds it
    } steps[] = {
        {{"--list", "--lang=en"},
         0,
         "1  (began 20260101-000000)  1 change(s)\n  [さくら大阪] access-point: number "
         "06-9999-0000 "
         "-> 0120-99-0000, user name \"Xsakura@a.example\" -> \"Xsakura@air.example\" (made)"},
        {{"1", "--lang=en"},
         0,
         "  [さくら大阪] would be put back: number 0120-99-0000 -> 06-9999-0000"},
        {{"1", "--lang=ja"}, 0, "  [さくら大阪] 元に戻せます: 番号 0120-99-0000 -> 06-9999-0000"},
        {{"--help"}, 0, "usage: dialnest-kit restore --list"},
        {{"19990101-000000"}, 2, "no run 19990101-000000"},
        {{}, 2, "no RUN given"},
        {{"--list", "1"}, 2, "--list takes no RUN"},
    };
    for (const Step& s : steps) {
        std::vector<std::string> arguments = {"restore", "--journal=" + folder,
                                              "--phonebook=" + h.sim.path(), "--os-class=nt"};
        arguments.insert(arguments.end(), s.arguments.begin(), s.arguments.end());
        SCOPED_TRACE(arguments.back());
        const KitRun run = RunKit(arguments);
        EXPECT_EQ(run.status, s.status) << run.out << run.err;
        EXPECT_NE((run.out + run.err).find(s.said), std::string::npos) << run.out << run.err;
        EXPECT_EQ(h.sim.ReadFile(), made) << "written";
    }
}

}  // namespace
