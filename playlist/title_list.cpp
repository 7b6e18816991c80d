#include "title_list.h"

#include <commctrl.h>

#include <unordered_set>

#include "controls.h"
#include "events.h"
#include "handles.h"

namespace tunerolle {

namespace {
struct ImageListTraits {
    static HIMAGELIST invalid() { return nullptr; }
    static bool valid(HIMAGELIST h) { return h != nullptr; }
    static void close(HIMAGELIST h) { ImageList_Destroy(h); }
};

struct TitleListState {
    HWND view = nullptr;
    std::vector<TitleRow> rows;
    // Keeps duplicate checks linear. Built on the first check after a load
    // or a removal, so loading 100,000 titles does not pay for it.
    std::unordered_set<std::wstring> locations;
    bool locationsCurrent = true;
    gui::unique_resource<HIMAGELIST, ImageListTraits> images;
};

TitleListState g_titles;

int IconIndex(TitleIcon icon) {
    switch (icon) {
    case TitleIcon::Mp3: return 0;
    case TitleIcon::Wma: return 1;
    default: return I_IMAGENONE;
    }
}

void ShowCount() {
    if (!g_titles.view) return;
    SendMessageW(g_titles.view, LVM_SETITEMCOUNT, g_titles.rows.size(),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(g_titles.view, nullptr, FALSE);
}

bool HasSelection() {
    return SendMessageW(g_titles.view, LVM_GETSELECTEDCOUNT, 0, 0) > 0 ||
           SendMessageW(g_titles.view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0;
}

// Call with the view's redraw off: "all rows" visits every row, and an
// owner-data list keeps its selection when its count shrinks.
void ClearStates() {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(g_titles.view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

// Turning redraw back on makes the view lay out and draw its scroll bars
// again (with a theme, milliseconds each), so it is only turned off when
// there is a selection to clear, and once for a whole removal.
void ClearSelection() {
    if (!g_titles.view) return;
    SendMessageW(g_titles.view, LVM_SETSELECTIONMARK, 0, -1);
    if (!HasSelection()) return;
    // With redraw on, clearing 50,000 selected rows repaints them one by
    // one: seconds. The caller repaints the list once afterwards.
    SendMessageW(g_titles.view, WM_SETREDRAW, FALSE, 0);
    ClearStates();
    SendMessageW(g_titles.view, WM_SETREDRAW, TRUE, 0);
}

void FillItem(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if (item.iItem < 0 || item.iItem >= static_cast<int>(g_titles.rows.size())) return;
    const TitleRow& row = g_titles.rows[item.iItem];
    if (item.mask & LVIF_TEXT) {
        const std::wstring& text = item.iSubItem == 0 ? row.title : row.location;
        // The view copies the text at once; pointing at our own storage saves a copy.
        item.pszText = const_cast<wchar_t*>(text.c_str());
    }
    if (item.mask & LVIF_IMAGE) item.iImage = IconIndex(row.icon);
}

bool OnNotify(int id, NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case LVN_GETDISPINFOW:
        FillItem(reinterpret_cast<NMLVDISPINFOW*>(header));
        return true;
    case NM_RCLICK:
        gui::PostControlEvent(id, gui::kRightClick);
        return true;
    case NM_CLICK:
        gui::PostControlEvent(id, gui::kLeftClick);
        return true;
    case NM_DBLCLK:
        gui::PostControlEvent(id, gui::kLeftDoubleClick);
        return true;
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
            gui::PostControlEvent(id, gui::kChange);
        return true;
    }
    case LVN_ODSTATECHANGED: {
        auto* change = reinterpret_cast<NMLVODSTATECHANGE*>(header);
        if ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)
            gui::PostControlEvent(id, gui::kChange);
        return true;
    }
    }
    (void)result;
    return false;
}
}  // namespace

void AddTitleColumns(HWND view) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 614;
    column.pszText = const_cast<wchar_t*>(L"Titres");
    SendMessageW(view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 600;
    column.pszText = const_cast<wchar_t*>(L"Emplacement");
    SendMessageW(view, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
}

HWND CreateTitleList(int id, HWND parent, int x, int y, int width, int height, HICON mp3Icon,
                     HICON wmaIcon) {
    g_titles.view = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS, x, y,
        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    if (!g_titles.view) return nullptr;
    HWND view = g_titles.view;
    SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    g_titles.images.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
    if (g_titles.images) {
        ImageList_AddIcon(g_titles.images.get(), mp3Icon);
        ImageList_AddIcon(g_titles.images.get(), wmaIcon);
        SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(g_titles.images.get()));
    }
    AddTitleColumns(view);
    gui::RegisterControl(id, view, &OnNotify);
    return view;
}

const std::vector<TitleRow>& TitleRows() { return g_titles.rows; }
int TitleCount() { return static_cast<int>(g_titles.rows.size()); }

bool HasTitleLocation(const std::wstring& location) {
    if (!g_titles.locationsCurrent) {
        g_titles.locations.clear();
        g_titles.locations.reserve(g_titles.rows.size());
        for (const auto& row : g_titles.rows) g_titles.locations.insert(row.location);
        g_titles.locationsCurrent = true;
    }
    return g_titles.locations.count(location) != 0;
}

void AppendTitles(std::vector<TitleRow> rows) {
    if (g_titles.rows.empty()) {
        g_titles.rows = std::move(rows);
        g_titles.locationsCurrent = false;
    } else {
        g_titles.rows.reserve(g_titles.rows.size() + rows.size());
        for (auto& row : rows) {
            if (g_titles.locationsCurrent) g_titles.locations.insert(row.location);
            g_titles.rows.push_back(std::move(row));
        }
    }
    ShowCount();
}

void ReplaceTitles(std::vector<TitleRow> rows) {
    ClearSelection();
    g_titles.rows.clear();
    g_titles.locations.clear();
    AppendTitles(std::move(rows));
}

void ClearTitles() { ReplaceTitles({}); }

void RemoveTitles(const std::vector<int>& positions) {
    if (positions.empty()) return;
    std::vector<TitleRow> kept;
    kept.reserve(g_titles.rows.size() - positions.size());
    size_t next = 0;
    for (int i = 0; i < static_cast<int>(g_titles.rows.size()); ++i) {
        if (next < positions.size() && positions[next] == i) {
            ++next;
            continue;
        }
        kept.push_back(std::move(g_titles.rows[i]));
    }
    g_titles.rows = std::move(kept);
    // Rebuilt when next needed rather than erased one by one: a playlist may
    // list a file twice.
    g_titles.locations.clear();
    g_titles.locationsCurrent = false;
    if (!g_titles.view) return;
    // The selection cleared and the new count given in one quiet spell, so
    // the view redoes its layout once.
    SendMessageW(g_titles.view, WM_SETREDRAW, FALSE, 0);
    SendMessageW(g_titles.view, LVM_SETSELECTIONMARK, 0, -1);
    ClearStates();
    ShowCount();
    SendMessageW(g_titles.view, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_titles.view, nullptr, FALSE);
}

int FirstSelectedTitle() {
    if (!g_titles.view) return -1;
    return static_cast<int>(SendMessageW(g_titles.view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> SelectedTitles() {
    std::vector<int> selected;
    if (!g_titles.view) return selected;
    int i = -1;
    while ((i = static_cast<int>(SendMessageW(g_titles.view, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) != -1)
        selected.push_back(i);
    return selected;
}

UINT TitleState(int position) {
    if (!g_titles.view) return 0;
    return static_cast<UINT>(SendMessageW(g_titles.view, LVM_GETITEMSTATE, position, LVIS_SELECTED | LVIS_FOCUSED));
}

void SelectTitles(const std::vector<int>& positions) {
    if (!g_titles.view) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    for (int p : positions) SendMessageW(g_titles.view, LVM_SETITEMSTATE, p, reinterpret_cast<LPARAM>(&item));
}

std::wstring TitleHeaderText() {
    if (!g_titles.view) return {};
    wchar_t buffer[256] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = 256;
    SendMessageW(g_titles.view, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return buffer;
}

void SetTitleHeaderText(const std::wstring& text) {
    if (!g_titles.view) return;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(g_titles.view, LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

}  // namespace tunerolle
