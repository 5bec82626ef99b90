// A user for whole runs of the real program: says yes to every confirmation dialog of a
// migration and OK to every message box, and keeps the texts of the boxes in order.
#pragma once

#include <string>
#include <vector>

#include "DialnestGuiTest.h"

// The controls that tell the two confirmation dialogs of a migration.
constexpr int kNewNumberBox = 1005;    // access-point change
constexpr int kNewUserNameBox = 1015;  // user-name change

// Runs until the program has ended or `timeoutMs` has passed; returns the message texts, and
// in `dialogs` (when given) which confirmation dialogs came, in order ("number", "user name").
inline std::vector<std::string> AcceptEverything(DialnestProcess& app, DWORD timeoutMs = 60000,
                                                 std::vector<std::string>* dialogs = nullptr) {
    std::vector<std::string> texts;
    const DWORD start = GetTickCount();
    while (app.Running() && GetTickCount() - start < timeoutMs) {
        MessageBoxInfo box = app.WaitForMessageBox(200);
        if (box.window != nullptr) {
            texts.push_back(box.text);
            Answer(box, IDOK);
            Settle(200);
            continue;
        }
        for (HWND window : app.Windows()) {
            const bool number = Control(window, kNewNumberBox) != nullptr;
            if (Control(window, IDOK) != nullptr &&
                (number || Control(window, kNewUserNameBox) != nullptr)) {
                if (dialogs != nullptr)
                    dialogs->push_back(number ? "number" : "user name");
                Settle(200);
                Click(Control(window, IDOK));
                Settle(300);
                break;
            }
        }
    }
    return texts;
}

// String `id` of the program's string table, as UTF-8, with `number` for its %d.
inline std::string ProgramString(const std::string& exePath, unsigned id, int number = 0) {
    HMODULE module = LoadLibraryExW(FromUtf8(exePath).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    char text[1024] = {};
    if (module != nullptr) {
        LoadStringA(module, id, text, sizeof(text));
        FreeLibrary(module);
    }
    std::string utf8 = FromCp932(text);
    const size_t at = utf8.find("%d");
    if (at != std::string::npos)
        utf8.replace(at, 2, std::to_string(number));
    return utf8;
}
