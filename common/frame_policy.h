#pragma once
#include <windows.h>

// How the routine reaches the system library; swapped in tests.
struct LibraryApi {
    HMODULE(WINAPI* load)(LPCWSTR name);
    FARPROC(WINAPI* find)(HMODULE module, LPCSTR name);
    BOOL(WINAPI* release)(HMODULE module);
};

// Asks the Desktop Window Manager not to render the window's frame (disabled
// non-zero) or to render it again. Without dwmapi.dll it does nothing.
void SetFrameRenderingDisabled(HWND window, int disabled);
void SetFrameRenderingDisabled(const LibraryApi& api, HWND window, int disabled);
