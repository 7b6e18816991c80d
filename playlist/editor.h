#pragma once
#include <string>

namespace tunerolle {

// The editor: the playlist name field together with the title list.
std::wstring EditorName();
void SetEditorName(const std::wstring& name);
// Empties the name field and the title list; the header reads " Titres".
void ClearEditor();

}  // namespace tunerolle
