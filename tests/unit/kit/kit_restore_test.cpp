// The support desk's restore over a migration's journal: the list, the dry run and the
// restore, an entry changed since the run left alone, the exit status, the usage errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../migrate/MigrationHarness.h"
#include "../newconn/FakeRegistry.h"
#include "KitRun.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"
#include "newconn/EntryCreation.h"
#include "sim/SimRasApi.h"
#include "sim/SimRegistry.h"
#include "sim/SimRegistryWriter.h"

namespace {

// The journal as Windows writes it: each phonebook by its Windows path (the user's own and
// all users' of Vista on and of XP), which a substitute file stands for, read as the records'
// Windows family whatever the substitute plays; a change Windows refused counted apart.
TEST(KitRestore, PutsBackWhatTheRunChangedUnlessChangedSince) {
    MigrationHarness h;
    h.WriteProviderKit(
        "UserPrefix,X\r\nOldDialupDomain,@dial.example\r\nSetDnsIpAddress,TRUE\r\n"
        "Dns1,192.0.2.53\r\nDns2,192.0.2.54\r\n");
    h.AddModemEntry("One", "", "0312345678", "Xone@dial.example");
    h.AddModemEntry("Two", "", "0312345678", "Xtwo@dial.example");
    h.AddModemEntry("\x82\xb3\x82\xad\x82\xe7\x91\xe5\x8d\xe3", "06", "9999-0000", "Xs@a.example");
    const std::string folder = h.folder().PathTo("journal");
    {
        FolderJournalStore store(folder);
        Journal journal(&store, "20261208-194119");
        h.ui.otherAnswers = true;
        auto context = h.MakeContext(9);
        context->journal = &journal;
        context->RunMigration();
        ASSERT_EQ(context->changedCount, 3);
        JournalRun run = journal.Run();
        run.changes.push_back(run.changes[1]);
        run.changes[3].entryName = "Theirs";
        run.changes[3].outcome = ChangeOutcome::Refused;
        const std::string pbk = "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
        const std::string books[] = {
            "C:\\Users\\taro\\AppData\\Roaming" + pbk, "C:\\ProgramData" + pbk,
            "C:\\Documents and Settings\\taro\\Application Data" + pbk,
            "C:\\Documents and Settings\\All Users\\Application Data" + pbk};
        for (size_t i = 0; i < 4; ++i) {
            run.changes[i].phonebook = books[i];
        }
        store.Replace(journal.FileName(), FormatJournalRun(run));
    }
    {  // The same run under the largest number a run has.
        FolderJournalStore store(folder);
        std::string bytes;
        ASSERT_TRUE(store.Read(RunFileName(1), &bytes));
        store.Replace(RunFileName(4294967295u), bytes);
    }
    setenv("RASSIM_WINVER", "98", 1);
    const char kRun[] = "1";
    struct Step {
        std::vector<std::string> arguments;
        bool editTwoFirst;  // the subscriber changes Two's number before this step
        bool writes;        // the phonebook may change
        int status;
        const char* said;  // the output holds it
    } steps[] = {
        {{"--list"}, false, false, 0, "19:41)  3 changes, and 1 refused by Windows"},
        {{"--list"}, false, false, 0, "0120-11-1111, name servers (none) -> 192.0.2.53"},
        {{"--list"}, false, false, 0, "[Two] access-point change in the phonebook of all users"},
        {{"--list"}, false, false, 0, "change in the user's own phonebook: number 06-"},
        {{"--list"}, false, false, 0, "[Theirs] access-point change in the phonebook of all"},
        {{"--list"}, false, false, 0, "192.0.2.54 (refused by Windows for lack of rights"},
        {{kRun}, false, false, 0, "changes of run 1, begun 2026-12-08 19:41 (dry run"},
        {{kRun}, false, false, 0, "users: nothing to do: Windows refused that change"},
        {{kRun}, false, false, 0, "0312345678, name servers 192.0.2.53, 192.0.2.54 -> (none)\n"},
        {{"--list"}, false, false, 0, "administrator)\n4294967295  (began 2026-12-08 19:41)"},
        {{"4294967295"}, false, false, 0, "[One] in the user's own phonebook: would be put back"},
        {{kRun, "--lang=ja"},
         false,
         false,
         0,
         "  [さくら大阪] ユーザー自身の電話帳: 元に戻せます: 番号 0120-99-0000 -> 06-9999-0000"},
        {{kRun, "--dry-run"}, true, false, 1, "[Two] in the phonebook of all users: skipped"},
        {{kRun, "--apply"}, false, true, 1, "[One] in the user's own phonebook: put back: number"},
        {{kRun, "--apply"},
         false,
         false,
         1,
         "[One] in the user's own phonebook: already as it was"},
        {{"19990101-000000"}, false, false, 2, "no run 19990101-000000 (see restore --list)"},
        {{"4294967296"}, false, false, 2, "no run 4294967296 "},  // past 32 bits: never run 0
        {{"4294967297"}, false, false, 2, "no run 4294967297 "},  // nor run 1
        {{}, false, false, 2, "no RUN given"},
        {{"--list", kRun}, false, false, 2, "--list takes no RUN"},
        {{"--help"}, false, false, 0, "usage: dialnest-kit restore --list"},
    };
    for (const Step& s : steps) {
        std::vector<std::string> arguments = {"restore", "--journal=" + folder,
                                              "--phonebook=" + h.sim.path()};
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
    h.sim.ActAsWindowsOf(9);
}

// Every change of run file `file` open again, and its lock left, as an end leaves them.
void Reopen(const std::string& folder, const std::string& file) {
    FolderJournalStore store(folder);
    std::string bytes;
    JournalRun run;
    ASSERT_TRUE(store.Read(file, &bytes) && ParseJournalRun(bytes, &run) == JournalRead::Whole);
    for (JournalChange& change : run.changes) {
        change.outcome = ChangeOutcome::Open;
    }
    store.Replace(file, FormatJournalRun(run));
    store.Replace(RunLockName(file), "");
}

// Each kind of change, its entry then changed in each way: the restore, and the recovery of
// it left open, put it back only from a state the change explains, else leave it and say so.
TEST(KitRestore, EachKindChangedSinceInEachWayIsLeftAsItIs) {
    enum Since { None, AsBefore, UserName, Number, Deleted, Remade };
    const char* kinds[] = {"creation", "creation over One", "One's number", "Flets's user name",
                           "restore of One's number"};
    for (int row = 0; row < 5 * 6 * 2; ++row) {
        const int kind = row / 12, since = row / 2 % 6;
        const bool recovery = row % 2 == 1;
        SCOPED_TRACE(std::string(kinds[kind]) + ", since " + std::to_string(since) +
                     (recovery ? ", recovery" : ", restore"));
        MigrationHarness h;
        h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n");
        h.AddModemEntry("One", "", "0312345678", "Xone@dial.example");
        h.AddModemEntry("Flets", "", "0,03-5555-1492", "Xabc@old.example");
        const char* entry = kind == 0 ? "Nest" : kind == 3 ? "Flets" : "One";
        const std::string folder = h.folder().PathTo("journal");
        const auto restore = [&](uint32_t run) {
            return RunKit({"restore", std::to_string(run), "--apply", "--os-class=nt",
                           "--journal=" + folder, "--phonebook=" + h.sim.path()});
        };
        std::string before = h.sim.ReadFile();
        {
            FolderJournalStore store(folder);
            Journal journal(&store, "20260101-000000");
            auto context = h.MakeContext(9);
            context->journal = &journal;
            h.ui.answers = {kind != 3, kind == 3};
            CreationInputs in{"", "taro", "@dial.example", "pw2", "0570", "M", false, false};
            CopyField(in.entryName, entry);
            FakeRegistry registry;
            ExistingEntry existing;
            if (kind >= 2) {
                context->RunMigration();
            } else if (ConfirmCreation(h.api(), 9, h.user, entry, &existing)) {
                EXPECT_EQ(
                    CreateEntry(in, existing, h.api(), h.folder(), h.user, registry, 9, &journal),
                    Creation::Created);
            }
        }
        const uint32_t run = kind == 4 ? 2 : 1;
        if (kind == 4) {
            before = h.sim.ReadFile();
            ASSERT_EQ(restore(1).status, 0);
        }
        if (since == AsBefore) {
            h.sim.WriteFile(before);
        } else if (since == UserName) {
            ASSERT_EQ(WriteSavedUserName(h.api(), nullptr, entry, true, "hand@x.example"), 0u);
        } else if (since == Number) {
            h.EditEntry(entry, [](RASENTRYA& e) { CopyField(e.szLocalPhoneNumber, "0999"); });
        } else if (since != None) {
            ASSERT_EQ(h.api().RasDeleteEntryA(nullptr, entry), 0u);
            if (since == Remade) {
                h.AddModemEntry(entry, "", "0888", "hand@x.example");
            }
        }
        const std::string now = h.sim.ReadFile();
        const bool asBefore = since == AsBefore || (since == Deleted && kind == 0);
        if (recovery) {
            Reopen(folder, RunFileName(run));
            FolderJournalStore store(folder);
            RecoveryReport report;
            RecoverJournal(store, h.api(), 9, &report);
            EXPECT_EQ(h.sim.ReadFile(), now) << "written";
            EXPECT_EQ(report.leftAsIs.size(), since == None || asBefore ? 0u : 1u);
            EXPECT_TRUE(report.putBack.empty() && report.partly.empty());
            continue;
        }
        const KitRun r = restore(run);
        const bool putBack = since == None;
        EXPECT_EQ(r.status, putBack || asBefore ? 0 : 1) << r.out;
        EXPECT_NE(r.out.find(putBack    ? (kind == 0 ? "users: removed" : "users: put back")
                             : asBefore ? "users: already as it was"
                                        : "users: skipped: changed since that run"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(ButTypedPassword(h.sim.ReadFile(), before, "pw2"),
                  ButTypedPassword(putBack ? before : now, before, "pw2"));
        EXPECT_EQ(r.out.find("check it with the subscriber") != std::string::npos,
                  putBack && kind == 1);
    }
}

// A run that made its entry the default connection: the restore puts back the default it
// found, or removes the one naming the entry it removes, and autodial as it was; a default
// changed since is left. Before XP the registry value stands for it.
TEST(KitRestore, PutsBackTheDefaultConnectionTheRunFound) {
    struct Case {
        OsClass osClass;
        const char* before;  // the user's own default before the run ("": none)
        int enable;          // EnableAutodial before (-1: none)
        const char* since;   // afterwards: "-" the old default's entry deleted, a name the
                             // default set to, "" nothing
        bool apply;
        const char* said;
        const char* after;  // the default afterwards
    } cases[] = {
        {9, "Old", -1, "", true, "default connection: \"Old\" again", "Old"},
        {9, "", 0, "", true, "(it named [Nest]): there was none before", ""},
        {9, "Old", -1, "-", true, ": \"Old\", the default before that run, is gone", ""},
        {9, "Old", -1, "Other", true, "changed since that run, left as it is", "Other"},
        {9, "Old", -1, "", false, "would be \"Old\" again", "Nest"},
        {6, "Old", 1, "", true, "default connection: \"Old\" again", "Old"},
        {8, "", -1, "", true, "there was none before that run", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        MigrationHarness h;
        h.sim.ActAsWindowsOf(c.osClass);
        h.AddModemEntry("Old", "", "0311112222", "old@old.example");
        h.AddModemEntry("Other", "", "0322223333", "o@other.example");
        h.folder().Write(
            SimPhonebook::kRegistryFileName,
            "[HKCU\\RemoteAccess]\r\n" +
                (c.before[0] ? "InternetProfile=sz:" + std::string(c.before) + "\r\n" : "") +
                "[HKLM\\" + kAutodialDefaultKey + "]\r\n[HKCU\\" + kInternetSettingsKey + "]\r\n" +
                (c.enable < 0 ? "" : "EnableAutodial=dword:" + std::to_string(c.enable) + "\r\n"));
        SimRegistryWriter registry;
        const std::string folder = h.folder().PathTo("journal");
        {
            FolderJournalStore store(folder);
            Journal journal(&store, "20260101-000000");
            CreationInputs in{"Nest", "taro", "@dial.example", "pw2", "0570", "M", false, true};
            ExistingEntry existing;
            ASSERT_TRUE(ConfirmCreation(h.api(), c.osClass, h.user, "Nest", &existing));
            ASSERT_EQ(CreateEntry(in, existing, h.api(), h.folder(), h.user, registry, c.osClass,
                                  &journal),
                      Creation::Created);
        }
        const std::string other = std::string("sz:") + c.since;
        if (c.since[0] == '-') {
            ASSERT_EQ(h.api().RasDeleteEntryA(nullptr, "Old"), 0u);
        } else if (c.since[0] != '\0') {
            WriteSimRegistryFile(SimHive::CurrentUser, kRemoteAccessKey, "InternetProfile", &other);
        }
        const KitRun r = RunKit({"restore", "1", c.apply ? "--apply" : "--dry-run",
                                 c.osClass > 6 ? "--os-class=nt" : "--os-class=9x",
                                 "--journal=" + folder, "--phonebook=" + h.sim.path()});
        EXPECT_NE(r.out.find(c.said), std::string::npos) << r.out;
        std::string dialled = "sz:";
        if (c.osClass == 9) {
            RASAUTODIALENTRYA entry = {sizeof entry, 0, 0, {}};
            RasDword bytes = sizeof entry, count = 0;
            ASSERT_EQ(RasGetAutodialAddressA(nullptr, nullptr, &entry, &bytes, &count), 0u);
            dialled += count == 1 ? entry.szEntry : "";
        } else {
            ReadSimRegistryFile(SimHive::CurrentUser, kRemoteAccessKey, "InternetProfile",
                                &dialled);
        }
        EXPECT_EQ(dialled, std::string("sz:") + c.after);
        std::string autodial = "none";
        ReadSimRegistryFile(SimHive::CurrentUser, kInternetSettingsKey, "EnableAutodial",
                            &autodial);
        EXPECT_EQ(autodial, !c.apply || c.since[0] > '-' ? "dword:1"
                            : c.enable < 0               ? "none"
                                                         : "dword:" + std::to_string(c.enable));
    }
}

}  // namespace
