// The playlist manager's main window, built for real: places, texts, the
// resize rule, and the dispatch of every event to its command.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "controls.h"
#include "event_loop.h"
#include "ids.h"
#include "image_menu.h"
#include "main_window_fixture.h"
#include "saved_list.h"
#include "status_bar.h"

using namespace tunerolle;

namespace {

std::vector<std::wstring> g_calls;
bool g_quitAnswer = true;

void Record(const std::wstring& what) { g_calls.push_back(what); }

const CommandTable kRecorder{
    [] { Record(L"AddSelectedFromTree"); },
    [] { Record(L"RemoveSelectedTitles"); },
    [] { Record(L"SaveCommand"); },
    [] { Record(L"ClearCommand"); },
    [] { Record(L"OpenCommand"); },
    [] { Record(L"CloseCommand"); },
    [] { Record(L"OpenSelectedCommand"); },
    [] { Record(L"DeleteSelectedCommand"); },
    [] { Record(L"PrepareSavedPopup"); },
    [](bool singular, bool relist) {
        Record(std::wstring(L"RefreshSavedCount") + (singular ? L" singular" : L" plural") +
               (relist ? L" relist" : L""));
    },
    [] {
        Record(L"QuitPrompt");
        return g_quitAnswer;
    },
    [](const std::wstring& path) { Record(L"ShowProperties " + path); },
    [] { Record(L"ShowHelp"); },
    [] { Record(L"ShowAbout"); },
    [](int menu) { Record(L"ShowMenu " + std::to_wstring(menu)); },
};

gui::Event ControlEvent(int id, int type) { return {gui::EventKind::Control, id, type}; }
gui::Event MenuEvent(int item) { return {gui::EventKind::Menu, item, 0}; }

class MainWindow : public MainWindowSuite {
protected:
    void SetUp() override {
        g_calls.clear();
        g_quitAnswer = true;
        ClearTitles();
    }
    std::vector<std::wstring> Dispatch(const gui::Event& event, bool expectContinue = true) {
        g_calls.clear();
        EXPECT_EQ(DispatchEvent(event, kRecorder), expectContinue);
        return g_calls;
    }
    using Calls = std::vector<std::wstring>;
};

TEST_F(MainWindow, OpensCentredWithItsTitleClientSizeAndMinimum) {
    HWND main = gui::MainWindow();
    ASSERT_NE(main, nullptr);
    wchar_t title[128] = {};
    GetWindowTextW(main, title, 128);
    EXPECT_STREQ(title, L"Meridel Média Player - Tunerolle");
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 1014);
    EXPECT_EQ(client.bottom, 620);
    EXPECT_TRUE(GetWindowLongW(main, GWL_STYLE) & WS_THICKFRAME);

