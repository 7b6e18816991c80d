#pragma once
// A status bar with text fields, an icon field and a progress field.
#include <windows.h>

#include <string>
#include <vector>

namespace gui {

struct StatusField {
    int width;  // pixels; -1 takes what the others leave
};

// Creates the bar along the bottom of `parent` with its fields laid out for
// the parent's current width. `progressField` (or -1) is drawn as a progress
// field: a smooth progress bar with visual styles, a filled band otherwise.
HWND CreateStatusBar(int id, HWND parent, const std::vector<StatusField>& fields,
                     int progressField, bool themed);
// Lays the fields out again for the parent's client width; the size grip
// reserve is left out while the parent is maximised.
void LayoutStatusBar();
void SetStatusText(int field, const std::wstring& text, bool rightAligned = false);
std::wstring StatusText(int field);
void SetStatusIcon(int field, HICON icon);

void SetStatusProgressRange(int minimum, int maximum);
// Repaints only when the drawn position changes: each repaint costs a few ms.
void SetStatusProgress(int value);
int StatusProgress();
int StatusProgressMaximum();

}  // namespace gui
