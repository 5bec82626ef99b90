// A tour of the whole program for a newcomer without a display: both jobs walked on the
// sample kit and phonebook with the GUI tests' driver, then the program packed with the
// sample kit alone in a folder, one numbered screenshot per step.
// Usage: dialnest_tour.exe OUTPUT-FOLDER (a Windows path); the shots are binary PPM files.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/GuiDriver.h"
#include "driver/Kit.h"

namespace {

constexpr int kNewConnectionButton = 1000;
constexpr int kMigrationButton = 1001;
constexpr int kEntryName = 1005;
constexpr int kUserName = 1001;
constexpr int kPassword = 1002;
constexpr int kMethods = 1024;
constexpr int kNewNumber = 1005;    // the access-point change dialog
constexpr int kNewUserName = 1015;  // the user-name change dialog
const char kProductName[] = "ダイヤルネスト";

class Tour {
public:
    explicit Tour(std::string folder) : folder_(std::move(folder)) {}

    // Writes the screen under `windows`, with a small margin, as "<NN>-<name>.ppm".
    void Shot(const char* name, const std::vector<HWND>& windows) {
        Settle(400);
        RECT area = {0, 0, 0, 0};
        for (HWND window : windows) {
            RECT r;
            GetWindowRect(window, &r);
            UnionRect(&area, &area, &r);
        }
        InflateRect(&area, 8, 8);
        const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        IntersectRect(&area, &area, &screen);
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        if (width <= 0 || height <= 0) {
            fprintf(stderr, "tour: nothing to show for %s\n", name);
            return;
        }
        const std::vector<COLORREF> pixels = CaptureScreen(area);
        char file[64];
        snprintf(file, sizeof(file), "%02d-%s.ppm", ++count_, name);
        const std::string path = folder_ + "\\" + file;
        FILE* out = _wfopen(FromUtf8(path).c_str(), L"wb");
        if (out == nullptr) {
            fprintf(stderr, "tour: cannot write %s\n", path.c_str());
            return;
        }
        fprintf(out, "P6\n%d %d\n255\n", width, height);
        std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF c = pixels[static_cast<size_t>(y) * width + x];
                row[x * 3] = static_cast<unsigned char>((c >> 16) & 0xFF);
                row[x * 3 + 1] = static_cast<unsigned char>((c >> 8) & 0xFF);
                row[x * 3 + 2] = static_cast<unsigned char>(c & 0xFF);
            }
            fwrite(row.data(), 1, row.size(), out);
        }
        fclose(out);
        printf("tour: %s\n", file);
    }

    int count() const { return count_; }

private:
    std::string folder_;
    int count_ = 0;
};

bool Fail(const char* step) {
    fprintf(stderr, "tour: stopped at %s\n", step);
    return false;
}

// Starts the program from the kit; its main menu, or null.
HWND StartMenu(const Kit& kit, DialnestProcess& run) {
    if (!run.Start(kit.ExePath())) {
        Fail("the start");
        return nullptr;
    }
    HWND menu = run.WaitForWindow("");
    if (menu == nullptr)
        Fail("the main menu");
    return menu;
}

// Main menu, the form filled in with the first method, the creation message.
bool NewConnection(const Kit& kit, Tour& tour) {
    DialnestProcess run;
    HWND menu = StartMenu(kit, run);
    if (menu == nullptr)
        return false;
    tour.Shot("main-menu", run.Windows());
    Click(Control(menu, kNewConnectionButton));
    Settle(500);
    HWND form = nullptr;
    for (HWND window : run.Windows()) {
        if (Control(window, kMethods) != nullptr)
            form = window;
    }
    if (form == nullptr)
        return Fail("the new-connection form");
    SelectRow(Control(form, kMethods), 1);
    Settle(300);
    SetText(Control(form, kEntryName), "ネストネット（新）");
    Type(Control(form, kUserName), "taro");
    Type(Control(form, kPassword), "secret");
    tour.Shot("new-connection-form", run.Windows());
    Click(Control(form, IDOK));
    MessageBoxInfo box = run.WaitForMessageBox();
    if (box.window == nullptr)
        return Fail("the creation message");
    tour.Shot("created", run.Windows());
    Answer(box, IDOK);
    return run.WaitForExit();
}

