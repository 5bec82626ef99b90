// Start-up benchmark, a Windows console program: launches a program many times, alternating
// with a yardstick program (the bare one-template dialog), and measures for each launch the
// time from process creation to its first visible captioned window and the peak working set
// at that moment. Prints the medians and the ratios to the yardstick.
//
//   startup_bench RUNS LABEL PROGRAM YARDSTICK ARGUMENTS [LABEL PROGRAM YARDSTICK ARGUMENTS ...]
//
// Each program starts in its own directory; ARGUMENTS is the yardstick's command line. With
// STARTUP_BENCH_NO_WARMUP set, only the yardstick warms up: for a launch that changes its own
// files (a journal it prunes), which the caller puts back between runs.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Launch {
    double milliseconds;
    double peakMegabytes;
};

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM context) {
    Search* search = reinterpret_cast<Search*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (processId == search->processId && IsWindowVisible(window) &&
        (style & WS_CAPTION) == WS_CAPTION) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// False when the program could not start, ended or showed nothing within 30 s.
bool Measure(const std::string& program, const std::string& arguments, Launch* launch) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    const std::string directory = DirectoryOf(program);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (%lu)\n", program.c_str(), GetLastError());
        return false;
    }
    Search search = {process.dwProcessId, nullptr};
    bool shown = false;
    for (;;) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.found != nullptr) {
            shown = true;
            break;
        }
        const double elapsed =
            static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        if (elapsed > 30 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            break;
        }
        Sleep(1);
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    const BOOL counted = GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory));
    // Closed as a user would, so that the next launch does not meet a half-torn-down one.
    if (search.found != nullptr) {
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 10000);
    }
    Sleep(100);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!shown) {
        std::fprintf(stderr, "%s showed no captioned window\n", program.c_str());
        return false;
    }
    launch->milliseconds = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    launch->peakMegabytes =
        counted ? static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0) : 0;
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 2) % 4 != 0) {
        std::fprintf(stderr, "usage: %s RUNS LABEL PROGRAM YARDSTICK ARGUMENTS ...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    int status = 0;
    for (int c = 2; c + 3 < argc; c += 4) {
        const std::string label = argv[c];
        const std::string program = argv[c + 1];
        const std::string bare = argv[c + 2];
        const std::string bareArguments = argv[c + 3];
        std::vector<double> times[2];
        std::vector<double> peaks[2];
        Launch launch;
        // A few launches of each first, so that both start with their files in the cache and
        // Wine's own start-up work (fonts, registry) is done.
        bool ok = true;
        const bool programWarms = std::getenv("STARTUP_BENCH_NO_WARMUP") == nullptr;
        for (int warm = 0; ok && warm < 3; ++warm) {
            ok = (!programWarms || Measure(program, "", &launch)) &&
                 Measure(bare, bareArguments, &launch);
        }
        for (int run = 0; ok && run < runs; ++run) {
            for (int turn = 0; ok && turn < 2; ++turn) {
                const int which = (run + turn) % 2;  // alternate which one goes first
                ok = which == 0 ? Measure(program, "", &launch)
                                : Measure(bare, bareArguments, &launch);
                times[which].push_back(launch.milliseconds);
                if (std::getenv("STARTUP_BENCH_TRACE") != nullptr) {
                    std::printf("%d %s %.1f ms, %.2f MB\n", run, which == 0 ? "program" : "bare",
                                launch.milliseconds, launch.peakMegabytes);
                }
                peaks[which].push_back(launch.peakMegabytes);
            }
        }
        if (!ok) {
            status = 1;
            continue;
        }
        const double time = Median(times[0]);
        const double bareTime = Median(times[1]);
        const double fastest = *std::min_element(times[0].begin(), times[0].end());
        const double bareFastest = *std::min_element(times[1].begin(), times[1].end());
        const double peak = Median(peaks[0]);
        const double barePeak = Median(peaks[1]);
        // The fastest launch is the one least disturbed by whatever else the machine runs.
        std::printf("%s, %d launches each, against %s %s:\n"
                    "  to the first window, median  %7.1f ms, yardstick %7.1f ms, ratio %.2f\n"
                    "  to the first window, fastest %7.1f ms, yardstick %7.1f ms, ratio %.2f\n"
                    "  peak working set, median     %7.2f MB, yardstick %7.2f MB, ratio %.2f\n",
                    label.c_str(), runs, bare.substr(bare.find_last_of("\\/") + 1).c_str(),
                    bareArguments.c_str(), time, bareTime, time / bareTime, fastest, bareFastest,
                    fastest / bareFastest, peak, barePeak, barePeak > 0 ? peak / barePeak : 0);
        std::fflush(stdout);
    }
    return status;
}
