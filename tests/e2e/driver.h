#pragma once
// Helpers of the end-to-end driver: start a program of the build tree, find
// its windows, read their geometry and texts, work them as a user would,
// answer message boxes and take screenshots. Every wait is bounded.
#include <windows.h>

#include <string>

#include "handles.h"

namespace e2e {

// A program started by the driver; ended by TerminateProcess if still running
// when the object goes.
struct Program {
    gui::unique_handle process;
    gui::unique_handle thread;
    DWORD pid = 0;
    Program() = default;
    Program(Program&&) = default;
    Program& operator=(Program&& other) noexcept;
    ~Program();
    void End();  // terminates the process if it still runs
    explicit operator bool() const { return static_cast<bool>(process); }
};

// The build tree's folder (the driver lives in its tests\ folder) joined
// with a relative path.
std::wstring BuildPath(const std::wstring& relative);

// The folder the release archive unzips to (the programs are started from
// there, as a user would) joined with a relative path.
std::wstring ReleasePath(const std::wstring& relative);

// Starts the program; empty when it cannot be started.
Program Launch(const std::wstring& exePath);

// Waits for the process to end; its exit code, or -1 when it did not end in
// time (it is then terminated).
int WaitForExit(Program& program, DWORD timeoutMs);

// One look, no wait: a visible top-level window of the process (0: of any
// process) with this title and class (nullptr: any).
HWND FindVisibleWindow(DWORD pid, const std::wstring* title, const wchar_t* className);

// A visible top-level window of the process with this title and (if given)
// class, or nullptr after the timeout.
HWND FindWindowOf(const Program& program, const std::wstring& title, DWORD timeoutMs,
                  const wchar_t* className = nullptr);

// A visible top-level window of the process of this class, whatever its
// title, or nullptr after the timeout.
HWND FindClassWindow(const Program& program, const wchar_t* className, DWORD timeoutMs);

// A message box (class #32770) of the process with this caption.
HWND FindMessageBox(const Program& program, const std::wstring& caption, DWORD timeoutMs);

// Any message box of the process still open, or nullptr at once.
HWND AnyMessageBox(const Program& program);

std::wstring WindowText(HWND window);
// The text of a message box's text control (id 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Presses a message box button (IDOK, IDYES, IDNO...) and waits for the box
// to go. False if it stayed.
bool AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs = 3000);

// The child window with this id, once it exists, or nullptr after the timeout.
HWND WaitForChild(HWND parent, int id, DWORD timeoutMs);

SIZE ClientSize(HWND window);
// The child with this id, in its parent's client coordinates.
bool ControlRect(HWND parent, int id, RECT* out);

// Posts a button press and release at the middle of a control (client
// coordinates of the control).
void PostLeftClick(HWND control);
void PostRightClick(HWND control);
void PostLeftDoubleClick(HWND control);

// Copies what the screen shows of the window (frame included) to a PNG.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace e2e
