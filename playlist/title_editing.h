#pragma once
#include <string>

namespace tunerolle {

// Appends one file unless its location is already listed (exact comparison).
bool AddTitle(const std::wstring& location);
// Adds the .mp3 and .wma files of one folder (one level, file-system order).
void AddFolderTitles(const std::wstring& folderPath);

}  // namespace tunerolle
