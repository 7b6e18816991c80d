#pragma once
#include <string>

namespace tunerolle {

// Writes the title list to basePath + ".ini". The new content goes to a
// temporary file beside it first and then replaces the playlist in one step,
// so the file always holds either its old content or exactly the new one.
// Shows the success message for a non-empty list. Returns false when nothing
// could be written; the caller tells the user.
bool SavePlaylist(const std::wstring& basePath);

// Puts the file's name into the name field and its rows into the title list.
void LoadPlaylist(const std::wstring& path);

// Largest playlist file the program reads; a 32-bit program cannot hold
// much more, and no real playlist comes near it.
constexpr unsigned long long kMaxPlaylistFileBytes = 256ull * 1024 * 1024;

}  // namespace tunerolle
