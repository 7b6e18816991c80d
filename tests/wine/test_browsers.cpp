// The folder browsers and their splitter on real controls and real files:
// order, sizes, states, texts, sorting, opening sub-folders, the folder
// watcher, the tree's root level and start path, and the splitter's shares.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "controls.h"
#include "events.h"
#include "explorer_tree.h"
#include "handles.h"
#include "saved_list.h"
#include "splitter.h"
#include "tree_items.h"

namespace {

constexpr int kTreeId = 17;
constexpr int kListId = 18;
constexpr int kSplitterId = 19;

// ---- fixtures --------------------------------------------------------------

// A folder of its own under the temp folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        static int serial = 0;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        wchar_t longTemp[MAX_PATH];
        if (GetLongPathNameW(temp, longTemp, MAX_PATH)) lstrcpynW(temp, longTemp, MAX_PATH);
        path_ = std::wstring(temp) + L"browsers_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++serial) + L"_" + std::to_wstring(GetTickCount()) + L"\\";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { Remove(path_); }

    const std::wstring& path() const { return path_; }

    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW data;
        {
            gui::unique_find find(FindFirstFileW((folder + L"*").c_str(), &data));
            if (find) {
                do {
                    std::wstring name = data.cFileName;
                    if (name == L"." || name == L"..") continue;
                    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                        Remove(folder + name + L"\\");
                    else
                        DeleteFileW((folder + name).c_str());
                } while (FindNextFileW(find.get(), &data));
            }
        }
        RemoveDirectoryW(folder.c_str());
    }

private:
    std::wstring path_;
};

void WriteBytes(const std::wstring& path, size_t count) {
    gui::unique_handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create the test file";
    std::string bytes(count, 'x');
    DWORD written = 0;
    if (count) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(count), &written, nullptr);
    ASSERT_EQ(written, count);
}

void MakeFolder(const std::wstring& path) { ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)); }

// A top-level window that routes its controls' notifications, as the main
// window does.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (gui::RouteNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
    } else if (message == WM_COMMAND) {
        if (gui::RouteCommand(wParam, lParam)) return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

gui::unique_window MakeHost() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"BrowserTestHost";
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    HWND host =
        CreateWindowExW(0, L"BrowserTestHost", L"Browsers", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                        20, 700, 700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(host, nullptr);
    return gui::unique_window(host);
}

std::vector<gui::Event> TakeEvents() {
    std::vector<gui::Event> events;
    for (gui::Event e = gui::TakeEvent(); e.kind != gui::EventKind::None; e = gui::TakeEvent())
        events.push_back(e);
    return events;
}

int Count(const std::vector<gui::Event>& events, int id, int type) {
    int n = 0;
    for (const gui::Event& e : events)
        if (e.kind == gui::EventKind::Control && e.id == id && e.type == type) ++n;
    return n;
}

// Pumps messages until `done` holds or `ms` pass; returns whether it held.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        gui::PumpPendingMessages();
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil(ms, [] { return false; });
}

std::vector<std::wstring> Names(HWND list) {
    std::vector<std::wstring> names;
    for (int i = 0; i < gui::SavedListCount(list); ++i)
        names.push_back(gui::SavedListEntryText(list, i, 0));
    return names;
}

