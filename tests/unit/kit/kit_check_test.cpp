// dialnest-kit check: every data kit with the diagnostics expected of it, line numbers
// included; the sample kit clean; the logo measured against the form; the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "KitRun.h"
#include "TestPng.h"
#include "kit/KitReport.h"
#include "support/TempFolder.h"

namespace {

const char kMenu[] = "1,Dial-up,@dial.example.ne.jp,0570-000-111\r\n";

struct Shown {
    std::string place;  // "FILE[:LINE]: severity [code]", the file without the kit's folder
    std::string text;
};

std::vector<Shown> Diagnostics(const std::string& out, const std::string& kit) {
    static const std::regex line(
        "^(.*): (error|warning|note|エラー|警告|注記): (.*) \\[([a-z-]+)\\]$");
    const auto english = [](const std::string& severity) {
        return severity == "エラー" ? "error"
               : severity == "警告" ? "warning"
               : severity == "注記" ? "note"
                                    : severity;
    };
    std::vector<Shown> shown;
    std::istringstream lines(out);
    for (std::string l; std::getline(lines, l);) {
        std::smatch m;
        if (!std::regex_match(l, m, line)) {
            continue;
        }
        std::string file = m[1];
        file = file.compare(0, kit.size() + 1, kit + "/") == 0 ? file.substr(kit.size() + 1)
               : file == kit                                   ? "(kit)"
                                                               : file;
        shown.push_back({file + ": " + english(m[2].str()) + " [" + m[4].str() + "]", m[3]});
    }
    return shown;
}

// Each tests/data/kits/check/NAME.expected holds "# exit N", optionally "# options: ..." and
// "# only: code", then one "FILE[:LINE]: severity [code] [text]" per diagnostic, in order.
TEST(KitCheck, DataKitsGiveTheirExpectedDiagnostics) {
    const std::filesystem::path folder = SourcePath("tests/data/kits/check");
    size_t kits = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (file.path().extension() != ".expected") {
            continue;
        }
        ++kits;
        const std::string kit = (folder / file.path().stem()).string();
        int exit = 0;
        std::vector<std::string> arguments = {"check"};
        std::string only;
        std::vector<Shown> expected;
        std::istringstream lines(ReadFile(file.path().string()));
        for (std::string l; std::getline(lines, l);) {
            if (l.rfind("# exit ", 0) == 0) {
                exit = std::stoi(l.substr(7));
            } else if (l.rfind("# options: ", 0) == 0) {
                arguments.push_back(l.substr(11));
            } else if (l.rfind("# only: ", 0) == 0) {
                only = "[" + l.substr(8) + "]";
            } else if (!l.empty()) {
                const size_t end = l.find(']') + 1;
                expected.push_back({l.substr(0, end), end < l.size() ? l.substr(end + 1) : ""});
            }
        }
        arguments.push_back(kit);
        const KitRun run = RunKit(arguments);
        EXPECT_EQ(run.status, exit) << kit << "\n" << run.out << run.err;
        std::vector<Shown> shown = Diagnostics(run.out, kit);
        if (!only.empty()) {
            shown.erase(std::remove_if(shown.begin(), shown.end(),
                                       [&](const Shown& s) {
                                           return s.place.find(only) == std::string::npos;
                                       }),
                        shown.end());
        }
        ASSERT_EQ(shown.size(), expected.size()) << kit << "\n" << run.out;
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].place, expected[i].place) << kit << " #" << i + 1;
            EXPECT_NE(shown[i].text.find(expected[i].text), std::string::npos)
                << kit << ": " << shown[i].text << "\nlacks: " << expected[i].text;
        }
    }
    EXPECT_GE(kits, 10u);
}

