#include "explorer_tree.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>

#include "controls.h"
#include "events.h"
#include "handles.h"
#include "window.h"

namespace gui {

// ---------------------------------------------------------------------------
// Folder listing shared by both browsers

bool ListFolderEntries(const std::wstring& folder, const std::wstring& pattern,
                       std::vector<FolderEntry>& out) {
    out.clear();
    const std::wstring mask = pattern.empty() ? L"*.*" : pattern;
    QuietDriveErrors quiet;
    WIN32_FIND_DATAW data;
    // Basic info and large fetches: no short names to build, fewer round trips.
    unique_find find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data,
                                      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // Matched here rather than by the search itself, so that "*.ini" does
        // not also catch "x.ini2" through short names, and folders always show.
        if (!isFolder && !PathMatchSpecW(name, mask.c_str())) continue;
        FolderEntry entry;
        entry.name = name;
        entry.folder = isFolder;
        entry.bytes = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        entry.modified = data.ftLastWriteTime;
        entry.sortKey = NameSortKey(entry.name);
        out.push_back(std::move(entry));
    } while (FindNextFileW(find.get(), &data));
    return true;
}

const ShellType& ShellTypeOf(const std::wstring& fileName, bool folder) {
    // GUI thread only. Keyed by lower-case extension; "\" stands for folders.
    static std::unordered_map<std::wstring, ShellType> cache;
    std::wstring key = L"\\";
    if (!folder) {
        size_t dot = fileName.find_last_of(L'.');
        key = dot == std::wstring::npos ? L"" : fileName.substr(dot);
        if (!key.empty()) CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    }
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;

    const std::wstring probe = folder ? L"dossier" : L"fichier" + key;
    const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    const UINT flags = SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    ShellType type;
    SHFILEINFOW info{};
    if (SHGetFileInfoW(probe.c_str(), attributes, &info, sizeof info, flags | SHGFI_TYPENAME)) {
        type.name = info.szTypeName;
        type.icon = type.openIcon = info.iIcon;
    }
    if (folder) {
        SHFILEINFOW open{};
        if (SHGetFileInfoW(probe.c_str(), attributes, &open, sizeof open, flags | SHGFI_OPENICON))
            type.openIcon = open.iIcon;
    }
    return cache.emplace(key, std::move(type)).first->second;
}

HIMAGELIST SystemSmallImageList() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"dossier", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int CompareNames(const std::wstring& a, const std::wstring& b) {
    int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                           static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()));
    return r == 0 ? lstrcmpiW(a.c_str(), b.c_str()) : r - CSTR_EQUAL;
}

std::string NameSortKey(const std::wstring& name) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(name.size());
    // The key is written as bytes, despite the wide-string parameter type.
    std::string key(name.size() * 6 + 32, '\0');
    int bytes = LCMapStringW(LOCALE_USER_DEFAULT, flags, name.c_str(), length,
                             reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(key.size()));
    if (bytes == 0) {
        bytes = LCMapStringW(LOCALE_USER_DEFAULT, flags, name.c_str(), length, nullptr, 0);
        if (bytes <= 0) return std::string();
        key.assign(static_cast<size_t>(bytes), '\0');
        bytes = LCMapStringW(LOCALE_USER_DEFAULT, flags, name.c_str(), length,
                             reinterpret_cast<LPWSTR>(key.data()), bytes);
    }
    key.resize(bytes > 0 ? static_cast<size_t>(bytes - 1) : 0);  // without the final zero
    return key;
}

bool NameBefore(const FolderEntry& a, const FolderEntry& b) {
    if (a.sortKey != b.sortKey) return a.sortKey < b.sortKey;
    return a.name < b.name;
}

void SortFoldersFirst(std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        if (a.folder != b.folder) return a.folder;
        return NameBefore(a, b);
    });
}

// ---------------------------------------------------------------------------
// The tree

