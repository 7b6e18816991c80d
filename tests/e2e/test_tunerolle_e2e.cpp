// The playlist manager, started for real under Wine and worked from outside as
// a user would: clicks and keys through the system's input queue, answers to
// its message boxes, and a look at the files it leaves on disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "driver.h"
#include "remote.h"
#include "temp_folder.h"

namespace {

// The program's numbers for its controls.
enum : int {
    kQuit = 10,
    kSave = 11,
    kClear = 12,
    kOpen = 13,
    kClose = 14,
    kHelp = 15,
    kAbout = 16,
    kTree = 17,
    kSavedList = 18,
    kSplitter = 19,
    kLabel = 20,
    kNameField = 21,
    kTitleList = 22,
    kStatusBar = 23,
};

const wchar_t kTitle[] = L"Meridel Média Player - Tunerolle";
constexpr int kClientWidth = 1014;
constexpr int kClientHeight = 620;

constexpr DWORD kStartMs = 20000;  // a cold Wine start included
constexpr DWORD kWaitMs = 5000;
// How long a box or a text that should not come is given to show up anyway.
constexpr DWORD kQuietMs = 500;

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names of the files of a folder matching a pattern.
std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + pattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

// Points the user's Music folder at a folder of our own for as long as it
// lives; the old values come back afterwards, byte for byte.
class MusicFolderOverride {
public:
    explicit MusicFolderOverride(const std::wstring& folder) {
        Override(kUserShellFolders, REG_EXPAND_SZ, folder, userShellFolders_);
        Override(kShellFolders, REG_SZ, folder, shellFolders_);
    }
    MusicFolderOverride(const MusicFolderOverride&) = delete;
    MusicFolderOverride& operator=(const MusicFolderOverride&) = delete;
    ~MusicFolderOverride() {
        Restore(kUserShellFolders, userShellFolders_);
        Restore(kShellFolders, shellFolders_);
    }

private:
    struct Saved {
        bool present = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    static constexpr wchar_t kUserShellFolders[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    static constexpr wchar_t kValue[] = L"My Music";

    static void Override(const wchar_t* keyName, DWORD type, const std::wstring& folder, Saved& saved) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (RegQueryValueExW(key, kValue, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.present = RegQueryValueExW(key, kValue, nullptr, &saved.type, saved.data.data(), &size) ==
                            ERROR_SUCCESS;
        }
        RegSetValueExW(key, kValue, 0, type, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    static void Restore(const wchar_t* keyName, const Saved& saved) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (saved.present)
            RegSetValueExW(key, kValue, 0, saved.type, saved.data.data(), static_cast<DWORD>(saved.data.size()));
        else
            RegDeleteValueW(key, kValue);
        RegCloseKey(key);
    }

    Saved userShellFolders_;
    Saved shellFolders_;
};

struct Row {
    std::wstring title;
    std::wstring location;
    bool operator<(const Row& other) const {
        return std::tie(title, location) < std::tie(other.title, other.location);
    }
    bool operator==(const Row&) const = default;
};

// A file browser window of the shell showing this folder (path ends with
// "\\"); under Wine it is titled with the folder's own name.
HWND FolderWindowShowing(const std::wstring& folderPath) {
    const std::wstring path = folderPath.substr(0, folderPath.size() - 1);
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return e2e::FindVisibleWindow(0, &name, L"ExplorerWClass");
}

// The help viewer's window title and first topic, as the help file names them.
const wchar_t kHelpTitle[] = L"Aide de Tunerolle";
const wchar_t kHelpFirstTopic[] = L"Bienvenue dans Tunerolle";

// The top-level entries of the help viewer's contents tree.
std::vector<std::wstring> HelpContents(HWND help) {
    for (HWND pane = FindWindowExW(help, nullptr, L"HH Child", nullptr); pane;
         pane = FindWindowExW(help, pane, L"HH Child", nullptr)) {
        if (HWND tree = FindWindowExW(pane, nullptr, WC_TREEVIEWW, nullptr))
            return e2e::TreeChildTexts(tree, nullptr);
    }
    return {};
}

// Each test gets a copy of the program in a fresh folder (with a playlists
// folder if it asks for one) and a Music folder of its own holding a few files.
class TunerolleE2E : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"tunerolle-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()) + L"\\";
        music_ = root_ + L"Musique\\";
        album_ = music_ + L"Album Live\\";
        app_ = root_ + L"app\\";
        playlists_ = app_ + L"Tunerolle\\";
        for (const std::wstring& folder : {root_, music_, album_, app_})
            ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << "cannot create the test folders";
        for (const std::wstring& file : {album_ + L"01 Ouverture.mp3", album_ + L"02 Final.wma",
                                         album_ + L"03 Été indien.mp3", album_ + L"notes.txt",
                                         music_ + L"Chanson.mp3"})
            ASSERT_TRUE(TempFolder::WriteBytes(file, "audio")) << "cannot write the Music folder";
        // Each test works on its own copy of the unzipped program.
        for (const wchar_t* file : {L"Tunerolle.exe", L"MeridelMediaPlayer_Help.chm"})
            ASSERT_TRUE(CopyFileW(e2e::ReleasePath(file).c_str(), (app_ + file).c_str(), FALSE))
                << "no unzipped release to copy";
        music_override_ = std::make_unique<MusicFolderOverride>(music_);
    }

