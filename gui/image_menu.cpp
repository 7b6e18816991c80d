#include "image_menu.h"

#include <map>

#include "dib.h"
#include "handles.h"

namespace gui {
namespace {
struct ImageMenuEntry {
    unique_menu menu;
    std::vector<unique_gdi<HBITMAP>> pictures;
};
std::map<int, ImageMenuEntry>& Menus() {
    static std::map<int, ImageMenuEntry> menus;
    return menus;
}
}  // namespace

HBITMAP IconToBitmap(HICON icon, int size) {
    if (!icon) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(size, size, &bits);
    if (!bitmap) return nullptr;
    {
        memory_dc dc(nullptr);
        select_object keep(dc.get(), bitmap);
        DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    return bitmap;
}

HMENU CreateImageMenu(int menuId, const std::vector<MenuItemSpec>& items) {
    ImageMenuEntry entry;
    entry.menu.reset(CreatePopupMenu());
    if (!entry.menu) return nullptr;
    for (const auto& item : items) {
        if (item.id == 0) {
            AppendMenuW(entry.menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(entry.menu.get(), MF_STRING, item.id, item.text.c_str());
        if (HBITMAP picture = IconToBitmap(item.icon, 16)) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            info.hbmpItem = picture;
            SetMenuItemInfoW(entry.menu.get(), item.id, FALSE, &info);
            entry.pictures.emplace_back(picture);
        }
    }
    HMENU menu = entry.menu.get();
    Menus()[menuId] = std::move(entry);
    return menu;
}

HMENU ImageMenu(int menuId) {
    auto it = Menus().find(menuId);
    return it == Menus().end() ? nullptr : it->second.menu.get();
}

void ShowImageMenu(int menuId, HWND owner) {
    HMENU menu = ImageMenu(menuId);
    if (!menu) return;
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x - 1, at.y - 1, 0, owner,
                   nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageW(owner, WM_NULL, 0, 0);
}

void SetMenuItemText(int menuId, int itemId, const std::wstring& text) {
    HMENU menu = ImageMenu(menuId);
    if (!menu) return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu, itemId, FALSE, &info);
}

std::wstring MenuItemText(int menuId, int itemId) {
    HMENU menu = ImageMenu(menuId);
    if (!menu) return {};
    wchar_t buffer[512] = {};
    GetMenuStringW(menu, itemId, buffer, 512, MF_BYCOMMAND);
    return buffer;
}

void DestroyImageMenus() { Menus().clear(); }

}  // namespace gui
