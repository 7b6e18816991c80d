#pragma once
// The real main window of the playlist manager, built once for a suite of
// tests over a folder of their own: Musique\ for the tree and Tunerolle\ for
// the saved playlists.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "controls.h"
#include "events.h"
#include "icon_catalogue.h"
#include "ids.h"
#include "main_window.h"
#include "message_box.h"
#include "paths.h"
#include "saved_list.h"
#include "temp_folder.h"
#include "title_list.h"
#include "window.h"

class MainWindowSuite : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempFolder>();
        images_ = std::make_unique<tunerolle::ImageCatalogue>(tunerolle::LoadImageCatalogue());
        tunerolle::ProgramPaths paths;
        paths.executableFolder = folder_->path();
        paths.playlistsFolder = folder_->MakeFolder(L"Tunerolle");
        paths.treeStartFolder = folder_->MakeFolder(L"Musique");
        tunerolle::SetPaths(paths);
        ASSERT_TRUE(tunerolle::BuildMainWindow(*images_));
        Settle();
    }
    static void TearDownTestSuite() {
        gui::SetMessageResponder(nullptr);
        tunerolle::DestroyMainWindow();
        gui::ClearEvents();
        images_.reset();
        folder_.reset();
    }

    // Lets queued window messages and posted refreshes run, then drops the
    // events they raised unless asked to keep them.
    static void Settle(bool keepEvents = false) {
        for (int i = 0; i < 5; ++i) {
            gui::PumpPendingMessages();
            Sleep(10);
        }
        if (!keepEvents) gui::ClearEvents();
    }

    // Waits, pumping messages, until the predicate holds or the bound passes.
    template <typename Predicate>
    static bool WaitFor(Predicate done, int milliseconds = 5000) {
        DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > static_cast<DWORD>(milliseconds)) return false;
            gui::PumpPendingMessages();
            Sleep(5);
        }
        return true;
    }

    static RECT ChildRect(HWND child) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // The saved list showing a folder "Archives" (first) and a playlist
    // "Rock.ini" (second) for the length of a scope.
    class FolderAndPlaylistListed {
    public:
        FolderAndPlaylistListed() {
            TempFolder::WriteBytes(playlist_, "0\r\n");
            CreateDirectoryW(folder_.c_str(), nullptr);
            gui::RelistSavedList(list_);
            Settle();
        }
        ~FolderAndPlaylistListed() {
            ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
            DeleteFileW(playlist_.c_str());
            RemoveDirectoryW(folder_.c_str());
            gui::RelistSavedList(list_);
            Settle();
        }
        void Select(int row) {
            ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
            ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
        }
        int Count() const { return gui::SavedListCount(list_); }
        const std::wstring& PlaylistPath() const { return playlist_; }

    private:
        HWND list_ = gui::Control(tunerolle::kSavedList);
        std::wstring playlist_ = tunerolle::Paths().playlistsFolder + L"Rock.ini";
        std::wstring folder_ = tunerolle::Paths().playlistsFolder + L"Archives";
    };

    static inline std::unique_ptr<TempFolder> folder_;
    static inline std::unique_ptr<tunerolle::ImageCatalogue> images_;
};
