// The journal's store under Wine: each branch of the replace (MoveFileExA, and the 9x family's
// two renames, which Wine never takes by itself), ended after each step and again in the next
// replace, leaves the newest whole copy; a run's claim is held until released.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"

TEST(JournalStoreWindows, EveryEndOfEitherReplaceLeavesTheNewestWholeCopy) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const std::string folder = temp + std::string("dialnest-store");
    const std::string name = "run-1.jnl";
    CreateDirectoryA(folder.c_str(), nullptr);
    struct Start {
        const char* what;
        const char* files[3];  // as the file, ".new" and ".old" hold it; null: none
        const char* whole;     // the newest whole copy
    } starts[] = {
        {"no file", {}, nullptr},
        {"a whole file", {"A"}, "A"},
        {"a whole file and a torn .new", {"A", "to"}, "A"},
        {"ended between the 9x renames", {nullptr, "B", "A"}, "B"},
    };
    const char* suffixes[] = {"", ".new", ".old"};
    for (bool renames : {false, true}) {
        for (const Start& s : starts) {
            for (int first = -1; first <= 6; ++first) {
                for (int second = -1; second <= (first == -1 ? -1 : 6); ++second) {
                    SCOPED_TRACE(std::string(renames ? "renames, " : "MoveFileExA, ") + s.what +
                                 ", ended after " + std::to_string(first) + " then " +
                                 std::to_string(second) + " steps");
                    for (int i = 0; i < 3; ++i) {
                        RemoveJournalFile(folder, name + suffixes[i]);
                        if (s.files[i] != nullptr) {
                            ReplaceJournalFileBy(folder, name + suffixes[i], s.files[i], false, -1);
                        }
                    }
                    ReplaceJournalFileBy(folder, name, "C", renames, first);
                    ReplaceJournalFileBy(folder, name, "D", renames, second);
                    std::string bytes;
                    const bool read = ReadJournalFile(folder, name, &bytes);
                    const bool older = first != -1 && s.whole != nullptr && bytes == s.whole;
                    EXPECT_TRUE(second == -1 ? read && bytes == "D"
                                : read       ? bytes == "C" || bytes == "D" || older
                                             : s.whole == nullptr && first != -1)
                        << bytes;
                    EXPECT_EQ(ListJournalFiles(folder, ".jnl").size(), read ? 1u : 0u);
                }
            }
        }
    }
    const intptr_t claim = ClaimJournalFile(folder, "run-1.lock");
    ASSERT_NE(claim, -1);
    EXPECT_EQ(ClaimJournalFile(folder, "run-1.lock"), -1);
    EXPECT_TRUE(JournalFileHeld(folder, "run-1.lock"));
    ReleaseJournalFile(claim);
    EXPECT_FALSE(JournalFileHeld(folder, "run-1.lock"));
    for (const char* file : {"run-1.jnl", "run-1.jnl.new", "run-1.jnl.old", "run-1.lock"}) {
        RemoveJournalFile(folder, file);
    }
    RemoveDirectoryA(folder.c_str());
}

// Where long has 32 bits a sequence past them would saturate to the largest and be taken.
TEST(JournalStoreWindows, RunNumbersPastThirtyTwoBitsNameNoRun) {
    EXPECT_EQ(RunSequence("run-4294967295.jnl"), 4294967295u);
    EXPECT_EQ(RunSequence("run-4294967296.jnl"), 0u);
    EXPECT_EQ(RunSequence("run-9999999999.jnl"), 0u);
}
