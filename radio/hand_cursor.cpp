#include "hand_cursor.h"

#include "controls.h"

namespace radio {
namespace {
constexpr wchar_t kOldProc[] = L"oldproc";
constexpr wchar_t kCursor[] = L"cursor";
}  // namespace

int InstallHandCursor(int controlNumber, HCURSOR cursor) {
    HWND window = gui::Control(controlNumber);
    if (GetPropW(window, kCursor)) RemovePropW(window, kCursor);
    SetPropW(window, kCursor, cursor);
    // Chained once only: a second installation must not wrap our own procedure.
    if (!GetPropW(window, kOldProc)) {
        LONG previous = SetWindowLongW(window, GWL_WNDPROC,
                                       static_cast<LONG>(reinterpret_cast<LONG_PTR>(&HandCursorProc)));
        SetPropW(window, kOldProc, reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(previous)));
    }
    SendMessageW(window, WM_SETCURSOR, 0, 0);  // show it at once
    return 0;
}

LRESULT CALLBACK HandCursorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kOldProc));
    switch (message) {
    case WM_NCDESTROY:
        RemovePropW(window, kOldProc);
        RemovePropW(window, kCursor);
        return CallWindowProcW(previous, window, message, wParam, lParam);
    case WM_SETCURSOR:
        SetCursor(static_cast<HCURSOR>(GetPropW(window, kCursor)));
        return 0;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace radio