    void TearDown() override {
        // Whatever the test left open, the copy of the program ends before its
        // folder goes (ended by its handle if it is still running).
        if (program_) e2e::WaitForExit(program_, 0);
        music_override_.reset();
        // The system lets go of a program's file a moment after the program ends.
        e2e::WaitUntil([&] {
            TempFolder::RemoveTree(root_);
            return !Exists(root_);
        }, kWaitMs);
    }

    void MakePlaylistsFolder() { ASSERT_TRUE(CreateDirectoryW(playlists_.c_str(), nullptr)); }

    // Starts the copy (or the program at exePath) and waits for its whole
    // main window, status bar last.
    void Start(const std::wstring& exePath = {}) {
        program_ = e2e::Launch(exePath.empty() ? app_ + L"Tunerolle.exe" : exePath);
        ASSERT_TRUE(program_) << "cannot start Tunerolle";
        window_ = e2e::FindWindowOf(program_, kTitle, kStartMs);
        ASSERT_NE(window_, nullptr) << "no window titled " << testing::PrintToString(std::wstring(kTitle));
        ASSERT_NE(e2e::WaitForChild(window_, kStatusBar, kStartMs), nullptr) << "no status bar";
        WaitForInputIdle(program_.process.get(), kStartMs);
        splitter_ = Control(kSplitter);
        ASSERT_NE(splitter_, nullptr);
        tree_ = GetDlgItem(splitter_, kTree);
        saved_ = GetDlgItem(splitter_, kSavedList);
        ASSERT_NE(tree_, nullptr) << "the explorer tree is not in the splitter";
        ASSERT_NE(saved_, nullptr) << "the saved-playlists list is not in the splitter";
    }

    HWND Control(int id) const { return GetDlgItem(window_, id); }
    std::wstring Field0() const { return e2e::StatusBarText(Control(kStatusBar), 0); }

    bool WaitField0(const std::wstring& text, DWORD timeoutMs = kWaitMs) const {
        return e2e::WaitUntil([&] { return Field0() == text; }, timeoutMs);
    }

    std::vector<Row> TitleRows() const {
        std::vector<Row> rows;
        HWND list = Control(kTitleList);
        const int count = e2e::ListViewCount(list);
        for (int i = 0; i < count; ++i) rows.push_back({e2e::ListViewText(list, i, 0), e2e::ListViewText(list, i, 1)});
        return rows;
    }

    std::vector<Row> AlbumRows() const {
        return {{L"01 Ouverture.mp3", album_ + L"01 Ouverture.mp3"},
                {L"02 Final.wma", album_ + L"02 Final.wma"},
                {L"03 Été indien.mp3", album_ + L"03 Été indien.mp3"}};
    }