void Select(HWND list, int index) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A real click on a column header, through the header control.
void ClickHeader(HWND list, int column) {
    HWND header = ListView_GetHeader(list);
    RECT r{};
    ASSERT_TRUE(Header_GetItemRect(header, column, &r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
}

LPARAM EntryPoint(HWND list, int index) {
    RECT r{};
    ListView_GetItemRect(list, index, &r, LVIR_LABEL);
    return MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
}

// ---- saved-playlists list --------------------------------------------------

class SavedList : public ::testing::Test {
protected:
    void SetUp() override { gui::ClearEvents(); }
    void TearDown() override {
        host_.reset();
        gui::ClearEvents();
    }
    HWND Create(const std::wstring& folderAndPattern) {
        if (!host_) host_ = MakeHost();
        return gui::CreateSavedList(kListId, host_.get(), 0, 0, 600, 500, folderAndPattern);
    }
    TempFolder folder_;
    gui::unique_window host_;
};

TEST_F(SavedList, ListsFoldersFirstThenMatchingFilesInCaseInsensitiveOrder) {
    const std::wstring& dir = folder_.path();
    MakeFolder(dir + L"zeta");
    MakeFolder(dir + L"Alpha");
    WriteBytes(dir + L"b.ini", 0);
    WriteBytes(dir + L"A.ini", 1);
    WriteBytes(dir + L"c.INI", 1025);
    WriteBytes(dir + L"skipped.txt", 10);

    HWND list = Create(dir + L"*.ini");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(gui::Control(kListId), list);
    EXPECT_EQ(Names(list),
              (std::vector<std::wstring>{L"Alpha", L"zeta", L"A.ini", L"b.ini", L"c.INI"}));
    EXPECT_EQ(gui::SavedListCount(list), 5);
    EXPECT_EQ(gui::SavedListText(list), dir);

    // Started kilobytes count as whole ones; folders have no size.
    struct {
        int index;
        const wchar_t* size;
        int state;
    } rows[] = {{0, L"", 2}, {1, L"", 2}, {2, L"1 KB", 1}, {3, L"0 KB", 1}, {4, L"2 KB", 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.index);
        EXPECT_EQ(gui::SavedListEntryText(list, row.index, 1), row.size);
        EXPECT_EQ(gui::SavedListEntryState(list, row.index), row.state);
    }
    EXPECT_EQ(gui::SavedListEntryState(list, 5), 0);
    EXPECT_FALSE(gui::SavedListEntryText(list, 2, 2).empty());  // the shell's type name
    EXPECT_EQ(gui::SavedListEntryText(list, 2, 2), gui::SavedListEntryText(list, 4, 2));

    // Local short date, a blank, the time without seconds.
    WIN32_FILE_ATTRIBUTE_DATA info{};
    ASSERT_TRUE(GetFileAttributesExW((dir + L"A.ini").c_str(), GetFileExInfoStandard, &info));
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&info.ftLastWriteTime, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    wchar_t date[80], clock[80];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, clock, 80);
    EXPECT_EQ(gui::SavedListEntryText(list, 2, 3), std::wstring(date) + L" " + clock);

    // The texts the list view itself shows come from the same entries.
    wchar_t shown[64] = {};
    ListView_GetItemText(list, 4, 1, shown, 64);
    EXPECT_STREQ(shown, L"2 KB");

    // Selection: the first selected entry, and the selected bit.
    EXPECT_EQ(gui::SavedListState(list), -1);
    Select(list, 3);
    ListView_SetItemState(list, 4, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(gui::SavedListState(list), 3);
    EXPECT_EQ(gui::SavedListEntryState(list, 3), 1 | 4);
    EXPECT_EQ(gui::SavedListEntryState(list, 0), 2);

    // The first listing left entries: one change event for it, not one per row.
    std::vector<gui::Event> events = TakeEvents();
    EXPECT_GE(Count(events, kListId, gui::kChange), 1);
    EXPECT_LE(Count(events, kListId, gui::kChange), 2);
}

TEST_F(SavedList, ColumnsAreHundredPixelsAndWidthCanBeSet) {
    HWND list = Create(folder_.path() + L"*.ini");
    HWND header = ListView_GetHeader(list);
    ASSERT_EQ(Header_GetItemCount(header), 4);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(ListView_GetColumnWidth(list, column), 100) << column;
        wchar_t title[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = 64;
        Header_GetItem(header, column, &item);
        EXPECT_NE(title[0], 0) << column;
    }
    gui::SetSavedListColumnWidth(list, 0, 380);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 380);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    const DWORD extended = ListView_GetExtendedListViewStyle(list);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(extended & LVS_EX_DOUBLEBUFFER);
}

TEST_F(SavedList, HeaderClickSortsByColumnAndSecondClickReverses) {
    const std::wstring& dir = folder_.path();
    MakeFolder(dir + L"sub");
    WriteBytes(dir + L"a.ini", 3000);
    WriteBytes(dir + L"B.ini", 10);
    WriteBytes(dir + L"c.ini", 1500);
    HWND list = Create(dir + L"*.ini");
    ASSERT_EQ(Names(list), (std::vector<std::wstring>{L"sub", L"a.ini", L"B.ini", L"c.ini"}));
    Select(list, 3);  // c.ini
    TakeEvents();

    struct Step {
        int column;
        std::vector<std::wstring> order;
    };
    const Step steps[] = {
        {1, {L"sub", L"B.ini", L"c.ini", L"a.ini"}},  // size, ascending
        {1, {L"a.ini", L"c.ini", L"B.ini", L"sub"}},  // same header: reversed
        {0, {L"sub", L"a.ini", L"B.ini", L"c.ini"}},  // name, ascending again
        {0, {L"c.ini", L"B.ini", L"a.ini", L"sub"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.column);
        ClickHeader(list, step.column);
        EXPECT_EQ(Names(list), step.order);
        // The selection follows its entry, and each sort raises a change.
        const int selected = gui::SavedListState(list);
        ASSERT_GE(selected, 0);
        EXPECT_EQ(gui::SavedListEntryText(list, selected, 0), L"c.ini");
        EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
        EXPECT_EQ(Count(TakeEvents(), kListId, gui::kChange), 1);
    }
}

TEST_F(SavedList, DoubleClickOrEnterOnAFolderShowsIt) {
    enum class How { DoubleClick, Enter };
    for (How how : {How::DoubleClick, How::Enter}) {
        SCOPED_TRACE(how == How::DoubleClick ? "double click" : "Enter");
        TempFolder folder;
        const std::wstring& dir = folder.path();
        MakeFolder(dir + L"Sub");
        WriteBytes(dir + L"Sub\\inner.ini", 5);
        WriteBytes(dir + L"top.ini", 5);
        host_ = MakeHost();
        HWND list = gui::CreateSavedList(kListId, host_.get(), 0, 0, 600, 500, dir + L"*.ini");
        ASSERT_EQ(gui::SavedListCount(list), 2);
        SetFocus(list);

        auto activate = [&](int index) {
            Select(list, index);
            TakeEvents();
            if (how == How::DoubleClick) {
                SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, EntryPoint(list, index));
                SendMessageW(list, WM_LBUTTONUP, 0, EntryPoint(list, index));
            } else {
                SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
                SendMessageW(list, WM_KEYUP, VK_RETURN, 0);
            }
            PumpFor(100);
        };

        activate(1);  // the file: a double-click event, nothing opens
        EXPECT_EQ(gui::SavedListText(list), dir);
        EXPECT_EQ(gui::SavedListCount(list), 2);
        EXPECT_EQ(Count(TakeEvents(), kListId, gui::kLeftDoubleClick), 1);

        activate(0);  // the folder
        EXPECT_EQ(gui::SavedListText(list), dir + L"Sub\\");
        EXPECT_EQ(Names(list), std::vector<std::wstring>{L"inner.ini"});
        EXPECT_GE(Count(TakeEvents(), kListId, gui::kChange), 1);

        // The list now watches the folder it shows.
        WriteBytes(dir + L"Sub\\later.ini", 1);
        EXPECT_TRUE(PumpUntil(5000, [&] { return gui::SavedListCount(list) == 2; }));
        host_.reset();
    }
}

TEST_F(SavedList, FileCreatedFromOutsideAppearsAndRaisesChange) {
    const std::wstring& dir = folder_.path();
    WriteBytes(dir + L"first.ini", 1);
    HWND list = Create(dir + L"*.ini");
    ASSERT_TRUE(gui::SavedListWatched(list));
    Select(list, 0);
    PumpFor(50);
    TakeEvents();

    const ULONGLONG start = GetTickCount64();
    WriteBytes(dir + L"second.ini", 2000);
    ASSERT_TRUE(PumpUntil(5000, [&] { return gui::SavedListCount(list) == 2; }));
    std::printf("[ figures  ] outside change shown after %llu ms\n", GetTickCount64() - start);
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"first.ini", L"second.ini"}));
    EXPECT_EQ(gui::SavedListEntryText(list, 1, 1), L"2 KB");
    EXPECT_GE(Count(TakeEvents(), kListId, gui::kChange), 1);
    // A re-list keeps the user's selection on its entry.
    EXPECT_EQ(gui::SavedListState(list), 0);

    DeleteFileW((dir + L"first.ini").c_str());
    ASSERT_TRUE(PumpUntil(5000, [&] { return gui::SavedListCount(list) == 1; }));
    EXPECT_EQ(gui::SavedListEntryText(list, 0, 0), L"second.ini");
}

