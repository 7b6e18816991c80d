#include "driver.h"

#include <utility>
#include <vector>

#include "dib.h"
#include "png_image.h"

namespace e2e {
namespace {
constexpr DWORD kPollMs = 10;

struct Search {
    DWORD pid;                  // 0: any process
    const std::wstring* title;  // nullptr: any title
    const wchar_t* className;   // nullptr: any class
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((search->pid && pid != search->pid) || !IsWindowVisible(window)) return TRUE;
    if (search->className) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (lstrcmpW(name, search->className) != 0) return TRUE;
    }
    if (search->title) {
        wchar_t title[256] = {};
        GetWindowTextW(window, title, 256);  // reads the stored caption, sends nothing
        if (*search->title != title) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND WaitFind(DWORD pid, const std::wstring* title, const wchar_t* className, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND found = FindVisibleWindow(pid, title, className)) return found;
        if (GetTickCount64() >= deadline) return nullptr;
        Sleep(kPollMs);
    }
}

LPARAM Middle(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

}  // namespace

HWND FindVisibleWindow(DWORD pid, const std::wstring* title, const wchar_t* className) {
    Search search{pid, title, className, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Program::End() {
    if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
    }
}

Program::~Program() { End(); }

Program& Program::operator=(Program&& other) noexcept {
    // A program replaced by another must not be left running.
    if (this != &other) {
        End();
        process = std::move(other.process);
        thread = std::move(other.thread);
        pid = std::exchange(other.pid, 0);
    }
    return *this;
}

std::wstring BuildPath(const std::wstring& relative) {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    for (int up = 0; up < 2; ++up) path.erase(path.find_last_of(L'\\'));  // file, then tests\ folder
    return path + L"\\" + relative;
}

std::wstring ReleasePath(const std::wstring& relative) {
    return BuildPath(L"unzipped\\MeridelMediaPlayer\\" + relative);
}

Program Launch(const std::wstring& exePath) {
    Program program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return program;
    }
    program.process.reset(info.hProcess);
    program.thread.reset(info.hThread);
    program.pid = info.dwProcessId;
    return program;
}

int WaitForExit(Program& program, DWORD timeoutMs) {
    if (!program) return -1;
    if (WaitForSingleObject(program.process.get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(program.process.get(), 1);
        WaitForSingleObject(program.process.get(), 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(program.process.get(), &code);
    return static_cast<int>(code);
}

HWND FindWindowOf(const Program& program, const std::wstring& title, DWORD timeoutMs,
                  const wchar_t* className) {
    return WaitFind(program.pid, &title, className, timeoutMs);
}

HWND FindClassWindow(const Program& program, const wchar_t* className, DWORD timeoutMs) {
    return WaitFind(program.pid, nullptr, className, timeoutMs);
}

HWND FindMessageBox(const Program& program, const std::wstring& caption, DWORD timeoutMs) {
    return FindWindowOf(program, caption, timeoutMs, L"#32770");
}

HWND AnyMessageBox(const Program& program) { return FindVisibleWindow(program.pid, nullptr, L"#32770"); }

std::wstring WindowText(HWND window) {
    // WM_GETTEXT reaches controls of other processes too (GetWindowText does
    // not); the time limit keeps a hung program from hanging the driver.
    constexpr UINT kFlags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, kFlags, 2000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             kFlags, 2000, &copied)) {
        return {};
    }
    text.resize(copied);
    return text;
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::wstring();
}

bool AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (IsWindow(box)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
    return true;
}

HWND WaitForChild(HWND parent, int id, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        HWND child = GetDlgItem(parent, id);
        if (child && GetParent(child) == parent) return child;
        if (GetTickCount64() >= deadline || !IsWindow(parent)) return nullptr;
        Sleep(kPollMs);
    }
}

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

bool ControlRect(HWND parent, int id, RECT* out) {
    HWND control = GetDlgItem(parent, id);
    if (!control || GetParent(control) != parent) return false;
    GetWindowRect(control, out);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(out), 2);
    return true;
}

void PostLeftClick(HWND control) {
    const LPARAM at = Middle(control);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

void PostRightClick(HWND control) {
    const LPARAM at = Middle(control);
    PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(control, WM_RBUTTONUP, 0, at);
}

void PostLeftDoubleClick(HWND control) {
    const LPARAM at = Middle(control);
    PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    gui::window_dc screen(nullptr);
    gui::memory_dc copy(screen.get());
    if (!screen || !copy) return false;
    void* bits = nullptr;  // top-down, as SavePng wants
    gui::unique_gdi<HBITMAP> bitmap(gui::CreateTopDownDib(width, height, &bits));
    if (!bitmap || !bits) return false;
    {
        gui::select_object selected(copy.get(), bitmap.get());
        if (!BitBlt(copy.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY)) return false;
    }
    GdiFlush();
    return gui::SavePng(path, width, height, static_cast<const unsigned char*>(bits));
}

}  // namespace e2e
