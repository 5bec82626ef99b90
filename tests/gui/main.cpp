// GUI tests under Wine: the real Dialnest.exe driven from this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    // Every text check below assumes the Japanese ANSI code page.
    if (GetACP() != 932) {
        fprintf(stderr, "The ANSI code page is %u, not 932: run under LANG=ja_JP.UTF-8.\n",
                GetACP());
        return 1;
    }
    // DPI-aware, so that rectangles of Dialnest's windows are read here in the pixels they are
    // drawn in, at whatever DPI a test gives the screen.
    SetProcessDPIAware();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
