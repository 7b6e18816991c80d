#include "event_loop.h"

#include <windows.h>
#include <commctrl.h>

#include "browsers.h"
#include "commands.h"
#include "ids.h"
#include "image_menu.h"
#include "title_list.h"
#include "window.h"

namespace tunerolle {

namespace {
constexpr int kStateFile = 1;
constexpr int kStateFolder = 2;
constexpr int kStateSelected = 4;

void ShowMenu(int menuId) { gui::ShowImageMenu(menuId, gui::MainWindow()); }

void RunMenuItem(int item, const CommandTable& commands) {
    switch (item) {
    case kItemTreeProperties:
        commands.showProperties(TreeText());
        break;
    case kItemAddToPlaylist:
        commands.addSelectedFromTree();
        break;
    case kItemOpenSaved:
        commands.openSelectedCommand();
        break;
    case kItemSavedProperties: {
        std::wstring path = SelectedSavedPlaylistPath();
        if (!path.empty()) commands.showProperties(path);
        break;
    }
    case kItemDeleteSaved:
        commands.deleteSelectedCommand();
        break;
    case kItemRemoveTitles:
        commands.removeSelectedTitles();
        break;
    case kItemTitleProperties: {
        // One dialog per selected row, the last row's first.
        const auto& rows = TitleRows();
        for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i)
            if (TitleState(i) & LVIS_SELECTED) commands.showProperties(rows[i].location);
        break;
    }
    }
}

// Returns true when the event becomes a close request.
bool RunControlEvent(int id, int type, const CommandTable& commands) {
    switch (id) {
    case kQuitButton: return true;
    case kSaveButton: commands.saveCommand(); break;
    case kClearButton: commands.clearCommand(); break;
    case kOpenButton: commands.openCommand(); break;
    case kCloseButton: commands.closeCommand(); break;
    case kHelpButton: commands.showHelp(); break;
    case kAboutButton: commands.showAbout(); break;
    case kExplorerTree:
        if (type == gui::kRightClick) {
            int state = TreeState();
            if (state & (kStateFile | kStateFolder)) commands.showMenu(kTreeMenu);
        }
        break;
    case kSavedList:
        if (type == gui::kRightClick) commands.prepareSavedPopup();
        else if (type == gui::kChange) commands.refreshSavedCount(true, false);
        break;
    case kTitleList:
        if (type == gui::kRightClick) {
            int first = FirstSelectedTitle();
            // The list has no check boxes, so a selected row is in the plain selected state.
            if (first >= 0 && (TitleState(first) & LVIS_SELECTED)) commands.showMenu(kTitleMenu);
        }
        break;
    }
    return false;
}
}  // namespace

std::wstring SelectedSavedPlaylistPath() {
    int first = SavedListState();
    if (first < 0) return {};
    int state = SavedEntryState(first);
    if (!(state & kStateSelected) || !(state & kStateFile)) return {};
    return SavedListText() + SavedEntryText(first, 0);
}

const CommandTable& ProgramCommands() {
    static const CommandTable table{
        &AddSelectedFromTree, &RemoveSelectedTitles, &SaveCommand,         &ClearCommand,
        &OpenCommand,         &CloseCommand,         &OpenSelectedCommand, &DeleteSelectedCommand,
        &PrepareSavedPopup,   &RefreshSavedCount,    &QuitPrompt,          &ShowProperties,
        &ShowHelp,            &ShowAbout,            &ShowMenu,
    };
    return table;
}

bool DispatchEvent(const gui::Event& event, const CommandTable& commands) {
    bool close = event.kind == gui::EventKind::Close;
    if (event.kind == gui::EventKind::Menu) RunMenuItem(event.id, commands);
    if (event.kind == gui::EventKind::Control) close = RunControlEvent(event.id, event.type, commands);
    if (!close) return true;
    // A failed save on the way out keeps the program, and the titles, alive.
    return !commands.quitPrompt();
}

void RunEventLoop(const CommandTable& commands) {
    while (DispatchEvent(gui::WaitEvent(), commands)) {
    }
}

}  // namespace tunerolle
