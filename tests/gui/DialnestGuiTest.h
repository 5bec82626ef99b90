// Shared fixture of the GUI tests: a kit, the running program and the texts it shows.
#pragma once

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "driver/GuiDriver.h"
#include "driver/Kit.h"
#include "sim/PhonebookFile.h"

// Captions and texts exactly as the program shows them.
inline const std::string kProductName = "ダイヤルネスト";
inline const std::string kAppTitle = "Dialnest";
inline const std::string kUserNotPlain =
    "ユーザー名に使えない文字が含まれています。\n空白や全角文字を使わずに、半角の英数字と記号で入力"
    "してください。";
inline std::string UserNameHasDomain(const std::string& domain) {
    return "ユーザー名には「@」より前の部分だけを入力してください。\n「" + domain +
           "」は自動的に付け加えられます。";
}

// The kit's phonebook as the substitute reads it.
inline SimPhonebookFile ParsedPhonebook(const Kit& kit) {
    const std::string bytes = kit.ReadBytes("phonebook.ini");
    return ParsePhonebook(bytes.data(), bytes.size());
}

// The entry of `book` named `utf8Name`, or null.
inline const SimEntry* FindEntry(const SimPhonebookFile& book, const std::string& utf8Name) {
    for (const SimEntry& entry : book.entries) {
        if (ToCp932(utf8Name) == entry.name)
            return &entry;
    }
    return nullptr;
}

// The window of `run` captioned with the product name that has control `id`, once shown.
inline HWND WaitForDialog(const DialnestProcess& run, int id) {
    for (int i = 0; i < 200; ++i, Settle(50)) {
        for (HWND window : run.Windows()) {
            if (WindowText(window) == kProductName && Control(window, id) != nullptr) {
                Settle(300);
                return window;
            }
        }
    }
    return nullptr;
}

// The program's change journal in this prefix: the user's application data folder.
inline std::wstring JournalFolder() {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return std::wstring(path) + L"\\Dialnest\\Journal";
}

// Removes every file of the journal folder (`keep` false), or gives all their bytes.
inline std::string JournalFiles(bool keep) {
    std::string all;
    WIN32_FIND_DATAW found;
    const std::wstring folder = JournalFolder() + L"\\";
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring path = folder + found.cFileName;
        if (FILE* file = keep ? _wfopen(path.c_str(), L"rb") : nullptr) {
            for (int c; (c = fgetc(file)) != EOF;) all += static_cast<char>(c);
            fclose(file);
        }
        if (!keep)
            DeleteFileW(path.c_str());
    }
    FindClose(search);
    return all;
}

class DialnestGuiTest : public testing::Test {
protected:
    // Each test starts without what an earlier one left in the journal.
    void SetUp() override { JournalFiles(false); }

    void TearDown() override {
        if (app.Running())
            app.Kill();
    }

    // Starts the program from the kit and waits for its first top-level window.
    HWND Start(const std::string& caption = std::string()) {
        EXPECT_TRUE(app.Start(kit.ExePath())) << "could not start " << kit.ExePath();
        return app.WaitForWindow(caption);
    }

    // Reads the next message box and checks caption, text and icon.
    MessageBoxInfo ExpectBox(const std::string& caption, const std::string& text, BoxIcon icon) {
        MessageBoxInfo box = app.WaitForMessageBox();
        EXPECT_NE(box.window, nullptr) << "no message box; expected \"" << text << "\"";
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(BoxIconName(box.icon), std::string(BoxIconName(icon))) << box.text;
        return box;
    }

    // The same, then presses OK.
    void ExpectBoxAndOk(const std::string& caption, const std::string& text, BoxIcon icon) {
        MessageBoxInfo box = ExpectBox(caption, text, icon);
        if (box.window != nullptr)
            Answer(box, IDOK);
    }

    SimPhonebookFile Phonebook() const { return ParsedPhonebook(kit); }

    Kit kit;
    DialnestProcess app;
};
