#include <windows.h>
#include <commdlg.h>

#include "browsers.h"
#include "commands.h"
#include "controls.h"
#include "editor.h"
#include "handles.h"
#include "ids.h"
#include "image_menu.h"
#include "message_box.h"
#include "paths.h"
#include "playlist_file.h"
#include "playlist_rules.h"
#include "status_bar.h"
#include "title_list.h"
#include "window.h"

namespace tunerolle {

namespace {
int Ask(const wchar_t* caption, const std::wstring& text, UINT flags) {
    return gui::ShowMessage(gui::MainWindow(), caption, text, flags);
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring BasePath(const std::wstring& name) { return Paths().playlistsFolder + name; }

void WarnSaveFailed(const std::wstring& basePath) {
    Ask(kSaveFailedCaption.data(), SaveFailedText(basePath + L".ini"),
        MB_OK | MB_ICONWARNING);
}

// A name that is no plain file name of the playlists folder is refused
// before anything is written; the user fixes it where it was typed.
bool AcceptName(const std::wstring& name) {
    NameProblem problem = CheckPlaylistName(name);
    if (problem == NameProblem::None) return true;
    Ask(kNameProblemCaption.data(), std::wstring(NameProblemText(problem)),
        MB_OK | MB_ICONWARNING);
    SetFocus(gui::Control(kNameField));
    return false;
}

// The selected saved entry, when there is one and it is selected.
struct SavedEntry {
    int index = -1;
    int state = 0;
    std::wstring name;
    std::wstring path;
};

bool SelectedSavedEntry(SavedEntry& entry) {
    entry.index = SavedListState();
    if (entry.index < 0) return false;
    entry.state = SavedEntryState(entry.index);
    if (!(entry.state & kEntrySelected)) return false;
    entry.name = SavedEntryText(entry.index, 0);
    entry.path = SavedListText() + entry.name;
    return true;
}
}  // namespace

void RefreshSavedCount(bool singularRule, bool relistFirst) {
    if (relistFirst) RelistSavedList();
    auto form = singularRule ? SavedCountForm::SingularRule : SavedCountForm::Plural;
    gui::SetStatusText(0, SavedCountText(SavedListCount(), form));
}

void SaveCommand() {
    if (TitleCount() == 0) {
        Ask(L"Playlist vide!", L"Il n'y a aucun élément à sauvegarder dans votre PlayList.", MB_OK | MB_ICONWARNING);
        return;
    }
    std::wstring name = EditorName();
    if (name.empty()) {
        Ask(L"Nom de la Playlist!", L"Vous devez donner un nom à votre PlayList.", MB_OK | MB_ICONWARNING);
        SetFocus(gui::Control(kNameField));
        return;
    }
    if (!AcceptName(name)) return;
    if (!SavePlaylist(BasePath(name))) WarnSaveFailed(BasePath(name));
    RefreshSavedCount(false, true);
}

namespace {
// The dialog's library comes in on first use: few sessions need it, and it
// brings the printing libraries with it, a cost every start-up would pay.
BOOL ShowOpenDialog(OPENFILENAMEW* dialog) {
    using Entry = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const gui::unique_module library(LoadLibraryW(L"comdlg32.dll"));
    static const Entry entry = gui::FindEntry<Entry>(library.get(), "GetOpenFileNameW");
    return entry && entry(dialog);
}
}  // namespace

void OpenCommand() {
    wchar_t file[MAX_PATH] = {};
    std::wstring folder = Paths().playlistsFolder;
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = gui::MainWindow();
    dialog.lpstrFilter = L"INI (*.ini)\0*.ini\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = L"Ouvrir une playlist";
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (!ShowOpenDialog(&dialog) || file[0] == 0) return;
    LoadPlaylist(file);
}

void PrepareSavedPopup() {
    int first = SavedListState();
    if (first < 0) return;
    if (!(SavedEntryState(first) & kEntrySelected)) return;
    std::wstring name = SavedEntryText(first, 0);
    if (name == L"." || name == L"..") return;
    gui::SetMenuItemText(kSavedMenu, kItemOpenSaved, L"Ouvrir/Editer " + name);
    gui::SetMenuItemText(kSavedMenu, kItemDeleteSaved, L"Supprimer " + name);
    gui::ShowImageMenu(kSavedMenu, gui::MainWindow());
}

void OpenSelectedCommand() {
    SavedEntry entry;
    if (!SelectedSavedEntry(entry) || !(entry.state & kEntryFile)) return;
    LoadPlaylist(entry.path);
}

void DeleteSelectedCommand() {
    SavedEntry entry;
    if (!SelectedSavedEntry(entry) || !(entry.state & kEntryFile)) return;
    std::wstring question = L"Êtes-vous sûr de vouloir supprimer définitivement " + entry.name +
                            L" ?\n\nSi vous n'êtes pas sûr, cliquez sur NON.";
    if (Ask(L"Suppression...", question, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    DWORD attributes = GetFileAttributesW(entry.path.c_str());
    SetFileAttributesW(entry.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(entry.path.c_str())) {
        // Whatever kept the file, it keeps its read-only or hidden mark too.
        if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(entry.path.c_str(), attributes);
        Ask(L"Supprimer une Playlist!", L"Erreur, la playlist n'a pu être supprimée!", MB_OK | MB_ICONERROR);
    } else if (EditorName() == PlaylistNameOfPath(entry.name)) {
        SetEditorName(L"");
        ClearTitles();
        SetTitleHeaderText(std::wstring(kCountHeaderAfterDelete));
    }
    RefreshSavedCount(true, true);
}

void CloseCommand() {
    std::wstring name = EditorName();
    if (name.empty()) return;
    if (PathExists(BasePath(name) + L".ini")) {
        std::wstring text =
            L"Êtes-vous sûr de vouloir fermer la playlist actuelle ?\nSi vous l'avez modifiée les changements "
            L"ne seront pas pris en compte\n\nCliquez sur NON pour pouvoir l'enregistrer ou sur OUI pour la fermer.";
        if (Ask(L"Fermer la playlist", text, MB_YESNO | MB_ICONQUESTION) == IDYES) ClearEditor();
    } else {
        Ask(L"Playlist inconue!",
            L"Cette playlist n'existe pas encore. Vous devriez l'enregistrer si vous souhaitez la retrouver "
            L"ultérieurement",
            MB_OK | MB_ICONINFORMATION);
    }
}

void ClearCommand() {
    std::wstring keptName = EditorName();
    if (TitleCount() == 0) {
        Ask(L"Playlist vide!", L"Il n'y a aucun élément à effacer.", MB_OK | MB_ICONWARNING);
        return;
    }
    std::wstring text =
        L"Êtes-vous sûr de vouloir effacer définitivement le contenu de la liste actuelle ?\n\nSi vous n'êtes pas "
        L"sûr, cliquez sur NON.";
    if (Ask(L"Effacer la playlist", text, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    ClearEditor();
    // The saved file of that name is emptied too. A name that leads out of
    // the playlists folder is never written to.
    if (!keptName.empty() && CheckPlaylistName(keptName) != NameProblem::None) return;
    std::wstring base = BasePath(keptName);
    if (PathExists(base + L".ini") && !SavePlaylist(base)) WarnSaveFailed(base);
}

bool QuitPrompt() {
    if (TitleCount() == 0) return true;
    std::wstring text =
        L"Une playlist est en cours d'édition\n\nSi ce n'est pas déjà fait, voulez-vous l'enregistrer avant de "
        L"quitter ?";
    if (Ask(L"Playlist en cours...", text, MB_YESNO | MB_ICONQUESTION) != IDYES) return true;
    if (EditorName().empty()) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        LocalDateTime when{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
        SetEditorName(AutomaticPlaylistName(when));
    }
    std::wstring name = EditorName();
    if (!AcceptName(name)) return false;
    if (!SavePlaylist(BasePath(name))) {
        // Leaving now would lose the titles: stay, so the user can try again.
        WarnSaveFailed(BasePath(name));
        return false;
    }
    return true;
}

}  // namespace tunerolle
