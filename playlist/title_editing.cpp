#include <windows.h>

#include <unordered_set>

#include "browsers.h"
#include "handles.h"
#include "commands.h"
#include "message_box.h"
#include "playlist_rules.h"
#include "title_editing.h"
#include "title_list.h"
#include "window.h"

namespace tunerolle {

namespace {
TitleIcon IconOfPath(const std::wstring& path) {
    switch (AudioKindOfPath(path)) {
    case AudioKind::Mp3: return TitleIcon::Mp3;
    case AudioKind::Wma: return TitleIcon::Wma;
    default: return TitleIcon::None;
    }
}

TitleRow RowForFile(const std::wstring& location) {
    return TitleRow{FileNameOfPath(location), location, IconOfPath(location)};
}
}  // namespace

bool AddTitle(const std::wstring& location) {
    if (HasTitleLocation(location)) return false;
    AppendTitles({RowForFile(location)});
    RefreshCountHeader();
    return true;
}

void AddFolderTitles(const std::wstring& folderPath) {
    if (folderPath.empty()) return;
    WIN32_FIND_DATAW found{};
    gui::unique_find find(FindFirstFileExW((folderPath + L"*.*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            gui::ShowMessage(gui::MainWindow(), std::wstring(kFolderErrorCaption),
                             FolderErrorText(folderPath), MB_OK | MB_ICONWARNING);
        return;
    }
    // All new rows go in with one update of the list; the duplicate check
    // looks at the list and at the rows gathered so far.
    std::vector<TitleRow> added;
    std::unordered_set<std::wstring> seen;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // "Live.mp3" may be a folder
        if (!IsAudioEntryName(found.cFileName)) continue;
        std::wstring location = folderPath + found.cFileName;
        if (HasTitleLocation(location) || !seen.insert(location).second) continue;
        added.push_back(RowForFile(location));
    } while (FindNextFileW(find.get(), &found));
    if (added.empty()) return;
    AppendTitles(std::move(added));
    RefreshCountHeader();
}

void AddSelectedFromTree() {
    int state = TreeState();
    std::wstring path = TreeText();
    if (state == kTreeStateFolder) {
        AddFolderTitles(path);
    } else if (state == kTreeStateFile) {
        if (AudioKindOfPath(path) != AudioKind::None)
            AddTitle(path);
        else
            gui::ShowMessage(gui::MainWindow(), L"Type fichier",
                             L"Vous ne pouvez ajouter à vos playlist que des fichiers mp3 ou wma.",
                             MB_OK | MB_ICONWARNING);
    }
}

void RemoveSelectedTitles() {
    if (TitleCount() == 0) return;
    std::vector<int> selected = SelectedTitles();
    if (selected.empty()) return;
    RemoveTitles(selected);
    RefreshCountHeader();
}

void RefreshCountHeader() { SetTitleHeaderText(CountHeaderText(TitleRows().size())); }

}  // namespace tunerolle