TEST(KitCheck, SampleKitIsCleanInTextAndJson) {
    const std::string kit = SourcePath("examples/kit");
    const KitRun text = RunKit({"check", kit});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, "0 errors, 0 warnings\n");
    const KitRun json = RunKit({"check", "--json", kit});
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"errors\": 0, \"warnings\": 0, \"diagnostics\": [\n]}"),
              std::string::npos)
        << json.out;

    // The same diagnostics either way: one JSON object per text line, same codes and lines;
    // as many errors and warnings as the kit's expected diagnostics list.
    const std::string bad = SourcePath("tests/data/kits/check/settings");
    const std::vector<Shown> shown = Diagnostics(RunKit({"check", bad}).out, bad);
    const std::string all = RunKit({"check", "--json", bad}).out;
    const std::string listed = ReadFile(bad + ".expected");
    const auto count = [&](const char* severity) {
        size_t n = 0;
        for (size_t at = listed.find(severity); at != std::string::npos;
             at = listed.find(severity, at + 1)) {
            ++n;
        }
        return std::to_string(n);
    };
    EXPECT_NE(
        all.find("\"errors\": " + count(": error [") + ", \"warnings\": " + count(": warning [")),
        std::string::npos)
        << all;
    size_t objects = 0;
    for (size_t at = all.find("\"code\": "); at != std::string::npos;
         at = all.find("\"code\": ", at + 1)) {
        ++objects;
    }
    EXPECT_EQ(objects, shown.size());
    EXPECT_NE(all.find("\"line\": 2, \"severity\": \"warning\", \"code\": \"unknown-key\""),
              std::string::npos);
}

