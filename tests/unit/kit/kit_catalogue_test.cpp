// The bad-input catalogue through the kit tool: every provider file and phonebook of it,
// put into a copy of the sample kit as staff or other programs leave them, is reported and
// never trips the tool up; the faults a check exists for are named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
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

TEST(KitCatalogue, BadInputsAreReportedWithoutTrippingTheTool) {
    // The diagnostic each kind of fault must give; "" when the file is sound for the program.
    const std::map<std::string, std::string> named = {
        {"isp-utf8.csv", "encoding"},
        {"isp-utf16le.csv", "encoding"},
        {"isp-utf8-bom.csv", "encoding"},
        {"isp-0xff-byte.csv", "encoding"},
        {"isp-lone-lead-end-of-line.csv", "encoding"},
        {"isp-blanks-around-comma.csv", "key-blanks"},
        {"isp-tab-separated.csv", "missing-comma"},
        {"isp-excel-quotes.csv", "unknown-key"},
        {"isp-duplicate-keys.csv", "duplicate-key"},
        {"isp-on-off-yes.csv", "off-value"},
        {"isp-on-off-one.csv", "off-value"},
        {"isp-dns-octet-256.csv", "bad-address"},
        {"isp-dns-zero.csv", "bad-address"},
        {"isp-line-513.csv", "long-line"},
        {"isp-title-font-size-beyond-int.csv", "not-a-number"},
        {"isp-full-width-digits.csv", "not-a-number"},
        {"isp-line-511.csv", ""},
        {"isp-cr-only.csv", ""},
        {"apgen-duplicates.csv", "duplicate-record"},
        {"apgen-comma-at-end.csv", "skipped-number"},
        {"apgen-letters.csv", "number-characters"},
        {"apgen-field-limits.csv", "number-too-long"},
        {"apair-duplicate-key.csv", "pair-replaced"},
        {"apair-new-number-too-long.csv", "number-too-long"},
        {"apair-tab-separated.csv", "skipped-number"},
        {"ctmenu-too-few-columns.csv", "row-incomplete"},
        {"ctmenu-text-limits.csv", "cut-text"},
        {"ctmenu-full-width-kind.csv", "not-a-row"},
        {"ctmenu-0-byte.csv", "no-choosable-method"},
        {"logo-truncated.png", "logo-undecodable"},
        {"logo-wide-4097.png", "logo-undecodable"},
        {"logo-wide-4096.png", "logo-size"},
        {"logo-0-byte.png", "logo-unreadable"},
        {"logo-interlaced.png", ""},
    };
    const std::filesystem::path catalogue = SourcePath("tests/data/bad-input");
    const std::filesystem::path sample = SourcePath("examples/kit");
    std::istringstream rows(ReadFile((catalogue / "catalogue.txt").string()));
    size_t files = 0;
    size_t checked = 0;
    for (std::string row; std::getline(rows, row);) {
        const std::string file = Field(row, 0);
        const std::string as = Field(row, 1);
        if (file.empty() || file[0] == '#' || file[0] == '@' || as.empty()) {
            continue;  // comments, and rows made at test time
        }
        ++files;
        TempFolder kit;
        for (const auto& provider : std::filesystem::directory_iterator(sample)) {
            kit.Write(provider.path().filename().string(), ReadFile(provider.path().string()));
        }
        const std::string bytes = ReadFile((catalogue / file).string());
        kit.Write(as, bytes);
        if (as == "phonebook.ini") {
            const KitRun run = RunKit({"preview", kit.path(), kit.PathTo(as)});
            EXPECT_LT(run.status, 2) << file << "\n" << run.err;
            EXPECT_NE(run.out.find("final message"), std::string::npos) << file << run.out;
            EXPECT_EQ(kit.Read(as), bytes) << file << ": the phonebook is only read";
            continue;
        }
        const KitRun run = RunKit({"check", kit.path()});
        EXPECT_LT(run.status, 2) << file << "\n" << run.err;
        EXPECT_NE(run.out.find(" warning"), std::string::npos) << file << ": no summary";
        const auto expected = named.find(file);
        if (expected == named.end()) {
            continue;
        }
        ++checked;
        if (expected->second.empty()) {
            EXPECT_EQ(run.out, "0 errors, 0 warnings\n") << file;
        } else {
            EXPECT_NE(run.out.find("[" + expected->second + "]"), std::string::npos)
                << file << " should give " << expected->second << "\n"
                << run.out;
        }
    }
    EXPECT_GE(files, 90u);
    EXPECT_EQ(checked, named.size()) << "every named file is in the catalogue";
}

}  // namespace
