#pragma once

namespace tunerolle {

// The program's own numbers for its window, controls, menus and menu items;
// the event loop dispatches on them.
enum ControlId : int {
    kMainWindow = 0,
    kQuitButton = 10,
    kSaveButton = 11,
    kClearButton = 12,
    kOpenButton = 13,
    kCloseButton = 14,
    kHelpButton = 15,
    kAboutButton = 16,
    kExplorerTree = 17,
    kSavedList = 18,
    kSplitter = 19,
    kNameLabel = 20,
    kNameField = 21,
    kTitleList = 22,
    kStatusBar = 23,
};

enum MenuId : int {
    kTreeMenu = 0,
    kSavedMenu = 3,
    kTitleMenu = 7,
};

enum MenuItemId : int {
    kItemTreeProperties = 1,
    kItemAddToPlaylist = 2,
    kItemOpenSaved = 4,
    kItemSavedProperties = 5,
    kItemDeleteSaved = 6,
    kItemRemoveTitles = 8,
    kItemTitleProperties = 9,
};

}  // namespace tunerolle
