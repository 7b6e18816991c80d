#pragma once
// The user's commands, one routine each; the event loop calls them by number.
#include <string>

namespace tunerolle {

// Title list editing.
void AddSelectedFromTree();
void RemoveSelectedTitles();
void RefreshCountHeader();

// Playlist storage.
void SaveCommand();
void ClearCommand();
void OpenCommand();
void CloseCommand();
void OpenSelectedCommand();
void DeleteSelectedCommand();
void PrepareSavedPopup();
// Plural form: always " Playlist enregistrées"; singular rule: " enregistrée"
// for 0 or 1. A command that has just written or deleted a playlist re-lists
// the folder first; a change reported by the list itself is counted as it is.
void RefreshSavedCount(bool singularRule, bool relistFirst);
// Returns false when the program must not end (a failed save keeps the titles).
bool QuitPrompt();

// Help, About and properties.
void ShowProperties(const std::wstring& path);
void ShowHelp();
void ShowAbout();

}  // namespace tunerolle
