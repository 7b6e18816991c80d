#include "remote.h"

#include <cstdlib>
#include <cstring>

#include "handles.h"

namespace e2e {
namespace {
constexpr DWORD kSendMs = 2000;
constexpr DWORD kPollMs = 10;
constexpr size_t kTextChars = 1024;

// A block of memory inside the process that owns a window, freed on every path.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t bytes) : bytes_(bytes) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
        if (process_)
            address_ = VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    explicit operator bool() const { return address_ != nullptr; }
    char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
    LPARAM param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(at(offset)); }

    bool Write(size_t offset, const void* data, size_t size) const {
        SIZE_T done = 0;
        return offset + size <= bytes_ && WriteProcessMemory(process_.get(), at(offset), data, size, &done) &&
               done == size;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        SIZE_T done = 0;
        return offset + size <= bytes_ && ReadProcessMemory(process_.get(), at(offset), data, size, &done) &&
               done == size;
    }
    std::wstring ReadText(size_t offset, size_t maxChars) const {
        std::wstring text(maxChars, L'\0');
        if (!Read(offset, text.data(), maxChars * sizeof(wchar_t))) return {};
        text.resize(wcsnlen(text.c_str(), maxChars));
        return text;
    }

private:
    gui::unique_handle process_;
    void* address_ = nullptr;
    size_t bytes_;
};

// A structure followed by a text buffer, both in the other process: the
// structure's text pointer is set to the remote buffer before it is copied.
template <typename T>
std::wstring QueryText(HWND window, UINT message, WPARAM wParam, T request, LPWSTR T::*textField,
                       int T::*sizeField) {
    RemoteMemory memory(window, sizeof(T) + kTextChars * sizeof(wchar_t));
    if (!memory) return {};
    request.*textField = reinterpret_cast<LPWSTR>(memory.at(sizeof(T)));
    request.*sizeField = static_cast<int>(kTextChars - 1);
    const wchar_t nothing = 0;
    if (!memory.Write(0, &request, sizeof request) || !memory.Write(sizeof(T), &nothing, sizeof nothing)) return {};
    SendBounded(window, message, wParam, memory.param());
    return memory.ReadText(sizeof(T), kTextChars);
}

bool SendInputs(INPUT* inputs, UINT count) { return SendInput(count, inputs, sizeof(INPUT)) == count; }

struct MenuSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchMenu(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MenuSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (pid == search->pid && IsWindowVisible(window) && lstrcmpW(name, L"#32768") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleMenu(DWORD pid) {
    MenuSearch search{pid, nullptr};
    EnumWindows(MatchMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
}  // namespace

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT fallback) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendMs, &result))
        return fallback;
    return static_cast<LRESULT>(result);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
}

std::wstring StatusBarText(HWND bar, int field) {
    RemoteMemory memory(bar, kTextChars * sizeof(wchar_t));
    if (!memory) return {};
    const LRESULT info = SendBounded(bar, SB_GETTEXTLENGTHW, field, 0);
    if (LOWORD(info) >= kTextChars) return {};
    SendBounded(bar, SB_GETTEXTW, field, memory.param());
    return memory.ReadText(0, LOWORD(info) + 1);
}

int ListViewCount(HWND list) { return static_cast<int>(SendBounded(list, LVM_GETITEMCOUNT, 0, 0, -1)); }

std::wstring ListViewText(HWND list, int item, int subItem) {
    LVITEMW request{};
    request.iSubItem = subItem;
    return QueryText(list, LVM_GETITEMTEXTW, item, request, &LVITEMW::pszText, &LVITEMW::cchTextMax);
}

std::wstring ListViewColumnText(HWND list, int column) {
    LVCOLUMNW request{};
    request.mask = LVCF_TEXT;
    return QueryText(list, LVM_GETCOLUMNW, column, request, &LVCOLUMNW::pszText, &LVCOLUMNW::cchTextMax);
}

int ListViewColumnWidth(HWND list, int column) {
    return static_cast<int>(SendBounded(list, LVM_GETCOLUMNWIDTH, column, 0));
}

int ListViewFind(HWND list, const std::wstring& text, int subItem) {
    const int count = ListViewCount(list);
    for (int i = 0; i < count; ++i)
        if (ListViewText(list, i, subItem) == text) return i;
    return -1;
}

