// The journal's file format, and the recovery's cases that the kill sweep does not reach.
#include "journal/Journal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
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
        {"later format", 0, 0, 1, [](Bytes b) { b.replace(0, 18, "Dialnest journal 4"); },
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

// Open changes of ended runs only, newest first (also across runs); one left open, or held
// by a live run, keeps its run and holds back older changes of its entry; unreadable files
// told once; runs kept by sequence, not clock; two journals begun at once never share a file.
TEST(JournalRecovery, EndedRunsOnlyNewestFirstOpenOnesKeptEachToldOnce) {
    SimPhonebook sim;
    FolderJournalStore store(sim.folder().PathTo("journal"));
    ASSERT_EQ(sim.AddModemEntry("Nest", "M", "", "0311", "u0", "secret"), 0u);
    ASSERT_EQ(sim.AddModemEntry("Live", "M", "", "0321", "u0", "secret"), 0u);
    ASSERT_EQ(sim.AddModemEntry("Both", "M", "", "0331", "u0", "secret"), 0u);
    auto numbered = [&](const char* name, const char* number) {
        EntryRecord record;
        EXPECT_EQ(ReadEntryRecord(sim.api(), 9, nullptr, name, &record), 0u);
        CopyField(record.Entry()->szLocalPhoneNumber, number);
        return record;
    };
    auto change = [&](const char* name, const char* from, const char* fromUser, const char* to,
                      const char* toUser) {
        const EntryRecord before = numbered(name, from);
        return DescribeChange(ChangeKind::AccessPoint, name, &before, fromUser, numbered(name, to),
                              toUser, 2, false);
    };
    {  // Two changes of Nest, ended after the second one's properties were written.
        Journal oldest(&store, "20300101-000000");
        ASSERT_TRUE(oldest.Begin(change("Nest", "0311", "u0", "0312", "u1")));
        ASSERT_TRUE(oldest.Begin(change("Nest", "0312", "u1", "0313", "u2")));
    }
    EntryRecord partWay = numbered("Nest", "0313");
    ASSERT_EQ(WriteEntryRecord(sim.api(), "Nest", partWay), 0u);
    ASSERT_EQ(WriteSavedUserName(sim.api(), nullptr, "Nest", true, "u1"), 0u);
    store.Replace("run-20250101-000000.jnl", "Dialnest journal 9\n");  // oldest of all
    for (int run = 0; run < 12; run += 2) {
        Journal one(&store, "20300101-000001"), other(&store, "20300101-000001");
        ASSERT_TRUE(one.Begin(JournalChange{}) && other.Begin(JournalChange{}));
        EXPECT_NE(one.FileName(), other.FileName());
        one.End(ChangeOutcome::Made);
        other.End(ChangeOutcome::Made);
    }
    {  // Two ended runs that changed Both, the newer ended after its properties were written;
       // the older one also made the change of Live that the live run below changes again.
        Journal older(&store, "20300101-000002"), newer(&store, "20300101-000003");
        ASSERT_TRUE(older.Begin(change("Both", "0331", "u0", "0332", "u1")));
        ASSERT_TRUE(older.Begin(change("Live", "0320", "u9", "0321", "u0")));
        ASSERT_TRUE(newer.Begin(change("Both", "0332", "u1", "0333", "u2")));
    }
    EntryRecord bothPartWay = numbered("Both", "0333");
    ASSERT_EQ(WriteEntryRecord(sim.api(), "Both", bothPartWay), 0u);
    ASSERT_EQ(WriteSavedUserName(sim.api(), nullptr, "Both", true, "u1"), 0u);
    store.Replace(RunFileName(99), "Dialnest journal 1\ncut");  // its lock left: ended torn
    store.Replace(RunLockName(RunFileName(99)), "");
    store.Replace(RunFileName(98) + ".new", "Dialnest");  // ended in its first replace
    store.Replace(RunLockName(RunFileName(98)), "");
    std::unique_ptr<Journal> live(new Journal(&store, "20260101-000000"));
    ASSERT_TRUE(live->Begin(change("Live", "0321", "u0", "0322", "u1")));
    EntryRecord livePartWay = numbered("Live", "0322");
    ASSERT_EQ(WriteEntryRecord(sim.api(), "Live", livePartWay), 0u);

    struct Start {
        const char* fail;
        bool liveEnds;
        std::vector<unsigned> told;  // the messages
        const char *nest, *live, *both;
        size_t runsLeft;
        uint32_t oldestLeft;  // then the rest up to 15, 99 (the torn one), 100 (the live one)
    } starts[] = {
        {"RasSetEntryPropertiesA:621",
         false,
         {IDS_ENTRY_PARTLY_CHANGED, IDS_ENTRY_PARTLY_CHANGED, IDS_JOURNAL_UNREADABLE},
         "0313",
         "0322",
         "0333",
         14,
         1},
        {nullptr, false, {IDS_JOURNAL_PUT_BACK}, "0312", "0322", "0332", 12, 6},
        {nullptr, true, {IDS_JOURNAL_PUT_BACK}, "0312", "0321", "0332", 10, 8},
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(s.fail != nullptr ? s.fail : s.liveEnds ? "the live run ended" : "no fault");
        if (s.liveEnds) {
            live.reset();
        }
        sim.Fail(s.fail);
        RecoveryReport report;
        RecoverJournal(store, sim.api(), 9, &report);
        sim.Fail(nullptr);
        RecordingUserSide user;
        TellRecovery(report, user);
        std::vector<unsigned> told;
        for (const ShownMessage& m : user.shown) {
            told.push_back(m.textId);
        }
        EXPECT_EQ(told, s.told);
        for (const char* number : {s.nest, s.live, s.both}) {  // each entry's numbers are its own
            EXPECT_NE(sim.ReadFile().find("LocalPhoneNumber=" + std::string(number) + "\r\n"),
                      std::string::npos);
        }
        const std::vector<std::string> left = ListRuns(store);
        EXPECT_EQ(left.size(), s.runsLeft);
        EXPECT_EQ(RunSequence(left[0]), s.oldestLeft);
        EXPECT_TRUE(store.List(".new").empty());
    }
}

// A start keeps the ten newest closed runs and removes 500 at most: of 11 one goes, of 510
// all 500 beyond the ten, of 511 one of those stays.
TEST(JournalRecovery, RemovesFiveHundredRunsAtMostAtAStart) {
    const std::pair<uint32_t, size_t> cases[] = {{11, 10}, {510, 10}, {511, 11}};
    for (const auto& [runs, left] : cases) {
        SimPhonebook sim;
        FolderJournalStore store(sim.folder().PathTo("journal"));
        for (uint32_t run = 1; run <= runs; ++run) {
            store.Replace(RunFileName(run), "closed, never read");
        }
        RecoveryReport report;
        RecoverJournal(store, sim.api(), 9, &report);
        EXPECT_EQ(ListRuns(store).size(), left) << runs;
        EXPECT_EQ(ListRuns(store).back(), RunFileName(runs));
    }
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

// Stages the record alone must tell apart: a password the 9x family shows, saved since an
// end, is no state of the change; a restore ended after its last write, or after removing
// a made entry, is made; a creation read back after its properties is part-way, ids and all.
TEST(JournalRecovery, StageOfStatesOnlyTheRecordExplains) {
    const auto record = [](const char* number) {
        EntryRecord r;
        r.buffer.assign(1, WritableEntry(number));
        r.bufferSize = r.structureSize = kRasEntrySize;
        return r;
    };
    const EntryRecord old = record("0311"), made = record("0312");
    struct Case {
        const char* what;
        bool nt;
        bool creation;       // else a change of "0311", "u0" (password "old" on 9x)
        const char* user;    // the change's user name
        bool typed;          // it saves a password typed in the run
        bool restore;        // the restore's record of putting the change, as made, back
        const char* number;  // the entry now (null: gone)
        const char* nowUser;
        const char* password;  // saved now, as 9x shows it
        ChangeStage expected;
        const char* windows = nullptr;  // the entry written and read at this Windows
        bool listGone = false;          // recorded with an alternate number after it; none now
    } cases[] = {
        {"part-way", false, false, "u1", true, false, "0312", "u0", "old", ChangeStage::PartWay},
        {"part-way, password since", false, false, "u1", true, false, "0312", "u0", "new",
         ChangeStage::Since},
        {"before, password since", false, false, "u1", true, false, "0311", "u0", "new",
         ChangeStage::Since},
        {"made, password typed", false, false, "u1", true, false, "0312", "u1", "typed",
         ChangeStage::Made},
        {"made keeping the password, one since", false, false, "u1", false, false, "0312", "u1",
         "new", ChangeStage::Since},
        {"restore of a number, not begun", true, false, "u0", false, true, "0312", "u0", "",
         ChangeStage::Before},
        {"restore of a number, written", true, false, "u0", false, true, "0311", "u0", "",
         ChangeStage::Made},
        {"before, its alternate number removed since", true, false, "u1", false, false, "0311",
         "u0", "", ChangeStage::Since, nullptr, true},
        {"creation, not begun", true, true, "u1", true, false, nullptr, "", "",
         ChangeStage::Before},
        {"restore of a creation, removed", true, true, "u1", true, true, nullptr, "", "",
         ChangeStage::Made},
        {"at 2000", true, true, "u1", true, false, "0312", "", "", ChangeStage::PartWay, "2000"},
        {"at XP", true, true, "u1", true, false, "0312", "", "", ChangeStage::PartWay, "xp"},
        {"at 7", true, true, "u1", true, false, "0312", "", "", ChangeStage::PartWay, "7"},
        {"at 10", true, true, "u1", true, false, "0312", "", "", ChangeStage::PartWay, "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const OsClass osClass = c.nt ? 9 : 6;
        EntryRecord before = old;
        if (c.listGone) {  // recorded longer than the entry reads now, alike up to there
            before.buffer.resize(2);
            before.bufferSize = kRasEntrySize + 6;
            memcpy(reinterpret_cast<char*>(before.Entry()) + kRasEntrySize, "0120\0", 6);
        }
        SimPhonebook sim;
        EntryRecord written = made;
        if (c.windows != nullptr) {  // the new entry as the program writes it there
            setenv("RASSIM_WINVER", c.windows, 1);
            ASSERT_EQ(ProbeStructureSize(sim.api(), &written.structureSize), 0u);
            written.buffer[0].dwSize = written.bufferSize = written.structureSize;
        }
        JournalChange change =
            DescribeChange(c.creation ? ChangeKind::Creation : ChangeKind::AccessPoint, "Nest",
                           c.creation ? nullptr : &before, c.creation ? "" : "u0", written, c.user,
                           2, c.typed, c.nt ? nullptr : "old");
        change.writesDone = 1;
        if (c.restore) {  // begun from the entry as the change made it
            change = UndoOf(osClass, change, EntryNow{true, made, c.user, false, ""});
        }
        EntryNow now{c.number != nullptr, record(c.number != nullptr ? c.number : ""), c.nowUser,
                     !c.nt, c.password};
        if (c.windows != nullptr) {
            ASSERT_EQ(WriteEntryRecord(sim.api(), "Nest", written), 0u);
            std::vector<PhonebookEntryName> entries;
            ASSERT_EQ(EnumerateEntries(sim.api(), &entries), 0u);
            ASSERT_EQ(ReadEntryNow(sim.api(), osClass, change, entries, &now), 0u);
        }
        EXPECT_EQ(StageOf(change, now), c.expected);
    }
}

}  // namespace
