#pragma once
// Picture control: a static control that shows a bitmap at its top-left
// corner and raises a control event, carrying its number, for a left click,
// a left double click, a right click (on release), a right double click and
// the start of a drag.
#include <windows.h>

namespace gui {

// The bitmap is not owned and must outlive the control; without one the
// control stays empty but still raises its events. With one, the control
// takes the bitmap's size. Returns nullptr when the control cannot be made.
HWND CreatePicture(HWND parent, int id, int x, int y, int width, int height, HBITMAP bitmap);

}  // namespace gui
