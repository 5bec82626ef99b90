// The journal's file format, and the recovery's cases that the kill sweep does not reach.
#include "journal/Journal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "journal/FolderJournalStore.h"
#include "res/resource.h"
#include "settings/ByteText.h"
#include "support/RecordingUserSide.h"
#include "support/SimPhonebook.h"

namespace {

// A change of an entry whose name has bytes to escape and code page 932 kept as is.
JournalRun SampleRun() {
    EntryRecord record;
    record.buffer.assign(2, RASENTRYA{});
    record.bufferSize = kRasEntrySize + 40;  // with alternate numbers
    record.structureSize = kRasEntrySize;
    memset(record.Entry(), 0x5A, record.bufferSize);
    JournalRun run{"20260101-000000",
                   {DescribeChange(ChangeKind::AccessPoint, "a%b\n\x01\x88\x9f", &record,
                                   "taro@old.example", record, "taro@new.example", 2, true)}};
    return run;
}

TEST(JournalRecord, ReadsBackWhatItWritesAndRefusesEveryBrokenFile) {
    using Bytes = std::string&;
    struct Case {
        const char* what;
        size_t properties;  // bytes of the properties after the change; 0: the sample's
        size_t userName;    // bytes of the user name before it; 0: the sample's
        int writesDone;
        std::function<void(Bytes)> edit;  // of the file's bytes
        JournalRead expected;
    } cases[] = {
        {"whole", 0, 0, 1, nullptr, JournalRead::Whole},
        {"properties of the largest entry", kMaxEntrySize, 0, 1, nullptr, JournalRead::Whole},
        {"properties one byte larger", kMaxEntrySize + 1, 0, 1, nullptr, JournalRead::Corrupted},
        {"user name of 256 bytes", 0, UNLEN, 1, nullptr, JournalRead::Whole},
        {"user name of 257 bytes", 0, UNLEN + 1, 1, nullptr, JournalRead::Corrupted},
        {"more writes done than made", 0, 0, 3, nullptr, JournalRead::Corrupted},
        {"empty", 0, 0, 1, [](Bytes b) { b.clear(); }, JournalRead::Truncated},
        {"header cut", 0, 0, 1, [](Bytes b) { b.resize(9); }, JournalRead::Truncated},
        {"check line lost", 0, 0, 1, [](Bytes b) { b.resize(b.rfind("check")); },
         JournalRead::Truncated},
        {"cut in the middle", 0, 0, 1, [](Bytes b) { b.resize(b.size() / 2); },
         JournalRead::Truncated},
        {"one byte changed", 0, 0, 1, [](Bytes b) { b[b.find("5A5A")] = '4'; },
         JournalRead::Corrupted},
        {"another program's file", 0, 0, 1, [](Bytes b) { b = "[journal]\n"; },
         JournalRead::Corrupted},
        {"later format", 0, 0, 1, [](Bytes b) { b.replace(0, 18, "Dialnest journal 2"); },
         JournalRead::FutureFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JournalRun run = SampleRun();
        JournalChange& change = run.changes[0];
        change.after.properties.resize(
            c.properties != 0 ? c.properties : change.after.properties.size(), 1);
        change.before.userName.resize(c.userName != 0 ? c.userName : change.before.userName.size(),
                                      'u');
        change.writesDone = c.writesDone;
        std::string bytes = FormatJournalRun(run);
        if (c.edit) {
            c.edit(bytes);
        }
        JournalRun read;
        EXPECT_EQ(ParseJournalRun(bytes, &read), c.expected);
        if (c.expected == JournalRead::Whole) {
            EXPECT_EQ(FormatJournalRun(read), bytes);
            EXPECT_EQ(read.changes[0].entryName, change.entryName);
        }
    }
}

TEST(JournalRecovery, RefusedPutBackStaysOpenUnreadableFilesAreToldOnceTenRunsKept) {
    SimPhonebook sim;
    FolderJournalStore store(sim.folder().PathTo("journal"));
    ASSERT_EQ(sim.AddModemEntry("Nest", "Standard 56000 bps Modem", "", "0312345678",
                                "taro@old.example", "secret"),
              0u);
    const std::string before = sim.ReadFile();
    for (int run = 10; run <= 21; ++run) {
        Journal old(&store, "202501" + std::to_string(run) + "-000000");
        old.Begin(JournalChange{});
        old.End(ChangeOutcome::Made);
    }
    store.Replace("run-20250000-000000.jnl", "Dialnest journal 9\n");
    // A change of the number, ended right after its properties were written.
    EntryRecord asRead;
    ASSERT_EQ(ReadEntryRecord(sim.api(), nullptr, "Nest", &asRead), 0u);
    EntryRecord changed = asRead;
    CopyField(changed.Entry()->szLocalPhoneNumber, "0570-000-111");
    Journal journal(&store, "20260101-000000");
    ASSERT_TRUE(
        journal.Begin(DescribeChange(ChangeKind::AccessPoint, "Nest", &asRead, "taro@old.example",
                                     changed, "taro@new.example", 2, false)));
    ASSERT_EQ(WriteEntryRecord(sim.api(), "Nest", changed), 0u);

    struct Start {
        const char* fail;
        size_t putBack, partly, unreadable;
        ChangeOutcome outcome;
    } starts[] = {
        {"RasSetEntryPropertiesA:621", 0, 1, 1, ChangeOutcome::Open},  // refused, told
        {nullptr, 1, 0, 0, ChangeOutcome::RolledBack},  // the bad file told only once
        {nullptr, 0, 0, 0, ChangeOutcome::RolledBack},
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(s.fail != nullptr ? s.fail : "no fault");
        sim.Fail(s.fail);
        RecoveryReport report;
        RecoverJournal(store, sim.api(), 8, &report);
        sim.Fail(nullptr);
        EXPECT_EQ(report.putBack.size(), s.putBack);
        EXPECT_EQ(report.partly.size(), s.partly);
        EXPECT_EQ(report.unreadable.size(), s.unreadable);
        std::string bytes;
        JournalRun run;
        store.Read(journal.FileName(), &bytes);
        ASSERT_EQ(ParseJournalRun(bytes, &run), JournalRead::Whole);
        EXPECT_EQ(run.changes[0].outcome, s.outcome);
    }
    EXPECT_EQ(sim.ReadFile(), before);
    // The newest ten whole runs are kept (the recovered one and the last nine before it);
    // the unreadable file is not touched.
    const auto files = store.List(kJournalSuffix);
    ASSERT_EQ(files.size(), 11u);
    EXPECT_EQ(files[0], "run-20250000-000000.jnl");
    EXPECT_EQ(files[1], "run-20250113-000000.jnl");
}

// The list of entries put back stays within 1024 bytes: "[name]" lines joined by line
// breaks, "..." in place of those beyond.
TEST(JournalRecovery, PutBackListWithinItsLimit) {
    struct Case {
        size_t lastNameSize;
        const char* ends;
    } cases[] = {
        {1024 - 2 * 1 - (1 + 500 + 2), "]"},  // exactly 1024 bytes
        {1024 - 2 * 1 - (1 + 500 + 2) + 1, "..."},
    };
    for (const Case& c : cases) {
        RecoveryReport report;
        report.putBack = {std::string(500, 'a'), std::string(c.lastNameSize, 'b')};
        RecordingUserSide user;
        TellRecovery(report, user);
        ASSERT_EQ(user.shown.size(), 1u);
        EXPECT_EQ(user.shown[0].textId, static_cast<unsigned>(IDS_JOURNAL_PUT_BACK));
        const std::string& list = user.shown[0].text;
        EXPECT_LE(list.size(), 1024u + 4);
        EXPECT_EQ(list.substr(list.size() - strlen(c.ends)), c.ends);
    }
}

}  // namespace
