#pragma once
// The explorer tree: the computer, its drives and the Documents folder, with
// folders and files listed lazily when a folder is expanded. Also the folder
// listing that both folder browsers share.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// One entry of a folder listing.
struct FolderEntry {
    std::wstring name;
    bool folder = false;
    uint64_t bytes = 0;
    FILETIME modified{};
    std::string sortKey;  // see NameSortKey
};

// While alive, this thread gets no "insert a disk" prompt from a drive that
// is not ready: the call just fails.
class QuietDriveErrors {
public:
    QuietDriveErrors() {
        active_ =
            SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_) != 0;
    }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;
    ~QuietDriveErrors() {
        if (active_) SetThreadErrorMode(previous_, nullptr);
    }

private:
    DWORD previous_ = 0;
    bool active_ = false;
};

// Stops a control from repainting for the lifetime of this object, then
// repaints it once: bulk changes never repaint row by row.
class NoRedraw {
public:
    explicit NoRedraw(HWND window) : window_(window) {
        SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    }
    NoRedraw(const NoRedraw&) = delete;
    NoRedraw& operator=(const NoRedraw&) = delete;
    ~NoRedraw() {
        SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window_, nullptr, TRUE);
    }

private:
    HWND window_;
};

// The shell's type name and small icons for a kind of file (by extension) or
// for folders, asked once per kind without touching the disk.
struct ShellType {
    std::wstring name;
    int icon = 0;
    int openIcon = 0;
};
const ShellType& ShellTypeOf(const std::wstring& fileName, bool folder);

// The system's small icon list; shared, never to be destroyed.
HIMAGELIST SystemSmallImageList();

// Lists `folder` (ending with "\"): every sub-folder, and the files whose
// name matches `pattern` ("*.*" for all). "." and ".." are left out. Never
// prompts for a drive that is not ready. Returns false when the folder cannot
// be read (missing, not ready, access denied); `out` is then empty.
bool ListFolderEntries(const std::wstring& folder, const std::wstring& pattern,
                       std::vector<FolderEntry>& out);

// Case-insensitive, locale-aware name order.
int CompareNames(const std::wstring& a, const std::wstring& b);

// A byte string whose plain order is the order of CompareNames: sorting
// thousands of names compares these, far cheaper than the locale each time.
std::string NameSortKey(const std::wstring& name);

// Name order by sort key; names equal but for case keep a fixed order.
bool NameBefore(const FolderEntry& a, const FolderEntry& b);

// Folders first, then files, each group by name.
void SortFoldersFirst(std::vector<FolderEntry>& entries);

// Creates the tree as child `id` of `parent`, builds the root level (the
// computer, its drives, then Documents) and, when `startPath` (a folder ending
// with "\") is not empty, expands the drive and every folder down to it, then
// selects it and scrolls it into view. `pattern` filters the files shown.
// The tree raises kRightClick (the item under the pointer is selected first),
// kChange (selection changed), kLeftClick and kLeftDoubleClick.
// Returns nullptr when the control cannot be created.
HWND CreateExplorerTree(int id, HWND parent, int x, int y, int width, int height,
                        const std::wstring& startPath, const std::wstring& pattern);

// 0 when nothing is selected, 1 for a file, 2 for anything else.
int ExplorerTreeState(HWND tree);
// Full path of the selected item: folders end with "\", a drive is "C:\",
// the computer is "". Empty when nothing is selected.
std::wstring ExplorerTreeText(HWND tree);

// Brings the drive items in step with the drives present now. The tree also
// checks this by itself about once a second, so calling it is only needed
// to react at once (for example on WM_DEVICECHANGE).
void ExplorerTreeDrivesChanged(HWND tree);

}  // namespace gui