namespace {

constexpr UINT_PTR kSubclassId = 0x7E17;
// Far from the small numbers the tree view uses for its own timers.
constexpr UINT_PTR kDriveTimer = 0x7E17D;
constexpr UINT kDrivePollMs = 1000;

enum class ItemKind { Computer, Drive, Documents, Folder, File };
enum class Children { Unknown, Yes, No };

struct TreeItem {
    std::wstring path;
    ItemKind kind = ItemKind::Folder;
    Children children = Children::Unknown;
    DWORD checkedAt = 0;  // when `children` was last read from disk
    bool listed = false;  // children are in the tree and still current
};

// An empty folder is looked at again when it is drawn after this long, so a
// file put into it meanwhile gives it its expand button.
constexpr DWORD kEmptyFolderRecheckMs = 2000;

struct TreeState {
    HWND window = nullptr;
    int id = 0;
    std::wstring pattern;
    HTREEITEM root = nullptr;
    bool destroying = false;
    // Each item's path and kind, owned here and dropped on TVN_DELETEITEM.
    std::unordered_map<HTREEITEM, TreeItem> items;
};

std::map<HWND, std::unique_ptr<TreeState>>& Trees() {
    static std::map<HWND, std::unique_ptr<TreeState>> trees;
    return trees;
}

TreeState* FindTree(HWND window) {
    auto it = Trees().find(window);
    return it == Trees().end() ? nullptr : it->second.get();
}

TreeItem* FindItem(TreeState& s, HTREEITEM item) {
    auto it = s.items.find(item);
    return it == s.items.end() ? nullptr : &it->second;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Last component of an item's path, without its trailing "\".
std::wstring LeafName(const std::wstring& path) {
    std::wstring p = path;
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    size_t slash = p.find_last_of(L"\\/");
    return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

HTREEITEM InsertItem(TreeState& s, HTREEITEM parent, HTREEITEM after, const std::wstring& text,
                     TreeItem item, int image, int selectedImage) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    ins.item.iImage = image;
    ins.item.iSelectedImage = selectedImage;
    // Whether a folder has anything inside is only asked when it is drawn.
    ins.item.cChildren = item.kind == ItemKind::File ? 0 : I_CHILDRENCALLBACK;
    auto handle = reinterpret_cast<HTREEITEM>(
        SendMessageW(s.window, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (handle) s.items[handle] = std::move(item);
    return handle;
}

// Cheap check for the expand button: stops at the first sub-folder or
// matching file.
bool FolderHasEntries(const std::wstring& folder, const std::wstring& pattern) {
    QuietDriveErrors quiet;
    WIN32_FIND_DATAW data;
    unique_find find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data,
                                      FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return true;
        if (PathMatchSpecW(name, pattern.c_str())) return true;
    } while (FindNextFileW(find.get(), &data));
    return false;
}

bool HasChildren(TreeState& s, TreeItem& item) {
    switch (item.kind) {
    case ItemKind::Computer:
        return true;
    case ItemKind::File:
        return false;
    default:
        break;
    }
    const DWORD now = GetTickCount();
    const bool stale = item.children == Children::No && now - item.checkedAt > kEmptyFolderRecheckMs;
    if (item.children == Children::Unknown || stale) {
        item.children = FolderHasEntries(item.path, s.pattern) ? Children::Yes : Children::No;
        item.checkedAt = now;
        // Found empty when it was opened: the next opening reads it afresh.
        if (stale && item.children == Children::Yes) item.listed = false;
    }
    return item.children == Children::Yes;
}

// Reads a folder's children into the tree, replacing what was there.
void ListChildren(TreeState& s, HTREEITEM parent) {
    TreeItem* item = FindItem(s, parent);
    if (!item || item->kind == ItemKind::Computer || item->kind == ItemKind::File) return;
    const std::wstring base = item->path;

    std::vector<FolderEntry> entries;
    ListFolderEntries(base, s.pattern, entries);
    SortFoldersFirst(entries);

    NoRedraw quiet(s.window);
    while (HTREEITEM child = TreeView_GetChild(s.window, parent))
        TreeView_DeleteItem(s.window, child);
    for (const FolderEntry& e : entries) {
        const ShellType& type = ShellTypeOf(e.name, e.folder);
        TreeItem child;
        child.kind = e.folder ? ItemKind::Folder : ItemKind::File;
        child.path = base + e.name + (e.folder ? L"\\" : L"");
        InsertItem(s, parent, TVI_LAST, e.name, std::move(child), type.icon, type.openIcon);
    }
    if (TreeItem* again = FindItem(s, parent)) {
        again->listed = true;
        again->children = entries.empty() ? Children::No : Children::Yes;
        again->checkedAt = GetTickCount();
    }
}

void Expand(TreeState& s, HTREEITEM handle) {
    TreeItem* item = FindItem(s, handle);
    if (item && !item->listed) ListChildren(s, handle);
    TreeView_Expand(s.window, handle, TVE_EXPAND);
}

// ---- root level

struct CoTaskMemDeleter {
    void operator()(void* p) const { CoTaskMemFree(p); }
};

std::wstring SpecialFolderDisplayName(int csidl, int* icon) {
    ITEMIDLIST* raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &raw)) || !raw) return L"";
    std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter> pidl(raw);
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl.get()), 0, &info, sizeof info,
                        SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return L"";
    *icon = info.iIcon;
    return info.szDisplayName;
}

