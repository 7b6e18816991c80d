// Times the playlist manager's bulk operations on its real main window and
// compares each with its floor, the same work without any window: adding a
// folder of 10,000 audio files through the explorer tree, loading and saving
// 100,000 titles, removing 50,000 selected rows of 100,000, re-listing a
// saved-playlists folder of 5,000 files, and the memory 100,000 titles take.
// For the title list it also times a list view filled one row at a time, the
// way the list would cost without owner data. Message boxes are answered
// in-process and counted. Prints figures only; it passes or fails nothing.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_report.h"
#include "browsers.h"
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
#include "tree_items.h"
#include "window.h"

using namespace tunerolle;
using bench::Mb;
using bench::Ms;
using bench::None;
using bench::PrintLine;

namespace {

constexpr int kFolderFiles = 10000;
constexpr int kTitles = 100000;
constexpr int kSavedFiles = 5000;
constexpr int kRuns = 5;             // median of, odd
constexpr int kRowByRowRows = 2000;  // rows put in one at a time for the baseline

void Pump() {
    for (int i = 0; i < 3; ++i) {
        gui::PumpPendingMessages();
        Sleep(5);
    }
    gui::ClearEvents();
}

// What the user waits for includes the window painted with the change.
void Painted() { UpdateWindow(gui::MainWindow()); }

double PrivateMb() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        return -1;
    // Wine leaves PrivateUsage at 0; its commit charge, the same figure on
    // Windows, is there.
    SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

TitleRow TitleNumber(int i) {
    wchar_t title[64];
    std::swprintf(title, 64, L"Titre %06d - Été.%ls", i, i % 3 ? L"mp3" : L"wma");
    std::wstring location = L"C:\\Musique\\Album " + std::to_wstring(i / 12) + L"\\" + title;
    return {title, location, i % 3 ? TitleIcon::Mp3 : TitleIcon::Wma};
}

std::vector<TitleRow> ManyTitles(int count) {
    std::vector<TitleRow> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) rows.push_back(TitleNumber(i));
    return rows;
}

// The playlist file of `count` titles, built without keeping the rows.
std::string EncodeTitles(int count) {
    std::string bytes;
    AppendPlaylistCountLine(bytes, static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TitleRow row = TitleNumber(i);
        AppendPlaylistPair(bytes, row.title, row.location);
    }
    return bytes;
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

// Entries of a folder counted with the plain find calls, "." and ".." included.
int CountEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    int n = 0;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do ++n;
        while (FindNextFileW(find, &found));
        FindClose(find);
    }
    return n;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const wchar_t* name) {
    for (HTREEITEM c : Children(tree, parent))
        if (ItemText(tree, c) == name) return c;
    return nullptr;
}

// A plain list view (not owner data) of the title list's size, in a window of
// its own on screen, filled and emptied one row at a time.
struct RowByRow {
    double insertMsPerRow = -1;
    double deleteMsPerRow = -1;
};

RowByRow TimeRowByRow(const std::vector<TitleRow>& rows, HICON mp3, HICON wma) {
    RowByRow result;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BenchRowByRow";
    RegisterClassW(&wc);
    RECT frame{0, 0, 614, 543};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowW(L"BenchRowByRow", L"Une ligne à la fois", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!window) return result;
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS, 0, 0,
                                614, 543, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    ImageList_AddIcon(images, mp3);
    ImageList_AddIcon(images, wma);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    AddTitleColumns(list);
    UpdateWindow(window);
    Pump();

    const int n = std::min<int>(kRowByRowRows, static_cast<int>(rows.size()));
    double start = bench::NowMs();
    for (int i = 0; i < n; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(rows[i].title.c_str());
        item.iImage = rows[i].icon == TitleIcon::Wma ? 1 : 0;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMW sub{};
        sub.iSubItem = 1;
        sub.pszText = const_cast<wchar_t*>(rows[i].location.c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&sub));
    }
    UpdateWindow(window);
    result.insertMsPerRow = (bench::NowMs() - start) / n;
    if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) != n) std::fprintf(stderr, "bench: row-by-row list short\n");

    // Every other row, from the end so the positions still to go stay put.
    start = bench::NowMs();
    int deleted = 0;
    for (int i = n - 2; i >= 0; i -= 2, ++deleted) SendMessageW(list, LVM_DELETEITEM, i, 0);
    UpdateWindow(window);
    if (deleted > 0) result.deleteMsPerRow = (bench::NowMs() - start) / deleted;

    DestroyWindow(window);
    ImageList_Destroy(images);
    UnregisterClassW(L"BenchRowByRow", GetModuleHandleW(nullptr));
    Pump();
    return result;
}

