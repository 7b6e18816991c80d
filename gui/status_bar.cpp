#include "status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "controls.h"
#include "window.h"

namespace gui {
namespace {
struct StatusBarState {
    HWND bar = nullptr;
    std::vector<StatusField> fields;
    int progressField = -1;
    HWND progressBar = nullptr;  // only with visual styles
    int minimum = 0;
    int maximum = 100;
    int value = 0;
    int drawnPixels = -1;  // width of the drawn band
    DWORD drawnAt = 0;     // GetTickCount of the last repaint
    RECT progressRect{};   // kept so that a progress step costs no message
};
StatusBarState g_status;

// About one frame of a 60 Hz screen (and one tick of the coarse system clock).
constexpr DWORD kProgressRepaintMs = 15;

RECT FieldRect(int field) {
    RECT r{};
    SendMessageW(g_status.bar, SB_GETRECT, field, reinterpret_cast<LPARAM>(&r));
    return r;
}

int BandWidth() {
    const RECT& field = g_status.progressRect;
    int span = g_status.maximum - g_status.minimum;
    if (span <= 0) return 0;
    int inner = std::max<LONG>(0, field.right - field.left - 2);
    int v = std::clamp(g_status.value, g_status.minimum, g_status.maximum) - g_status.minimum;
    return static_cast<int>(static_cast<long long>(inner) * v / span);
}

bool DrawProgressField(DRAWITEMSTRUCT* item) {
    if (item->hwndItem != g_status.bar || static_cast<int>(item->itemID) != g_status.progressField)
        return false;
    RECT r = item->rcItem;
    FillRect(item->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT band = r;
    InflateRect(&band, -1, -1);
    band.right = band.left + BandWidth();
    if (band.right > band.left) FillRect(item->hDC, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
    return true;
}

void PlaceProgressBar() {
    if (g_status.progressField < 0) return;
    g_status.progressRect = FieldRect(g_status.progressField);
    g_status.drawnPixels = -1;
    if (!g_status.progressBar) return;
    RECT r = g_status.progressRect;
    InflateRect(&r, -1, -1);
    MoveWindow(g_status.progressBar, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}
}  // namespace

HWND CreateStatusBar(int id, HWND parent, const std::vector<StatusField>& fields,
                     int progressField, bool themed) {
    g_status = StatusBarState{};
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                               0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!bar) return nullptr;
    g_status.bar = bar;
    g_status.fields = fields;
    g_status.progressField = progressField;
    SendMessageW(bar, SB_SETMINHEIGHT, 18, 0);
    SendMessageW(bar, WM_SIZE, 0, 0);
    RegisterControl(id, bar);
    AddDrawItemHandler(&DrawProgressField);
    LayoutStatusBar();
    if (progressField >= 0) {
        if (themed) {
            g_status.progressBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH,
                                                   0, 0, 0, 0, bar, nullptr, GetModuleHandleW(nullptr), nullptr);
            SendMessageW(g_status.progressBar, PBM_SETRANGE32, 0, 100);
            PlaceProgressBar();
        } else {
            SendMessageW(bar, SB_SETTEXTW, progressField | SBT_OWNERDRAW, 0);
        }
    }
    return bar;
}

void LayoutStatusBar() {
    if (!g_status.bar) return;
    SendMessageW(g_status.bar, WM_SIZE, 0, 0);
    HWND parent = GetParent(g_status.bar);
    RECT client{}, barRect{};
    GetClientRect(parent, &client);
    GetWindowRect(g_status.bar, &barRect);
    int reserve = IsZoomed(parent) ? 0 : (barRect.bottom - barRect.top) - 3;
    int fixed = 0;
    for (const auto& f : g_status.fields) if (f.width >= 0) fixed += f.width;
    int rest = std::max(0, static_cast<int>(client.right) - reserve - fixed);
    std::vector<int> edges;
    int x = 0;
    for (const auto& f : g_status.fields) {
        x += f.width >= 0 ? f.width : rest;
        edges.push_back(x);
    }
    SendMessageW(g_status.bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    PlaceProgressBar();
}

void SetStatusText(int field, const std::wstring& text, bool rightAligned) {
    if (!g_status.bar) return;
    // Two tabs put a status field's text against its right edge.
    std::wstring shown = rightAligned ? L"\t\t" + text : text;
    SendMessageW(g_status.bar, SB_SETTEXTW, field, reinterpret_cast<LPARAM>(shown.c_str()));
}

std::wstring StatusText(int field) {
    if (!g_status.bar) return {};
    LRESULT info = SendMessageW(g_status.bar, SB_GETTEXTLENGTHW, field, 0);
    std::wstring text(LOWORD(info) + 1, L'\0');
    SendMessageW(g_status.bar, SB_GETTEXTW, field, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    if (text.rfind(L"\t\t", 0) == 0) text.erase(0, 2);
    return text;
}

void SetStatusIcon(int field, HICON icon) {
    if (g_status.bar) SendMessageW(g_status.bar, SB_SETICON, field, reinterpret_cast<LPARAM>(icon));
}

void SetStatusProgressRange(int minimum, int maximum) {
    g_status.minimum = minimum;
    g_status.maximum = maximum;
    if (g_status.progressBar) SendMessageW(g_status.progressBar, PBM_SETRANGE32, minimum, maximum);
    g_status.drawnPixels = -1;
    SetStatusProgress(g_status.value);
}

void SetStatusProgress(int value) {
    g_status.value = value;
    if (!g_status.bar || g_status.progressField < 0) return;
    int pixels = BandWidth();
    if (pixels == g_status.drawnPixels) return;
    // A repaint costs a few milliseconds: 300 of them would double a
    // 100,000-title save. Between the ends of the range the bar moves at
    // most every kProgressRepaintMs, which the eye cannot tell from every
    // step; an empty or full bar is always shown at once.
    DWORD now = GetTickCount();
    bool atEnd = value <= g_status.minimum || value >= g_status.maximum;
    if (!atEnd && g_status.drawnPixels >= 0 && now - g_status.drawnAt < kProgressRepaintMs) return;
    g_status.drawnPixels = pixels;
    g_status.drawnAt = now;
    if (g_status.progressBar) {
        SendMessageW(g_status.progressBar, PBM_SETPOS, value, 0);
    } else {
        InvalidateRect(g_status.bar, &g_status.progressRect, FALSE);
        UpdateWindow(g_status.bar);
    }
}

int StatusProgress() { return g_status.value; }
int StatusProgressMaximum() { return g_status.maximum; }

}  // namespace gui