    // A right click on an item just under the Music folder, where the tree starts.
    void RightClickTreeItem(const std::wstring& text) {
        HTREEITEM music = e2e::TreeSelection(tree_);
        ASSERT_NE(music, nullptr) << "nothing selected in the tree";
        HTREEITEM item = e2e::TreeChild(tree_, music, text);
        ASSERT_NE(item, nullptr) << "no " << testing::PrintToString(text) << " under the Music folder";
        RECT r{};
        ASSERT_TRUE(e2e::TreeItemRect(tree_, item, &r));
        ASSERT_TRUE(e2e::ClickIn(tree_, r, true));
    }

    void RightClickSavedEntry(const std::wstring& name) {
        int index = -1;
        ASSERT_TRUE(e2e::WaitUntil([&] { return (index = e2e::ListViewFind(saved_, name)) >= 0; }, kWaitMs))
            << "no " << testing::PrintToString(name) << " in the saved-playlists list";
        RECT r{};
        ASSERT_TRUE(e2e::ListViewItemRect(saved_, index, &r));
        ASSERT_TRUE(e2e::ClickIn(saved_, r, true));
    }

    void ChooseMenuItem(int downs) {
        ASSERT_TRUE(e2e::ChooseFromPopupMenu(program_.pid, downs, kWaitMs))
            << "no popup menu, or it stayed open; open box: " << testing::PrintToString(OpenBoxText());
    }

    // Expects a box with this caption and text, and answers it.
    void ExpectBox(const std::wstring& caption, const std::wstring& text, int answer) {
        HWND box = e2e::FindMessageBox(program_, caption, kWaitMs);
        ASSERT_NE(box, nullptr) << "no box captioned " << testing::PrintToString(caption) << "; open: "
                                << testing::PrintToString(OpenBoxText());
        EXPECT_EQ(e2e::MessageBoxText(box), text);
        ASSERT_TRUE(e2e::AnswerMessageBox(box, answer));
    }

    void ExpectNoBox() {
        HWND box = nullptr;
        if (e2e::WaitUntil([&] { return (box = e2e::AnyMessageBox(program_)) != nullptr; }, kQuietMs)) {
            ADD_FAILURE() << "unexpected box: " << testing::PrintToString(e2e::WindowText(box)) << " / "
                          << testing::PrintToString(e2e::MessageBoxText(box));
            e2e::AnswerMessageBox(box, IDOK);
        }
    }

    std::wstring OpenBoxText() {
        HWND box = e2e::AnyMessageBox(program_);
        return box ? e2e::WindowText(box) + L": " + e2e::MessageBoxText(box) : L"(none)";
    }

