#include "progress.h"

#include <commctrl.h>

#include "controls.h"

namespace gui {

HWND CreateProgressBar(HWND parent, int id, int x, int y, int width, int height, int minimum,
                       int maximum) {
    HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, x, y, width,
                               height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!bar) return nullptr;
    SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
    RegisterControl(id, bar);
    return bar;
}

void SetProgressUndetermined(int id) {
    HWND bar = Control(id);
    if (!bar) return;
    SetWindowLongW(bar, GWL_STYLE, GetWindowLongW(bar, GWL_STYLE) | PBS_MARQUEE);
    SendMessageW(bar, PBM_SETMARQUEE, TRUE, 100);
}

}  // namespace gui
