// The GUI test driver.
#include "driver/GuiDriver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

std::string Convert(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return std::string();
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty())
        return std::wstring();
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

struct EnumState {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    EnumState* state = reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == state->processId && IsWindowVisible(window)) {
        state->windows.push_back(window);
    }
    return TRUE;
}

bool IsMessageBox(HWND window) {
    return ClassOf(window) == "#32770" && GetDlgItem(window, 65535) != nullptr &&
           GetDlgItem(window, 1088) != nullptr;
}

// A 32-bit top-down bitmap in its own memory device context; pixels read as 0x00RRGGBB.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        screen_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen_);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        ReleaseDC(nullptr, screen_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    HDC Screen() const { return screen_; }
    std::vector<COLORREF> Pixels() const {
        GdiFlush();
        std::vector<COLORREF> pixels(static_cast<size_t>(width_) * height_);
        const DWORD* p = static_cast<const DWORD*>(bits_);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFF;
        return pixels;
    }

private:
    int width_;
    int height_;
    HDC screen_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

// Renders a system icon the way a message box's icon static draws it, over `background`.
std::vector<COLORREF> RenderIcon(LPCWSTR iconId, int width, int height, COLORREF background) {
    Canvas canvas(width, height);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, width, height};
    FillRect(canvas.Dc(), &all, brush);
    DeleteObject(brush);
    DrawIconEx(canvas.Dc(), 0, 0, LoadIconW(nullptr, iconId), 0, 0, 0, nullptr,
               DI_NORMAL | DI_DEFAULTSIZE);
    return canvas.Pixels();
}

long long Distance(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    long long sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                            static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return sum;
}

BoxIcon IdentifyIcon(HWND iconStatic) {
    if (iconStatic == nullptr || !IsWindowVisible(iconStatic))
        return BoxIcon::None;
    RECT rect;
    GetWindowRect(iconStatic, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return BoxIcon::None;
    const std::vector<COLORREF> seen = CaptureScreen(rect);
    const COLORREF corner = seen.front();
    const COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
    struct Candidate {
        LPCWSTR id;
        BoxIcon icon;
    } candidates[] = {
        {IDI_WARNING, BoxIcon::Warning},
        {IDI_INFORMATION, BoxIcon::Information},
        {IDI_QUESTION, BoxIcon::Question},
        {IDI_ERROR, BoxIcon::Error},
    };
    BoxIcon best = BoxIcon::Unknown;
    long long bestDistance = LLONG_MAX;
    for (const Candidate& c : candidates) {
        std::vector<COLORREF> drawn = RenderIcon(c.id, width, height, background);
        // The rendering is BGR in memory; the capture is 0x00RRGGBB like it.
        const long long d = Distance(seen, drawn);
        if (d < bestDistance) {
            bestDistance = d;
            best = c.icon;
        }
    }
    // Far from every candidate: not a system icon at all.
    if (bestDistance > static_cast<long long>(width) * height * 3 * 24)
        return BoxIcon::Unknown;
    return best;
}

}  // namespace

std::string ToUtf8(const std::wstring& text) {
    return Convert(text, CP_UTF8);
}
std::wstring FromUtf8(const std::string& text) {
    return Widen(text, CP_UTF8);
}
std::string ToCp932(const std::string& utf8) {
    return Convert(FromUtf8(utf8), 932);
}
std::string FromCp932(const std::string& bytes) {
    return ToUtf8(Widen(bytes, 932));
}

const char* BoxIconName(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None:
            return "none";
        case BoxIcon::Warning:
            return "warning";
        case BoxIcon::Information:
            return "information";
        case BoxIcon::Question:
            return "question";
        case BoxIcon::Error:
            return "error";
        default:
            return "unknown";
    }
}

DialnestProcess::~DialnestProcess() {
    if (info_.hProcess != nullptr) {
        if (Running())
            Kill();
        CloseHandle(info_.hProcess);
        if (info_.hThread != nullptr)
            CloseHandle(info_.hThread);
    }
}

bool DialnestProcess::Start(const std::string& exePath) {
    std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
    std::wstring command = L"\"" + FromUtf8(exePath) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        FromUtf8(folder).c_str(), &startup, &info_)) {
        return false;
    }
    WaitForInputIdle(info_.hProcess, 10000);
    return true;
}

bool DialnestProcess::StartInLocale(const std::string& exePath, const char* locale) {
    std::wstring command = FromUtf8(std::string("/bin/sh -c \"LC_ALL=") + locale +
                                    " LANG=" + locale + " /usr/lib/wine/wine '" + exePath + "'\"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION shell = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &shell)) {
        return false;
    }
    CloseHandle(shell.hThread);
    CloseHandle(shell.hProcess);
    // Wine cannot wait for a Unix process: the program is found among the processes instead.
    const std::wstring fileName = FromUtf8(exePath.substr(exePath.find_last_of('\\') + 1));
    for (int i = 0; i < 400 && info_.hProcess == nullptr; ++i, Sleep(50)) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32FirstW(snapshot, &entry); more && info_.hProcess == nullptr;
             more = Process32NextW(snapshot, &entry)) {
            if (lstrcmpiW(entry.szExeFile, fileName.c_str()) == 0) {
                info_.dwProcessId = entry.th32ProcessID;
                info_.hProcess =
                    OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE,
                                entry.th32ProcessID);
            }
        }
        CloseHandle(snapshot);
    }
    return info_.hProcess != nullptr;
}

