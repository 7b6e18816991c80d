#include "main_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "controls.h"
#include "events.h"
#include "explorer_tree.h"
#include "frame_policy.h"
#include "handles.h"
#include "ids.h"
#include "image_button.h"
#include "image_menu.h"
#include "paths.h"
#include "playlist_rules.h"
#include "saved_list.h"
#include "splitter.h"
#include "status_bar.h"
#include "theme.h"
#include "title_list.h"
#include "tooltip.h"
#include "window.h"

namespace tunerolle {

namespace {
struct ButtonSpec {
    int id;
    int x;
    int width;
    const wchar_t* caption;
    const wchar_t* tipTitle;
    const wchar_t* tipText;
};

constexpr ButtonSpec kButtons[] = {
    {kQuitButton, 400, 80, L"Quitter", L"Quitter l'application", L"Fermer le gestionnaire de playlist."},
    {kSaveButton, 480, 100, L"Enregistrer", L"Enregistrer la playlist",
     L"Sauvegarder la playlist en cours d'édition après l'avoir nommée."},
    {kClearButton, 580, 90, L"Effacer", L"Effacer la playlist",
     L"Effacer la playlist en cours dédition et son nom s'il a été saisi."},
    {kOpenButton, 670, 80, L"Ouvrir", L"Ouvrir une Playlist",
     L"Ouvrir une playlist précédemment enregistrée pour y apporter des modifications."},
    {kCloseButton, 750, 90, L"Fermer", L"Fermer la Playlist",
     L"Fermer la playlist actuellement ouverte sans y apporter de modifications."},
    {kHelpButton, 840, 74, L"Aide", L"Aide Playlist", L"Ouvrir l'aide de Tunerolle."},
    {kAboutButton, 914, 100, L"A propos", L"A propos", L"A propos de Tunerolle."},
};

const CatalogueIcon& ButtonIcon(const ImageCatalogue& images, int id) {
    switch (id) {
    case kQuitButton: return images.quit;
    case kSaveButton: return images.save;
    case kClearButton: return images.clear;
    case kOpenButton: return images.open;
    case kCloseButton: return images.close;
    case kHelpButton: return images.help;
    default: return images.about;
    }
}

HICON TipIcon(const ImageCatalogue& images, int id) {
    // The help tooltip has a copy of its own of the same picture.
    return id == kHelpButton ? images.helpTitle.handle.get() : ButtonIcon(images, id).handle.get();
}

void CreateMenus(const ImageCatalogue& images) {
    HICON add = images.add.handle.get();
    HICON properties = images.properties.handle.get();
    gui::CreateImageMenu(kTreeMenu, {{kItemAddToPlaylist, L"Ajouter à la playlist", add},
                                     {0, L"", nullptr},
                                     {kItemTreeProperties, L"Propriétés", properties}});
    gui::CreateImageMenu(kSavedMenu, {{kItemOpenSaved, L"Ouvrir", add},
                                      {0, L"", nullptr},
                                      {kItemSavedProperties, L"Propriétés", properties},
                                      {kItemDeleteSaved, L"Supprimer", images.wastebasket.handle.get()}});
    gui::CreateImageMenu(kTitleMenu, {{kItemRemoveTitles, L"Retirer de la playlist", images.remove.handle.get()},
                                      {0, L"", nullptr},
                                      {kItemTitleProperties, L"Propriétés", properties}});
}

HWND CreateChild(int id, const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height) {
    HWND window = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                  gui::MainWindow(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (window) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(gui::MessageFont()), TRUE);
        gui::RegisterControl(id, window);
    }
    return window;
}

// The shell sets up its icon cache and its folder objects on first use,
// which costs more than the rest of the window. A second thread asks once
// while the window and its buttons are made, so the explorer tree finds
// them ready; the tree waits for it, so the two never ask at the same time.
class ShellWarmUp {
public:
    ShellWarmUp() : thread_(CreateThread(nullptr, 0, &Run, nullptr, 0, nullptr)) {}
    ShellWarmUp(const ShellWarmUp&) = delete;
    ShellWarmUp& operator=(const ShellWarmUp&) = delete;
    ~ShellWarmUp() { Wait(); }

    // Bounded: a shell that never answers must not keep the window from
    // starting; the tree then simply asks the shell itself.
    void Wait() {
        if (thread_) WaitForSingleObject(thread_.get(), 5000);
        thread_.reset();
    }

private:
    static void AskDisplayName(int csidl) {
        ITEMIDLIST* pidl = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return;
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        CoTaskMemFree(pidl);
    }