// Found as the program's file system finds them, and read as it reads them.
TEST(KitCheck, ProviderFilesAsTheProgramFindsThem) {
    TempFolder kit;
    kit.Write("isp_inf.csv", "DefaultTelNumber,0570-000-111\r\n");
    kit.Write("CtMenu.CSV", kMenu);
    const KitRun lower = RunKit({"check", kit.path()});
    EXPECT_EQ(lower.status, 0) << lower.out;
    EXPECT_EQ(lower.out, "0 errors, 0 warnings\n") << "names match without regard to case";

    kit.Remove("isp_inf.csv");
    kit.MakeFolder("ISP_INF.csv");
    const KitRun folder = RunKit({"check", kit.path()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.out.find("ISP_INF.csv: error: present, but not a file that can be read"),
              std::string::npos)
        << folder.out;
}

TEST(KitCheck, LogoAgainstTheForm) {
    const auto picture = [](uint32_t width, uint32_t height, int colourType,
                            std::vector<unsigned char> pixel) {
        TestPicture p;
        p.width = width;
        p.height = height;
        p.colourType = colourType;
        std::vector<unsigned char> row;
        for (uint32_t x = 0; x < width; ++x) {
            row.insert(row.end(), pixel.begin(), pixel.end());
        }
        p.rows.assign(height, row);
        const std::vector<unsigned char> png = WritePng(p);
        return std::string(png.begin(), png.end());
    };
    struct Case {
        const char* name;
        std::string bytes;
        int status;
        const char* codes;  // warnings and errors about Logo.png, in order
    } cases[] = {
        {"the largest that fits", picture(20, 21, 2, {255, 0, 255}), 0, ""},
        {"one pixel too wide", picture(21, 21, 2, {255, 0, 255}), 0, "warning [logo-size] "},
        {"one pixel too tall", picture(20, 22, 2, {1, 2, 3}), 0, "warning [logo-size] "},
        {"nearly magenta", picture(4, 4, 2, {255, 0, 254}), 0, "warning [logo-near-magenta] "},
        {"alpha", picture(4, 4, 6, {10, 20, 30, 128}), 0, "warning [logo-alpha] "},
        {"not a PNG", "GIF89a", 1, "error [logo-undecodable] "},
        {"empty", "", 0, "warning [logo-unreadable] "},
    };
    for (const Case& c : cases) {
        TempFolder kit;
        kit.Write("ISP_INF.csv", "DefaultTelNumber,0570-000-111\r\n");
        kit.Write("CTMENU.csv", kMenu);
        kit.Write("Logo.png", c.bytes);
        const KitRun run = RunKit({"check", kit.path()});
        std::string codes;
        for (const Shown& s : Diagnostics(run.out, kit.path())) {
            if (s.place.rfind("Logo.png", 0) == 0) {
                codes += s.place.substr(s.place.find(' ') + 1) + ' ';
            }
        }
        EXPECT_EQ(codes, c.codes) << c.name << "\n" << run.out;
        EXPECT_EQ(run.status, c.status) << c.name;
    }
    TempFolder kit;
    kit.Write("Logo.png", "not a PNG");
    EXPECT_NE(RunKit({"check", kit.path()}).out.find("\"PNGエラー\""), std::string::npos)
        << "the message the form would show";
}

// The locale's first variable that is set decides; --lang decides over it.
TEST(KitCheck, LanguageOfTheUser) {
    struct Case {
        const char* lcAll;  // null: unset
        const char* lcMessages;
        const char* lang;
        Language language;
    } cases[] = {
        {nullptr, nullptr, nullptr, Language::English},
        {nullptr, nullptr, "ja_JP.UTF-8", Language::Japanese},
        {nullptr, nullptr, "en_US.UTF-8", Language::English},
        {"", "ja_JP.eucJP", "en_US.UTF-8", Language::Japanese},
        {"C", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::English},
    };
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::pair<bool, std::string>> saved;
    for (const char* name : names) {
        saved.emplace_back(getenv(name) != nullptr, getenv(name) ? getenv(name) : "");
    }
    for (const Case& c : cases) {
        const char* values[] = {c.lcAll, c.lcMessages, c.lang};
        for (size_t i = 0; i < 3; ++i) {
            values[i] != nullptr ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
        }
        EXPECT_EQ(UserLanguage(), c.language) << (c.lang ? c.lang : "(no LANG)");
    }
    for (size_t i = 0; i < 3; ++i) {
        saved[i].first ? setenv(names[i], saved[i].second.c_str(), 1) : unsetenv(names[i]);
    }
    const KitRun ja = RunKit({"check", "--lang=ja", SourcePath("examples/kit")});
    EXPECT_EQ(ja.out, "エラー 0 件、警告 0 件\n");
}

TEST(KitCheck, CommandLine) {
    const std::string kit = SourcePath("examples/kit");
    const std::string phonebook = SourcePath("examples/phonebook.ini");
    struct Case {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{}, 2},
        {{"check"}, 2},
        {{"frob", kit}, 2},
        {{"check", kit, kit}, 2},
        {{"check", "--bogus", kit}, 2},
        {{"check", kit + "/no-such-folder"}, 2},
        {{"check", kit + "/ISP_INF.csv"}, 2},
        {{"check", "--os-class=nt", kit}, 2},
        {{"check", "--lang=fr", kit}, 2},
        {{"preview", "--verbose", kit, phonebook}, 2},
        {{"preview", "--os-class=xp", kit, phonebook}, 2},
        {{"preview", kit, kit + "/no-such.ini"}, 2},
        {{"preview", kit}, 2},  // natively only a phonebook file can be read
        {{"preview", "--os-class", "9x", kit, phonebook}, 0},
        {{"--help"}, 0},
        {{"check", "-v", kit + "/"}, 0},
    };
    for (const Case& c : cases) {
        const KitRun run = RunKit(c.arguments);
        std::string shown;
        for (const std::string& a : c.arguments) {
            shown += a + " ";
        }
        EXPECT_EQ(run.status, c.status) << shown << "\n" << run.err;
        EXPECT_EQ(run.err.empty(), c.status != 2) << shown;
    }

    EXPECT_NE(RunKit({"--lang=ja", "--help"}).out.find("終了コード: 0 エラーなし"),
              std::string::npos);

    // Every provider file's path must fit the program's 260-byte buffers.
    TempFolder folder;
    for (const size_t length : {247u, 248u}) {
        const std::string deep =
            folder.path() + "/" + std::string(length - folder.path().size() - 1, 'd');
        std::filesystem::create_directories(deep);
        ASSERT_EQ(deep.size(), length);
        EXPECT_EQ(RunKit({"check", deep}).status == 2, length == 248) << length;
    }
}

}  // namespace
