// Start-up of each program to an idle, visible main window, against the
// smallest Win32 program that shows a window. Prints medians of several runs
// and their ratios; it asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver.h"

namespace {
struct Found {
    DWORD pid;
    const wchar_t* title;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
    auto* found = reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    if (pid == found->pid && IsWindowVisible(window) && wcscmp(title, found->title) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

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
    Found found{program.pid, title, nullptr};
    for (int i = 0; i < 2000 && !found.window; ++i) {
        WaitForInputIdle(program.process.get(), 10);
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
        if (!found.window) Sleep(1);
    }
    if (found.window) {
        WaitForInputIdle(program.process.get(), 10000);
        QueryPerformanceCounter(&end);
        elapsed = 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    program.End();
    return elapsed;
}

double Median(const std::wstring& exe, const wchar_t* title, int runs) {
    std::vector<double> times;
    StartOnce(exe, title);  // the first start also loads the system's libraries
    for (int i = 0; i < runs; ++i) times.push_back(StartOnce(exe, title));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
}  // namespace

int wmain() {
    const int runs = 7;
    double empty = Median(e2e::BuildPath(L"tests\\empty_window.exe"), L"Empty window", runs);
    double radio = Median(e2e::BuildPath(L"radio\\OrvandelRadio.exe"), L"Orvandel Web Radio", runs);
    double tunerolle =
        Median(e2e::BuildPath(L"playlist\\Tunerolle.exe"), L"Meridel M\u00e9dia Player - Tunerolle", runs);
    std::printf("start-up to an idle main window, median of %d runs\n", runs);
    std::printf("  empty Win32 window   %7.1f ms\n", empty);
    std::printf("  OrvandelRadio        %7.1f ms   %.2fx\n", radio, radio / empty);
    std::printf("  Tunerolle            %7.1f ms   %.2fx\n", tunerolle, tunerolle / empty);
    return 0;
}