bool DialnestProcess::WaitForExit(DWORD timeoutMs) {
    return info_.hProcess != nullptr &&
           WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD DialnestProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool DialnestProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void DialnestProcess::Kill() {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
}

std::vector<HWND> DialnestProcess::Windows() const {
    EnumState state{info_.dwProcessId, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.windows;
}

HWND DialnestProcess::WaitForWindow(const std::string& caption, DWORD timeoutMs,
                                    const char* className) const {
    const DWORD start = GetTickCount();
    do {
        for (HWND window : Windows()) {
            if ((caption.empty() || WindowText(window) == caption) &&
                (className == nullptr || ClassOf(window) == className)) {
                return window;
            }
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs && Running());
    return nullptr;
}

MessageBoxInfo DialnestProcess::WaitForMessageBox(DWORD timeoutMs) const {
    MessageBoxInfo box;
    const DWORD start = GetTickCount();
    do {
        for (HWND window : Windows()) {
            if (IsMessageBox(window)) {
                box.window = window;
                break;
            }
        }
        if (box.window == nullptr)
            Sleep(50);
    } while (box.window == nullptr && GetTickCount() - start < timeoutMs && Running());
    if (box.window == nullptr)
        return box;
    Settle(200);  // let it paint before its icon is looked at
    box.caption = WindowText(box.window);
    box.text = WindowText(GetDlgItem(box.window, 65535));
    box.icon = IdentifyIcon(GetDlgItem(box.window, 1088));
    for (HWND child = GetWindow(box.window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Button" && IsWindowVisible(child)) {
            box.buttons.push_back(GetDlgCtrlID(child));
        }
    }
    return box;
}

bool DialnestProcess::NoMessageBoxWithin(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    do {
        for (HWND window : Windows()) {
            if (IsMessageBox(window))
                return false;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return true;
}

HWND Control(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string WindowText(HWND window) {
    if (window == nullptr)
        return std::string();
    wchar_t text[4096] = {};
    // WM_GETTEXT works across processes where GetWindowText only reads the title.
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return ToUtf8(text);
}

bool IsShown(HWND window) {
    return window != nullptr && IsWindowVisible(window);
}

RECT ClientRectOnScreen(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool IsCentredOver(HWND window, HWND around) {
    RECT own = {};
    RECT outer = {};
    GetWindowRect(window, &own);
    if (around != nullptr) {
        GetWindowRect(around, &outer);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &outer, 0);
    }
    const long dx = (own.left - outer.left) - (outer.right - own.right);
    const long dy = (own.top - outer.top) - (outer.bottom - own.bottom);
    return dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2;
}

void SetText(HWND control, const std::string& utf8) {
    std::wstring text = FromUtf8(utf8);
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Settle(50);
}

void Type(HWND control, const std::string& utf8) {
    for (wchar_t c : FromUtf8(utf8)) {
        PostMessageW(control, WM_CHAR, c, 1);
    }
    Settle(100);
}

void Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void ClickAndWait(HWND button) {
    Click(button);
    Settle();
}

void PressKey(HWND target, UINT virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
    Settle(300);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

void SelectRow(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

int SelectedRow(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> Rows(HWND combo) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        const LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (n >= 0 && n < 1024) {
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
        }
        rows.push_back(ToUtf8(text));
    }
    return rows;
}

bool IsChecked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SystemCommand(HWND window, WPARAM command) {
    PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

void Close(HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Answer(const MessageBoxInfo& box, int buttonId) {
    HWND button = GetDlgItem(box.window, buttonId);
    if (button != nullptr) {
        Click(button);
    } else {
        PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    }
    Settle(200);
}

std::vector<COLORREF> CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return std::vector<COLORREF>();
    Canvas canvas(width, height);
    BitBlt(canvas.Dc(), 0, 0, width, height, canvas.Screen(), rect.left, rect.top, SRCCOPY);
    return canvas.Pixels();
}

COLORREF ScreenPixel(int x, int y) {
    RECT rect = {x, y, x + 1, y + 1};
    std::vector<COLORREF> one = CaptureScreen(rect);
    return one.empty() ? CLR_INVALID : one[0];
}

SIZE InkExtent(HWND control) {
    const RECT rect = ClientRectOnScreen(control);
    const int width = rect.right - rect.left;
    const std::vector<COLORREF> pixels = CaptureScreen(rect);
    RECT ink = {width, LONG_MAX, -1, -1};
    for (size_t i = 0; i < pixels.size(); ++i) {
        const COLORREF c = pixels[i];
        if (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 200) {
            const LONG x = static_cast<LONG>(i) % width;
            const LONG y = static_cast<LONG>(i) / width;
            ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), y};
        }
    }
    return ink.right < 0 ? SIZE{0, 0} : SIZE{ink.right - ink.left + 1, ink.bottom - ink.top + 1};
}

void Settle(DWORD ms) {
    Sleep(ms);
}