void PrintRowByRow(const char* name, double ours, double msPerRow, int rows) {
    char target[64] = "";
    double baseline = msPerRow >= 0 ? msPerRow * rows : -1;
    if (ours > 0 && baseline > 0) std::snprintf(target, sizeof target, "ours %.0fx faster", baseline / ours);
    PrintLine(name, Ms(ours), Ms(baseline), target);
}

}  // namespace

int wmain() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const bool ole = SUCCEEDED(OleInitialize(nullptr));

    int boxes = 0;
    gui::SetMessageResponder([&boxes](const gui::MessageRecord& box) {
        ++boxes;
        return (box.flags & 0xF) == MB_YESNO ? IDYES : IDOK;
    });

    auto root = std::make_unique<TempFolder>();
    auto images = std::make_unique<tunerolle::ImageCatalogue>(tunerolle::LoadImageCatalogue());
    ProgramPaths paths;
    paths.executableFolder = root->path();
    paths.playlistsFolder = root->MakeFolder(L"Tunerolle");
    paths.treeStartFolder = root->MakeFolder(L"Musique");
    // Made before the window, so the explorer tree lists it under its start folder.
    const std::wstring folder = root->MakeFolder(L"Musique\\Dix mille");
    for (int i = 0; i < kFolderFiles; ++i) {
        wchar_t name[64];
        std::swprintf(name, 64, L"Piste %05d.%ls", i, i % 4 ? L"mp3" : L"wma");
        TempFolder::WriteBytes(folder + name, "");
    }
    SetPaths(paths);
    if (!BuildMainWindow(*images)) {
        std::fprintf(stderr, "bench: the main window could not be built\n");
        return 1;
    }
    Pump();
    Pump();

    // ---- Memory first, while the process holds nothing else: the empty
    // window, then 100,000 titles loaded.
    const std::wstring playlist = paths.playlistsFolder + L"Cent mille.ini";
    const double emptyMb = PrivateMb();
    {
        const std::string bytes = EncodeTitles(kTitles);
        WriteWholeFile(playlist, bytes);
    }
    LoadPlaylist(playlist);
    Painted();
    Pump();
    const double loadedMb = PrivateMb();
    if (TitleCount() != kTitles) std::fprintf(stderr, "bench: %d titles loaded, not %d\n", TitleCount(), kTitles);
    ClearEditor();
    Pump();

    bench::PrintHeader();

    // ---- Add a folder of 10,000 audio files as the user does: the folder
    // selected in the explorer tree, then the add command.
    HWND tree = gui::Control(kExplorerTree);
    HTREEITEM folderItem = ChildNamed(tree, TreeView_GetSelection(tree), L"Dix mille");
    if (!folderItem || !TreeView_SelectItem(tree, folderItem) || TreeText() != folder)
        std::fprintf(stderr, "bench: the folder could not be selected in the tree\n");
    Pump();
    auto clearFirst = [] {
        ClearEditor();
        Pump();
    };
    const auto add = bench::Medians(kRuns, {{clearFirst,
                                             [] {
                                                 AddSelectedFromTree();
                                                 Painted();
                                                 if (TitleCount() != kFolderFiles)
                                                     std::fprintf(stderr, "bench: %d titles added, not %d\n",
                                                                  TitleCount(), kFolderFiles);
                                             }},
                                            {nullptr, [&] {
                                                 if (CountEntries(folder) < kFolderFiles)
                                                     std::fprintf(stderr, "bench: the folder lists short\n");
                                             }}});
    PrintLine("add a folder of 10,000 .mp3/.wma files", Ms(add[0]), Ms(add[1]), "< 5x and < 1000 ms");

    // ---- Load 100,000 titles, against reading and decoding the file.
    const auto load = bench::Medians(
        kRuns, {{clearFirst,
                 [&] {
                     LoadPlaylist(playlist);
                     Painted();
                     if (TitleCount() != kTitles)
                         std::fprintf(stderr, "bench: %d titles loaded, not %d\n", TitleCount(), kTitles);
                 }},
                {nullptr, [&] {
                     std::string read;
                     ReadWholeFile(playlist, read);
                     tunerolle::DecodedPlaylist decoded = tunerolle::DecodePlaylist(read);
                     if (decoded.rows.size() != static_cast<size_t>(kTitles))
                         std::fprintf(stderr, "bench: decode short\n");
                 }}});
    PrintLine("load a playlist of 100,000 titles", Ms(load[0]), Ms(load[1]), "< 3x");

    // ---- Save 100,000 titles (those just loaded), against writing the same
    // bytes. A save must reach the disk whole, so ours flushes a temporary
    // file and moves it over the playlist; the further floors do the same
    // without the list, then also encode the titles first.
    std::string bytes;
    ReadWholeFile(playlist, bytes);
    const std::wstring saved = paths.playlistsFolder + L"Copie";
    const std::wstring plain = root->path() + L"plain.ini";
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
    // The bare write goes to a new file each time: rewriting a file cut short
    // makes some file systems write the old one out first. Each file is
    // flushed and deleted before the next write, untimed.
    const std::wstring bare = root->path() + L"bare.ini";
    auto flushAndDelete = [](const std::wstring& path) {
        {
            gui::unique_handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) FlushFileBuffers(file.get());
        }
        DeleteFileW(path.c_str());
    };
    const double bareWrite = bench::Medians(kRuns, {{[&] { flushAndDelete(bare); },
                                                      [&] { WriteWholeFile(bare, bytes); }}})[0];
    flushAndDelete(bare);
    // Each case runs on its own rather than in turns: a flush also waits for
    // whatever the case before left for the disk.
    std::vector<double> save;
    for (const auto& work : std::vector<std::function<void()>>{
             [&] { SavePlaylist(saved); },
             [&] {
                 gui::unique_handle file(
                     CreateFileW(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
                 DWORD written = 0;
                 WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
                 FlushFileBuffers(file.get());
             },
             [&] { replaceWith(bytes); },
             [&] {
                 const auto& rows = TitleRows();
                 std::string encoded;
                 encoded.reserve(bytes.size());
                 AppendPlaylistCountLine(encoded, rows.size());
                 for (const auto& row : rows) AppendPlaylistPair(encoded, row.title, row.location);
                 replaceWith(encoded);
             }}) {
        save.push_back(bench::Medians(kRuns, {{nullptr, work}})[0]);
    }
    if (TempFolder::ReadBytes(saved + L".ini") != bytes) std::fprintf(stderr, "bench: saved bytes differ\n");
    PrintLine("save 100,000 titles", Ms(save[0]), Ms(bareWrite), "< 3x");
    PrintLine("  floor: written and flushed", Ms(save[0]), Ms(save[1]));
    PrintLine("  floor: flushed temporary file moved over", Ms(save[0]), Ms(save[2]));
    PrintLine("  floor: encoded first, then as above", Ms(save[0]), Ms(save[3]));
    std::string().swap(bytes);

    // ---- Remove 50,000 selected of 100,000.
    const std::vector<TitleRow> many = ManyTitles(kTitles);
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
    const auto remove = bench::Medians(kRuns, {{selectHalf, [] {
                                                    RemoveSelectedTitles();
                                                    Painted();
                                                    if (TitleCount() != kTitles / 2)
                                                        std::fprintf(stderr, "bench: %d titles kept, not %d\n",
                                                                     TitleCount(), kTitles / 2);
                                                }}});
    PrintLine("remove 50,000 selected rows of 100,000", Ms(remove[0]), None(), "< 1000 ms");
    ClearEditor();
    Pump();

    // ---- The same rows through a plain list view, one at a time.
    const RowByRow rowByRow = TimeRowByRow(many, images->mp3.handle.get(), images->wma.handle.get());
    char name[96];
    std::snprintf(name, sizeof name, "  row by row (%d rows timed once): add 10,000", kRowByRowRows);
    PrintRowByRow(name, add[0], rowByRow.insertMsPerRow, kFolderFiles);
    std::snprintf(name, sizeof name, "  row by row (%d rows timed once): load 100,000", kRowByRowRows);
    PrintRowByRow(name, load[0], rowByRow.insertMsPerRow, kTitles);
    std::snprintf(name, sizeof name, "  row by row (%d rows timed once): remove 50,000", kRowByRowRows / 2);
    PrintRowByRow(name, remove[0], rowByRow.deleteMsPerRow, kTitles / 2);

    // ---- The saved-playlists list re-listing a folder of 5,000 files and
    // the count refreshed, as after a save, against listing the folder.
    for (int i = 0; i < kSavedFiles; ++i) {
        wchar_t file[64];
        std::swprintf(file, 64, L"Playlist %04d.ini", i);
        TempFolder::WriteBytes(paths.playlistsFolder + file, "[Playlist]\r\nNumberOfEntries=0\r\n");
    }
    const int savedOnDisk = CountEntries(paths.playlistsFolder) - 2;
    // Lets the folder watcher's own re-listing happen before the timing.
    for (int i = 0; i < 30; ++i) Pump();
    auto checkCount = [](int expected) {
        if (SavedListCount() != expected)
            std::fprintf(stderr, "bench: the saved list shows %d entries, not %d\n", SavedListCount(), expected);
        if (gui::StatusText(0).find(std::to_wstring(expected)) == std::wstring::npos)
            std::fprintf(stderr, "bench: the status bar does not show the count %d\n", expected);
    };
    // Also as after a save or a deletion: one playlist more, then one less.
    const std::wstring extra = paths.playlistsFolder + L"Une de plus.ini";
    bool extraThere = false;
    const auto relist = bench::Medians(
        kRuns, {{[] { Pump(); },
                 [&] {
                     RefreshSavedCount(true, true);
                     Painted();
                     checkCount(savedOnDisk + (extraThere ? 1 : 0));
                 }},
                {[&] {
                     if (extraThere)
                         DeleteFileW(extra.c_str());
                     else
                         TempFolder::WriteBytes(extra, "[Playlist]\r\nNumberOfEntries=0\r\n");
                     extraThere = !extraThere;
                     Pump();
                 },
                 [&] {
                     RefreshSavedCount(true, true);
                     Painted();
                     checkCount(savedOnDisk + (extraThere ? 1 : 0));
                 }},
                {nullptr, [&] {
                     if (CountEntries(paths.playlistsFolder) < kSavedFiles)
                         std::fprintf(stderr, "bench: the playlists folder lists short\n");
                 }}});
    PrintLine("saved-playlists folder of 5,000 files: re-list, count", Ms(relist[0]), Ms(relist[2]), "< 3x");
    PrintLine("  the same with one playlist more or less each time", Ms(relist[1]), Ms(relist[2]));

    // ---- Memory, measured first.
    PrintLine("memory: private bytes, 100,000 titles loaded", Mb(loadedMb), None(), "< 60 MB");
    PrintLine("  empty window", Mb(emptyMb), None());
    PrintLine("  increase over the empty window", Mb(emptyMb >= 0 && loadedMb >= 0 ? loadedMb - emptyMb : -1), None());

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
