// The journal's store on Windows, run under Wine: each branch of the replace (MoveFileExA,
// and the two renames of the 9x family, which Wine never takes by itself), ended after each
// of its steps and then again in the next replace, always leaves a whole copy to read, the
// newest one; and a run's claim is held until released.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "journal/FolderJournalStore.h"

namespace {

const char kName[] = "run-1.jnl";

std::string Folder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return std::string(temp) + "dialnest-store-" + std::to_string(GetCurrentProcessId());
}

void Put(const std::string& folder, const std::string& suffix, const std::string& bytes) {
    const std::string path = JournalFilePath(folder, kName) + suffix;
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

TEST(JournalStoreWindows, EveryEndOfEitherReplaceLeavesTheNewestWholeCopy) {
    const std::string folder = Folder();
    CreateDirectoryA(folder.c_str(), nullptr);
    struct Start {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;  // suffix, bytes
        const char* whole;                                       // the newest whole copy
    } starts[] = {
        {"no file", {}, nullptr},
        {"a whole file", {{"", "A"}}, "A"},
        {"a whole file and a torn .new", {{"", "A"}, {".new", "torn"}}, "A"},
        {"ended between the 9x renames", {{".old", "A"}, {".new", "B"}}, "B"},
    };
    for (bool renames : {false, true}) {
        for (const Start& s : starts) {
            for (int first = -1; first <= 6; ++first) {
                // A replace ended is followed by another, itself ended at every step.
                for (int second = -1; second <= (first == -1 ? -1 : 6); ++second) {
                    SCOPED_TRACE(std::string(renames ? "renames, " : "MoveFileExA, ") + s.what +
                                 ", ended after " + std::to_string(first) + " then " +
                                 std::to_string(second) + " steps");
                    for (const char* suffix : {"", ".new", ".old"}) {
                        RemoveJournalFile(folder, kName + std::string(suffix));
                    }
                    for (const auto& file : s.files) {
                        Put(folder, file.first, file.second);
                    }
                    ReplaceJournalFileBy(folder, kName, "C", renames, first);
                    ReplaceJournalFileBy(folder, kName, "D", renames, second);
                    std::set<std::string> newest = {"C", "D"};
                    if (first != -1 && s.whole != nullptr) {
                        newest.insert(s.whole);
                    }
                    std::string bytes;
                    const bool read = ReadJournalFile(folder, kName, &bytes);
                    if (second == -1) {
                        EXPECT_TRUE(read && bytes == "D") << bytes;
                    } else if (read || s.whole != nullptr || first == -1) {
                        EXPECT_TRUE(read && newest.count(bytes) == 1) << bytes;
                    }
                    EXPECT_EQ(ListJournalFiles(folder, ".jnl"),
                              read ? std::vector<std::string>{kName} : std::vector<std::string>{});
                }
            }
        }
    }
    for (const char* suffix : {"", ".new", ".old"}) {
        RemoveJournalFile(folder, kName + std::string(suffix));
    }
    // A claim is held against every other open, this process's too, until released.
    const intptr_t claim = ClaimJournalFile(folder, "run-1.lock");
    ASSERT_NE(claim, -1);
    EXPECT_EQ(ClaimJournalFile(folder, "run-1.lock"), -1);
    EXPECT_TRUE(JournalFileHeld(folder, "run-1.lock"));
    ReleaseJournalFile(claim);
    EXPECT_FALSE(JournalFileHeld(folder, "run-1.lock"));
    RemoveJournalFile(folder, "run-1.lock");
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
