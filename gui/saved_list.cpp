#include "saved_list.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <utility>
#include <vector>

#include "controls.h"
#include "events.h"
#include "explorer_tree.h"
#include "handles.h"
#include "window.h"

namespace gui {
namespace {

constexpr int kColumns = 4;
constexpr UINT_PTR kSubclassId = 0x5A7E;
// A refresh request waits on a timer: timers come after input and painting,
// so a folder that keeps changing never starves the user. The wait grows
// with the cost of a listing, so re-listing takes at most a third of the time.
constexpr UINT_PTR kRefreshTimer = 0x5A7E1;
constexpr UINT kMinRefreshDelayMs = 100;
constexpr UINT kMaxRefreshDelayMs = 1000;

// ---------------------------------------------------------------------------
// The folder watcher: one background thread that only waits for change
// notifications and posts a refresh request to the list concerned. All
// listing happens on the GUI thread.

constexpr DWORD kWatchFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                               FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_ATTRIBUTES |
                               FILE_NOTIFY_CHANGE_LAST_WRITE;
// Upper bound for the thread to take a new set of folders or to stop. It
// only ever waits on events, so it answers in far less.
constexpr DWORD kAnswerMs = 5000;
// WaitForMultipleObjects takes 64 handles; two are the stop and wake events.
constexpr size_t kMaxWatches = MAXIMUM_WAIT_OBJECTS - 2;

UINT RefreshMessage() {
    static const UINT message = RegisterWindowMessageW(L"MeridelSavedListRefresh");
    return message;
}

UINT OpenMessage() {
    static const UINT message = RegisterWindowMessageW(L"MeridelSavedListOpen");
    return message;
}

class FolderWatcher {
public:
    FolderWatcher() = default;
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;
    ~FolderWatcher() { Stop(); }

    void Start() {
        if (thread_) return;
        refresh_ = RefreshMessage();
        stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        wake_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        applied_event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (stop_ && wake_ && applied_event_)
            thread_.reset(CreateThread(nullptr, 0, &FolderWatcher::Main, this, 0, nullptr));
        if (!thread_) CloseEvents();
    }

    // Signals the thread and waits for it, bounded.
    void Stop() {
        if (!thread_) return;
        SetEvent(stop_.get());
        if (WaitForSingleObject(thread_.get(), kAnswerMs) != WAIT_OBJECT_0) {
            // Cannot happen while the thread only waits; if it ever does, its
            // handles stay with it rather than being closed under its feet.
            thread_.release();
            stop_.release();
            wake_.release();
            applied_event_.release();
            return;
        }
        thread_.reset();
        CloseEvents();
        std::lock_guard lock(mutex_);
        applied_ = requested_;
    }

    bool Running() const { return static_cast<bool>(thread_); }

    // Watches `folder` for `list` (replacing its previous folder). Returns
    // once the thread is waiting on it, so no change made after is missed.
    void Watch(HWND list, const std::wstring& folder) {
        uint64_t generation;
        {
            std::lock_guard lock(mutex_);
            auto it = FindTarget(list);
            if (it == targets_.end()) it = targets_.insert(targets_.end(), Target{list, L""});
            it->folder = folder;
            it->pending = false;
            it->failed = false;
            generation = ++requested_;
        }
        Apply(generation);
    }

    // Returns once the thread no longer holds a handle on the list's folder.
    void Unwatch(HWND list) {
        uint64_t generation;
        {
            std::lock_guard lock(mutex_);
            auto it = FindTarget(list);
            if (it == targets_.end()) return;
            targets_.erase(it);
            generation = ++requested_;
        }
        Apply(generation);
    }

    bool Watching(HWND list) {
        std::lock_guard lock(mutex_);
        auto it = FindTarget(list);
        return it != targets_.end() && !it->failed && thread_;
    }

    // The GUI thread took the refresh request: the next change posts again.
    void Acknowledge(HWND list) {
        std::lock_guard lock(mutex_);
        auto it = FindTarget(list);
        if (it != targets_.end()) it->pending = false;
    }

private:
    struct Target {
        HWND list;
        std::wstring folder;
        bool pending = false;  // a refresh request is on its way
        bool failed = false;   // the folder could not be watched (any more)
    };