TEST_F(SavedList, ListingThatLeavesNoEntryRaisesNoEvent) {
    WriteBytes(folder_.path() + L"other.txt", 1);  // does not match
    HWND list = Create(folder_.path() + L"*.ini");
    EXPECT_EQ(gui::SavedListCount(list), 0);
    EXPECT_EQ(gui::SavedListState(list), -1);
    gui::RelistSavedList(list);
    gui::SortSavedList(list, 1);
    PumpFor(100);
    EXPECT_EQ(Count(TakeEvents(), kListId, gui::kChange), 0);
}

TEST_F(SavedList, RelistingShowsWhatChangedOnDiskAndKeepsTheSelectionOnItsEntry) {
    struct Case {
        const wchar_t* selected;  // before the change; nullptr for none
        const wchar_t* from;      // renamed or deleted; nullptr: `to` is new
        const wchar_t* to;        // nullptr: `from` is deleted
        std::vector<std::wstring> names;
    };
    const Case cases[] = {
        {nullptr, L"c.ini", L"0.ini", {L"0.ini", L"a.ini", L"b.ini"}},  // as many entries
        {L"a.ini", L"c.ini", L"0.ini", {L"0.ini", L"a.ini", L"b.ini"}},
        {nullptr, nullptr, L"0.ini", {L"0.ini", L"a.ini", L"b.ini", L"c.ini"}},
        {L"b.ini", L"a.ini", nullptr, {L"b.ini", L"c.ini"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.selected ? c.selected : L"-") << " "
                                        << (c.from ? c.from : L"-") << " > " << (c.to ? c.to : L"-"));
        TempFolder dir;
        for (const wchar_t* name : {L"a.ini", L"b.ini", L"c.ini"}) WriteBytes(dir.path() + name, 1);
        HWND list = Create(dir.path() + L"*.ini");
        ASSERT_NE(list, nullptr);
        if (c.selected) {
            const auto before = Names(list);
            Select(list, static_cast<int>(std::find(before.begin(), before.end(), c.selected) - before.begin()));
        }
        UpdateWindow(list);

        const std::wstring from = c.from ? dir.path() + c.from : L"";
        const std::wstring to = c.to ? dir.path() + c.to : L"";
        if (c.from && c.to) {
            ASSERT_TRUE(MoveFileW(from.c_str(), to.c_str()));
        } else if (c.to) {
            WriteBytes(to, 1);
        } else {
            ASSERT_TRUE(DeleteFileW(from.c_str()));
        }
        gui::RelistSavedList(list);

        EXPECT_EQ(Names(list), c.names);
        EXPECT_EQ(ListView_GetItemCount(list), static_cast<int>(c.names.size()));
        if (c.selected) {
            const int selected = gui::SavedListState(list);
            ASSERT_GE(selected, 0);
            EXPECT_EQ(gui::SavedListEntryText(list, selected, 0), c.selected);
            EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
        } else {
            EXPECT_EQ(gui::SavedListState(list), -1);
            EXPECT_EQ(ListView_GetSelectedCount(list), 0u);
        }
        // The rows on screen are drawn again with what they now show.
        EXPECT_TRUE(GetUpdateRect(list, nullptr, FALSE));
        DestroyWindow(list);
    }
}