    // Puts the keyboard focus in the name field with a click and types.
    void TypeName(const std::wstring& name) {
        HWND field = Control(kNameField);
        ASSERT_TRUE(e2e::ClickControl(field));
        // Keys typed before the click has moved the focus would go elsewhere.
        ASSERT_TRUE(e2e::WaitForFocus(field, kWaitMs)) << "the click left the focus elsewhere";
        ASSERT_TRUE(e2e::TypeText(name));
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(field) == name; }, kWaitMs))
            << "the name field reads " << testing::PrintToString(e2e::WindowText(field));
    }

    // The control's rectangle in the main window's client area, or in the
    // splitter's for the two browsers.
    RECT Geometry(HWND parent, int id) const {
        RECT r{};
        EXPECT_TRUE(e2e::ControlRect(parent, id, &r)) << "no control " << id;
        return r;
    }

    struct Layout {
        RECT splitter, titles, name, bar;
        bool operator==(const Layout& o) const {
            return EqualRect(&splitter, &o.splitter) && EqualRect(&titles, &o.titles) && EqualRect(&name, &o.name) &&
                   EqualRect(&bar, &o.bar);
        }
    };
    Layout CurrentLayout() const {
        return {Geometry(window_, kSplitter), Geometry(window_, kTitleList), Geometry(window_, kNameField),
                Geometry(window_, kStatusBar)};
    }

    void ExpectResizeRule(int width, int height) {
        const Layout now = CurrentLayout();
        EXPECT_EQ(now.splitter.left, 0);
        EXPECT_EQ(now.splitter.top, 0);
        EXPECT_EQ(now.splitter.right, 400);
        EXPECT_EQ(now.splitter.bottom - now.splitter.top, height - 25);
        EXPECT_EQ(now.titles.left, 400);
        EXPECT_EQ(now.titles.top, 52);
        EXPECT_EQ(now.titles.right - now.titles.left, width - 400);
        EXPECT_EQ(now.titles.bottom - now.titles.top, height - 77);
        EXPECT_EQ(now.name.left, 450);
        EXPECT_EQ(now.name.top, 30);
        EXPECT_EQ(now.name.right - now.name.left, width - 450);
        EXPECT_EQ(now.name.bottom - now.name.top, 20);
        // The status bar follows the window by itself.
        EXPECT_EQ(now.bar.bottom, height);
        EXPECT_EQ(now.bar.right - now.bar.left, width);
    }

    // Asks for an outer size with SetWindowPos, as a drag of the border would.
    void ResizeTo(int clientWidth, int clientHeight) {
        RECT outer{0, 0, clientWidth, clientHeight};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)));
        SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::wstring root_, music_, album_, app_, playlists_;
    std::unique_ptr<MusicFolderOverride> music_override_;
    e2e::Program program_;
    HWND window_ = nullptr;
    HWND splitter_ = nullptr;
    HWND tree_ = nullptr;
    HWND saved_ = nullptr;
};

TEST_F(TunerolleE2E, ShowsItsWholeWindowInPlaceAndQuitsAtOnceWhenEmpty) {
    ASSERT_NO_FATAL_FAILURE(MakePlaylistsFolder());
    ASSERT_NO_FATAL_FAILURE(Start());
    const SIZE client = e2e::ClientSize(window_);
    EXPECT_EQ(client.cx, kClientWidth);
    EXPECT_EQ(client.cy, kClientHeight);
    RECT outer{};
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2) << "not centred";
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2) << "not centred";

    struct Place {
        HWND parent;
        int id;
        RECT rect;  // left, top, right, bottom
    };
    const Place places[] = {
        {window_, kQuit, {400, 0, 480, 30}},      {window_, kSave, {480, 0, 580, 30}},
        {window_, kClear, {580, 0, 670, 30}},     {window_, kOpen, {670, 0, 750, 30}},
        {window_, kClose, {750, 0, 840, 30}},     {window_, kHelp, {840, 0, 914, 30}},
        {window_, kAbout, {914, 0, 1014, 30}},    {window_, kSplitter, {0, 0, 400, 595}},
        {window_, kLabel, {400, 32, 450, 47}},    {window_, kNameField, {450, 30, 1014, 50}},
        {window_, kTitleList, {400, 52, 1014, 595}},
        // The splitter shares its height between the browsers, 7 pixels of bar between them.
        {splitter_, kTree, {0, 0, 400, 294}},     {splitter_, kSavedList, {0, 301, 400, 595}},
    };
    for (const Place& place : places) {
        const RECT r = Geometry(place.parent, place.id);
        EXPECT_TRUE(EqualRect(&r, &place.rect))
            << "control " << place.id << " at (" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom
            << ")";
    }
    const RECT bar = Geometry(window_, kStatusBar);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, kClientWidth);
    EXPECT_EQ(bar.bottom, kClientHeight);
    EXPECT_GE(bar.bottom - bar.top, 18);

    EXPECT_EQ(e2e::WindowText(Control(kLabel)), L" Playlist :");
    EXPECT_EQ(e2e::WindowText(Control(kNameField)), L"");
    HWND titles = Control(kTitleList);
    EXPECT_EQ(e2e::ListViewCount(titles), 0);
    EXPECT_EQ(e2e::ListViewColumnText(titles, 0), L"Titres");
    EXPECT_EQ(e2e::ListViewColumnText(titles, 1), L"Emplacement");
    EXPECT_EQ(e2e::ListViewColumnWidth(saved_, 0), 380);
    EXPECT_EQ(e2e::ListViewCount(saved_), 0);

    // The tree starts in the user's Music folder, with its content below it.
    HTREEITEM music = e2e::TreeSelection(tree_);
    ASSERT_NE(music, nullptr) << "the tree selects nothing at start";
    EXPECT_EQ(e2e::TreeItemText(tree_, music), L"Musique");
    const std::vector<std::wstring> inMusic = e2e::TreeChildTexts(tree_, music);
    EXPECT_EQ(inMusic, (std::vector<std::wstring>{L"Album Live", L"Chanson.mp3"}));

    // An empty playlists folder raises no change: the plural start-up text stays.
    Sleep(kQuietMs);
    EXPECT_EQ(Field0(), L"Vous avez 0 Playlist enregistrées");
    EXPECT_EQ(e2e::StatusBarText(Control(kStatusBar), 2).find(L"Meridel Média Player - Tunerolle V1.08.06.24 - "),
              2u)
        << "the banner is right aligned after two tabs";

    // What a user sees, kept for anyone to look at.
    const std::wstring shots = e2e::BuildPath(L"screenshots");
    CreateDirectoryW(shots.c_str(), nullptr);
    SendMessageW(window_, WM_NULL, 0, 0);  // everything painted by now
    Sleep(200);
    EXPECT_TRUE(e2e::SaveScreenshot(window_, shots + L"\\tunerolle.png"));

    const ULONGLONG pressed = GetTickCount64();
    ASSERT_TRUE(e2e::ClickControl(Control(kQuit)));
    EXPECT_EQ(e2e::WaitForExit(program_, kWaitMs), 0) << "Quitter with no titles did not end the program";
    std::printf("Quitter to exit: %llu ms\n", GetTickCount64() - pressed);
    EXPECT_EQ(FilesIn(playlists_, L"*"), std::vector<std::wstring>{}) << "quitting empty wrote a file";
}

