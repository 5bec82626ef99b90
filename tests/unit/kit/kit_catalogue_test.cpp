// The bad-input catalogue through the kit tool: every provider file and phonebook of it,
// put into a copy of the sample kit as staff or other programs leave them, gets the verdict
// that kit-codes.txt beside the catalogue states: exit status and every finding's code.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "KitRun.h"
#include "support/TempFolder.h"

namespace {

std::string Field(const std::string& row, size_t index) {
    std::istringstream fields(row);
    std::string field;
    for (size_t i = 0; i <= index && std::getline(fields, field, '|'); ++i) {
    }
    const size_t first = field.find_first_not_of(' ');
    const size_t last = field.find_last_not_of(' ');
    return first == std::string::npos ? "" : field.substr(first, last - first + 1);
}

// The codes of the errors and warnings of a report, in its order; "-" for none.
std::string Codes(const std::string& out) {
    static const std::regex finding("^.*: (error|warning): .* \\[([a-z-]+)\\]$");
    std::string codes;
    std::istringstream lines(out);
    for (std::string l; std::getline(lines, l);) {
        std::smatch m;
        if (std::regex_match(l, m, finding)) {
            codes += (codes.empty() ? "" : " ") + m[2].str();
        }
    }
    return codes.empty() ? "-" : codes;
}

TEST(KitCatalogue, EveryBadInputHasItsVerdict) {
    const std::filesystem::path catalogue = SourcePath("tests/data/bad-input");
    const std::filesystem::path sample = SourcePath("examples/kit");
    std::map<std::string, std::pair<int, std::string>> verdicts;  // file: exit, codes
    std::istringstream table(ReadFile((catalogue / "kit-codes.txt").string()));
    for (std::string row; std::getline(table, row);) {
        if (!row.empty() && row[0] != '#') {
            verdicts[Field(row, 0)] = {std::stoi(Field(row, 1)), Field(row, 2)};
        }
    }
    std::istringstream rows(ReadFile((catalogue / "catalogue.txt").string()));
    size_t files = 0;
    for (std::string row; std::getline(rows, row);) {
        const std::string file = Field(row, 0);
        const std::string as = Field(row, 1);
        if (file.empty() || file[0] == '#' || file[0] == '@' || as.empty()) {
            continue;  // comments, and rows made at test time
        }
        ++files;
        const auto verdict = verdicts.find(file);
        ASSERT_NE(verdict, verdicts.end()) << file << " has no row in kit-codes.txt";
        TempFolder kit;
        for (const auto& provider : std::filesystem::directory_iterator(sample)) {
            kit.Write(provider.path().filename().string(), ReadFile(provider.path().string()));
        }
        const std::string bytes = ReadFile((catalogue / file).string());
        if (as == "journal") {  // a journal file of the subscriber's, as the restore sees it
            kit.MakeFolder(as);
            kit.Write(as + "/" + file, bytes);
            const KitRun run = RunKit({"restore", "--list", "--journal=" + kit.PathTo(as)});
            EXPECT_EQ(run.status, verdict->second.first) << file << "\n" << run.err;
            EXPECT_NE(run.out.find(file + "  (" + verdict->second.second), std::string::npos)
                << file << "\n" << run.out;
            continue;
        }
        kit.Write(as, bytes);
        if (as == "phonebook.ini") {
            const KitRun run = RunKit({"preview", kit.path(), kit.PathTo(as)});
            EXPECT_EQ(run.status, verdict->second.first) << file << "\n" << run.err;
            EXPECT_NE(run.out.find("final message"), std::string::npos) << file << run.out;
            EXPECT_EQ(kit.Read(as), bytes) << file << ": the phonebook is only read";
            continue;
        }
        const KitRun run = RunKit({"check", as == "Dialnest.exe" ? kit.PathTo(as) : kit.path()});
        EXPECT_EQ(run.status, verdict->second.first) << file << "\n" << run.out << run.err;
        EXPECT_EQ(Codes(run.out), verdict->second.second) << file << "\n" << run.out;
    }
    EXPECT_GE(files, 90u);
    EXPECT_EQ(files, verdicts.size()) << "kit-codes.txt names only files of the catalogue";
}

}  // namespace