std::wstring DocumentsPath() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, buffer)) ||
        !buffer[0])
        return L"";
    std::wstring path = buffer;
    if (path.back() != L'\\') path += L'\\';
    return path;
}

std::wstring DrivePath(int letter) {
    return std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":\\";
}

HTREEITEM InsertDrive(TreeState& s, HTREEITEM after, int letter) {
    const std::wstring path = DrivePath(letter);
    SHFILEINFOW info{};
    {
        QuietDriveErrors quiet;
        SHGetFileInfoW(path.c_str(), 0, &info, sizeof info,
                       SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    }
    std::wstring name = info.szDisplayName[0] ? info.szDisplayName : path.substr(0, 2);
    TreeItem item;
    item.kind = ItemKind::Drive;
    item.path = path;
    return InsertItem(s, s.root, after, name, std::move(item), info.iIcon, info.iIcon);
}

// Drive letter of a root-level item, or -1 for Documents.
int DriveLetterOf(TreeState& s, HTREEITEM handle) {
    TreeItem* item = FindItem(s, handle);
    if (!item || item->kind != ItemKind::Drive) return -1;
    return item->path[0] - L'A';
}

void BuildRootLevel(TreeState& s) {
    int icon = 0;
    std::wstring name = SpecialFolderDisplayName(CSIDL_DRIVES, &icon);
    if (name.empty()) name = L"Ordinateur";
    TreeItem computer;
    computer.kind = ItemKind::Computer;
    computer.listed = true;
    s.root = InsertItem(s, TVI_ROOT, TVI_LAST, name, std::move(computer), icon, icon);
    if (!s.root) return;

    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter)
        if (drives & (1u << letter)) InsertDrive(s, TVI_LAST, letter);

    const std::wstring documents = DocumentsPath();
    if (!documents.empty()) {
        int docIcon = 0;
        std::wstring docName = SpecialFolderDisplayName(CSIDL_PERSONAL, &docIcon);
        if (docName.empty()) docName = LeafName(documents);
        TreeItem item;
        item.kind = ItemKind::Documents;
        item.path = documents;
        InsertItem(s, s.root, TVI_LAST, docName, std::move(item), docIcon, docIcon);
    }
    TreeView_Expand(s.window, s.root, TVE_EXPAND);
}

