#pragma once
// The two folder browsers of the main window, read by their states and texts.
#include <string>

namespace tunerolle {

constexpr int kTreeStateNone = 0;
constexpr int kTreeStateFile = 1;
constexpr int kTreeStateFolder = 2;

int TreeState();
std::wstring TreeText();

constexpr int kEntryFile = 1;
constexpr int kEntryFolder = 2;
constexpr int kEntrySelected = 4;

int SavedListState();  // first selected entry, or -1
int SavedEntryState(int index);
std::wstring SavedEntryText(int index, int column);
std::wstring SavedListText();  // the folder shown, with "\"
int SavedListCount();
void RelistSavedList();

}  // namespace tunerolle
