#include "browsers.h"

#include "controls.h"
#include "explorer_tree.h"
#include "ids.h"
#include "saved_list.h"

namespace tunerolle {

namespace {
HWND Tree() { return gui::Control(kExplorerTree); }
HWND List() { return gui::Control(kSavedList); }
}  // namespace

int TreeState() { return Tree() ? gui::ExplorerTreeState(Tree()) : kTreeStateNone; }
std::wstring TreeText() { return Tree() ? gui::ExplorerTreeText(Tree()) : std::wstring(); }

int SavedListState() { return List() ? gui::SavedListState(List()) : -1; }
int SavedEntryState(int index) { return List() ? gui::SavedListEntryState(List(), index) : 0; }
std::wstring SavedEntryText(int index, int column) {
    return List() ? gui::SavedListEntryText(List(), index, column) : std::wstring();
}
std::wstring SavedListText() { return List() ? gui::SavedListText(List()) : std::wstring(); }
int SavedListCount() { return List() ? gui::SavedListCount(List()) : 0; }
void RelistSavedList() {
    if (List()) gui::RelistSavedList(List());
}

}  // namespace tunerolle