    static DWORD WINAPI Run(void*) {
        HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SHFILEINFOW info{};
        SHGetFileInfoW(L"dossier", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        AskDisplayName(CSIDL_DRIVES);
        AskDisplayName(CSIDL_PERSONAL);
        wchar_t windows[MAX_PATH] = {};
        if (GetWindowsDirectoryW(windows, MAX_PATH) >= 3 && windows[1] == L':') {
            windows[3] = 0;  // the system drive's root, always ready
            SHGetFileInfoW(windows, 0, &info, sizeof info,
                           SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        }
        if (SUCCEEDED(com)) CoUninitialize();
        return 0;
    }

    gui::unique_handle thread_;
};

// The window is already on screen. Its controls are made while it draws
// nothing, then drawn once together: otherwise each new control makes the
// ones before it lay out and repaint again.
class DrawOnceAtEnd {
public:
    explicit DrawOnceAtEnd(HWND window) : window_(window) { SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
    DrawOnceAtEnd(const DrawOnceAtEnd&) = delete;
    DrawOnceAtEnd& operator=(const DrawOnceAtEnd&) = delete;
    ~DrawOnceAtEnd() {
        SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

private:
    HWND window_;
};

std::wstring StatusBanner() {
    std::wstring banner = L"Meridel Média Player - Tunerolle V1.08.06.24 - par Tarnwick Quillmark";
    // The themed size grip sits over the field's right edge.
    if (Theme().active) banner += L"    ";
    return banner;
}

// Menus, buttons, browsers, name field, title list and status bar, in that order.
// The shell's first answers are waited for just before the browsers need them.
void CreateControls(HWND main, const ImageCatalogue& images, ShellWarmUp& warmUp) {
    CreateMenus(images);
    for (const ButtonSpec& b : kButtons) {
        CreateImageTextButton(b.id, b.x, 0, b.width, 30, b.caption, ButtonIcon(images, b.id).ref(),
                                         kIconLeft);
        AttachBalloonTip(nullptr, b.id, b.tipTitle, b.tipText, TipIcon(images, b.id));
    }

    warmUp.Wait();
    const ProgramPaths& paths = Paths();
    HWND tree = gui::CreateExplorerTree(kExplorerTree, main, 0, 0, 400, 294, paths.treeStartFolder, L"*.*");
    HWND saved = gui::CreateSavedList(kSavedList, main, 0, 301, 400, 294, paths.playlistsFolder + L"*.ini");
    if (saved) gui::SetSavedListColumnWidth(saved, 0, 380);
    gui::CreateSplitter(kSplitter, main, 0, 0, 400, 595, tree, saved);

    // One line only: where the message font is a little wider than 50 pixels
    // for this text, a wrapping label would push it all onto a second line
    // that its 15 pixels do not show.
    CreateChild(kNameLabel, L"STATIC", L" Playlist :", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 400, 32, 50, 15);
    CreateChild(kNameField, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 450, 30, 564, 20);
    gui::SetControlTooltip(kNameField, L"Nommez votre playlist");
    CreateTitleList(kTitleList, main, 400, 52, 614, 543, images.mp3.handle.get(), images.wma.handle.get());

    int savedCount = saved ? gui::SavedListCount(saved) : 0;
    if (gui::CreateStatusBar(kStatusBar, main, {{200}, {300}, {-1}, {25}}, 1, Theme().active != 0)) {
        gui::SetStatusText(0, SavedCountText(savedCount, SavedCountForm::Plural));
        gui::SetStatusProgressRange(0, 100);
        gui::SetStatusProgress(0);
        gui::SetStatusText(2, StatusBanner(), true);
        gui::SetStatusIcon(3, images.status.handle.get());
    }
}
}  // namespace

bool BuildMainWindow(const ImageCatalogue& images) {
    ShellWarmUp warmUp;
    gui::WindowSpec options;
    options.title = kMainTitle;
    options.clientWidth = kClientWidth;
    options.clientHeight = kClientHeight;
    options.style = WS_OVERLAPPEDWINDOW;
    options.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    HWND main = gui::OpenMainWindow(options);
    if (!main) return false;
    gui::SetMinimumClientSize(kClientWidth, kClientHeight);
    gui::SetMessageHook(&DrawImageTextButton);
    {
        DrawOnceAtEnd drawOnce(main);
        CreateControls(main, images, warmUp);
    }

    SetFrameRenderingDisabled(main, TRUE);
    gui::SetResizeHandler(&ResizeMainWindow);
    gui::EnableTabNavigation(main);
    return true;
}

void ResizeMainWindow(int clientWidth, int clientHeight) {
    if (HWND splitter = gui::Control(kSplitter)) SetWindowPos(splitter, nullptr, 0, 0, 400, clientHeight - 25,
                                                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND titles = gui::Control(kTitleList))
        SetWindowPos(titles, nullptr, 0, 0, clientWidth - 400, clientHeight - 77,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND name = gui::Control(kNameField))
        SetWindowPos(name, nullptr, 0, 0, clientWidth - 450, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND bar = gui::Control(kStatusBar)) {
        (void)bar;
        gui::LayoutStatusBar();
    }
}

void DestroyMainWindow() {
    gui::CloseMainWindow();
    gui::DestroyImageMenus();
}

}  // namespace tunerolle