    std::vector<Target>::iterator FindTarget(HWND list) {
        return std::find_if(targets_.begin(), targets_.end(),
                            [list](const Target& t) { return t.list == list; });
    }

    void CloseEvents() {
        stop_.reset();
        wake_.reset();
        applied_event_.reset();
    }

    void Apply(uint64_t generation) {
        if (!thread_) return;
        SetEvent(wake_.get());
        const ULONGLONG deadline = GetTickCount64() + kAnswerMs;
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (applied_ >= generation) return;
            }
            ULONGLONG now = GetTickCount64();
            if (now >= deadline) return;
            WaitForSingleObject(applied_event_.get(), static_cast<DWORD>(deadline - now));
        }
    }

    void Changed(HWND list) {
        std::lock_guard lock(mutex_);
        auto it = FindTarget(list);
        if (it == targets_.end() || it->pending) return;
        it->pending = PostMessageW(list, refresh_, 0, 0) != 0;
    }

    void Failed(HWND list) {
        std::lock_guard lock(mutex_);
        auto it = FindTarget(list);
        if (it != targets_.end()) it->failed = true;
    }

    static DWORD WINAPI Main(void* self) {
        static_cast<FolderWatcher*>(self)->Run();
        return 0;
    }

    void Run() {
        for (;;) {
            std::vector<std::pair<HWND, std::wstring>> wanted;
            uint64_t generation;
            {
                std::lock_guard lock(mutex_);
                generation = requested_;
                for (const Target& t : targets_)
                    if (wanted.size() < kMaxWatches) wanted.emplace_back(t.list, t.folder);
            }
            std::vector<HWND> lists;
            std::vector<unique_change_notification> handles;
            for (const auto& [list, folder] : wanted) {
                unique_change_notification handle(
                    FindFirstChangeNotificationW(folder.c_str(), FALSE, kWatchFilter));
                if (!handle) {
                    Failed(list);
                    continue;
                }
                lists.push_back(list);
                handles.push_back(std::move(handle));
            }
            {
                std::lock_guard lock(mutex_);
                applied_ = std::max(applied_, generation);
            }
            SetEvent(applied_event_.get());
            if (!WaitForChanges(lists, handles)) return;
        }
    }

