#pragma once
#include <string>

namespace tunerolle {

struct ProgramPaths {
    std::wstring executableFolder;  // ends with the separator
    std::wstring playlistsFolder;   // executableFolder + "Tunerolle\"
    std::wstring treeStartFolder;   // the user's Music folder with "\", or empty
};

ProgramPaths ComputePaths();
const ProgramPaths& Paths();
void SetPaths(ProgramPaths paths);

// Creates the playlists folder when it is missing, so that saving works and
// the folder is watched on a fresh copy of the program. Returns false when
// it neither exists nor can be made.
bool EnsureFolderExists(const std::wstring& folder);

}  // namespace tunerolle
