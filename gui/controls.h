#pragma once
// The program's own control numbers, mapped to their windows.
#include <windows.h>

namespace gui {

// Turns a control's WM_NOTIFY into events or answers it. Returns true when it
// handled the notification, with the message result in `result`.
using NotifyHandler = bool (*)(int id, NMHDR* header, LRESULT& result);
// Same for WM_COMMAND notifications (code is the high word of wParam).
using CommandHandler = bool (*)(int id, int code);

void RegisterControl(int id, HWND window, NotifyHandler notify = nullptr,
                     CommandHandler command = nullptr);
void UnregisterControl(int id);
HWND Control(int id);  // nullptr when the number names no control
int ControlId(HWND window);  // -1 when the window is not one of ours

// Routes a WM_NOTIFY or WM_COMMAND that reached any of our windows to the
// control that sent it. Every container window (main window, splitter) calls
// these first.
bool RouteNotify(NMHDR* header, LRESULT& result);
bool RouteCommand(WPARAM wParam, LPARAM lParam);

}  // namespace gui
