// Rows of the bad-input catalogue whose outcome the user sees, run in the real program:
// each row's file takes its place in a copy of the sample kit, the program runs the job
// that reads it, and the row's messages appear with the program's own texts, in order.
#include <fstream>
#include <map>
#include <sstream>

#include "AcceptingUser.h"
#include "tests/common/BadInputCatalogue.h"

namespace {

constexpr int kNewConnectionButton = 1000;
constexpr int kMigrationButton = 1001;
constexpr int kHint = 1022;

// The rows run here, by file and place.
const std::pair<std::string, std::string> kRows[] = {
    {"logo-truncated.png", "Logo.png"},
    {"logo-wide-4097.png", "Logo.png"},
    {"ctmenu-phs-in-heading.csv", "CTMENU.csv"},
    {"pb-0-byte.ini", "phonebook.ini"},
    {"@directory", "phonebook.ini"},
    {"apair-new-number-too-long.csv", "APAIR.csv"},
    {"carried-truncated.exe", "Dialnest.exe"},
    {"carried-length-past-end.exe", "Dialnest.exe"},
    {"carried-checksum.exe", "Dialnest.exe"},
};

std::string ReadSource(const std::string& relative) {
    std::ifstream in(FromUtf8(SourcePath(relative)).c_str(), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// The texts that the row's message ids stand for, from the program's string table.
std::vector<std::string> ExpectedTexts(const CatalogueRow& row, const std::string& exePath) {
    static const std::map<std::string, unsigned> ids = ParseStringIds(ReadSource("res/resource.h"));
    std::vector<std::string> texts;
    for (const std::string& message : row.messages) {
        const size_t open = message.find('(');
        const std::string name = message.substr(0, open);
        EXPECT_EQ(ids.count(name), 1u) << name;
        texts.push_back(
            ProgramString(exePath, ids.count(name) ? ids.at(name) : 0,
                          open == std::string::npos ? 0 : std::stoi(message.substr(open + 1))));
    }
    return texts;
}

void Place(const Kit& kit, const CatalogueRow& row) {
    kit.CopySampleKit();
    kit.CopyIn(SourcePath("tests/data/bad-input/scenario-phonebook.ini"), "phonebook.ini");
    // What the catalogue's program carries, after the real program's image.
    if (row.as == "Dialnest.exe") {
        const std::string carried = ReadSource("tests/data/bad-input/" + row.file).substr(1024);
        kit.WriteBytes(row.as, kit.ReadBytes(row.as) + carried);
        return;
    }
    kit.Remove(row.as);
    if (row.file == "@directory") {
        CreateDirectoryW(FromUtf8(kit.PathTo(row.as)).c_str(), nullptr);
    } else {
        EXPECT_TRUE(kit.CopyIn(SourcePath("tests/data/bad-input/" + row.file), row.as));
    }
}

// The form's job: the message boxes while it opens, and its hint text where the row
// expects the PHS note.
std::vector<std::string> RunForm(DialnestProcess& app, HWND menu, const CatalogueRow& row) {
    Click(Control(menu, kNewConnectionButton));
    std::vector<std::string> texts;
    for (MessageBoxInfo box = app.WaitForMessageBox(3000); box.window != nullptr;
         box = app.WaitForMessageBox(1000)) {
        texts.push_back(box.text);
        Answer(box, IDOK);
    }
    HWND form = nullptr;
    for (HWND window : app.Windows()) {
        if (Control(window, kHint) != nullptr)
            form = window;
    }
    EXPECT_NE(form, nullptr) << "the form did not open";
    for (size_t i = 0; i < row.messages.size() && i <= texts.size(); ++i) {
        if (row.messages[i] == "IDS_PHS_NOTE")
            texts.insert(texts.begin() + static_cast<long>(i), WindowText(Control(form, kHint)));
    }
    Close(form);
    return texts;
}

TEST(BadInputCatalogue, MessagesOfTheRowsAppearInTheProgram) {
    std::vector<std::string> bad;
    const std::vector<CatalogueRow> rows =
        ParseCatalogue(ReadSource("tests/data/bad-input/catalogue.txt"), &bad);
    for (const auto& [file, as] : kRows) {
        SCOPED_TRACE(file + " as " + as);
        const CatalogueRow* row = nullptr;
        for (const CatalogueRow& candidate : rows) {
            if (candidate.file == file && candidate.as == as)
                row = &candidate;
        }
        ASSERT_NE(row, nullptr) << "no such row in the catalogue";
        Kit kit;
        Place(kit, *row);
        const std::string phonebookBefore = kit.ReadBytes("phonebook.ini");
        const std::vector<std::string> expected = ExpectedTexts(*row, kit.ExePath());
        DialnestProcess app;
        ASSERT_TRUE(app.Start(kit.ExePath()));
        if (as == "Dialnest.exe") {
            EXPECT_EQ(AcceptEverything(app), expected) << "one message, then the end";
            EXPECT_FALSE(app.Running());
            EXPECT_EQ(kit.ReadBytes("phonebook.ini"), phonebookBefore);
            continue;
        }
        HWND menu = app.WaitForWindow(std::string());
        ASSERT_NE(menu, nullptr);
        Settle(300);
        std::vector<std::string> shown;
        if (as == "Logo.png" || as == "CTMENU.csv") {
            shown = RunForm(app, menu, *row);
        } else {
            Click(Control(menu, kMigrationButton));
            shown = AcceptEverything(app);
        }
        EXPECT_EQ(shown, expected);
        EXPECT_TRUE(app.WaitForExit()) << "the program ends after its job";
        if (app.Running())
            app.Kill();
        for (const std::string& item : row->neverWritten) {
            if (item == "phonebook") {
                EXPECT_EQ(kit.ReadBytes("phonebook.ini"), phonebookBefore) << "rewritten";
            }
        }
    }
}

}  // namespace
