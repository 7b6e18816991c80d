#pragma once
// Progress bar by number, with a marquee mode for work of unknown length.
#include <windows.h>

namespace gui {

HWND CreateProgressBar(HWND parent, int id, int x, int y, int width, int height, int minimum,
                       int maximum);

// Switches the bar to a running marquee (one step every 100 ms).
void SetProgressUndetermined(int id);

}  // namespace gui
