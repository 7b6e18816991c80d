// Start-up of each program to an idle, visible main window, against the
// smallest Win32 program that shows a window. Prints medians of several runs
// and their ratios; it asserts nothing. With "--no-header" it leaves out the
// column titles, for a run that follows the playlist benchmark.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_report.h"
#include "driver.h"

namespace {
// Milliseconds from CreateProcess to an idle program showing its window, or
// -1 when it did not get there within ten seconds.
double StartOnce(const std::wstring& exe, const wchar_t* title) {
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    e2e::Program program = e2e::Launch(exe);
    if (!program) return -1;
    double elapsed = -1;
    // Polled every millisecond: the driver's own window search waits 10 ms
    // between looks, too coarse for these figures.
    const std::wstring wanted = title;
    HWND window = nullptr;
    for (int i = 0; i < 2000 && !window; ++i) {
        WaitForInputIdle(program.process.get(), 10);
        window = e2e::FindVisibleWindow(program.pid, &wanted, nullptr);
        if (!window) Sleep(1);
    }
    if (window) {
        WaitForInputIdle(program.process.get(), 10000);
        QueryPerformanceCounter(&end);
        elapsed = 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    program.End();
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = 7;
    const bool header = !(argc > 1 && std::wstring(argv[1]) == L"--no-header");
    struct Subject {
        std::wstring exe;
        const wchar_t* title;
        std::vector<double> times;
    };
    Subject empty{e2e::BuildPath(L"tests\\empty_window.exe"), L"Empty window", {}};
    Subject tunerolle{e2e::BuildPath(L"playlist\\Tunerolle.exe"), L"Meridel M\u00e9dia Player - Tunerolle", {}};
    Subject radio{e2e::BuildPath(L"radio\\OrvandelRadio.exe"), L"Orvandel Web Radio", {}};
    Subject* subjects[] = {&empty, &tunerolle, &radio};
    // The first start also loads the system's libraries. Then the programs
    // take turns, so a slower moment of the machine weighs on all three.
    for (Subject* s : subjects) StartOnce(s->exe, s->title);
    for (int i = 0; i < runs; ++i)
        for (Subject* s : subjects) {
            double ms = StartOnce(s->exe, s->title);
            if (ms >= 0)
                s->times.push_back(ms);
            else
                std::fprintf(stderr, "bench: %ls did not reach an idle window\n", s->exe.c_str());
        }
    const double floor = bench::Median(empty.times);
    if (header) bench::PrintHeader();
    // The floor is the empty window's start-up, timed the same way.
    bench::PrintLine("start-up of Tunerolle.exe, idle window (7 runs)", bench::Ms(bench::Median(tunerolle.times)),
                     bench::Ms(floor), "< 1.5x");
    bench::PrintLine("start-up of OrvandelRadio.exe, idle window (7 runs)", bench::Ms(bench::Median(radio.times)),
                     bench::Ms(floor), "< 1.5x");
    return 0;
}
