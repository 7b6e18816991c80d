#pragma once
// Popup menus whose items show a 16x16 icon left of their text.
#include <windows.h>

#include <string>
#include <vector>

namespace gui {

struct MenuItemSpec {
    int id;             // 0 for a separator
    std::wstring text;
    HICON icon;         // not owned; may be null
};

// Creates popup menu `menuId`; the menu and its item pictures live until
// DestroyImageMenus. Returns nullptr when the menu cannot be created.
HMENU CreateImageMenu(int menuId, const std::vector<MenuItemSpec>& items);
HMENU ImageMenu(int menuId);
// Shows the menu at the mouse pointer (one pixel up and left), the owner
// brought to the foreground first. A chosen item arrives as a menu event.
void ShowImageMenu(int menuId, HWND owner);
void SetMenuItemText(int menuId, int itemId, const std::wstring& text);
std::wstring MenuItemText(int menuId, int itemId);
void DestroyImageMenus();

// A 32-bit premultiplied bitmap of the icon, as menus draw with alpha.
HBITMAP IconToBitmap(HICON icon, int size);

}  // namespace gui