// The migration: the progress window, each proposal accepted, the final message.
bool Migration(const Kit& kit, Tour& tour) {
    DialnestProcess run;
    HWND menu = StartMenu(kit, run);
    if (menu == nullptr)
        return false;
    Settle(300);
    Click(Control(menu, kMigrationButton));
    // The first proposal opens over the progress window at once: it steps aside for the shot.
    HWND progress = run.WaitForWindow("アクセスポイント移行", 5000);
    HWND first = run.WaitForWindow(kProductName, 5000);
    if (progress == nullptr || first == nullptr)
        return Fail("the progress window");
    Settle(300);
    ShowWindow(first, SW_HIDE);
    tour.Shot("progress", {progress});
    ShowWindow(first, SW_SHOW);
    for (int step = 0; step < 20; ++step) {
        HWND dialog = nullptr;
        const char* name = nullptr;
        for (int wait = 0; wait < 200 && dialog == nullptr; ++wait) {
            for (HWND window : run.Windows()) {
                if (WindowText(window) != kProductName)
                    continue;
                if (Control(window, kNewUserName) != nullptr) {
                    dialog = window;
                    name = "user-name-change";
                } else if (Control(window, kNewNumber) != nullptr) {
                    dialog = window;
                    name = "access-point-change";
                }
            }
            if (dialog == nullptr && !run.NoMessageBoxWithin(50)) {
                tour.Shot("final-message", run.Windows());
                Answer(run.WaitForMessageBox(), IDOK);
                return run.WaitForExit();
            }
        }
        if (dialog == nullptr)
            return Fail("a proposal");
        tour.Shot(name, run.Windows());
        Click(Control(dialog, IDOK));
        Settle(300);
    }
    return Fail("the end of the migration");
}

// The program packed with the sample kit, alone in its folder: its main menu and its form.
bool PackedProgram(Tour& tour) {
    Kit packed;
    if (!packed.PackSampleKit())
        return Fail("the pack");
    packed.CopyIn(SourcePath("examples/phonebook.ini"), "phonebook.ini");
    DialnestProcess run;
    HWND menu = StartMenu(packed, run);
    if (menu == nullptr)
        return false;
    tour.Shot("packed-main-menu", run.Windows());
    Click(Control(menu, kNewConnectionButton));
    Settle(500);
    for (HWND window : run.Windows()) {
        if (Control(window, kMethods) != nullptr) {
            tour.Shot("packed-new-connection-form", run.Windows());
            Close(window);
            return run.WaitForExit();
        }
    }
    return Fail("the packed program's form");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: dialnest_tour.exe OUTPUT-FOLDER\n");
        return 2;
    }
    Kit kit;
    kit.CopySampleKit();
    kit.CopyIn(SourcePath("examples/phonebook.ini"), "phonebook.ini");
    // A Flets ISDN entry too, so that the tour meets the user-name change dialog.
    kit.WriteBytes(
        "phonebook.ini",
        kit.ReadBytes("phonebook.ini") +
            ToCp932(
                "\r\n[フレッツ]\r\nLocalPhoneNumber=1492\r\nDeviceType=modem\r\n"
                "DeviceName=Standard 56000 bps Modem\r\nUserName=jiro@isdn-old.example.ne.jp\r\n"
                "Password=sample\r\n"));
    Tour tour(argv[1]);
    const bool walked = NewConnection(kit, tour) && Migration(kit, tour) && PackedProgram(tour);
    printf("tour: %d screenshots\n", tour.count());
    return walked ? 0 : 1;
}
