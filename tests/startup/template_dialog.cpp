// A second yardstick of the start-up benchmark: one dialog template of another program,
// controls and all, under the same common-controls manifest, shown by a program that does
// nothing else. Against it, what a program's own start-up work costs stands apart from what
// its window costs.
//
//   template_dialog MODULE TEMPLATE_ID
#include <windows.h>

#include <cstdlib>
#include <string>

static INT_PTR CALLBACK TemplateProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // MODULE may be quoted; the template id follows it.
    std::string line = commandLine;
    std::string module;
    size_t rest = 0;
    if (!line.empty() && line[0] == '"') {
        rest = line.find('"', 1);
        module = line.substr(1, rest == std::string::npos ? std::string::npos : rest - 1);
        rest = rest == std::string::npos ? line.size() : rest + 1;
    } else {
        rest = line.find(' ');
        module = line.substr(0, rest);
        rest = rest == std::string::npos ? line.size() : rest;
    }
    const int id = std::atoi(line.c_str() + rest);
    HMODULE resources = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (resources == nullptr || id <= 0) {
        return 2;
    }
    return static_cast<int>(
        DialogBoxParamA(resources, MAKEINTRESOURCEA(id), nullptr, TemplateProc, 0));
}
