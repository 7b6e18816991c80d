#include "playlist_file.h"

#include <windows.h>

#include <algorithm>

#include "commands.h"
#include "editor.h"
#include "handles.h"
#include "ids.h"
#include "message_box.h"
#include "playlist_format.h"
#include "playlist_rules.h"
#include "status_bar.h"
#include "title_list.h"
#include "window.h"

namespace tunerolle {

namespace {
std::wstring FolderOf(const std::wstring& path) {
    size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// Temporary file in the playlist's own folder (so the final move stays on
// one volume), written, flushed, then moved over the playlist.
bool ReplaceFileContent(const std::wstring& path, const std::string& bytes) {
    std::wstring folder = FolderOf(path);
    // A read-only playlist stays as it is: Windows refuses to replace it, and
    // some systems (Wine) would swap it for a writable file without a word.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    wchar_t temp[MAX_PATH] = {};
    if (folder.empty() || !GetTempFileNameW(folder.c_str(), L"tun", 0, temp)) return false;
    bool ok = false;
    {
        gui::unique_handle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ok = file && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    }
    ok = ok && MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temp);
    return ok;
}

bool ReadAll(const std::wstring& path, std::string& bytes, bool& tooLarge) {
    tooLarge = false;
    gui::unique_handle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return false;
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxPlaylistFileBytes) {
        tooLarge = true;
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return false;
        if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    return true;
}

TitleIcon IconOf(AudioKind kind, TitleIcon previous) {
    switch (kind) {
    case AudioKind::Mp3: return TitleIcon::Mp3;
    case AudioKind::Wma: return TitleIcon::Wma;
    default: return previous;  // a row from a hand-edited file: keep the look of the row above
    }
}

void ShowSuccess(const std::wstring& text) {
    gui::ShowMessage(gui::MainWindow(), std::wstring(kSuccessCaption), text,
                     MB_OK | MB_ICONINFORMATION);
}
}  // namespace

bool SavePlaylist(const std::wstring& basePath) {
    const std::wstring path = basePath + L".ini";
    const auto& rows = TitleRows();
    std::string bytes;
    if (rows.empty()) {
        AppendPlaylistCountLine(bytes, 0);
        return ReplaceFileContent(path, bytes);
    }
    size_t estimate = 16;
    for (const auto& row : rows) estimate += row.title.size() + row.location.size() + 4;
    bytes.reserve(estimate);
    const int n = static_cast<int>(rows.size());
    gui::SetStatusProgressRange(0, n);
    AppendPlaylistCountLine(bytes, rows.size());
    for (int k = 1; k <= n; ++k) {
        gui::SetStatusProgress(k);
        AppendPlaylistPair(bytes, rows[k - 1].title, rows[k - 1].location);
    }
    bool ok = ReplaceFileContent(path, bytes);
    if (ok) ShowSuccess(std::wstring(kSaveSuccessText));
    gui::SetStatusProgress(0);
    return ok;
}

void LoadPlaylist(const std::wstring& path) {
    const std::wstring name = PlaylistNameOfPath(path);
    SetEditorName(name);
    ClearTitles();

    std::string bytes;
    bool tooLarge = false;
    if (ReadAll(path, bytes, tooLarge)) {
        DecodedPlaylist decoded = DecodePlaylist(bytes);
        std::string().swap(bytes);
        if (decoded.count != 0) {
            const int n = static_cast<int>(decoded.rows.size());
            gui::SetStatusProgressRange(0, n > 0 ? n : 1);
            std::vector<TitleRow> rows;
            rows.reserve(decoded.rows.size());
            TitleIcon icon = TitleIcon::None;
            for (int k = 1; k <= n; ++k) {
                gui::SetStatusProgress(k);
                auto& row = decoded.rows[k - 1];
                icon = IconOf(AudioKindOfPath(row.location), icon);
                rows.push_back(TitleRow{std::move(row.title), std::move(row.location), icon});
            }
            AppendTitles(std::move(rows));
            ShowSuccess(LoadSuccessText(name));
            gui::SetStatusProgress(0);
        }
    } else if (tooLarge) {
        gui::ShowMessage(gui::MainWindow(), L"Playlist trop volumineuse",
                         L"Ce fichier est trop volumineux pour être une playlist :\n" + path +
                             L"\n\nAucun titre n'a été chargé.",
                         MB_OK | MB_ICONWARNING);
    }
    RefreshCountHeader();
}

}  // namespace tunerolle
