#include "picture.h"

#include <commctrl.h>

#include "controls.h"
#include "events.h"
#include "handles.h"

namespace gui {
namespace {
constexpr UINT_PTR kSubclassId = 1;

void Paint(HWND window, HDC dc, HBITMAP bitmap) {
    RECT client;
    GetClientRect(window, &client);
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
        memory_dc source(dc);
        if (source) {
            select_object selected(source.get(), bitmap);
            BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
        }
        ExcludeClipRect(dc, 0, 0, info.bmWidth, info.bmHeight);
    }
    // Whatever the bitmap leaves uncovered shows the parent's static colour.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(window), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(window)));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR, DWORD_PTR refData) {
    const int id = GetDlgCtrlID(window);
    auto bitmap = reinterpret_cast<HBITMAP>(refData);
    switch (message) {
    case WM_LBUTTONDOWN: {
        // DragDetect holds the pointer until the button is released or the
        // pointer leaves the drag rectangle: a click or a drag, not both.
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &at);
        PostControlEvent(id, DragDetect(window, at) ? kDragStart : kLeftClick);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        PostControlEvent(id, kLeftDoubleClick);
        return 0;
    case WM_RBUTTONUP:
        PostControlEvent(id, kRightClick);
        return 0;
    case WM_RBUTTONDBLCLK:
        PostControlEvent(id, kRightDoubleClick);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (dc) Paint(window, dc, bitmap);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(window, reinterpret_cast<HDC>(wParam), bitmap);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, PictureProc, kSubclassId);
        if (Control(id) == window) UnregisterControl(id);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The static's own STN_CLICKED would repeat the click the subclass reported.
bool IgnoreCommand(int, int) { return true; }
}  // namespace

HWND CreatePicture(HWND parent, int id, int x, int y, int width, int height, HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
    HWND window = CreateWindowExW(0, L"Static", nullptr, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BITMAP,
                                  x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    if (!SetWindowSubclass(window, PictureProc, kSubclassId, reinterpret_cast<DWORD_PTR>(bitmap))) {
        DestroyWindow(window);
        return nullptr;
    }
    RegisterControl(id, window, nullptr, IgnoreCommand);
    InvalidateRect(window, nullptr, TRUE);
    return window;
}

}  // namespace gui