TEST_F(SavedList, MissingFolderGivesAnEmptyUnwatchedList) {
    const std::wstring missing = folder_.path() + L"later\\";
    HWND list = Create(missing + L"*.ini");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(gui::SavedListCount(list), 0);
    EXPECT_FALSE(gui::SavedListWatched(list));
    EXPECT_EQ(gui::SavedListText(list), missing);

    MakeFolder(missing);
    WriteBytes(missing + L"one.ini", 1);
    PumpFor(500);
    EXPECT_EQ(gui::SavedListCount(list), 0);  // nobody watches it
    EXPECT_EQ(Count(TakeEvents(), kListId, gui::kChange), 0);

    // An explicit re-list reads the folder that now exists and watches it.
    gui::RelistSavedList(list);
    EXPECT_EQ(gui::SavedListCount(list), 1);
    EXPECT_TRUE(gui::SavedListWatched(list));
    WriteBytes(missing + L"two.ini", 1);
    EXPECT_TRUE(PumpUntil(5000, [&] { return gui::SavedListCount(list) == 2; }));
}

TEST_F(SavedList, WatcherStopsWithTheLastListAndLetsTheFolderGo) {
    TempFolder watched;
    HWND list = Create(watched.path() + L"*.ini");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(gui::SavedListWatcherRunning());
    EXPECT_TRUE(gui::SavedListWatched(list));
    host_.reset();
    EXPECT_FALSE(gui::SavedListWatcherRunning());
    // No handle is left open on the folder.
    EXPECT_TRUE(RemoveDirectoryW(watched.path().c_str()));
}

