// Adding and removing titles on the real main window: files and folders
// chosen in the explorer tree over real files, the duplicate rule, the
// folder error, removal of the selected rows and the count header.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "browsers.h"
#include "commands.h"
#include "controls.h"
#include "editor.h"
#include "event_loop.h"
#include "handles.h"
#include "ids.h"
#include "editor_expectations.h"
#include "main_window_fixture.h"
#include "playlist_rules.h"
#include "title_editing.h"
#include "tree_items.h"

using namespace tunerolle;

namespace {

TitleIcon IconFor(const std::wstring& name) {
    std::wstring lower = name.substr(name.size() - 3);
    CharLowerW(lower.data());
    return lower == L"mp3" ? TitleIcon::Mp3 : TitleIcon::Wma;
}

const Box kTypeWarning{L"Type fichier", L"Vous ne pouvez ajouter à vos playlist que des fichiers mp3 ou wma.",
                       MB_OK | MB_ICONWARNING};

Box FolderError(const std::wstring& name) {
    return {L"Erreur",
            L"Impossible d'examiner le répertoire \n" + name + L" et d'ajouter les fichiers à la liste.",
            MB_OK | MB_ICONWARNING};
}

class TitleEditing : public MainWindowSuite {
protected:
    static void SetUpTestSuite() {
        MainWindowSuite::SetUpTestSuite();
        // The tree opens on the music folder, selected.
        HWND tree = gui::Control(kExplorerTree);
        music_ = TreeView_GetSelection(tree);
        musicParent_ = TreeView_GetParent(tree, music_);
        musicName_ = ItemText(tree, music_);
        musicPath_ = TreeText();
    }

    void SetUp() override {
        boxes_.clear();
        gui::SetMessageResponder([this](const gui::MessageRecord& m) {
            EXPECT_EQ(m.owner, gui::MainWindow());
            boxes_.push_back({m.caption, m.text, m.flags});
            return IDOK;
        });
        ClearEditor();
        ASSERT_FALSE(musicPath_.empty());
        ASSERT_EQ(musicPath_.back(), L'\\');
    }
    void TearDown() override {
        ClearEditor();
        TreeView_SelectItem(gui::Control(kExplorerTree), music_);
        Settle();
    }

    // Selects an item below the music folder, by names. Each folder on the
    // way, from the music folder's parent down, is closed and opened again
    // from the keyboard, as a user would, so the tree reads the disk again.
    static bool SelectInTree(std::vector<std::wstring> names) {
        HWND tree = gui::Control(kExplorerTree);
        names.insert(names.begin(), musicName_);
        HTREEITEM current = musicParent_;
        for (const std::wstring& name : names) {
            TreeView_SelectItem(tree, current);
            SendMessageW(tree, WM_KEYDOWN, VK_SUBTRACT, 0);
            SendMessageW(tree, WM_KEYDOWN, VK_ADD, 0);
            HTREEITEM found = nullptr;
            for (HTREEITEM child = TreeView_GetChild(tree, current); child && !found;
                 child = TreeView_GetNextSibling(tree, child))
                if (ItemText(tree, child) == name) found = child;
            if (!found) return false;
            current = found;
            if (name == musicName_) music_ = found;
        }
        TreeView_SelectItem(tree, current);
        return true;
    }

    // A folder of the music folder, made fresh with these files and folders.
    std::wstring MakeMusicFolder(const std::wstring& name, const std::vector<std::wstring>& files,
                                 const std::vector<std::wstring>& folders = {}) {
        std::wstring folder = musicPath_ + name + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const auto& f : files) TempFolder::WriteBytes(folder + f, "ID3");
        for (const auto& f : folders) CreateDirectoryW((folder + f).c_str(), nullptr);
        return folder;
    }

    // The audio files of a folder in the order the file system gives them.
    static std::vector<std::wstring> ListingOrder(const std::wstring& folder,
                                                  const std::vector<std::wstring>& wanted) {
        std::vector<std::wstring> order;
        WIN32_FIND_DATAW found{};
        gui::unique_find find(FindFirstFileW((folder + L"*.*").c_str(), &found));
        if (!find) return order;
        do {
            if (std::find(wanted.begin(), wanted.end(), found.cFileName) != wanted.end())
                order.push_back(found.cFileName);
        } while (FindNextFileW(find.get(), &found));
        return order;
    }

