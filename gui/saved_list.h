#pragma once
// The saved-playlists list: a report list of one folder's sub-folders and
// matching files, kept in step with the disk by a background folder watcher.
#include <windows.h>

#include <string>

namespace gui {

// Creates the list as child `id` of `parent` showing `folderAndPattern`
// (for example "C:\Prog\Tunerolle\*.ini"), lists it and starts watching the
// folder. A folder missing at creation gives an empty, unwatched list.
// Events: kRightClick; kChange when the selection or focus changes, after a
// listing or sort that leaves at least one entry, and when a double click or
// Enter on a folder entry opened it; kLeftClick, kLeftDoubleClick.
// Returns nullptr when the control cannot be created.
HWND CreateSavedList(int id, HWND parent, int x, int y, int width, int height,
                     const std::wstring& folderAndPattern);

// Index of the first selected entry, or -1.
int SavedListState(HWND list);
// 1 for a file, 2 for a folder, plus 4 when selected; 0 when there is no
// such entry.
int SavedListEntryState(HWND list, int index);
// Column 0 name with extension, 1 size ("12 KB"), 2 type, 3 modification time.
std::wstring SavedListEntryText(HWND list, int index, int column);
// The folder shown, ending with "\".
std::wstring SavedListText(HWND list);
int SavedListCount(HWND list);
void SetSavedListColumnWidth(HWND list, int column, int width);

// Reads the folder again now, on the calling (GUI) thread, so that a count
// taken right after sees what the program just wrote or deleted. A folder
// that has appeared since is watched from now on.
void RelistSavedList(HWND list);

// Sorts by a column as a header click does: a second call with the same
// column reverses the order.
void SortSavedList(HWND list, int column);

// True while the background watcher is running (it stops with the last list).
bool SavedListWatcherRunning();
// True when the list's folder is being watched.
bool SavedListWatched(HWND list);

}  // namespace gui
