#pragma once
// One tooltip window per main window; each control registered with it shows
// its tip while the pointer rests on it.
#include <windows.h>

#include <string>

namespace gui {

// Registers (or re-registers with a new text) the control with this number.
// Returns false when the number names no control or the tip cannot be added.
bool SetControlTooltip(int id, const std::wstring& text);

// The tooltip window serving `topLevel`, or nullptr if none was made yet.
HWND TooltipWindow(HWND topLevel);

}  // namespace gui
