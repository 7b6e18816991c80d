#include "editor.h"

#include <windows.h>

#include "controls.h"
#include "ids.h"
#include "playlist_rules.h"
#include "title_list.h"

namespace tunerolle {

std::wstring EditorName() {
    HWND field = gui::Control(kNameField);
    if (!field) return {};
    int length = GetWindowTextLengthW(field);
    std::wstring name(length + 1, L'\0');
    name.resize(GetWindowTextW(field, name.data(), length + 1));
    return name;
}

void SetEditorName(const std::wstring& name) { SetWindowTextW(gui::Control(kNameField), name.c_str()); }

void ClearEditor() {
    SetEditorName(L"");
    ClearTitles();
    SetTitleHeaderText(std::wstring(kCountHeaderCleared));
}

}  // namespace tunerolle