    static inline HTREEITEM music_ = nullptr;
    static inline HTREEITEM musicParent_ = nullptr;
    static inline std::wstring musicName_;
    static inline std::wstring musicPath_;
    std::vector<Box> boxes_;
};

TEST_F(TitleEditing, AFileChosenInTheTreeIsAddedOnlyWhenItIsMp3OrWma) {
    struct Case {
        const wchar_t* file;
        bool added;
        TitleIcon icon;
    };
    const Case cases[] = {
        {L"a.mp3", true, TitleIcon::Mp3},
        {L"b.wma", true, TitleIcon::Wma},
        // The extension counts whatever its case, as it does for a folder.
        {L"Chanson.MP3", true, TitleIcon::Mp3},
        {L"Vieux.Wma", true, TitleIcon::Wma},
        {L"c.ogg", false, TitleIcon::None},
        {L"w.mp3.txt", false, TitleIcon::None},
        {L"sans extension", false, TitleIcon::None},
        {L".mp3", false, TitleIcon::None},
    };
    std::vector<std::wstring> files;
    for (const Case& c : cases) files.push_back(c.file);
    const std::wstring folder = MakeMusicFolder(L"Fichiers", files);

    std::vector<Row> expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
        boxes_.clear();
        ASSERT_TRUE(SelectInTree({L"Fichiers", c.file}));
        ASSERT_EQ(TreeState(), kTreeStateFile);
        AddSelectedFromTree();
        if (c.added) {
            expected.push_back({c.file, folder + c.file, c.icon});
            EXPECT_TRUE(boxes_.empty());
        } else {
            EXPECT_EQ(boxes_, std::vector<Box>{kTypeWarning});
        }
        EXPECT_EQ(Rows(), expected);
        EXPECT_EQ(TitleHeaderText(),
                  expected.empty() ? L" Titres" : tunerolle::CountHeaderText(expected.size()));
    }
    EXPECT_EQ(ListView_GetItemCount(gui::Control(kTitleList)), static_cast<int>(expected.size()));

    // The same file again: silently not added, header untouched.
    boxes_.clear();
    ASSERT_TRUE(SelectInTree({L"Fichiers", L"a.mp3"}));
    AddSelectedFromTree();
    EXPECT_EQ(Rows(), expected);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(TitleEditing, AFolderAddsItsAudioFilesOnceInListingOrderAndSkipsSubFolders) {
    const std::vector<std::wstring> audio = {L"x.Mp3", L"y.WMA", L"Chanson.MP3", L"w.mp3"};
    const std::wstring folder =
        MakeMusicFolder(L"Album", {L"x.Mp3", L"y.WMA", L"z.ogg", L"w.mp3.txt", L"Chanson.MP3", L"w.mp3"},
                        {L"Live.mp3", L"Bonus"});
    TempFolder::WriteBytes(folder + L"Bonus\\deep.mp3", "ID3");

    ASSERT_TRUE(SelectInTree({L"Album"}));
    ASSERT_EQ(TreeState(), kTreeStateFolder);
    ASSERT_EQ(TreeText(), folder);
    AddSelectedFromTree();

    std::vector<Row> expected;
    for (const auto& name : ListingOrder(folder, audio))
        expected.push_back({name, folder + name, IconFor(name)});
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(TitleHeaderText(), L"4 Titres");
    EXPECT_TRUE(boxes_.empty());

    // A second time adds nothing and leaves the header alone.
    SetTitleHeaderText(L"inchangé");
    AddSelectedFromTree();
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(TitleHeaderText(), L"inchangé");

    // A new file in the folder: only it comes in, at the end.
    TempFolder::WriteBytes(folder + L"neuf.mp3", "ID3");
    AddFolderTitles(folder);
    expected.push_back({L"neuf.mp3", folder + L"neuf.mp3", TitleIcon::Mp3});
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(TitleHeaderText(), L"5 Titres");
}

