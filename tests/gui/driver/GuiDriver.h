// Drives the real Dialnest.exe from another process, as a user would: finds its windows by
// caption and its controls by id, clicks, types, selects and presses keys, and reads and
// answers message boxes. Texts are UTF-8 here; the program's own are code page 932.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// UTF-8 to code page 932 bytes, as the provider's files are written.
std::string ToCp932(const std::string& utf8);
std::string FromCp932(const std::string& bytes);

enum class BoxIcon { None, Warning, Information, Question, Error, Unknown };
const char* BoxIconName(BoxIcon icon);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::None;
    std::vector<int> buttons;  // control ids in tab order (IDOK, IDCANCEL, ...)
};

class DialnestProcess {
public:
    DialnestProcess() = default;
    ~DialnestProcess();
    DialnestProcess(const DialnestProcess&) = delete;
    DialnestProcess& operator=(const DialnestProcess&) = delete;

    // Starts `exePath` with its own folder as working directory.
    bool Start(const std::string& exePath);
    // Starts `exePath` in Wine anew, through the shell, under the Unix locale `locale`
    // ("en_US.UTF-8"): Wine takes its code page for programs from the locale it starts in,
    // not from the environment of the process that starts it. Found by its file name.
    bool StartInLocale(const std::string& exePath, const char* locale);
    // True when the process has ended within `timeoutMs`; then ExitCode() is valid.
    bool WaitForExit(DWORD timeoutMs = 10000);
    DWORD ExitCode() const;
    void Kill();
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }

    // A visible top-level window of the process whose caption is `caption` (any caption
    // when empty) and whose class is `className` (any when null); null after the timeout.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 10000,
                       const char* className = nullptr) const;
    // All visible top-level windows of the process.
    std::vector<HWND> Windows() const;
    // The message box of the process (dialog class with a text static 65535) that is
    // showing, read in full; `window` is null when none appeared within the timeout.
    MessageBoxInfo WaitForMessageBox(DWORD timeoutMs = 10000) const;
    // True when no message box appears within `timeoutMs`.
    bool NoMessageBoxWithin(DWORD timeoutMs) const;

private:
    PROCESS_INFORMATION info_ = {};
};

// Controls and windows.
HWND Control(HWND dialog, int id);
std::string ClassOf(HWND window);
std::string WindowText(HWND window);
bool IsShown(HWND window);
RECT ClientRectOnScreen(HWND window);
// True when `window` stands centred (within a pixel) over `around`, by default the screen's
// work area.
bool IsCentredOver(HWND window, HWND around = nullptr);
void SetText(HWND control, const std::string& utf8);  // like pasting: one WM_SETTEXT
void Type(HWND control, const std::string& utf8);     // one WM_CHAR per character
void Click(HWND button);                              // posted, so a modal reply can follow
void ClickAndWait(HWND button);                       // for clicks that open nothing modal
void PressKey(HWND target, UINT virtualKey);          // posted key-down and key-up
HWND FocusOf(HWND window);                            // focused control of the window's thread
// Selects row `index` of a drop-down list the way a user's choice does (selection, then
// the change notification to the dialog).
void SelectRow(HWND combo, int index);
int SelectedRow(HWND combo);
std::vector<std::string> Rows(HWND combo);
bool IsChecked(HWND button);
void SystemCommand(HWND window, WPARAM command);  // posted WM_SYSCOMMAND
void Close(HWND window);                          // the caption's close box
void Answer(const MessageBoxInfo& box, int buttonId);

// Pixels as they are on the screen (0x00RRGGBB), for colours that only the eye can check.
std::vector<COLORREF> CaptureScreen(const RECT& rect);
COLORREF ScreenPixel(int x, int y);
// Width and height of the dark (text) pixels of a control, as drawn on the screen.
SIZE InkExtent(HWND control);

// Waits for the message queue of the program's thread to drain.
void Settle(DWORD ms = 150);