// The program as the archive unzips it: "Aide" opens the help file in the
// system's viewer with no warning.
TEST_F(TunerolleE2E, FromTheUnzippedArchiveAideOpensTheHelpFile) {
    ASSERT_NO_FATAL_FAILURE(Start(e2e::ReleasePath(L"Tunerolle.exe")));
    ASSERT_TRUE(e2e::ClickControl(Control(kHelp)));
    HWND help = e2e::FindClassWindow(program_, L"HH Parent", kWaitMs);
    ASSERT_NE(help, nullptr) << "no help window";
    EXPECT_EQ(e2e::FindMessageBox(program_, L"Ouvrir l'aide", kQuietMs), nullptr) << "the help fallback box showed";
    EXPECT_EQ(e2e::WindowText(help), kHelpTitle);
    // The viewer's contents tree lists the file's pages, welcome page first.
    std::vector<std::wstring> topics;
    e2e::WaitUntil([&] {
        topics = HelpContents(help);
        return !topics.empty();
    }, kWaitMs);
    ASSERT_FALSE(topics.empty()) << "no contents in the help window";
    EXPECT_EQ(topics[0], kHelpFirstTopic) << testing::PrintToString(topics);

    // The open help window does not keep the program from ending.
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(e2e::WaitForExit(program_, kWaitMs), 0);
}

TEST_F(TunerolleE2E, AProposShowsTheVersionAndBuildDateOnSixLines) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(e2e::ClickControl(Control(kAbout)));
    HWND box = e2e::FindMessageBox(program_, L"A propos...", kWaitMs);
    ASSERT_NE(box, nullptr) << "no About box";
    EXPECT_EQ(e2e::MessageBoxText(box), L"Tunerolle V1.08.06.24\r"
                                        L"- Est un élément de Meridel Média Player\r"
                                        L"- www.tarnwick-quillmark.fr.\r"
                                        L"- Compatible Windows 7 / 8 / 8.1 / 10 et 11\r"
                                        L"- Dernière compilation :  le 11.06.2024\r"
                                        L"- Remerciements à la communauté des développeurs en Ondalune");
    // While the box is open the main window takes no input.
    EXPECT_FALSE(IsWindowEnabled(window_));
    const std::wstring shots = e2e::BuildPath(L"screenshots");
    CreateDirectoryW(shots.c_str(), nullptr);
    Sleep(200);
    EXPECT_TRUE(e2e::SaveScreenshot(box, shots + L"\\tunerolle-apropos.png"));
    ASSERT_TRUE(e2e::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(window_) != FALSE; }, kWaitMs));
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(e2e::WaitForExit(program_, kWaitMs), 0);
}

