#include "splitter.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <map>

#include "controls.h"

namespace gui {

SplitHeights SplitterHeights(int height, SplitRatio ratio) {
    const int available = std::max(0, height - kSplitterBar);
    int lower = 0;
    if (ratio.available > 0 && ratio.lower > 0)
        lower = static_cast<int>(int64_t{available} * ratio.lower / ratio.available);
    lower = std::clamp(lower, 0, available);
    return {available - lower, lower};
}

SplitRatio SplitterRatioFor(int height, int lowerHeight, SplitRatio previous) {
    const int available = height - kSplitterBar;
    if (available <= 0) return previous;
    return {available, std::clamp(lowerHeight, 0, available)};
}

namespace {

constexpr wchar_t kClassName[] = L"MeridelSplitter";
// The grip line: 3 pixels high, 2 pixels below the upper control.
constexpr int kGripOffset = 2;
constexpr int kGripHeight = 3;

struct SplitterState {
    int id = 0;
    HWND upper = nullptr;
    HWND lower = nullptr;
    SplitRatio ratio;
    bool dragging = false;
    int grab = 0;  // pointer offset inside the bar when the drag started
};

std::map<HWND, SplitterState>& Splitters() {
    static std::map<HWND, SplitterState> splitters;
    return splitters;
}

SplitterState* FindSplitter(HWND window) {
    auto it = Splitters().find(window);
    return it == Splitters().end() ? nullptr : &it->second;
}

SIZE ClientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

int BarTop(HWND window, const SplitterState& s) {
    return SplitterHeights(ClientSize(window).cy, s.ratio).upper;
}

void Layout(HWND window, const SplitterState& s) {
    const SIZE size = ClientSize(window);
    const SplitHeights h = SplitterHeights(size.cy, s.ratio);
    if (s.upper) MoveWindow(s.upper, 0, 0, size.cx, h.upper, TRUE);
    if (s.lower) MoveWindow(s.lower, 0, h.upper + kSplitterBar, size.cx, h.lower, TRUE);
    RECT bar{0, h.upper, size.cx, h.upper + kSplitterBar};
    InvalidateRect(window, &bar, TRUE);
}

void OnPaint(HWND window, const SplitterState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (dc) {
        const SIZE size = ClientSize(window);
        const int top = BarTop(window, s) + kGripOffset;
        RECT grip{0, top, size.cx, top + kGripHeight};
        DrawEdge(dc, &grip, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    }
    EndPaint(window, &ps);
}

void OnMouseMove(HWND window, SplitterState& s, int y) {
    if (!s.dragging) return;
    const int height = ClientSize(window).cy;
    const int available = std::max(0, height - kSplitterBar);
    const int upper = std::clamp(y - s.grab, 0, available);
    s.ratio = SplitterRatioFor(height, available - upper, s.ratio);
    Layout(window, s);
    UpdateWindow(window);
}

LRESULT CALLBACK SplitterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SplitterState* s = FindSplitter(window);
    switch (message) {
    case WM_NOTIFY: {
        // The controls inside are ours: their notifications go to their handlers.
        LRESULT result = 0;
        if (RouteNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
        break;
    }
    case WM_COMMAND:
        if (RouteCommand(wParam, lParam)) return 0;
        break;
    case WM_SIZE:
        if (s) Layout(window, *s);
        return 0;
    case WM_PAINT:
        if (s) {
            OnPaint(window, *s);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        if (s) {
            const int y = GET_Y_LPARAM(lParam);
            const int top = BarTop(window, *s);
            if (y >= top && y < top + kSplitterBar) {
                s->dragging = true;
                s->grab = y - top;
                SetCapture(window);
            }
        }
        return 0;
    case WM_MOUSEMOVE:
        if (s) OnMouseMove(window, *s, GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (s && s->dragging) {
            OnMouseMove(window, *s, GET_Y_LPARAM(lParam));
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (s) s->dragging = false;
        return 0;
    case WM_NCDESTROY:
        if (s) {
            if (Control(s->id) == window) UnregisterControl(s->id);
            Splitters().erase(window);
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterSplitterClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &wc)) return true;
    wc.lpfnWndProc = SplitterProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    // Only the bar is ever uncovered, so the class cursor is the bar's.
    wc.hCursor = LoadCursorW(nullptr, IDC_SIZENS);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

HWND CreateSplitter(int id, HWND parent, int x, int y, int width, int height, HWND upper,
                    HWND lower) {
    if (!RegisterSplitterClass()) return nullptr;
    // Control parent: Tab moves into the tree and the list.
    HWND splitter = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height,
                                    parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    GetModuleHandleW(nullptr), nullptr);
    if (!splitter) return nullptr;
    SplitterState& s = Splitters()[splitter];
    s.id = id;
    s.upper = upper;
    s.lower = lower;
    if (upper) SetParent(upper, splitter);
    if (lower) SetParent(lower, splitter);
    RegisterControl(id, splitter);
    Layout(splitter, s);
    return splitter;
}

}  // namespace gui
