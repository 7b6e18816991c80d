// Visual styles, looked up at run time: "UxTheme.dll" is loaded by name so
// that the program still runs, in the classic look, where it is missing.
#pragma once
#include <windows.h>
#include <uxtheme.h>

#include "handles.h"

namespace tunerolle {

struct ThemeFunctions {
    BOOL(WINAPI* isThemeActive)() = nullptr;
    HTHEME(WINAPI* openThemeData)(HWND, LPCWSTR) = nullptr;
    BOOL(WINAPI* isThemeBackgroundPartiallyTransparent)(HTHEME, int, int) = nullptr;
    HRESULT(WINAPI* drawThemeParentBackground)(HWND, HDC, const RECT*) = nullptr;
    HRESULT(WINAPI* drawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* closeThemeData)(HTHEME) = nullptr;
};

// One for the whole process, shared by every button. Tests may put their own
// function table and flag in place.
struct ThemeState {
    gui::unique_module library;
    ThemeFunctions functions;
    int active = 0;  // non-zero: paint with the visual style
};
ThemeState& Theme();

// Detects the visual style and fills the theme state. Does nothing before
// Windows XP or when the executable has no application manifest (no common
// controls 6, so no styled controls to match). Runs again on every theme or
// system colour change.
void LoadThemeFunctions();

// Whether detection may go on: Windows XP (5.1) or later, a version that
// cannot be read counting as later, and a manifest resource present.
bool ThemeDetectionAllowed(bool versionKnown, DWORD major, DWORD minor, bool hasManifest);

// The part of LoadThemeFunctions after that check: releases a library loaded
// before, loads it again, resolves the six functions and reads the flag.
void ReloadThemeLibrary();

// True when a themed face can be painted: the flag is set and all five
// painting functions were found.
bool ThemedPaintingAvailable();

}  // namespace tunerolle
