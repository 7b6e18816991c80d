// Entry point of the in-process tests: the controls and OLE are ready, as in
// the programs themselves.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    const int result = RUN_ALL_TESTS();
    if (ole) OleUninitialize();
    return result;
}