    // Returns false when asked to stop, true when the set of folders changed.
    bool WaitForChanges(std::vector<HWND>& lists,
                        std::vector<unique_change_notification>& handles) {
        for (;;) {
            std::vector<HANDLE> waits{stop_.get(), wake_.get()};
            for (const auto& h : handles) waits.push_back(h.get());
            DWORD r = WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE,
                                             INFINITE);
            if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) return false;
            if (r == WAIT_OBJECT_0 + 1) return true;
            size_t i = r - WAIT_OBJECT_0 - 2;
            if (i >= handles.size()) return false;
            const bool rearmed = FindNextChangeNotification(handles[i].get()) != 0;
            Changed(lists[i]);
            if (!rearmed) {  // the folder went away
                Failed(lists[i]);
                lists.erase(lists.begin() + static_cast<std::ptrdiff_t>(i));
                handles.erase(handles.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }

    std::mutex mutex_;
    std::vector<Target> targets_;
    uint64_t requested_ = 0;
    uint64_t applied_ = 0;
    UINT refresh_ = 0;
    unique_handle stop_;
    unique_handle wake_;
    unique_handle applied_event_;
    unique_handle thread_;
};

FolderWatcher& Watcher() {
    static FolderWatcher watcher;
    return watcher;
}

// ---------------------------------------------------------------------------
// The list

struct SavedEntry {
    FolderEntry file;
    const ShellType* type = nullptr;
    bool selected = false;  // carried across sorting and re-listing
    bool focused = false;
};

struct ListState {
    HWND window = nullptr;
    int id = 0;
    std::wstring folder;  // ends with "\"
    std::wstring pattern;
    std::vector<SavedEntry> entries;  // what the owner-data list shows, in order
    int sortColumn = 0;
    bool descending = false;
    bool quiet = false;  // our own selection changes raise no events
    bool destroying = false;
    bool refreshArmed = false;
    UINT lastListingMs = 0;
    std::wstring pendingOpen;  // folder entry to open once the click is over
};

std::map<HWND, std::unique_ptr<ListState>>& Lists() {
    static std::map<HWND, std::unique_ptr<ListState>> lists;
    return lists;
}

ListState* FindList(HWND window) {
    auto it = Lists().find(window);
    return it == Lists().end() ? nullptr : it->second.get();
}

bool IsFolder(const std::wstring& path) {
    QuietDriveErrors quiet;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FormatModified(const FILETIME& time) {
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&time, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return L"";
    wchar_t date[80] = {}, clock[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, ARRAYSIZE(date));
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, clock, ARRAYSIZE(clock));
    return std::wstring(date) + L" " + clock;
}

std::wstring EntryText(const SavedEntry& e, int column) {
    switch (column) {
    case 0:
        return e.file.name;
    case 1:  // started kilobytes count as whole ones
        return e.file.folder ? L"" : std::to_wstring((e.file.bytes + 1023) / 1024) + L" KB";
    case 2:
        return e.type ? e.type->name : L"";
    case 3:
        return FormatModified(e.file.modified);
    }
    return L"";
}

bool Before(const SavedEntry& a, const SavedEntry& b, int column) {
    if (a.file.folder != b.file.folder) return a.file.folder;
    int c = 0;
    switch (column) {
    case 1:
        c = a.file.bytes < b.file.bytes ? -1 : (a.file.bytes > b.file.bytes ? 1 : 0);
        break;
    case 2:
        c = CompareNames(a.type->name, b.type->name);
        break;
    case 3:
        c = CompareFileTime(&a.file.modified, &b.file.modified);
        break;
    }
    if (c != 0) return c < 0;
    return NameBefore(a.file, b.file);
}

void SortEntries(ListState& s) {
    const int column = s.sortColumn;
    const bool descending = s.descending;
    std::sort(s.entries.begin(), s.entries.end(),
              [column, descending](const SavedEntry& a, const SavedEntry& b) {
                  return descending ? Before(b, a, column) : Before(a, b, column);
              });
}

// Reads the control's selection into the entries, so it survives a new order.
void CaptureSelection(ListState& s) {
    const int count = static_cast<int>(s.entries.size());
    for (SavedEntry& e : s.entries) e.selected = e.focused = false;
    for (int i = ListView_GetNextItem(s.window, -1, LVNI_SELECTED); i >= 0 && i < count;
         i = ListView_GetNextItem(s.window, i, LVNI_SELECTED))
        s.entries[i].selected = true;
    int focused = ListView_GetNextItem(s.window, -1, LVNI_FOCUSED);
    if (focused >= 0 && focused < count) s.entries[focused].focused = true;
}

// Hands the entries to the owner-data control and puts the selection back,
// without a repaint per row and without events for our own changes.
void ShowEntries(ListState& s, bool keepScroll) {
    const int count = static_cast<int>(s.entries.size());
    const bool keepsState = std::any_of(s.entries.begin(), s.entries.end(),
                                        [](const SavedEntry& e) { return e.selected || e.focused; });
    // Giving the control its count makes it lay out and draw its scroll bars
    // again, several times over and at once (with a theme, milliseconds each):
    // most of a re-listing. When as many entries come back and no row has a
    // state to clear or restore, drawing the rows again is all there is to do.
    if (keepScroll && !keepsState && count == ListView_GetItemCount(s.window) &&
        ListView_GetSelectedCount(s.window) == 0 && ListView_GetNextItem(s.window, -1, LVNI_FOCUSED) < 0) {
        InvalidateRect(s.window, nullptr, TRUE);
        return;
    }
    s.quiet = true;
    {
        NoRedraw once(s.window);
        // An owner-data list keeps its selection by index: clear it first,
        // only where set (some systems visit every row for "all rows").
        if (ListView_GetSelectedCount(s.window) > 0)
            ListView_SetItemState(s.window, -1, 0, LVIS_SELECTED);
        const int focused = ListView_GetNextItem(s.window, -1, LVNI_FOCUSED);
        if (focused >= 0) ListView_SetItemState(s.window, focused, 0, LVIS_FOCUSED);
        ListView_SetItemCountEx(s.window, count, keepScroll ? LVSICF_NOSCROLL : 0);
        for (size_t i = 0; i < s.entries.size(); ++i) {
            const SavedEntry& e = s.entries[i];
            UINT state = (e.selected ? LVIS_SELECTED : 0) | (e.focused ? LVIS_FOCUSED : 0);
            if (state) ListView_SetItemState(s.window, static_cast<int>(i), state, state);
            if (e.focused) ListView_SetSelectionMark(s.window, static_cast<int>(i));
        }
    }
    s.quiet = false;
}

void ShowSortArrow(const ListState& s) {
    HWND header = ListView_GetHeader(s.window);
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!Header_GetItem(header, i, &item)) continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == s.sortColumn) item.fmt |= s.descending ? HDF_SORTDOWN : HDF_SORTUP;
        Header_SetItem(header, i, &item);
    }
}