TEST_F(TunerolleE2E, AideWithoutItsHelpFileWarnsThenShowsTheProgramFolder) {
    ASSERT_TRUE(DeleteFileW((app_ + L"MeridelMediaPlayer_Help.chm").c_str()));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(e2e::ClickControl(Control(kHelp)));
    HWND box = e2e::FindMessageBox(program_, L"Ouvrir l'aide", kWaitMs);
    ASSERT_NE(box, nullptr) << "no warning box";
    EXPECT_EQ(e2e::MessageBoxText(box), L"Impossible d'ouvrir le fichier d'aide!\n"
                                        L"Vérifiez que MeridelMediaPlayer_Help.chm soit bien dans le répertoire principal.");
    ASSERT_TRUE(e2e::AnswerMessageBox(box, IDOK));
    // The shell then shows the program's folder in a window of its own.
    HWND folder = nullptr;
    e2e::WaitUntil([&] { return (folder = FolderWindowShowing(app_)) != nullptr; }, kWaitMs);
    EXPECT_NE(folder, nullptr) << "no window shows " << Utf8(app_);
    if (folder) PostMessageW(folder, WM_CLOSE, 0, 0);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(e2e::WaitForExit(program_, kWaitMs), 0);
}

TEST_F(TunerolleE2E, KeepsItsMinimumSizeAndLaysOutByTheResizeRule) {
    ASSERT_NO_FATAL_FAILURE(MakePlaylistsFolder());
    ASSERT_NO_FATAL_FAILURE(Start());
    ResizeTo(600, 400);
    SIZE client = e2e::ClientSize(window_);
    EXPECT_EQ(client.cx, kClientWidth) << "the window got narrower than its start";
    EXPECT_EQ(client.cy, kClientHeight) << "the window got lower than its start";
    ExpectResizeRule(kClientWidth, kClientHeight);

    ResizeTo(1200, 800);
    client = e2e::ClientSize(window_);
    ASSERT_EQ(client.cx, 1200);
    ASSERT_EQ(client.cy, 800);
    ExpectResizeRule(1200, 800);

    // Minimising leaves the layout alone; restoring brings the same size back.
    const Layout before = CurrentLayout();
    ShowWindow(window_, SW_MINIMIZE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsIconic(window_) != FALSE; }, kWaitMs));
    Sleep(100);
    EXPECT_TRUE(CurrentLayout() == before) << "minimising ran the resize handler";
    ShowWindow(window_, SW_RESTORE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsIconic(window_); }, kWaitMs));
    EXPECT_TRUE(CurrentLayout() == before);
    ExpectResizeRule(1200, 800);

    ResizeTo(kClientWidth, kClientHeight);
    ExpectResizeRule(kClientWidth, kClientHeight);
    ExpectNoBox();
}

TEST_F(TunerolleE2E, CountsOneSavedPlaylistInTheSingularOnceItsListingIsHandled) {
    ASSERT_NO_FATAL_FAILURE(MakePlaylistsFolder());
    ASSERT_TRUE(TempFolder::WriteBytes(playlists_ + L"Rock.ini", "1\r\nChanson.mp3\r\n" + Utf8(music_) + "Chanson.mp3\r\n"));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(WaitField0(L"Vous avez 1 Playlist enregistrée")) << "field 0 reads "
                                                                  << testing::PrintToString(Field0());
    EXPECT_EQ(e2e::ListViewCount(saved_), 1);
    EXPECT_EQ(e2e::ListViewText(saved_, 0, 0), L"Rock.ini");
    ExpectNoBox();
}

