// Start-up of each program to an idle, visible main window, against the
// smallest Win32 program that shows a window. Prints medians of several runs
// and their ratios; it asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
std::wstring BuildPath(const std::wstring& relative) {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    for (int up = 0; up < 2; ++up) path.erase(path.find_last_of(L'\\'));
    return path + L"\\" + relative;
}

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
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\"";
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    double elapsed = -1;
    Found found{process.dwProcessId, title, nullptr};
    for (int i = 0; i < 2000 && !found.window; ++i) {
        WaitForInputIdle(process.hProcess, 10);
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
        if (!found.window) Sleep(1);
    }
    if (found.window) {
        WaitForInputIdle(process.hProcess, 10000);
        QueryPerformanceCounter(&end);
        elapsed = 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
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
    double empty = Median(BuildPath(L"tests\\empty_window.exe"), L"Empty window", runs);
    double radio = Median(BuildPath(L"radio\\OrvandelRadio.exe"), L"Orvandel Web Radio", runs);
    double tunerolle =
        Median(BuildPath(L"playlist\\Tunerolle.exe"), L"Meridel M\u00e9dia Player - Tunerolle", runs);
    std::printf("start-up to an idle main window, median of %d runs\n", runs);
    std::printf("  empty Win32 window   %7.1f ms\n", empty);
    std::printf("  OrvandelRadio        %7.1f ms   %.2fx\n", radio, radio / empty);
    std::printf("  Tunerolle            %7.1f ms   %.2fx\n", tunerolle, tunerolle / empty);
    return 0;
}