bool ListViewItemRect(HWND list, int item, RECT* out) {
    RemoteMemory memory(list, sizeof(RECT));
    RECT request{};
    request.left = LVIR_LABEL;
    if (!memory || !memory.Write(0, &request, sizeof request)) return false;
    SendBounded(list, LVM_ENSUREVISIBLE, item, FALSE);
    if (!SendBounded(list, LVM_GETITEMRECT, item, memory.param())) return false;
    return memory.Read(0, out, sizeof *out);
}

HTREEITEM TreeSelection(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendBounded(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

HTREEITEM TreeParent(HWND tree, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendBounded(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
    TVITEMW request{};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    return QueryText(tree, TVM_GETITEMW, 0, request, &TVITEMW::pszText, &TVITEMW::cchTextMax);
}

std::vector<std::wstring> TreeChildTexts(HWND tree, HTREEITEM parent) {
    std::vector<std::wstring> texts;
    SendBounded(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    auto child = reinterpret_cast<HTREEITEM>(
        SendBounded(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    while (child) {
        texts.push_back(TreeItemText(tree, child));
        child = reinterpret_cast<HTREEITEM>(
            SendBounded(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return texts;
}

HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::wstring& text) {
    SendBounded(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    auto child = reinterpret_cast<HTREEITEM>(
        SendBounded(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    while (child && TreeItemText(tree, child) != text)
        child = reinterpret_cast<HTREEITEM>(
            SendBounded(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    return child;
}

bool TreeItemRect(HWND tree, HTREEITEM item, RECT* out) {
    SendBounded(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RemoteMemory memory(tree, sizeof(RECT));
    RECT request{};
    std::memcpy(&request, &item, sizeof item);  // the item goes in, its rectangle comes out
    if (!memory || !memory.Write(0, &request, sizeof request)) return false;
    if (!SendBounded(tree, TVM_GETITEMRECT, TRUE, memory.param())) return false;
    return memory.Read(0, out, sizeof *out);
}

bool ClickAt(POINT screen, bool rightButton) {
    // Two clicks of a button close together in time and place make a double
    // click; a user's separate clicks are further apart.
    static ULONGLONG lastAt = 0;
    static POINT lastPoint{};
    static bool lastRight = false;
    const ULONGLONG since = GetTickCount64() - lastAt;
    if (lastRight == rightButton && since <= GetDoubleClickTime() &&
        abs(screen.x - lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        abs(screen.y - lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        Sleep(static_cast<DWORD>(GetDoubleClickTime() - since + 50));
    if (!SetCursorPos(screen.x, screen.y)) return false;
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    const bool sent = SendInputs(inputs, 2);
    lastAt = GetTickCount64();
    lastPoint = screen;
    lastRight = rightButton;
    return sent;
}

bool ClickIn(HWND window, const RECT& clientRect, bool rightButton) {
    // A window is clicked as a user would: once it is the active one. Under
    // Wine the owner of a box that has just closed is activated a moment
    // later, and a right click landing mid-way loses its menu.
    HWND root = GetAncestor(window, GA_ROOT);
    WaitUntil([&] { return GetForegroundWindow() == root; }, 1000);
    POINT middle{(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
    if (!ClientToScreen(window, &middle)) return false;
    return ClickAt(middle, rightButton);
}

bool ClickControl(HWND control, bool rightButton) {
    RECT r{};
    if (!GetClientRect(control, &r)) return false;
    return ClickIn(control, r, rightButton);
}

bool WaitForFocus(HWND control, DWORD timeoutMs) {
    const DWORD thread = GetWindowThreadProcessId(control, nullptr);
    return WaitUntil([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control;
    }, timeoutMs);
}

bool PressKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInputs(inputs, 2);
}

bool TypeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    return inputs.empty() || SendInputs(inputs.data(), static_cast<UINT>(inputs.size()));
}

HWND FindPopupMenu(DWORD pid, DWORD timeoutMs) {
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = VisibleMenu(pid)) != nullptr; }, timeoutMs);
    return menu;
}

bool WaitPopupMenuGone(DWORD pid, DWORD timeoutMs) {
    return WaitUntil([&] { return VisibleMenu(pid) == nullptr; }, timeoutMs);
}

bool ChooseFromPopupMenu(DWORD pid, int downs, DWORD timeoutMs) {
    if (!FindPopupMenu(pid, timeoutMs)) return false;
    for (int i = 0; i < downs; ++i)
        if (!PressKey(VK_DOWN)) return false;
    return PressKey(VK_RETURN) && WaitPopupMenuGone(pid, timeoutMs);
}

}  // namespace e2e