// The whole round of a playlist, from the tree to the disk and back, then gone.
TEST_F(TunerolleE2E, AddsAFolderSavesReopensAndDeletesAPlaylistAsAUserWould) {
    ASSERT_NO_FATAL_FAILURE(MakePlaylistsFolder());
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND titles = Control(kTitleList);

    ASSERT_NO_FATAL_FAILURE(RightClickTreeItem(L"Album Live"));
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(1));  // "Ajouter à la playlist"
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListViewCount(titles) == 3; }, kWaitMs))
        << "the title list holds " << e2e::ListViewCount(titles) << " rows; open box: "
        << testing::PrintToString(OpenBoxText());
    std::vector<Row> rows = TitleRows();  // in the order the folder was listed
    std::vector<Row> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, AlbumRows()) << "notes.txt is no title; every audio file is";
    EXPECT_EQ(e2e::ListViewColumnText(titles, 0), L"3 Titres");

    const std::wstring name = L"Soirée d'été";
    ASSERT_NO_FATAL_FAILURE(TypeName(name));
    // The window with a playlist being edited, for the README.
    CreateDirectoryW(e2e::BuildPath(L"screenshots").c_str(), nullptr);
    SendMessageW(window_, WM_NULL, 0, 0);
    Sleep(200);
    EXPECT_TRUE(e2e::SaveScreenshot(window_, e2e::BuildPath(L"screenshots") + L"\\tunerolle-playlist.png"));
    ASSERT_TRUE(e2e::ClickControl(Control(kSave)));
    ExpectBox(L"Playlist!", L"Votre PlayList a été correctement enregistrée", IDOK);
    // Field 0 counts the new file: the plural form right after the save, the
    // singular rule once the list has noticed the change by itself.
    EXPECT_TRUE(e2e::WaitUntil([&] { return Field0().rfind(L"Vous avez 1 Playlist enregistr", 0) == 0; }, kWaitMs))
        << "field 0 reads " << testing::PrintToString(Field0());

    const std::wstring file = playlists_ + name + L".ini";
    std::string expected = "3\r\n";
    for (const Row& row : rows) expected += Utf8(row.title) + "\r\n" + Utf8(row.location) + "\r\n";
    EXPECT_EQ(TempFolder::ReadBytes(file), expected) << "count line, then title and path pairs, CR LF, UTF-8 without mark";
    EXPECT_NE(expected.find("03 \xC3\x89t\xC3\xA9 indien.mp3\r\n"), std::string::npos);

    // Closing the named playlist empties the editor; its file stays.
    ASSERT_TRUE(e2e::ClickControl(Control(kClose)));
    ExpectBox(L"Fermer la playlist",
              L"Êtes-vous sûr de vouloir fermer la playlist actuelle ?\nSi vous l'avez modifiée les changements ne "
              L"seront pas pris en compte\n\nCliquez sur NON pour pouvoir l'enregistrer ou sur OUI pour la fermer.",
              IDYES);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListViewCount(titles) == 0; }, kWaitMs));
    EXPECT_EQ(e2e::WindowText(Control(kNameField)), L"");

    // Opened again from the saved-playlists list.
    ASSERT_NO_FATAL_FAILURE(RightClickSavedEntry(name + L".ini"));
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(1));  // "Ouvrir/Editer Soirée d'été.ini"
    ExpectBox(L"Playlist!", L"La PlayList " + name + L" a été correctement chargée", IDOK);
    EXPECT_EQ(TitleRows(), rows);
    EXPECT_EQ(e2e::ListViewColumnText(titles, 0), L"3 Titres");
    EXPECT_EQ(e2e::WindowText(Control(kNameField)), name);

    // Deleted after the confirmation: the editor held it, so it empties too.
    ASSERT_NO_FATAL_FAILURE(RightClickSavedEntry(name + L".ini"));
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(3));  // "Supprimer Soirée d'été.ini", past the separator
    ExpectBox(L"Suppression...",
              L"Êtes-vous sûr de vouloir supprimer définitivement " + name +
                  L".ini ?\n\nSi vous n'êtes pas sûr, cliquez sur NON.",
              IDYES);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !Exists(file); }, kWaitMs)) << "the file is still there";
    EXPECT_TRUE(WaitField0(L"Vous avez 0 Playlist enregistrée")) << "field 0 reads "
                                                                  << testing::PrintToString(Field0());
    EXPECT_EQ(e2e::ListViewCount(saved_), 0);
    EXPECT_EQ(e2e::ListViewCount(titles), 0);
    EXPECT_EQ(e2e::ListViewColumnText(titles, 0), L" Titre");
    EXPECT_EQ(e2e::WindowText(Control(kNameField)), L"");
    ExpectNoBox();

    // Nothing left to save: Quitter ends the program at once.
    ASSERT_TRUE(e2e::ClickControl(Control(kQuit)));
    EXPECT_EQ(e2e::WaitForExit(program_, kWaitMs), 0);
}