void ReconcileDrives(TreeState& s) {
    if (!s.root) return;
    const DWORD now = GetLogicalDrives();
    DWORD shown = 0;
    for (HTREEITEM child = TreeView_GetChild(s.window, s.root); child;) {
        HTREEITEM next = TreeView_GetNextSibling(s.window, child);
        int letter = DriveLetterOf(s, child);
        if (letter >= 0) {
            if (now & (1u << letter))
                shown |= 1u << letter;
            else
                TreeView_DeleteItem(s.window, child);
        }
        child = next;
    }
    const DWORD added = now & ~shown;
    if (!added) return;
    for (int letter = 0; letter < 26; ++letter) {
        if (!(added & (1u << letter))) continue;
        // After the last drive with a smaller letter, so the letters stay in order.
        HTREEITEM after = TVI_FIRST;
        for (HTREEITEM child = TreeView_GetChild(s.window, s.root); child;
             child = TreeView_GetNextSibling(s.window, child)) {
            int other = DriveLetterOf(s, child);
            if (other >= 0 && other < letter) after = child;
        }
        InsertDrive(s, after, letter);
    }
}

HTREEITEM FindChildNamed(TreeState& s, HTREEITEM parent, const std::wstring& name) {
    for (HTREEITEM child = TreeView_GetChild(s.window, parent); child;
         child = TreeView_GetNextSibling(s.window, child)) {
        TreeItem* item = FindItem(s, child);
        if (item && SamePath(LeafName(item->path), name)) return child;
    }
    return nullptr;
}

void ExpandStartPath(TreeState& s, std::wstring path) {
    // Short names (PROGRA~1) would never match the listed names.
    wchar_t longPath[4 * MAX_PATH];
    DWORD n = GetLongPathNameW(path.c_str(), longPath, ARRAYSIZE(longPath));
    if (n > 0 && n < ARRAYSIZE(longPath)) path = longPath;
    if (path.size() < 2 || path[1] != L':' || !iswalpha(path[0])) return;

    HTREEITEM current = nullptr;
    for (HTREEITEM child = TreeView_GetChild(s.window, s.root); child;
         child = TreeView_GetNextSibling(s.window, child)) {
        int letter = DriveLetterOf(s, child);
        if (letter >= 0 && letter == towupper(path[0]) - L'A') current = child;
    }
    if (!current) return;

    size_t pos = 2;
    while (true) {
        TreeItem* item = FindItem(s, current);
        if (!item || item->kind == ItemKind::File) break;
        Expand(s, current);
        while (pos < path.size() && (path[pos] == L'\\' || path[pos] == L'/')) ++pos;
        if (pos >= path.size()) break;
        size_t end = path.find_first_of(L"\\/", pos);
        if (end == std::wstring::npos) end = path.size();
        HTREEITEM next = FindChildNamed(s, current, path.substr(pos, end - pos));
        if (!next) break;  // the rest of the path is gone: stop at what exists
        current = next;
        pos = end;
    }
    TreeView_EnsureVisible(s.window, current);
    TreeView_SelectItem(s.window, current);
}

// ---- notifications

POINT MessagePointIn(HWND window) {
    DWORD pos = GetMessagePos();
    POINT pt{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ScreenToClient(window, &pt);
    return pt;
}

bool OnTreeNotify(int id, NMHDR* header, LRESULT& result) {
    TreeState* s = FindTree(header->hwndFrom);
    if (!s) return false;
    result = 0;
    switch (header->code) {
    case TVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
        TreeItem* item = FindItem(*s, info->item.hItem);
        if (item && (info->item.mask & TVIF_CHILDREN))
            info->item.cChildren = HasChildren(*s, *item) ? 1 : 0;
        return true;
    }
    case TVN_ITEMEXPANDINGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        TreeItem* item = FindItem(*s, nm->itemNew.hItem);
        if (nm->action & TVE_EXPAND && item && !item->listed) ListChildren(*s, nm->itemNew.hItem);
        return true;
    }
    case TVN_ITEMEXPANDEDW: {
        // A folder opened again is read again, so it shows what is on disk now.
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        TreeItem* item = FindItem(*s, nm->itemNew.hItem);
        if ((nm->action & TVE_COLLAPSE) && item && item->kind != ItemKind::Computer)
            item->listed = false;
        return true;
    }
    case TVN_DELETEITEMW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        s->items.erase(nm->itemOld.hItem);
        return true;
    }
    case TVN_SELCHANGEDW:
        if (!s->destroying) PostControlEvent(id, kChange);
        return true;
    case NM_RCLICK: {
        // Right click acts on the item under the pointer; blank space keeps
        // the selection as it was.
        TVHITTESTINFO hit{};
        hit.pt = MessagePointIn(s->window);
        HTREEITEM item = TreeView_HitTest(s->window, &hit);
        if (item && (hit.flags & TVHT_ONITEM)) TreeView_SelectItem(s->window, item);
        PostControlEvent(id, kRightClick);
        result = 1;  // no WM_CONTEXTMENU on top of our event
        return true;
    }
    case NM_CLICK:
        PostControlEvent(id, kLeftClick);
        return true;
    case NM_DBLCLK:
        PostControlEvent(id, kLeftDoubleClick);
        return true;
    }
    return false;
}

