#pragma once
// A splitter that stacks two controls with a draggable 7-pixel bar between
// them; the lower control keeps its share of the height when resized.
#include <windows.h>

namespace gui {

constexpr int kSplitterBar = 7;

// The proportion between the available height (the splitter's height minus
// the bar) and the lower control's height, kept as a fraction so that a
// share set by dragging comes back exactly.
struct SplitRatio {
    int available = 2;
    int lower = 1;
};

struct SplitHeights {
    int upper = 0;
    int lower = 0;
};

// Lower height = integer part of (height - bar) / ratio; the upper control
// gets the rest.
SplitHeights SplitterHeights(int height, SplitRatio ratio);
// The ratio that a drag leaving `lowerHeight` for the lower control sets.
// Keeps `previous` when there is no room to measure a proportion.
SplitRatio SplitterRatioFor(int height, int lowerHeight, SplitRatio previous);

// Creates splitter `id` in `parent` and makes it the parent of both controls.
// It forwards their notifications to their handlers.
// Returns nullptr when the window cannot be created.
HWND CreateSplitter(int id, HWND parent, int x, int y, int width, int height, HWND upper,
                    HWND lower);

}  // namespace gui
