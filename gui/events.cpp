#include "events.h"

#include <deque>

namespace gui {
namespace {
std::deque<Event> g_queue;
HWND g_tabWindow = nullptr;

bool Translate(MSG& msg) {
    // Only Tab goes through the dialog manager: Enter and Escape would
    // otherwise become WM_COMMAND 1 and 2, which are control numbers too.
    if (g_tabWindow && msg.message == WM_KEYDOWN && msg.wParam == VK_TAB &&
        (msg.hwnd == g_tabWindow || IsChild(g_tabWindow, msg.hwnd))) {
        return IsDialogMessageW(g_tabWindow, &msg) != 0;
    }
    return false;
}
}  // namespace

void PostEvent(const Event& event) {
    if (!g_queue.empty() && g_queue.back() == event) return;
    g_queue.push_back(event);
}

Event TakeEvent() {
    if (g_queue.empty()) return {};
    Event e = g_queue.front();
    g_queue.pop_front();
    return e;
}

void ClearEvents() { g_queue.clear(); }

void PumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostCloseRequest();
            continue;
        }
        if (Translate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

Event WaitEvent() {
    while (g_queue.empty()) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            PostCloseRequest();
            break;
        }
        if (Translate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return TakeEvent();
}

void EnableTabNavigation(HWND window) { g_tabWindow = window; }

}  // namespace gui
