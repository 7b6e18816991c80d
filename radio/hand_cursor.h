#pragma once
// Makes a control show a given cursor whenever the pointer is over it. The
// whole state lives in two properties of the control: "oldproc" (the window
// procedure before the subclass) and "cursor" (not owned).
#include <windows.h>

namespace radio {

// Installs the subclass on the control with this number, or only replaces
// its cursor when it is already installed. Returns 0 in all cases.
int InstallHandCursor(int controlNumber, HCURSOR cursor);

LRESULT CALLBACK HandCursorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace radio
