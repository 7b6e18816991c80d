#pragma once
// Reading a tree view's items in the tests.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

inline std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent) {
    std::vector<HTREEITEM> items;
    for (HTREEITEM c = TreeView_GetChild(tree, parent); c; c = TreeView_GetNextSibling(tree, c))
        items.push_back(c);
    return items;
}

inline std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree, &tv);
    return text;
}
