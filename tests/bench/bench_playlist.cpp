// Times the playlist manager's bulk operations on its real main window and
// compares each with its floor, the same work without any window: adding a
// folder of 10,000 audio files, loading and saving 100,000 titles, removing
// 50,000 selected rows of 100,000. Message boxes are answered in-process and
// counted. Prints figures only; it passes or fails nothing.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "controls.h"
#include "editor.h"
#include "events.h"
#include "handles.h"
#include "icon_catalogue.h"
#include "ids.h"
#include "main_window.h"
#include "message_box.h"
#include "paths.h"
#include "playlist_file.h"
#include "playlist_format.h"
#include "status_bar.h"
#include "temp_folder.h"
#include "title_editing.h"
#include "title_list.h"
#include "window.h"

using namespace tunerolle;

namespace {

constexpr int kFolderFiles = 10000;
constexpr int kTitles = 100000;
constexpr int kRuns = 3;  // best of

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Best time of a few runs, in milliseconds; `prepare` runs untimed before each.
double Best(const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

void Pump() {
    for (int i = 0; i < 3; ++i) {
        gui::PumpPendingMessages();
        Sleep(5);
    }
    gui::ClearEvents();
}

// What the user waits for includes the list painted with its new rows.
void Painted() { UpdateWindow(gui::MainWindow()); }

void Report(const char* name, double ours, double floor, const char* target) {
    std::printf("%-44s %10.1f %10.1f %8.1fx   %s\n", name, ours, floor, floor > 0 ? ours / floor : 0.0,
                target);
    std::fflush(stdout);
}

std::vector<TitleRow> ManyTitles(int count) {
    std::vector<TitleRow> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        wchar_t title[64];
        std::swprintf(title, 64, L"Titre %06d - Été.%ls", i, i % 3 ? L"mp3" : L"wma");
        std::wstring location = L"C:\\Musique\\Album " + std::to_wstring(i / 12) + L"\\" + title;
        rows.push_back({title, location, i % 3 ? TitleIcon::Mp3 : TitleIcon::Wma});
    }
    return rows;
}

std::string EncodeRows(const std::vector<TitleRow>& rows) {
    std::vector<tunerolle::PlaylistRow> plain;
    plain.reserve(rows.size());
    for (const auto& r : rows) plain.push_back({r.title, r.location});
    return tunerolle::EncodePlaylist(plain);
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    gui::unique_handle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    return ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
           got == bytes.size();
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    gui::unique_handle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

int wmain() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const bool ole = SUCCEEDED(OleInitialize(nullptr));

    int boxes = 0;
    gui::SetMessageResponder([&boxes](const gui::MessageRecord&) {
        ++boxes;
        return IDYES;
    });

    auto root = std::make_unique<TempFolder>();
    auto images = std::make_unique<tunerolle::ImageCatalogue>(tunerolle::LoadImageCatalogue());
    ProgramPaths paths;
    paths.executableFolder = root->path();
    paths.playlistsFolder = root->MakeFolder(L"Tunerolle");
    paths.treeStartFolder = root->MakeFolder(L"Musique");
    SetPaths(paths);
    if (!BuildMainWindow(*images)) {
        std::fprintf(stderr, "bench: the main window could not be built\n");
        return 1;
    }
    Pump();

    std::printf("%-44s %10s %10s %9s   %s\n", "case", "ours ms", "floor ms", "ratio", "target");

    // ---- Add a folder of 10,000 audio files, against listing it.
    const std::wstring folder = root->MakeFolder(L"Musique\\Dix mille");
    for (int i = 0; i < kFolderFiles; ++i) {
        wchar_t name[64];
        std::swprintf(name, 64, L"Piste %05d.%ls", i, i % 4 ? L"mp3" : L"wma");
        TempFolder::WriteBytes(folder + name, "");
    }
    double addOurs = Best(
        [] {
            ClearEditor();
            Pump();
        },
        [&] {
            AddFolderTitles(folder);
            Painted();
        });
    const int added = TitleCount();
    double addFloor = Best([] {},
                           [&] {
                               WIN32_FIND_DATAW found;
                               int n = 0;
                               HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &found);
                               if (find != INVALID_HANDLE_VALUE) {
                                   do ++n;
                                   while (FindNextFileW(find, &found));
                                   FindClose(find);
                               }
                               if (n < kFolderFiles)
                                   std::fprintf(stderr, "bench: listed only %d entries\n", n);
                           });
    Report("add a folder of 10,000 audio files", addOurs, addFloor, "< 1000 ms and <= 5x");
    if (added != kFolderFiles) std::fprintf(stderr, "bench: %d titles added, not %d\n", added, kFolderFiles);

