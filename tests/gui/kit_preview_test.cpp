// dialnest-kit.exe against the real program: its preview of a phonebook proposes what a real
// migration of the same phonebook proposes, field for field and in the same order.
#include <string>
#include <vector>

#include "DialnestGuiTest.h"

namespace {

constexpr int kMigrationButton = 1001;
constexpr int kPhoneNumber = 1003;
constexpr int kOldNumber = 1004;
constexpr int kNewNumber = 1005;
constexpr int kEntryNameBox = 1006;
constexpr int kUserNameBox = 1001;
constexpr int kOldUserName = 1014;
constexpr int kNewUserName = 1015;
constexpr int kOldDomain = 1016;
constexpr int kNewDomain = 1017;
constexpr int kDomainLabel = 1021;

// A file of the source tree, as Wine's Z: drive shows it.
std::string SourceFile(const std::string& path) {
    std::string windows = "Z:" + std::string(DIALNEST_SOURCE_DIR) + "/" + path;
    for (char& c : windows) {
        if (c == '/')
            c = '\\';
    }
    return windows;
}

// The value of "key": "..." in `object` (the preview writes no escapes but \" and \\).
std::string JsonText(const std::string& object, const std::string& key) {
    const std::string mark = "\"" + key + "\": \"";
    size_t at = object.find(mark);
    std::string value;
    if (at == std::string::npos)
        return "<no " + key + ">";
    for (at += mark.size(); at < object.size() && object[at] != '"'; ++at) {
        if (object[at] == '\\')
            ++at;
        value += object[at];
    }
    return value;
}

// Each proposal of the preview, with the fields its dialog would show.
std::vector<std::string> PreviewProposals(const std::string& json) {
    std::vector<std::string> proposals;
    for (size_t at = json.find("{\"kind\": "); at != std::string::npos;
         at = json.find("{\"kind\": ", at + 1)) {
        const std::string object = json.substr(at, json.find('}', at) - at);
        if (JsonText(object, "kind") == "access-point") {
            proposals.push_back("access point [" + JsonText(object, "entryName") + "] " +
                                JsonText(object, "oldNumber") + " -> " +
                                JsonText(object, "newNumber") + ", " +
                                JsonText(object, "userName") + " " + JsonText(object, "domain"));
        } else {
            proposals.push_back("user name [" + JsonText(object, "entryName") + "] " +
                                JsonText(object, "phoneNumber") + ": " +
                                JsonText(object, "oldUserName") + JsonText(object, "oldDomain") +
                                " -> " + JsonText(object, "newUserName") +
                                JsonText(object, "newDomain"));
        }
    }
    return proposals;
}

class KitPreviewTest : public DialnestGuiTest {
protected:
    // Copies a kit of the source tree next to the program, and its phonebook.
    void UseKit(const std::string& kitFolder, const std::string& phonebook) {
        for (const char* name :
             {"ISP_INF.csv", "CTMENU.csv", "APGEN.csv", "APPHS.csv", "APAIR.csv", "Logo.png"}) {
            CopyFileW(FromUtf8(SourceFile(kitFolder + "/" + name)).c_str(),
                      FromUtf8(kit.PathTo(name)).c_str(), FALSE);
        }
        CopyFileW(FromUtf8(SourceFile(phonebook)).c_str(), FromUtf8(kit.PhonebookPath()).c_str(),
                  FALSE);
    }

    // Runs the real migration, accepting every proposal, and returns what each dialog showed.
    std::vector<std::string> MigrationProposals(std::string* finalMessage) {
        std::vector<std::string> proposals;
        HWND menu = Start();  // captioned as the kit says
        EXPECT_NE(menu, nullptr);
        if (menu == nullptr)
            return proposals;
        Settle(300);
        Click(Control(menu, kMigrationButton));
        for (int polls = 0; polls < 600; ++polls) {
            for (HWND window : app.Windows()) {
                if (WindowText(window) != kProductName)
                    continue;
                if (Control(window, kNewNumber) != nullptr) {
                    Settle(200);
                    proposals.push_back("access point [" +
                                        WindowText(Control(window, kEntryNameBox)) + "] " +
                                        WindowText(Control(window, kOldNumber)) + " -> " +
                                        WindowText(Control(window, kNewNumber)) + ", " +
                                        WindowText(Control(window, kUserNameBox)) + " " +
                                        WindowText(Control(window, kDomainLabel)));
                } else if (Control(window, kNewUserName) != nullptr) {
                    Settle(200);
                    proposals.push_back("user name [" + WindowText(Control(window, kEntryNameBox)) +
                                        "] " + WindowText(Control(window, kPhoneNumber)) + ": " +
                                        WindowText(Control(window, kOldUserName)) +
                                        WindowText(Control(window, kOldDomain)) + " -> " +
                                        WindowText(Control(window, kNewUserName)) +
                                        WindowText(Control(window, kNewDomain)));
                } else {
                    continue;
                }
                Click(Control(window, IDOK));
                Settle(300);
            }
            const MessageBoxInfo box = app.WaitForMessageBox(0);
            if (box.window != nullptr) {
                *finalMessage = box.text;
                Answer(box, IDOK);
                EXPECT_TRUE(app.WaitForExit());
                break;
            }
            Settle(50);
        }
        return proposals;
    }

    void ExpectSameProposals(const std::string& kitFolder, const std::string& phonebook,
                             size_t count) {
        UseKit(kitFolder, phonebook);
        DWORD status = 0;
        const std::string json = RunKitTool(
            "preview --json \"" + kit.Folder() + "\" \"" + kit.PhonebookPath() + "\"", &status);
        EXPECT_EQ(status, 0u) << json;
        const std::vector<std::string> previewed = PreviewProposals(json);
        std::string finalMessage;
        const std::vector<std::string> proposed = MigrationProposals(&finalMessage);
        EXPECT_EQ(previewed.size(), count) << json;
        EXPECT_EQ(previewed, proposed);
        EXPECT_EQ(JsonText(json.substr(json.rfind("\"messages\"")), "text"), finalMessage);
    }
};

TEST_F(KitPreviewTest, SamplePhonebookAsTheMigrationProposes) {
    ExpectSameProposals("examples/kit", "examples/phonebook.ini", 1);
}

TEST_F(KitPreviewTest, OneEntryPerOutcomeAsTheMigrationProposes) {
    ExpectSameProposals("tests/data/kits/preview/kit", "tests/data/kits/preview/phonebook.ini", 6);
}

}  // namespace
