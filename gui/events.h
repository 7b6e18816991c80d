#pragma once
// One event queue per program. Controls turn their notifications into events;
// the program's loop takes them one at a time with WaitEvent.
#include <windows.h>

namespace gui {

enum class EventKind { None, Control, Menu, Close };

// Event types carried by control events.
enum EventType : int {
    kLeftClick = 0,
    kRightClick = 1,
    kLeftDoubleClick = 2,
    kRightDoubleClick = 3,
    kFocus = 14,
    kLostFocus = 15,
    kDragStart = 16,
    kChange = 768,
};

struct Event {
    EventKind kind = EventKind::None;
    int id = 0;    // control number or menu item
    int type = 0;  // control events only
    bool operator==(const Event&) const = default;
};

// Queues an event; an identical event still waiting at the end of the queue
// absorbs it, so a burst of the same notification is handled once.
void PostEvent(const Event& event);
inline void PostControlEvent(int id, int type) { PostEvent({EventKind::Control, id, type}); }
inline void PostMenuEvent(int item) { PostEvent({EventKind::Menu, item, 0}); }
inline void PostCloseRequest() { PostEvent({EventKind::Close, 0, 0}); }

// Blocks, pumping window messages, until an event is waiting, and returns it.
// WM_QUIT counts as a close request.
Event WaitEvent();

// Processes the window messages already waiting, without blocking.
void PumpPendingMessages();

// Returns the next waiting event without pumping messages, or an event of
// kind None.
Event TakeEvent();
void ClearEvents();

// Tab and Shift+Tab move the focus between the controls of this window.
void EnableTabNavigation(HWND window);

}  // namespace gui