    // ---- Load 100,000 titles, against reading and decoding the file.
    const std::vector<TitleRow> many = ManyTitles(kTitles);
    const std::string bytes = EncodeRows(many);
    const std::wstring playlist = paths.playlistsFolder + L"Cent mille.ini";
    WriteWholeFile(playlist, bytes);
    double loadOurs = Best(
        [] {
            ClearEditor();
            Pump();
        },
        [&] {
            LoadPlaylist(playlist);
            Painted();
        });
    const int loaded = TitleCount();
    double loadFloor = Best([] {},
                            [&] {
                                std::string read;
                                ReadWholeFile(playlist, read);
                                tunerolle::DecodedPlaylist decoded = tunerolle::DecodePlaylist(read);
                                if (decoded.rows.size() != static_cast<size_t>(kTitles))
                                    std::fprintf(stderr, "bench: decode short\n");
                            });
    Report("load a playlist of 100,000 titles", loadOurs, loadFloor, "<= 3x");
    if (loaded != kTitles) std::fprintf(stderr, "bench: %d titles loaded, not %d\n", loaded, kTitles);

    // ---- Save 100,000 titles, against writing the same bytes.
    const std::wstring saved = paths.playlistsFolder + L"Copie";
    double saveOurs = Best([] {}, [&] { SavePlaylist(saved); });
    if (TempFolder::ReadBytes(saved + L".ini") != bytes) std::fprintf(stderr, "bench: saved bytes differ\n");
    const std::wstring plain = root->path() + L"plain.ini";
    double saveFloor = Best([] {}, [&] { WriteWholeFile(plain, bytes); });
    // A save must reach the disk whole, so ours flushes a temporary file and
    // moves it over the playlist; these floors do the same without the list.
    double flushFloor =
        Best([] {},
             [&] {
                 gui::unique_handle file(CreateFileW(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
                 DWORD written = 0;
                 WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
                 FlushFileBuffers(file.get());
             });
    auto replaceWith = [&](const std::string& content) {
        wchar_t temp[MAX_PATH];
        GetTempFileNameW(root->path().c_str(), L"tun", 0, temp);
        {
            gui::unique_handle file(
                CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
            FlushFileBuffers(file.get());
        }
        MoveFileExW(temp, plain.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    };
    double replaceFloor = Best([] {}, [&] { replaceWith(bytes); });
    // As the load's floor decodes, this one encodes the titles first.
    double encodeFloor = Best([] {},
                              [&] {
                                  std::string encoded;
                                  encoded.reserve(bytes.size());
                                  tunerolle::AppendPlaylistCountLine(encoded, many.size());
                                  for (const auto& row : many)
                                      tunerolle::AppendPlaylistPair(encoded, row.title, row.location);
                                  replaceWith(encoded);
                              });
    Report("save 100,000 titles", saveOurs, saveFloor, "<= 3x");
    Report("  floor: written and flushed", saveOurs, flushFloor, "");
    Report("  floor: flushed temporary file moved over", saveOurs, replaceFloor, "");
    Report("  floor: encoded, then as above", saveOurs, encodeFloor, "");

    // ---- Remove 50,000 selected of 100,000, against the same on a plain vector.
    std::vector<int> everyOther;
    for (int i = 0; i < kTitles; i += 2) everyOther.push_back(i);
    HWND list = gui::Control(kTitleList);
    auto selectHalf = [&] {
        ReplaceTitles(many);
        RefreshCountHeader();
        // Setting up the selection is not what is timed: no repaint per row.
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SelectTitles(everyOther);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        Pump();
    };
    double removeOurs = Best(selectHalf, [] {
        RemoveSelectedTitles();
        Painted();
    });
    const int kept = TitleCount();
    std::vector<TitleRow> rows;
    double removeFloor =
        Best([&] { rows = many; },
             [&] {
                 size_t next = 0, out = 0;
                 for (size_t i = 0; i < rows.size(); ++i) {
                     if (next < everyOther.size() && static_cast<size_t>(everyOther[next]) == i) {
                         ++next;
                         continue;
                     }
                     rows[out++] = std::move(rows[i]);
                 }
                 rows.resize(out);
             });
    Report("remove 50,000 selected of 100,000", removeOurs, removeFloor, "< 1000 ms");
    if (kept != kTitles / 2) std::fprintf(stderr, "bench: %d titles kept, not %d\n", kept, kTitles / 2);

    std::printf("message boxes answered: %d\n", boxes);

    gui::SetMessageResponder(nullptr);
    ClearEditor();
    DestroyMainWindow();
    gui::ClearEvents();
    images.reset();
    root.reset();
    if (ole) OleUninitialize();
    return 0;
}
