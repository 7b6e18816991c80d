#pragma once
// The programs' main window: created centred and shown at once, offers every
// message to a hook first, turns close requests and control notifications into
// events and reports size changes to a resize handler.
#include <windows.h>

#include <string>

namespace gui {

struct WindowSpec {
    std::wstring title;
    int clientWidth = 0;
    int clientHeight = 0;
    DWORD style = WS_OVERLAPPEDWINDOW;
    HICON icon = nullptr;       // large icon, and small one unless smallIcon; not owned
    HICON smallIcon = nullptr;  // title bar icon; not owned
    HBRUSH background = nullptr;  // not owned; system button face when null
};

// The hook sees each message first; whatever it returns other than
// `notHandled` becomes the message's result.
using MessageHook = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, LRESULT notHandled);
using ResizeHandler = void (*)(int clientWidth, int clientHeight);

// Returns nullptr when the window cannot be created.
HWND OpenMainWindow(const WindowSpec& options);
HWND MainWindow();
void CloseMainWindow();  // destroys it; the program ends afterwards

void SetMessageHook(MessageHook hook);
// Called on every size change of the client area except minimising.
void SetResizeHandler(ResizeHandler handler);
// The window cannot be made smaller than this client size.
void SetMinimumClientSize(int width, int height);
// Fills the client area with this colour and repaints it at once.
void SetWindowColour(HWND window, COLORREF colour);

// Outer size of a window with this style and client size.
SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight);
// Top-left corner that centres an outer size on the primary screen.
POINT CentredPosition(SIZE outer);

// Owner-drawn pieces of the main window (status fields...) that the main
// window draws on WM_DRAWITEM; a handler returns true when the item was its own.
using DrawItemHandler = bool (*)(DRAWITEMSTRUCT* item);
void AddDrawItemHandler(DrawItemHandler handler);

// The system's message font (non-client metrics), or DEFAULT_GUI_FONT.
HFONT MessageFont();

}  // namespace gui