TEST(BrowserBenchmark, ListsThreeThousandFiles) {
    TempFolder folder;
    constexpr int kFiles = 3000;
    for (int i = 0; i < kFiles; ++i)
        WriteBytes(folder.path() + L"playlist " + std::to_wstring(i) + L".ini", i % 3000);
    gui::ClearEvents();
    gui::unique_window host = MakeHost();

    LARGE_INTEGER frequency, t0, t1, t2;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t0);
    HWND list = gui::CreateSavedList(kListId, host.get(), 0, 0, 600, 500, folder.path() + L"*.ini");
    UpdateWindow(list);
    QueryPerformanceCounter(&t1);
    gui::RelistSavedList(list);
    UpdateWindow(list);
    QueryPerformanceCounter(&t2);
    auto ms = [&](LARGE_INTEGER a, LARGE_INTEGER b) {
        return 1000.0 * double(b.QuadPart - a.QuadPart) / double(frequency.QuadPart);
    };
    std::printf("[ figures  ] %d files: create and list %.1f ms, re-list %.1f ms\n", kFiles,
                ms(t0, t1), ms(t1, t2));
    EXPECT_EQ(gui::SavedListCount(list), kFiles);
    EXPECT_EQ(gui::SavedListEntryText(list, 0, 0), L"playlist 0.ini");
    EXPECT_EQ(Count(TakeEvents(), kListId, gui::kChange), 1);  // not one per row

    // The tree opening the same folder as its start path.
    QueryPerformanceCounter(&t0);
    HWND tree = gui::CreateExplorerTree(kTreeId, host.get(), 0, 0, 400, 500, folder.path(), L"*.*");
    UpdateWindow(tree);
    QueryPerformanceCounter(&t1);
    std::printf("[ figures  ] %d files: tree created and opened at them in %.1f ms\n", kFiles,
                ms(t0, t1));
    EXPECT_EQ(Children(tree, TreeView_GetSelection(tree)).size(), size_t{kFiles});

    // Another program writes 1000 more files while the list is watched: the
    // GUI thread keeps pumping; count its re-lists and its longest stall.
    TakeEvents();
    constexpr int kBurst = 1000;
    std::thread writer([&] {
        for (int i = 0; i < kBurst; ++i)
            WriteBytes(folder.path() + L"burst " + std::to_wstring(i) + L".ini", 10);
    });
    int relists = 0;
    double longest = 0;
    LARGE_INTEGER last, now;
    QueryPerformanceCounter(&last);
    const bool settled = PumpUntil(30000, [&] {
        QueryPerformanceCounter(&now);
        longest = std::max(longest, ms(last, now));
        last = now;
        relists += Count(TakeEvents(), kListId, gui::kChange);
        return gui::SavedListCount(list) == kFiles + kBurst;
    });
    writer.join();
    EXPECT_TRUE(settled);
    std::printf("[ figures  ] %d files written while watched: %d re-lists, longest stall %.1f ms\n",
                kBurst, relists, longest);
    host.reset();
    gui::ClearEvents();
}

// ---- explorer tree ----------------------------------------------------------

