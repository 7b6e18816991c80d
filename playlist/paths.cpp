#include "paths.h"

#include <windows.h>
#include <shlobj.h>

namespace tunerolle {

namespace {
ProgramPaths g_paths;

std::wstring FolderOf(const std::wstring& path) {
    size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}
}  // namespace

ProgramPaths ComputePaths() {
    ProgramPaths paths;
    wchar_t module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    paths.executableFolder = FolderOf(std::wstring(module, length));
    paths.playlistsFolder = paths.executableFolder + L"Tunerolle\\";
    wchar_t music[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYMUSIC, nullptr, SHGFP_TYPE_CURRENT, music)) && music[0]) {
        paths.treeStartFolder = music;
        if (paths.treeStartFolder.back() != L'\\') paths.treeStartFolder += L'\\';
    }
    return paths;
}

const ProgramPaths& Paths() { return g_paths; }
void SetPaths(ProgramPaths paths) { g_paths = std::move(paths); }

bool EnsureFolderExists(const std::wstring& folder) {
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace tunerolle
