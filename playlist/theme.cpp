#include "theme.h"

namespace tunerolle {
namespace {

bool ReadVersion(DWORD& major, DWORD& minor) {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return false;
    major = info.dwMajorVersion;
    minor = info.dwMinorVersion;
    return true;
}

bool HasApplicationManifest() {
    return FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), RT_MANIFEST) != nullptr;
}

template <typename F>
void Resolve(HMODULE library, const char* name, F& target) {
    target = gui::FindEntry<F>(library, name);
}

}  // namespace

ThemeState& Theme() {
    static ThemeState state;
    return state;
}

bool ThemeDetectionAllowed(bool versionKnown, DWORD major, DWORD minor, bool hasManifest) {
    bool xpOrLater = !versionKnown || major > 5 || (major == 5 && minor >= 1);
    return xpOrLater && hasManifest;
}

void ReloadThemeLibrary() {
    ThemeState& theme = Theme();
    // The old addresses die with the old library: never keep them past it.
    theme.functions = {};
    theme.library.reset();
    theme.library.reset(LoadLibraryW(L"UxTheme.dll"));
    if (!theme.library) return;

    HMODULE lib = theme.library.get();
    ThemeFunctions& f = theme.functions;
    Resolve(lib, "IsThemeActive", f.isThemeActive);
    Resolve(lib, "OpenThemeData", f.openThemeData);
    Resolve(lib, "IsThemeBackgroundPartiallyTransparent", f.isThemeBackgroundPartiallyTransparent);
    Resolve(lib, "DrawThemeParentBackground", f.drawThemeParentBackground);
    Resolve(lib, "DrawThemeBackground", f.drawThemeBackground);
    Resolve(lib, "CloseThemeData", f.closeThemeData);
    if (f.isThemeActive) theme.active = f.isThemeActive() ? 1 : 0;
}

void LoadThemeFunctions() {
    DWORD major = 0, minor = 0;
    bool known = ReadVersion(major, minor);
    if (!ThemeDetectionAllowed(known, major, minor, HasApplicationManifest())) return;
    ReloadThemeLibrary();
}

bool ThemedPaintingAvailable() {
    const ThemeState& theme = Theme();
    const ThemeFunctions& f = theme.functions;
    return theme.active && f.openThemeData && f.isThemeBackgroundPartiallyTransparent &&
           f.drawThemeParentBackground && f.drawThemeBackground && f.closeThemeData;
}

}  // namespace tunerolle