TEST_F(TitleEditing, LocationsAreComparedExactlyCaseIncluded) {
    EXPECT_TRUE(AddTitle(L"C:\\Musique\\a.mp3"));
    EXPECT_EQ(TitleHeaderText(), L"1 Titre");
    EXPECT_FALSE(AddTitle(L"C:\\Musique\\a.mp3"));
    EXPECT_EQ(TitleHeaderText(), L"1 Titre");
    EXPECT_TRUE(AddTitle(L"C:\\musique\\a.mp3"));
    EXPECT_EQ(TitleHeaderText(), L"2 Titres");
    EXPECT_EQ(Rows(), (std::vector<Row>{{L"a.mp3", L"C:\\Musique\\a.mp3", TitleIcon::Mp3},
                                        {L"a.mp3", L"C:\\musique\\a.mp3", TitleIcon::Mp3}}));

    // A folder's file already listed from the tree is not added twice.
    const std::wstring folder = MakeMusicFolder(L"Doublons", {L"un.mp3", L"deux.wma"});
    EXPECT_TRUE(AddTitle(folder + L"un.mp3"));
    AddFolderTitles(folder);
    EXPECT_EQ(TitleCount(), 4);
    EXPECT_EQ(TitleHeaderText(), L"4 Titres");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(TitleEditing, AFolderThatCannotBeListedIsReportedByItsLastName) {
    const std::wstring gone = MakeMusicFolder(L"Disparu", {});
    ASSERT_TRUE(SelectInTree({L"Disparu"}));
    ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));
    AddTitle(L"C:\\garde.mp3");
    boxes_.clear();

    // From the tree: the folder vanished after it was listed.
    AddSelectedFromTree();
    EXPECT_EQ(boxes_, std::vector<Box>{FolderError(L"Disparu")});

    // Directly, with a path deeper down, or through a file.
    const std::wstring file = MakeMusicFolder(L"Fichier", {L"a.mp3"}) + L"a.mp3\\";
    boxes_.clear();
    AddFolderTitles(musicPath_ + L"Absent\\Live\\");
    AddFolderTitles(file);
    EXPECT_EQ(boxes_, (std::vector<Box>{FolderError(L"Live"), FolderError(L"a.mp3")}));

    // An empty path is no folder: nothing at all.
    boxes_.clear();
    AddFolderTitles(L"");
    EXPECT_TRUE(boxes_.empty());

    EXPECT_EQ(Rows(), (std::vector<Row>{{L"garde.mp3", L"C:\\garde.mp3", TitleIcon::Mp3}}));
    EXPECT_EQ(TitleHeaderText(), L"1 Titre");
}