// Paths of the root level, read by selecting each item.
std::vector<std::wstring> RootLevelPaths(HWND tree) {
    std::vector<std::wstring> paths;
    for (HTREEITEM item : Children(tree, TreeView_GetRoot(tree))) {
        TreeView_SelectItem(tree, item);
        paths.push_back(gui::ExplorerTreeText(tree));
    }
    return paths;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

class ExplorerTree : public ::testing::Test {
protected:
    void SetUp() override { gui::ClearEvents(); }
    void TearDown() override {
        host_.reset();
        gui::ClearEvents();
    }
    HWND Create(const std::wstring& start, const std::wstring& pattern = L"*.*") {
        if (!host_) host_ = MakeHost();
        return gui::CreateExplorerTree(kTreeId, host_.get(), 0, 0, 400, 600, start, pattern);
    }
    TempFolder folder_;
    gui::unique_window host_;
};

TEST_F(ExplorerTree, RootLevelIsTheComputerItsDrivesThenDocuments) {
    HWND tree = Create(L"");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(gui::ExplorerTreeState(tree), 0);  // nothing selected
    EXPECT_EQ(gui::ExplorerTreeText(tree), L"");
    EXPECT_EQ(Count(TakeEvents(), kTreeId, gui::kChange), 0);

    HTREEITEM root = TreeView_GetRoot(tree);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(TreeView_GetNextSibling(tree, root), nullptr);
    EXPECT_FALSE(ItemText(tree, root).empty());
    TreeView_SelectItem(tree, root);
    EXPECT_EQ(gui::ExplorerTreeState(tree), 2);
    EXPECT_EQ(gui::ExplorerTreeText(tree), L"");
    EXPECT_EQ(Count(TakeEvents(), kTreeId, gui::kChange), 1);

    std::vector<std::wstring> expected;
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter)
        if (drives & (1u << letter))
            expected.push_back(std::wstring(1, wchar_t(L'A' + letter)) + L":\\");
    std::vector<std::wstring> paths = RootLevelPaths(tree);
    ASSERT_EQ(paths.size(), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(paths[i], expected[i]);
    EXPECT_EQ(paths.back().back(), L'\\');  // Documents, a folder

    // A drive: state 2 and its root.
    for (HTREEITEM item : Children(tree, root)) {
        TreeView_SelectItem(tree, item);
        if (gui::ExplorerTreeText(tree) == L"C:\\") break;
    }
    EXPECT_EQ(gui::ExplorerTreeText(tree), L"C:\\");
    EXPECT_EQ(gui::ExplorerTreeState(tree), 2);

    const DWORD style = static_cast<DWORD>(GetWindowLongW(tree, GWL_STYLE));
    EXPECT_TRUE(style & TVS_HASLINES);
    EXPECT_TRUE(style & TVS_HASBUTTONS);
    EXPECT_FALSE(style & TVS_SHOWSELALWAYS);
}

TEST_F(ExplorerTree, StartPathIsSelectedWithFoldersBeforeFilesInside) {
    const std::wstring& dir = folder_.path();
    MakeFolder(dir + L"b_dir");
    MakeFolder(dir + L"A_dir");
    WriteBytes(dir + L"c.txt", 1);
    WriteBytes(dir + L"B.txt", 1);
    WriteBytes(dir + L"a.mp3", 1);
    WriteBytes(dir + L"b_dir\\inside.txt", 1);

    struct Case {
        const wchar_t* pattern;
        std::vector<std::wstring> children;
    };
    const Case cases[] = {
        {L"*.*", {L"A_dir", L"b_dir", L"a.mp3", L"B.txt", L"c.txt"}},
        {L"*.mp3", {L"A_dir", L"b_dir", L"a.mp3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "pattern " << std::string(c.pattern, c.pattern + lstrlenW(c.pattern)));
        host_ = MakeHost();
        HWND tree = Create(dir, c.pattern);
        ASSERT_NE(tree, nullptr);
        EXPECT_TRUE(SameText(gui::ExplorerTreeText(tree), dir));
        EXPECT_EQ(gui::ExplorerTreeState(tree), 2);

        HTREEITEM selected = TreeView_GetSelection(tree);
        std::vector<std::wstring> names;
        std::vector<HTREEITEM> children = Children(tree, selected);
        for (HTREEITEM item : children) names.push_back(ItemText(tree, item));
        EXPECT_EQ(names, c.children);
        ASSERT_GE(children.size(), 3u);

        TreeView_SelectItem(tree, children[1]);  // a folder: its path ends with "\"
        EXPECT_TRUE(SameText(gui::ExplorerTreeText(tree), dir + L"b_dir\\"));
        EXPECT_EQ(gui::ExplorerTreeState(tree), 2);
        TreeView_SelectItem(tree, children[2]);  // a file
        EXPECT_TRUE(SameText(gui::ExplorerTreeText(tree), dir + L"a.mp3"));
        EXPECT_EQ(gui::ExplorerTreeState(tree), 1);

        // Folders are listed when expanded; an empty one has nothing to show.
        TreeView_Expand(tree, children[1], TVE_EXPAND);
        std::vector<HTREEITEM> inside = Children(tree, children[1]);
        EXPECT_EQ(inside.size(), c.pattern == std::wstring(L"*.*") ? 1u : 0u);
        TreeView_Expand(tree, children[0], TVE_EXPAND);
        EXPECT_TRUE(Children(tree, children[0]).empty());
        host_.reset();
    }
}

// Asks the tree, as its view does when it draws an item, whether the item
// has an expand button.
int ExpandButtonShown(HWND tree, HTREEITEM item) {
    NMTVDISPINFOW info{};
    info.hdr.hwndFrom = tree;
    info.hdr.idFrom = kTreeId;
    info.hdr.code = TVN_GETDISPINFOW;
    info.item.mask = TVIF_CHILDREN;
    info.item.hItem = item;
    info.item.cChildren = -1;
    LRESULT result = 0;
    gui::RouteNotify(&info.hdr, result);
    return info.item.cChildren;
}

TEST_F(ExplorerTree, AnEmptyFolderGetsItsExpandButtonOnceSomethingArrives) {
    const std::wstring& dir = folder_.path();
    MakeFolder(dir + L"Vide");
    HWND tree = Create(dir);
    ASSERT_NE(tree, nullptr);
    std::vector<HTREEITEM> children = Children(tree, TreeView_GetSelection(tree));
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(ExpandButtonShown(tree, children[0]), 0);

    WriteBytes(dir + L"Vide\\titre.mp3", 1);
    EXPECT_EQ(ExpandButtonShown(tree, children[0]), 0) << "a fresh answer is kept a moment";
    Sleep(2100);
    EXPECT_EQ(ExpandButtonShown(tree, children[0]), 1);
    TreeView_Expand(tree, children[0], TVE_EXPAND);
    ASSERT_EQ(Children(tree, children[0]).size(), 1u);
    EXPECT_EQ(ItemText(tree, Children(tree, children[0])[0]), L"titre.mp3");
}

TEST_F(ExplorerTree, RightClickSelectsTheItemUnderThePointerAndBlankKeepsIt) {
    const std::wstring& dir = folder_.path();
    WriteBytes(dir + L"one.mp3", 1);
    WriteBytes(dir + L"two.mp3", 1);
    HWND tree = Create(dir);
    SetForegroundWindow(host_.get());
    UpdateWindow(tree);
    HTREEITEM start = TreeView_GetSelection(tree);
    std::vector<HTREEITEM> files = Children(tree, start);
    ASSERT_EQ(files.size(), 2u);
    TreeView_EnsureVisible(tree, files[1]);
    PumpFor(50);
    TakeEvents();

    auto rightClickAt = [&](POINT client) {
        POINT screen = client;
        ClientToScreen(tree, &screen);
        SetCursorPos(screen.x, screen.y);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        SendInput(2, input, sizeof(INPUT));
        PumpFor(300);
    };

    RECT r{};
    ASSERT_TRUE(TreeView_GetItemRect(tree, files[1], &r, TRUE));
    POINT onItem{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    rightClickAt(onItem);
    std::vector<gui::Event> events = TakeEvents();
    if (Count(events, kTreeId, gui::kRightClick) == 0)
        GTEST_SKIP() << "synthetic mouse input does not reach the window here";
    EXPECT_TRUE(SameText(gui::ExplorerTreeText(tree), dir + L"two.mp3"));
    EXPECT_EQ(gui::ExplorerTreeState(tree), 1);
    EXPECT_GE(Count(events, kTreeId, gui::kChange), 1);

    RECT client{};
    GetClientRect(tree, &client);
    rightClickAt(POINT{client.right - 5, client.bottom - 5});  // blank space
    events = TakeEvents();
    EXPECT_EQ(Count(events, kTreeId, gui::kRightClick), 1);
    EXPECT_EQ(Count(events, kTreeId, gui::kChange), 0);
    EXPECT_TRUE(SameText(gui::ExplorerTreeText(tree), dir + L"two.mp3"));
}

TEST_F(ExplorerTree, DrivesThatComeAndGoFollowTheSystem) {
    // A spare letter mapped to a temp folder stands for a new drive.
    const DWORD before = GetLogicalDrives();
    int letter = -1;
    for (int l = 25; l >= 3; --l)
        if (!(before & (1u << l))) {
            letter = l;
            break;
        }
    ASSERT_GE(letter, 0);
    const std::wstring device = std::wstring(1, wchar_t(L'A' + letter)) + L":";
    HWND tree = Create(L"");
    std::wstring target = folder_.path();
    target.pop_back();
    if (!DefineDosDeviceW(0, device.c_str(), target.c_str()) ||
        !(GetLogicalDrives() & (1u << letter))) {
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
        GTEST_SKIP() << "no drive letter can be added here";
    }
    auto shown = [&] {
        for (const std::wstring& p : RootLevelPaths(tree))
            if (p == device + L"\\") return true;
        return false;
    };
    // The tree notices by itself within a few seconds.
    EXPECT_TRUE(PumpUntil(4000, shown));
    std::vector<std::wstring> paths = RootLevelPaths(tree);
    EXPECT_TRUE(
        std::is_sorted(paths.begin(), paths.end() - 1));  // letters in order, Documents last

    DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    gui::ExplorerTreeDrivesChanged(tree);
    EXPECT_FALSE(shown());
}

// ---- splitter ----------------------------------------------------------------

TEST(SplitterRatio, LowerGetsTheIntegerPartOfTheAvailableHeightOverTheRatio) {
    struct Case {
        int height;
        gui::SplitRatio ratio;
        int upper;
        int lower;
    };
    const Case cases[] = {
        {595, {}, 294, 294},          // the start ratio 2 halves it
        {596, {}, 295, 294},          // the odd pixel goes up
        {7, {}, 0, 0},                // the bar only
        {3, {}, 0, 0},                // smaller than the bar
        {595, {588, 400}, 188, 400},  // a dragged share comes back exactly
        {795, {588, 400}, 252, 536},  // 788 * 400 / 588 = 536.05...
        {595, {588, 0}, 588, 0},      // dragged to the bottom
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const gui::SplitHeights h = gui::SplitterHeights(c.height, c.ratio);
        EXPECT_EQ(h.upper, c.upper);
        EXPECT_EQ(h.lower, c.lower);
    }
    // A drag measured on a splitter too small keeps the previous ratio.
    const gui::SplitRatio kept = gui::SplitterRatioFor(5, 0, gui::SplitRatio{10, 3});
    EXPECT_EQ(kept.available, 10);
    EXPECT_EQ(kept.lower, 3);
}

RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(Splitter, HalvesAt595AndKeepsTheSharesWhenResizedOrDragged) {
    gui::unique_window host = MakeHost();
    HWND upper = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host.get(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND lower = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host.get(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND splitter = gui::CreateSplitter(kSplitterId, host.get(), 0, 0, 400, 595, upper, lower);
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(gui::Control(kSplitterId), splitter);
    EXPECT_EQ(GetParent(upper), splitter);
    EXPECT_EQ(GetParent(lower), splitter);

    auto expectLayout = [&](int upperHeight, int lowerHeight) {
        RECT u = ChildRect(upper), l = ChildRect(lower);
        EXPECT_EQ(u.top, 0);
        EXPECT_EQ(u.bottom - u.top, upperHeight);
        EXPECT_EQ(l.top, upperHeight + 7);
        EXPECT_EQ(l.bottom - l.top, lowerHeight);
        EXPECT_EQ(u.right - u.left, 400);
        EXPECT_EQ(l.right - l.left, 400);
    };
    expectLayout(294, 294);
    MoveWindow(splitter, 0, 0, 400, 795, TRUE);
    expectLayout(394, 394);

    // Drag the bar 100 pixels up: the boundary moves and the share sticks.
    SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 397));
    SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 297));
    SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(50, 297));
    expectLayout(294, 494);
    MoveWindow(splitter, 0, 0, 400, 595, TRUE);
    expectLayout(588 - 588 * 494 / 788, 588 * 494 / 788);
    MoveWindow(splitter, 0, 0, 400, 795, TRUE);
    expectLayout(294, 494);

    // A press outside the bar drags nothing.
    SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 100));
    SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 50));
    SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    expectLayout(294, 494);
    EXPECT_EQ(GetClassLongPtrW(splitter, GCLP_HCURSOR),
              reinterpret_cast<LONG_PTR>(LoadCursorW(nullptr, IDC_SIZENS)));
}

