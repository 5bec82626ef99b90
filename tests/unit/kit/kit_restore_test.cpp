// The support desk's restore over a migration's journal: the list, the dry run and the
// restore, an entry changed since the run left alone, the exit status, the usage errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../migrate/MigrationHarness.h"
#include "KitRun.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"

namespace {

TEST(KitRestore, PutsBackWhatTheRunChangedUnlessChangedSince) {
    MigrationHarness h;
    h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n");
    h.AddModemEntry("One", "", "0312345678", "Xone@dial.example");
    h.AddModemEntry("Two", "", "0312345678", "Xtwo@dial.example");
    const std::string folder = h.folder().PathTo("journal");
    {
        FolderJournalStore store(folder);
        Journal journal(&store, "20260101-000000");
        h.ui.otherAnswers = true;
        auto context = h.MakeContext(9);
        context->journal = &journal;
        context->RunMigration();
        ASSERT_EQ(context->changedCount, 2);
    }
    const char kRun[] = "20260101-000000";
    struct Step {
        std::vector<std::string> arguments;
        bool editTwoFirst;  // the subscriber changes Two's number before this step
        bool writes;        // the phonebook may change
        int status;
        const char* said;  // the output holds it
    } steps[] = {
        {{"--list"}, false, false, 0, "  [One] access-point: number 0312345678 -> 0120-11-1111"},
        {{kRun}, false, false, 0, "  [Two] would be put back: number 0120-11-1111 -> 0312345678"},
        {{kRun, "--dry-run"},
         true,
         false,
         1,
         "  [Two] skipped: changed since that run, not touched"},
        {{kRun, "--apply"}, false, true, 1, "  [One] put back: number 0312345678"},
        {{kRun, "--apply"}, false, false, 1, "  [One] already as it was"},
        {{"19990101-000000"}, false, false, 2, ""},
        {{}, false, false, 2, "no RUN given"},
        {{"--list", kRun}, false, false, 2, ""},
    };
    for (const Step& s : steps) {
        std::vector<std::string> arguments = {"restore", "--journal=" + folder,
                                              "--phonebook=" + h.sim.path(), "--os-class=nt"};
        arguments.insert(arguments.end(), s.arguments.begin(), s.arguments.end());
        SCOPED_TRACE(arguments.back());
        if (s.editTwoFirst) {
            h.EditEntry("Two", [](RASENTRYA& e) { CopyField(e.szLocalPhoneNumber, "0999"); });
        }
        const std::string now = h.sim.ReadFile();
        const KitRun run = RunKit(arguments);
        EXPECT_EQ(run.status, s.status) << run.out << run.err;
        EXPECT_NE((run.out + run.err).find(s.said), std::string::npos) << run.out << run.err;
        if (!s.writes) {
            EXPECT_EQ(h.sim.ReadFile(), now) << "written";
        }
    }
    // One is as it was (but for the password typed in the run, which stays as the
    // phonebook has it); Two keeps what the subscriber made of it.
    const StoredEntry one = h.Read("One");
    EXPECT_STREQ(one.properties.szLocalPhoneNumber, "0312345678");
    EXPECT_EQ(one.userName, "Xone@dial.example");
    EXPECT_STREQ(h.Read("Two").properties.szLocalPhoneNumber, "0999");
}

}  // namespace