    MINMAXINFO info{};
    SendMessageW(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT outer{0, 0, 1014, 620};
    AdjustWindowRectEx(&outer, GetWindowLongW(main, GWL_STYLE), FALSE, GetWindowLongW(main, GWL_EXSTYLE));
    EXPECT_EQ(info.ptMinTrackSize.x, outer.right - outer.left);
    EXPECT_EQ(info.ptMinTrackSize.y, outer.bottom - outer.top);
}

TEST_F(MainWindow, EveryControlAtItsPlace) {
    struct Place {
        int id;
        RECT rect;
    };
    const Place places[] = {
        {kQuitButton, {400, 0, 480, 30}},   {kSaveButton, {480, 0, 580, 30}},
        {kClearButton, {580, 0, 670, 30}},  {kOpenButton, {670, 0, 750, 30}},
        {kCloseButton, {750, 0, 840, 30}},  {kHelpButton, {840, 0, 914, 30}},
        {kAboutButton, {914, 0, 1014, 30}}, {kSplitter, {0, 0, 400, 595}},
        {kNameLabel, {400, 32, 450, 47}},   {kNameField, {450, 30, 1014, 50}},
        {kTitleList, {400, 52, 1014, 595}},
    };
    for (const Place& p : places) {
        HWND control = gui::Control(p.id);
        ASSERT_NE(control, nullptr) << p.id;
        RECT r = ChildRect(control);
        EXPECT_EQ(r.left, p.rect.left) << p.id;
        EXPECT_EQ(r.top, p.rect.top) << p.id;
        EXPECT_EQ(r.right, p.rect.right) << p.id;
        EXPECT_EQ(r.bottom, p.rect.bottom) << p.id;
    }
    // The two browsers share the splitter's height equally.
    EXPECT_EQ(ChildRect(gui::Control(kExplorerTree)).bottom - ChildRect(gui::Control(kExplorerTree)).top, 294);
    EXPECT_EQ(ChildRect(gui::Control(kSavedList)).bottom - ChildRect(gui::Control(kSavedList)).top, 294);
}

TEST_F(MainWindow, TextsOfLabelListAndStatusBar) {
    wchar_t label[64] = {};
    GetWindowTextW(gui::Control(kNameLabel), label, 64);
    EXPECT_STREQ(label, L" Playlist :");
    EXPECT_EQ(TitleHeaderText(), L"Titres");
    EXPECT_EQ(gui::StatusText(0), L"Vous avez 0 Playlist enregistrées");
    EXPECT_EQ(gui::StatusText(2).rfind(L"Meridel Média Player - Tunerolle V1.08.06.24 - ", 0), 0u);
    EXPECT_EQ(gui::StatusProgress(), 0);
    EXPECT_EQ(gui::StatusProgressMaximum(), 100);

    // The title list: two columns, several rows selectable, grid lines.
    HWND titles = gui::Control(kTitleList);
    EXPECT_FALSE(GetWindowLongW(titles, GWL_STYLE) & LVS_SINGLESEL);
    DWORD ex = static_cast<DWORD>(SendMessageW(titles, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
    EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageW(titles, LVM_GETCOLUMNWIDTH, 0, 0), 614);
    EXPECT_EQ(SendMessageW(titles, LVM_GETCOLUMNWIDTH, 1, 0), 600);
}

TEST_F(MainWindow, MenusHoldTheirItems) {
    EXPECT_EQ(gui::MenuItemText(kTreeMenu, kItemAddToPlaylist), L"Ajouter à la playlist");
    EXPECT_EQ(gui::MenuItemText(kTreeMenu, kItemTreeProperties), L"Propriétés");
    EXPECT_EQ(gui::MenuItemText(kSavedMenu, kItemSavedProperties), L"Propriétés");
    EXPECT_EQ(gui::MenuItemText(kTitleMenu, kItemRemoveTitles), L"Retirer de la playlist");
    EXPECT_EQ(gui::MenuItemText(kTitleMenu, kItemTitleProperties), L"Propriétés");
    EXPECT_EQ(GetMenuItemCount(gui::ImageMenu(kSavedMenu)), 4);
    EXPECT_TRUE(GetMenuState(gui::ImageMenu(kSavedMenu), 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(gui::ImageMenu(kSavedMenu), 3), static_cast<UINT>(kItemDeleteSaved));
}

TEST_F(MainWindow, ResizeRuleAtALargerSizeAndBackAtTheMinimum) {
    HWND main = gui::MainWindow();
    RECT outer{0, 0, 1200, 800};
    AdjustWindowRectEx(&outer, GetWindowLongW(main, GWL_STYLE), FALSE, GetWindowLongW(main, GWL_EXSTYLE));
    SetWindowPos(main, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    RECT r = ChildRect(gui::Control(kSplitter));
    EXPECT_EQ(r.bottom - r.top, 775);
    r = ChildRect(gui::Control(kTitleList));
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 723);
    r = ChildRect(gui::Control(kNameField));
    EXPECT_EQ(r.right - r.left, 750);
    EXPECT_EQ(r.bottom - r.top, 20);
    r = ChildRect(gui::Control(kQuitButton));
    EXPECT_EQ(r.left, 400);

    // Minimising leaves the layout alone.
    ShowWindow(main, SW_MINIMIZE);
    r = ChildRect(gui::Control(kTitleList));
    EXPECT_EQ(r.right - r.left, 800);
    ShowWindow(main, SW_RESTORE);

    RECT minimum{0, 0, 1014, 620};
    AdjustWindowRectEx(&minimum, GetWindowLongW(main, GWL_STYLE), FALSE, GetWindowLongW(main, GWL_EXSTYLE));
    SetWindowPos(main, nullptr, 0, 0, minimum.right - minimum.left, minimum.bottom - minimum.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ChildRect(gui::Control(kSplitter)).bottom, 595);
    EXPECT_EQ(ChildRect(gui::Control(kTitleList)).right, 1014);
    EXPECT_EQ(ChildRect(gui::Control(kNameField)).right, 1014);
    Settle();
}

TEST_F(MainWindow, ButtonsReachTheirCommandsAndQuitBecomesACloseRequest) {
    const std::pair<int, const wchar_t*> buttons[] = {
        {kSaveButton, L"SaveCommand"}, {kClearButton, L"ClearCommand"}, {kOpenButton, L"OpenCommand"},
        {kCloseButton, L"CloseCommand"}, {kHelpButton, L"ShowHelp"},   {kAboutButton, L"ShowAbout"},
    };
    for (auto [id, command] : buttons) EXPECT_EQ(Dispatch(ControlEvent(id, gui::kLeftClick)), Calls{command});
    EXPECT_EQ(Dispatch(ControlEvent(kQuitButton, gui::kLeftClick), false), Calls{L"QuitPrompt"});
    EXPECT_EQ(Dispatch({gui::EventKind::Close, 0, 0}, false), Calls{L"QuitPrompt"});
    // A save that failed on the way out keeps the program running.
    g_quitAnswer = false;
    EXPECT_EQ(Dispatch({gui::EventKind::Close, 0, 0}, true), Calls{L"QuitPrompt"});
}

TEST_F(MainWindow, MenuItemsReachTheirCommands) {
    EXPECT_EQ(Dispatch(MenuEvent(kItemAddToPlaylist)), Calls{L"AddSelectedFromTree"});
    EXPECT_EQ(Dispatch(MenuEvent(kItemOpenSaved)), Calls{L"OpenSelectedCommand"});
    EXPECT_EQ(Dispatch(MenuEvent(kItemDeleteSaved)), Calls{L"DeleteSelectedCommand"});
    EXPECT_EQ(Dispatch(MenuEvent(kItemRemoveTitles)), Calls{L"RemoveSelectedTitles"});
    // The tree starts on the Music folder, selected.
    EXPECT_EQ(Dispatch(MenuEvent(kItemTreeProperties)), Calls{L"ShowProperties " + Paths().treeStartFolder});
}

TEST_F(MainWindow, TitlePropertiesOpenOneDialogPerSelectedRowLastFirst) {
    AppendTitles({{L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3},
                  {L"b.mp3", L"C:\\b.mp3", TitleIcon::Mp3},
                  {L"c.wma", L"C:\\c.wma", TitleIcon::Wma},
                  {L"d.mp3", L"C:\\d.mp3", TitleIcon::Mp3}});
    SelectTitles({0, 2, 3});
    EXPECT_EQ(Dispatch(MenuEvent(kItemTitleProperties)),
              (Calls{L"ShowProperties C:\\d.mp3", L"ShowProperties C:\\c.wma", L"ShowProperties C:\\a.mp3"}));
}

TEST_F(MainWindow, RightClicksShowTheirMenusOnlyWithASelection) {
    // Title list: nothing selected, no menu; a selected row, the title menu.
    EXPECT_EQ(Dispatch(ControlEvent(kTitleList, gui::kRightClick)), Calls{});
    AppendTitles({{L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3}});
    SelectTitles({0});
    EXPECT_EQ(Dispatch(ControlEvent(kTitleList, gui::kRightClick)), Calls{L"ShowMenu 7"});

    // Tree: its start folder is selected, so the tree menu shows; with
    // nothing selected it does not.
    EXPECT_EQ(Dispatch(ControlEvent(kExplorerTree, gui::kRightClick)), Calls{L"ShowMenu 0"});
    HWND tree = gui::Control(kExplorerTree);
    HTREEITEM selected = TreeView_GetSelection(tree);
    TreeView_SelectItem(tree, nullptr);
    EXPECT_EQ(Dispatch(ControlEvent(kExplorerTree, gui::kRightClick)), Calls{});
    TreeView_SelectItem(tree, selected);
    Settle();

    // Saved list: the popup is prepared (and shown) by its command; a change
    // refreshes the count with the singular rule, without re-listing.
    EXPECT_EQ(Dispatch(ControlEvent(kSavedList, gui::kRightClick)), Calls{L"PrepareSavedPopup"});
    EXPECT_EQ(Dispatch(ControlEvent(kSavedList, gui::kChange)), Calls{L"RefreshSavedCount singular"});
}

TEST_F(MainWindow, OtherEventsAreIgnored) {
    const gui::Event ignored[] = {
        ControlEvent(kExplorerTree, gui::kLeftClick), ControlEvent(kExplorerTree, gui::kChange),
        ControlEvent(kSavedList, gui::kLeftDoubleClick), ControlEvent(kTitleList, gui::kChange),
        ControlEvent(kTitleList, gui::kLeftDoubleClick), ControlEvent(kNameField, gui::kChange),
        ControlEvent(kSplitter, gui::kLeftClick), ControlEvent(kNameLabel, gui::kLeftClick),
        MenuEvent(3), MenuEvent(7), MenuEvent(99),
    };
    for (const auto& event : ignored) EXPECT_EQ(Dispatch(event), Calls{}) << event.id << " " << event.type;
}

TEST_F(MainWindow, SavedPlaylistPropertiesOnlyForASelectedFile) {
    FolderAndPlaylistListed listed;
    ASSERT_EQ(listed.Count(), 2);
    EXPECT_EQ(Dispatch(MenuEvent(kItemSavedProperties)), Calls{});  // nothing selected
    listed.Select(0);                                                // the folder
    EXPECT_EQ(Dispatch(MenuEvent(kItemSavedProperties)), Calls{});
    listed.Select(1);
    EXPECT_EQ(Dispatch(MenuEvent(kItemSavedProperties)), Calls{L"ShowProperties " + listed.PlaylistPath()});
}

TEST_F(MainWindow, AFileWrittenFromOutsideIsCountedOnceTheChangeIsHandled) {
    TempFolder::WriteBytes(Paths().playlistsFolder + L"Jazz.ini", "0\r\n");
    // The folder watcher reports it; the loop then counts with the singular rule.
    gui::Event change{};
    ASSERT_TRUE(WaitFor([&] {
        for (gui::Event e = gui::TakeEvent(); e.kind != gui::EventKind::None; e = gui::TakeEvent())
            if (e.kind == gui::EventKind::Control && e.id == kSavedList && e.type == gui::kChange) change = e;
        return change.kind != gui::EventKind::None;
    }));
    EXPECT_TRUE(DispatchEvent(change, ProgramCommands()));
    EXPECT_EQ(gui::StatusText(0), L"Vous avez 1 Playlist enregistrée");
    DeleteFileW((Paths().playlistsFolder + L"Jazz.ini").c_str());
    ASSERT_TRUE(WaitFor([] { return gui::SavedListCount(gui::Control(kSavedList)) == 0; }));
    Settle();
}

}  // namespace