TEST_F(TitleEditing, AnEmptyFolderOrNothingSelectedAddsNothingQuietly) {
    MakeMusicFolder(L"Vide", {}, {L"Sous-dossier"});
    ASSERT_TRUE(SelectInTree({L"Vide"}));
    AddSelectedFromTree();
    TreeView_SelectItem(gui::Control(kExplorerTree), nullptr);
    ASSERT_EQ(TreeState(), kTreeStateNone);
    AddSelectedFromTree();
    EXPECT_EQ(TitleCount(), 0);
    EXPECT_EQ(TitleHeaderText(), L" Titres");  // as the cleared editor left it
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(TitleEditing, RemovingTheSelectedRowsKeepsTheOthersInOrder) {
    const std::vector<Row> five = {
        {L"1.mp3", L"C:\\1.mp3", TitleIcon::Mp3}, {L"2.mp3", L"C:\\2.mp3", TitleIcon::Mp3},
        {L"3.wma", L"C:\\3.wma", TitleIcon::Wma}, {L"4.mp3", L"C:\\4.mp3", TitleIcon::Mp3},
        {L"5.wma", L"C:\\5.wma", TitleIcon::Wma},
    };
    struct Case {
        std::vector<int> selected;
        std::vector<int> kept;
        std::wstring header;
    };
    const Case cases[] = {
        {{0, 2, 4}, {1, 3}, L"2 Titres"},
        {{1}, {0, 2, 3, 4}, L"4 Titres"},
        {{0, 1, 2, 3}, {4}, L"1 Titre"},
        {{0, 1, 2, 3, 4}, {}, L"0 Titre"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.selected));
        ReplaceTitles(AsTitleRows(five));
        SelectTitles(c.selected);
        ASSERT_EQ(SelectedTitles(), c.selected);
        RemoveSelectedTitles();
        std::vector<Row> expected;
        for (int k : c.kept) expected.push_back(five[k]);
        EXPECT_EQ(Rows(), expected);
        EXPECT_EQ(TitleHeaderText(), c.header);
        EXPECT_EQ(ListView_GetItemCount(gui::Control(kTitleList)), static_cast<int>(expected.size()));
        // Nothing stays selected on the rows that moved up.
        EXPECT_EQ(SelectedTitles(), std::vector<int>{});
        // A removed file can come back; a kept one still counts as listed.
        for (int k : c.selected) EXPECT_FALSE(HasTitleLocation(five[k].location));
        for (int k : c.kept) EXPECT_TRUE(HasTitleLocation(five[k].location));
    }
    EXPECT_TRUE(AddTitle(L"C:\\1.mp3"));
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(TitleEditing, NewRowsStartWithNothingSelectedFocusedOrMarked) {
    const std::vector<Row> three = {{L"1.mp3", L"C:\\1.mp3", TitleIcon::Mp3},
                                    {L"2.mp3", L"C:\\2.mp3", TitleIcon::Mp3},
                                    {L"3.wma", L"C:\\3.wma", TitleIcon::Wma}};
    HWND list = gui::Control(kTitleList);
    struct Case {
        const char* before;
        std::vector<int> selected;
        int focused;  // -1 for none
        bool clearOnly;  // ClearTitles rather than new rows
    };
    const Case cases[] = {
        {"nothing", {}, -1, false},
        {"rows selected", {0, 2}, 2, false},
        {"a focused row only", {}, 1, false},
        {"rows selected, then cleared", {1}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        ReplaceTitles(AsTitleRows(three));
        SelectTitles(c.selected);
        if (c.focused >= 0) ListView_SetItemState(list, c.focused, LVIS_FOCUSED, LVIS_FOCUSED);
        ListView_SetSelectionMark(list, c.focused);
        if (c.clearOnly)
            ClearTitles();
        else
            ReplaceTitles(AsTitleRows({three[2], three[1], three[0]}));
        const int count = c.clearOnly ? 0 : 3;
        EXPECT_EQ(TitleCount(), count);
        EXPECT_EQ(ListView_GetItemCount(list), count);
        EXPECT_EQ(SelectedTitles(), std::vector<int>{});
        EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), -1);
        EXPECT_EQ(ListView_GetSelectionMark(list), -1);
    }
}

TEST_F(TitleEditing, RemovingWithoutASelectionOrWithoutRowsChangesNothing) {
    SetTitleHeaderText(L"Titres");
    RemoveSelectedTitles();
    EXPECT_EQ(TitleHeaderText(), L"Titres");

    ReplaceTitles({{L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3}, {L"b.mp3", L"C:\\b.mp3", TitleIcon::Mp3}});
    RefreshCountHeader();
    RemoveSelectedTitles();
    EXPECT_EQ(TitleCount(), 2);
    EXPECT_EQ(TitleHeaderText(), L"2 Titres");
}

TEST_F(TitleEditing, RemovingOneOfTwoRowsOfTheSameFileKeepsTheOtherListed) {
    // Only a playlist file can hold the same location twice.
    ReplaceTitles({{L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3}, {L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3}});
    SelectTitles({0});
    RemoveSelectedTitles();
    EXPECT_EQ(TitleCount(), 1);
    EXPECT_EQ(TitleHeaderText(), L"1 Titre");
    EXPECT_FALSE(AddTitle(L"C:\\a.mp3"));
    EXPECT_EQ(TitleCount(), 1);
}

TEST_F(TitleEditing, TheMenuItemsRunTheRealCommands) {
    const std::wstring folder = MakeMusicFolder(L"Menu", {L"a.mp3"});
    ASSERT_TRUE(SelectInTree({L"Menu"}));
    EXPECT_TRUE(DispatchEvent({gui::EventKind::Menu, kItemAddToPlaylist, 0}, ProgramCommands()));
    EXPECT_EQ(Rows(), (std::vector<Row>{{L"a.mp3", folder + L"a.mp3", TitleIcon::Mp3}}));
    SelectTitles({0});
    EXPECT_TRUE(DispatchEvent({gui::EventKind::Menu, kItemRemoveTitles, 0}, ProgramCommands()));
    EXPECT_EQ(TitleCount(), 0);
    EXPECT_EQ(TitleHeaderText(), L"0 Titre");
    // The audio file on disk is not touched.
    EXPECT_EQ(TempFolder::ReadBytes(folder + L"a.mp3"), "ID3");
}

}  // namespace
