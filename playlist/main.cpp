#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "event_loop.h"
#include "help_about.h"
#include "icon_catalogue.h"
#include "main_window.h"
#include "paths.h"
#include "theme.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    using namespace tunerolle;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // The shell's folder names and icons want COM on this thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    {
        // Help windows are closed, and the help library released, on the way
        // out, while COM is still up for their content panes.
        HelpSystem help;
        LoadThemeFunctions();
        ImageCatalogue images = LoadImageCatalogue();
        SetPaths(ComputePaths());
        // A fresh copy of the program has no playlists folder yet; without it
        // every save would fail and the saved list would never be watched.
        EnsureFolderExists(Paths().playlistsFolder);
        if (BuildMainWindow(images)) RunEventLoop(ProgramCommands());
        DestroyMainWindow();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