// The browsers keep reporting to the window they were created in (the main
// window, which routes), and whatever reaches the splitter goes to its
// control's handler too.
TEST(Splitter, BrowsersInsideStillRaiseTheirEvents) {
    TempFolder folder;
    WriteBytes(folder.path() + L"b.ini", 1);
    WriteBytes(folder.path() + L"a.ini", 2000);
    gui::ClearEvents();
    gui::unique_window host = MakeHost();
    HWND tree = gui::CreateExplorerTree(kTreeId, host.get(), 0, 0, 400, 300, folder.path(), L"*.*");
    HWND list =
        gui::CreateSavedList(kListId, host.get(), 0, 300, 400, 300, folder.path() + L"*.ini");
    HWND splitter = gui::CreateSplitter(kSplitterId, host.get(), 0, 0, 400, 595, tree, list);
    ASSERT_NE(splitter, nullptr);
    TakeEvents();

    ClickHeader(list, 1);
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"b.ini", L"a.ini"}));
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    std::vector<gui::Event> events = TakeEvents();
    EXPECT_EQ(Count(events, kListId, gui::kChange), 1);
    EXPECT_EQ(Count(events, kTreeId, gui::kChange), 1);
    EXPECT_EQ(gui::ExplorerTreeText(tree), L"");

    // A notification sent to the splitter itself: the list sorts on it.
    NMLISTVIEW click{};
    click.hdr = {list, static_cast<UINT_PTR>(kListId), static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = 0;
    SendMessageW(splitter, WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"a.ini", L"b.ini"}));
    EXPECT_EQ(Count(TakeEvents(), kListId, gui::kChange), 1);
}

}  // namespace
