// Shared fixture of the GUI tests: a kit, the running program and the texts it shows.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver/GuiDriver.h"
#include "driver/Kit.h"

// Captions and texts exactly as the program shows them.
inline const std::string kProductName = "ダイヤルネスト";
inline const std::string kAppTitle = "Dialnest";

class DialnestGuiTest : public testing::Test {
protected:
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

    Kit kit;
    DialnestProcess app;
};