std::wstring AutomaticName(const SYSTEMTIME& t) {
    wchar_t name[64];
    swprintf(name, 64, L"Tunerolle_%02u-%02u-%04u_%02u%02u%02u", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute,
             t.wSecond);
    return name;
}

// Every automatic name that a save between these two moments may take.
std::set<std::wstring> AutomaticNamesBetween(const SYSTEMTIME& from, const SYSTEMTIME& to) {
    FILETIME a{}, b{};
    SystemTimeToFileTime(&from, &a);
    SystemTimeToFileTime(&to, &b);
    ULARGE_INTEGER t{{a.dwLowDateTime, a.dwHighDateTime}}, end{{b.dwLowDateTime, b.dwHighDateTime}};
    t.QuadPart -= t.QuadPart % 10000000;  // whole seconds
    std::set<std::wstring> names;
    for (; t.QuadPart <= end.QuadPart; t.QuadPart += 10000000) {
        FILETIME f{t.LowPart, t.HighPart};
        SYSTEMTIME s{};
        FileTimeToSystemTime(&f, &s);
        names.insert(AutomaticName(s) + L".ini");
    }
    return names;
}

// A fresh copy of the program has no playlists folder: it makes one at start,
// so that leaving with titles still keeps them.
TEST_F(TunerolleE2E, QuittingWithTitlesAndNoNameSavesUnderTheAutomaticName) {
    ASSERT_FALSE(Exists(playlists_));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(Field0(), L"Vous avez 0 Playlist enregistrées");
    ASSERT_NO_FATAL_FAILURE(RightClickTreeItem(L"Chanson.mp3"));
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(1));  // "Ajouter à la playlist", one file
    HWND titles = Control(kTitleList);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListViewCount(titles) == 1; }, kWaitMs))
        << "open box: " << testing::PrintToString(OpenBoxText());
    EXPECT_EQ(TitleRows(), (std::vector<Row>{{L"Chanson.mp3", music_ + L"Chanson.mp3"}}));
    EXPECT_EQ(e2e::ListViewColumnText(titles, 0), L"1 Titre");

    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    ASSERT_TRUE(e2e::ClickControl(Control(kQuit)));
    ExpectBox(L"Playlist en cours...",
              L"Une playlist est en cours d'édition\n\nSi ce n'est pas déjà fait, voulez-vous l'enregistrer avant "
              L"de quitter ?",
              IDYES);
    ExpectBox(L"Playlist!", L"Votre PlayList a été correctement enregistrée", IDOK);
    GetLocalTime(&after);
    EXPECT_EQ(e2e::WaitForExit(program_, kWaitMs), 0);

    const std::vector<std::wstring> files = FilesIn(playlists_, L"*");
    ASSERT_EQ(files.size(), 1u) << "expected one playlist file";
    EXPECT_EQ(AutomaticNamesBetween(before, after).count(files[0]), 1u)
        << testing::PrintToString(files[0]) << " is not the automatic name of the moment";
    EXPECT_EQ(TempFolder::ReadBytes(playlists_ + files[0]), "1\r\nChanson.mp3\r\n" + Utf8(music_) + "Chanson.mp3\r\n");
}

}  // namespace