void Relist(ListState& s, bool keepSelection) {
    const ULONGLONG start = GetTickCount64();
    std::unordered_set<std::wstring> selected;
    std::wstring focused;
    if (keepSelection) {
        CaptureSelection(s);
        for (const SavedEntry& e : s.entries) {
            if (e.selected) selected.insert(e.file.name);
            if (e.focused) focused = e.file.name;
        }
    }
    std::vector<FolderEntry> found;
    ListFolderEntries(s.folder, s.pattern, found);
    s.entries.clear();
    s.entries.reserve(found.size());
    for (FolderEntry& f : found) {
        SavedEntry e;
        e.type = &ShellTypeOf(f.name, f.folder);
        e.selected = selected.count(f.name) != 0;
        e.focused = !focused.empty() && f.name == focused;
        e.file = std::move(f);
        s.entries.push_back(std::move(e));
    }
    SortEntries(s);
    ShowEntries(s, keepSelection);
    s.lastListingMs = static_cast<UINT>(std::min<ULONGLONG>(GetTickCount64() - start, 60000));
    // One event for the whole listing; an empty listing raises none.
    if (!s.entries.empty()) PostControlEvent(s.id, kChange);
}

void SortByColumn(ListState& s, int column) {
    if (column < 0 || column >= kColumns) return;
    if (column == s.sortColumn) {
        s.descending = !s.descending;
    } else {
        s.sortColumn = column;
        s.descending = false;
    }
    CaptureSelection(s);
    SortEntries(s);
    ShowEntries(s, true);
    ShowSortArrow(s);
    if (!s.entries.empty()) PostControlEvent(s.id, kChange);
}

void OpenFolderEntry(ListState& s, const std::wstring& name) {
    s.folder += name + L"\\";
    Watcher().Watch(s.window, s.folder);
    Relist(s, false);
    if (!s.entries.empty()) ListView_EnsureVisible(s.window, 0, FALSE);
    PostControlEvent(s.id, kChange);
}

// Opening waits until the list view has finished with the click or key that
// asked for it: its own code still uses the old indexes on the way out.
void RequestOpen(ListState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.entries.size())) return;
    if (!s.entries[index].file.folder) return;
    s.pendingOpen = s.entries[index].file.name;
    PostMessageW(s.window, OpenMessage(), 0, 0);
}

bool FindByPrefix(const ListState& s, const NMLVFINDITEMW& find, LRESULT& result) {
    result = -1;
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return true;
    const std::wstring wanted = find.lvfi.psz;
    const int count = static_cast<int>(s.entries.size());
    const int start = find.iStart < 0 || find.iStart >= count ? 0 : find.iStart;
    for (int n = 0; n < count; ++n) {
        int i = (start + n) % count;
        const std::wstring& name = s.entries[i].file.name;
        int length = static_cast<int>(std::min(name.size(), wanted.size()));
        if (!(find.lvfi.flags & LVFI_PARTIAL) && name.size() != wanted.size()) continue;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(), length,
                           wanted.c_str(), static_cast<int>(wanted.size())) == CSTR_EQUAL) {
            result = i;
            return true;
        }
    }
    return true;
}

