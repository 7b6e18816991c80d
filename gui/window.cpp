#include "window.h"

#include <algorithm>
#include <vector>

#include "controls.h"
#include "events.h"
#include "handles.h"

namespace gui {
namespace {
constexpr wchar_t kClassName[] = L"MeridelMainWindow";

HWND g_main = nullptr;
MessageHook g_hook = nullptr;
ResizeHandler g_resize = nullptr;
SIZE g_minimumClient = {0, 0};
unique_gdi<HBRUSH> g_colourBrush;
std::vector<DrawItemHandler> g_drawItemHandlers;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr LRESULT kNotHandled = -1;
    if (g_hook) {
        LRESULT r = g_hook(window, message, wParam, lParam, kNotHandled);
        if (r != kNotHandled) return r;
    }
    switch (message) {
    case WM_CLOSE:
        // The window stays: the program's loop decides what a close means.
        PostCloseRequest();
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && g_resize && window == g_main)
            g_resize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_GETMINMAXINFO:
        if (g_minimumClient.cx > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            SIZE outer = OuterSize(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                                   static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)),
                                   g_minimumClient.cx, g_minimumClient.cy);
            info->ptMinTrackSize = {outer.cx, outer.cy};
            return 0;
        }
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (RouteNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
        break;
    }
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {  // a popup menu item
            PostMenuEvent(LOWORD(wParam));
            return 0;
        }
        if (RouteCommand(wParam, lParam)) return 0;
        break;
    case WM_DRAWITEM:
        for (DrawItemHandler handler : g_drawItemHandlers)
            if (handler(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_ERASEBKGND:
        if (g_colourBrush) {
            RECT r;
            GetClientRect(window, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, g_colourBrush.get());
            return 1;
        }
        break;
    case WM_DESTROY:
        if (window == g_main) g_main = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainClass(HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &wc)) return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}
}  // namespace

SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

POINT CentredPosition(SIZE outer) {
    int sw = GetSystemMetrics(SM_CXSCREEN);
    int sh = GetSystemMetrics(SM_CYSCREEN);
    return {(sw - std::min<int>(sw, outer.cx)) / 2, (sh - std::min<int>(sh, outer.cy)) / 2};
}

HWND OpenMainWindow(const WindowSpec& options) {
    if (!RegisterMainClass(options.background)) return nullptr;
    SIZE outer = OuterSize(options.style, 0, options.clientWidth, options.clientHeight);
    POINT at = CentredPosition(outer);
    HWND window = CreateWindowExW(0, kClassName, options.title.c_str(), options.style, at.x, at.y,
                                  outer.cx, outer.cy, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    g_main = window;
    // The class is registered once per process; each window brings its own background.
    SetClassLongPtrW(window, GCLP_HBRBACKGROUND,
                     reinterpret_cast<LONG_PTR>(options.background ? options.background
                                                                : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    if (options.icon) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(options.icon));
    }
    if (HICON small = options.smallIcon ? options.smallIcon : options.icon) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UpdateWindow(window);
    return window;
}

HWND MainWindow() { return g_main; }

void CloseMainWindow() {
    if (g_main) DestroyWindow(g_main);
    g_main = nullptr;
    g_colourBrush.reset();
}

void AddDrawItemHandler(DrawItemHandler handler) {
    if (std::find(g_drawItemHandlers.begin(), g_drawItemHandlers.end(), handler) == g_drawItemHandlers.end())
        g_drawItemHandlers.push_back(handler);
}

void SetMessageHook(MessageHook hook) { g_hook = hook; }
void SetResizeHandler(ResizeHandler handler) { g_resize = handler; }
void SetMinimumClientSize(int width, int height) { g_minimumClient = {width, height}; }

void SetWindowColour(HWND window, COLORREF colour) {
    g_colourBrush.reset(CreateSolidBrush(colour));
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

HFONT MessageFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            if (HFONT f = CreateFontIndirectW(&metrics.lfMessageFont)) return f;
        }
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

}  // namespace gui