void ForgetTree(HWND window) {
    auto it = Trees().find(window);
    if (it == Trees().end()) return;
    if (Control(it->second->id) == window) UnregisterControl(it->second->id);
    Trees().erase(it);
}

LRESULT CALLBACK TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR refData) {
    auto* s = reinterpret_cast<TreeState*>(refData);
    switch (message) {
    case WM_TIMER:
        if (wParam == kDriveTimer) {
            ReconcileDrives(*s);
            return 0;
        }
        break;
    case WM_DESTROY:
        s->destroying = true;
        KillTimer(window, kDriveTimer);
        break;
    case WM_NCDESTROY: {
        LRESULT r = DefSubclassProc(window, message, wParam, lParam);
        RemoveWindowSubclass(window, TreeProc, kSubclassId);
        ForgetTree(window);
        return r;
    }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

HWND CreateExplorerTree(int id, HWND parent, int x, int y, int width, int height,
                        const std::wstring& startPath, const std::wstring& pattern) {
    HWND tree = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS, x, y,
        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    if (!tree) return nullptr;
    SendMessageW(tree, TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    TreeView_SetImageList(tree, SystemSmallImageList(), TVSIL_NORMAL);

    auto owned = std::make_unique<TreeState>();
    TreeState* s = owned.get();
    s->window = tree;
    s->id = id;
    s->pattern = pattern.empty() ? L"*.*" : pattern;
    Trees()[tree] = std::move(owned);
    SetWindowSubclass(tree, TreeProc, kSubclassId, reinterpret_cast<DWORD_PTR>(s));
    RegisterControl(id, tree, OnTreeNotify);

    BuildRootLevel(*s);
    if (!startPath.empty() && s->root) ExpandStartPath(*s, startPath);
    if (HTREEITEM selected = TreeView_GetSelection(tree)) TreeView_EnsureVisible(tree, selected);
    // WM_DEVICECHANGE only reaches top-level windows; a cheap poll keeps the
    // tree self-contained.
    SetTimer(tree, kDriveTimer, kDrivePollMs, nullptr);
    return tree;
}

int ExplorerTreeState(HWND tree) {
    TreeState* s = FindTree(tree);
    if (!s) return 0;
    HTREEITEM selected = TreeView_GetSelection(tree);
    TreeItem* item = selected ? FindItem(*s, selected) : nullptr;
    if (!item) return 0;
    return item->kind == ItemKind::File ? 1 : 2;
}

std::wstring ExplorerTreeText(HWND tree) {
    TreeState* s = FindTree(tree);
    if (!s) return L"";
    HTREEITEM selected = TreeView_GetSelection(tree);
    TreeItem* item = selected ? FindItem(*s, selected) : nullptr;
    return item ? item->path : L"";
}

void ExplorerTreeDrivesChanged(HWND tree) {
    if (TreeState* s = FindTree(tree)) ReconcileDrives(*s);
}

}  // namespace gui
