#pragma once
// Reading the controls of another process and working them with real input.
// List views, tree views and status bars answer into memory of their own
// process, so every read goes through a buffer allocated there. Every call is
// bounded in time; a hung program gives empty answers, never a hung driver.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// SendMessageTimeout with a short limit; `fallback` when it fails.
LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT fallback = 0);

// Polls `done` every few milliseconds until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Status bar: the text of one field, as SB_GETTEXT gives it.
std::wstring StatusBarText(HWND bar, int field);

// List view (report view).
int ListViewCount(HWND list);
std::wstring ListViewText(HWND list, int item, int subItem);
std::wstring ListViewColumnText(HWND list, int column);
int ListViewColumnWidth(HWND list, int column);
// The first item whose text in `subItem` is `text`, or -1.
int ListViewFind(HWND list, const std::wstring& text, int subItem = 0);
// The item's label rectangle in the list's client coordinates.
bool ListViewItemRect(HWND list, int item, RECT* out);

// Tree view.
HTREEITEM TreeSelection(HWND tree);
HTREEITEM TreeParent(HWND tree, HTREEITEM item);
std::wstring TreeItemText(HWND tree, HTREEITEM item);
// Expands `parent` and returns its child shown as `text`, or nullptr.
HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::wstring& text);
std::vector<std::wstring> TreeChildTexts(HWND tree, HTREEITEM parent);
// Scrolls the item into view and gives its text rectangle in the tree's
// client coordinates.
bool TreeItemRect(HWND tree, HTREEITEM item, RECT* out);

// Real input, through the system's input queue as a user's would come.
// A click at a point of the screen, with the left or the right button.
bool ClickAt(POINT screen, bool rightButton = false);
// A click at the middle of a rectangle given in a window's client coordinates,
// once that window's top-level window is the active one (waited for up to 1 s).
bool ClickIn(HWND window, const RECT& clientRect, bool rightButton = false);
// A click at the middle of a control.
bool ClickControl(HWND control, bool rightButton = false);
// Waits until the control has its program's keyboard focus.
bool WaitForFocus(HWND control, DWORD timeoutMs);
bool PressKey(WORD virtualKey);
// Types the text into whatever has the keyboard focus.
bool TypeText(const std::wstring& text);

// A visible popup menu of the process, or nullptr after the timeout.
HWND FindPopupMenu(DWORD pid, DWORD timeoutMs);
// True once no popup menu of the process is visible.
bool WaitPopupMenuGone(DWORD pid, DWORD timeoutMs);
// Waits for the popup menu, moves down `downs` items with the arrow key
// (separators are skipped) and picks the item with Enter. False when no menu
// came or it did not close.
bool ChooseFromPopupMenu(DWORD pid, int downs, DWORD timeoutMs);

}  // namespace e2e