bool OnListNotify(int id, NMHDR* header, LRESULT& result) {
    ListState* s = FindList(header->hwndFrom);
    if (!s) return false;
    result = 0;
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if (item.iItem < 0 || item.iItem >= static_cast<int>(s->entries.size())) return true;
        const SavedEntry& e = s->entries[item.iItem];
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
            lstrcpynW(item.pszText, EntryText(e, item.iSubItem).c_str(), item.cchTextMax);
        if ((item.mask & LVIF_IMAGE) && e.type) item.iImage = e.type->icon;
        return true;
    }
    case LVN_ODFINDITEMW:
        return FindByPrefix(*s, *reinterpret_cast<NMLVFINDITEMW*>(header), result);
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        if (!s->quiet && !s->destroying && (nm->uChanged & LVIF_STATE) &&
            ((nm->uOldState ^ nm->uNewState) & (LVIS_SELECTED | LVIS_FOCUSED)))
            PostControlEvent(id, kChange);
        return true;
    }
    case LVN_ODSTATECHANGED: {  // a range (Shift+click) changed at once
        auto* nm = reinterpret_cast<NMLVODSTATECHANGE*>(header);
        if (!s->quiet && !s->destroying &&
            ((nm->uOldState ^ nm->uNewState) & (LVIS_SELECTED | LVIS_FOCUSED)))
            PostControlEvent(id, kChange);
        return true;
    }
    case LVN_COLUMNCLICK:
        SortByColumn(*s, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return true;
    case NM_RCLICK:
        PostControlEvent(id, kRightClick);
        return true;
    case NM_CLICK:
        PostControlEvent(id, kLeftClick);
        return true;
    case NM_DBLCLK:
        PostControlEvent(id, kLeftDoubleClick);
        RequestOpen(*s, reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        return true;
    case NM_RETURN: {  // Enter counts as a double click on the focused entry
        const int focused = ListView_GetNextItem(s->window, -1, LVNI_FOCUSED);
        if (focused < 0) return true;
        PostControlEvent(id, kLeftDoubleClick);
        RequestOpen(*s, focused);
        return true;
    }
    }
    return false;
}

void ForgetList(HWND window) {
    auto it = Lists().find(window);
    if (it == Lists().end()) return;
    Watcher().Unwatch(window);
    if (Control(it->second->id) == window) UnregisterControl(it->second->id);
    Lists().erase(it);
    if (Lists().empty()) Watcher().Stop();
}

LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR refData) {
    auto* s = reinterpret_cast<ListState*>(refData);
    if (message == RefreshMessage()) {
        if (!s->refreshArmed && !s->destroying) {
            const UINT delay =
                std::clamp(2 * s->lastListingMs, kMinRefreshDelayMs, kMaxRefreshDelayMs);
            s->refreshArmed = SetTimer(window, kRefreshTimer, delay, nullptr) != 0;
            if (!s->refreshArmed) {  // no timer to spare: list at once
                Watcher().Acknowledge(window);
                Relist(*s, true);
            }
        }
        return 0;
    }
    if (message == OpenMessage()) {
        std::wstring name = std::exchange(s->pendingOpen, std::wstring());
        if (!name.empty() && !s->destroying) OpenFolderEntry(*s, name);
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam != kRefreshTimer) break;
        KillTimer(window, kRefreshTimer);
        s->refreshArmed = false;
        // Acknowledged first: a change from now on asks again.
        Watcher().Acknowledge(window);
        if (!s->destroying) Relist(*s, true);
        return 0;
    case WM_DESTROY:
        s->destroying = true;
        KillTimer(window, kRefreshTimer);
        break;
    case WM_NCDESTROY: {
        LRESULT r = DefSubclassProc(window, message, wParam, lParam);
        RemoveWindowSubclass(window, ListProc, kSubclassId);
        ForgetList(window);
        return r;
    }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void AddColumns(HWND list) {
    // The shell's own localised column titles, when it has them.
    static const UINT kTitleIds[kColumns] = {8976, 8978, 8979, 8980};
    static const wchar_t* const kDefaults[kColumns] = {L"Name", L"Size", L"Type", L"Modified"};
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    for (int i = 0; i < kColumns; ++i) {
        wchar_t title[128] = {};
        if (!shell || LoadStringW(shell, kTitleIds[i], title, ARRAYSIZE(title)) <= 0)
            lstrcpynW(title, kDefaults[i], ARRAYSIZE(title));
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = 100;
        column.pszText = title;
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
}

}  // namespace

HWND CreateSavedList(int id, HWND parent, int x, int y, int width, int height,
                     const std::wstring& folderAndPattern) {
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                    LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_SHAREIMAGELISTS,
                                x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!list) return nullptr;
    const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    ListView_SetExtendedListViewStyleEx(list, extended, extended);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    // Shared: the system's list must outlive us (LVS_SHAREIMAGELISTS).
    ListView_SetImageList(list, SystemSmallImageList(), LVSIL_SMALL);
    AddColumns(list);

    auto owned = std::make_unique<ListState>();
    ListState* s = owned.get();
    s->window = list;
    s->id = id;
    size_t slash = folderAndPattern.find_last_of(L"\\/");
    s->folder = slash == std::wstring::npos ? L"" : folderAndPattern.substr(0, slash + 1);
    s->pattern =
        slash == std::wstring::npos ? folderAndPattern : folderAndPattern.substr(slash + 1);
    if (s->pattern.empty()) s->pattern = L"*.*";
    Lists()[list] = std::move(owned);
    SetWindowSubclass(list, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(s));
    RegisterControl(id, list, OnListNotify);

    Watcher().Start();
    // Watching starts before the first listing, so nothing written in
    // between is missed. A folder missing now is not watched.
    if (IsFolder(s->folder)) Watcher().Watch(list, s->folder);
    Relist(*s, false);
    ShowSortArrow(*s);
    return list;
}

int SavedListState(HWND list) {
    if (!FindList(list)) return -1;
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

int SavedListEntryState(HWND list, int index) {
    ListState* s = FindList(list);
    if (!s || index < 0 || index >= static_cast<int>(s->entries.size())) return 0;
    int state = s->entries[index].file.folder ? 2 : 1;
    if (ListView_GetItemState(list, index, LVIS_SELECTED) & LVIS_SELECTED) state |= 4;
    return state;
}

std::wstring SavedListEntryText(HWND list, int index, int column) {
    ListState* s = FindList(list);
    if (!s || index < 0 || index >= static_cast<int>(s->entries.size())) return L"";
    return EntryText(s->entries[index], column);
}

std::wstring SavedListText(HWND list) {
    ListState* s = FindList(list);
    return s ? s->folder : L"";
}

int SavedListCount(HWND list) {
    ListState* s = FindList(list);
    return s ? static_cast<int>(s->entries.size()) : 0;
}

void SetSavedListColumnWidth(HWND list, int column, int width) {
    if (FindList(list)) ListView_SetColumnWidth(list, column, width);
}

void RelistSavedList(HWND list) {
    ListState* s = FindList(list);
    if (!s) return;
    // A folder that was missing (or went away) and exists now is watched
    // from here on.
    if (!Watcher().Watching(list) && IsFolder(s->folder)) Watcher().Watch(list, s->folder);
    if (s->refreshArmed) {  // this listing answers the waiting request too
        KillTimer(list, kRefreshTimer);
        s->refreshArmed = false;
        Watcher().Acknowledge(list);
    }
    Relist(*s, true);
}

void SortSavedList(HWND list, int column) {
    if (ListState* s = FindList(list)) SortByColumn(*s, column);
}

bool SavedListWatcherRunning() { return Watcher().Running(); }

bool SavedListWatched(HWND list) { return Watcher().Watching(list); }

}  // namespace gui
