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
    const std::string before = h.sim.ReadFile();
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
    const std::string migrated = h.sim.ReadFile();
    const std::vector<std::string> options = {"--journal=" + folder, "--phonebook=" + h.sim.path(),
                                              "--os-class=nt"};
    auto restore = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "restore");
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunKit(arguments);
    };
    struct Step {
        const char* what;
        std::vector<std::string> arguments;
        bool editTwoFirst;  // the subscriber changes Two's number before this step
        int status;
        std::vector<std::string> said;  // lines the output holds
    } steps[] = {
        {"list",
         {"--list"},
         false,
         0,
         {"20260101-000000  2 change(s)", "  [One] access-point: number 0312345678 -> "}},
        {"dry run",
         {"20260101-000000"},
         false,
         0,
         {"  [Two] would be put back", "  [One] would be put back"}},
        {"dry run after Two changed",
         {"20260101-000000", "--dry-run"},
         true,
         1,
         {"  [Two] skipped: changed since that run", "  [One] would be put back"}},
        {"apply",
         {"20260101-000000", "--apply"},
         false,
         1,
         {"  [Two] skipped", "  [One] put back: number 0312345678, user name Xone@dial.example"}},
        {"apply again", {"20260101-000000", "--apply"}, false, 1, {"  [One] already as it was"}},
        {"no such run", {"19990101-000000"}, false, 2, {}},
        {"no run", {}, false, 2, {}},
        {"list with a run", {"--list", "20260101-000000"}, false, 2, {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.editTwoFirst) {
            h.EditEntry("Two", [](RASENTRYA& e) { CopyField(e.szLocalPhoneNumber, "0999"); });
        }
        const std::string now = h.sim.ReadFile();
        const KitRun run = restore(s.arguments);
        EXPECT_EQ(run.status, s.status) << run.out << run.err;
        for (const std::string& line : s.said) {
            EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
        }
        if (std::string(s.what) != "apply") {
            EXPECT_EQ(h.sim.ReadFile(), now) << "written by " << s.what;
        }
    }
    // One is as it was (but for the password typed in the run, which stays as the
    // phonebook has it); Two keeps what the subscriber made of it.
    const StoredEntry one = h.Read("One");
    EXPECT_STREQ(one.properties.szLocalPhoneNumber, "0312345678");
    EXPECT_EQ(one.userName, "Xone@dial.example");
    EXPECT_STREQ(h.Read("Two").properties.szLocalPhoneNumber, "0999");
    EXPECT_NE(before, migrated);
}

}  // namespace
