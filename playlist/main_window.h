#pragma once
#include <windows.h>

#include "icon_catalogue.h"

namespace tunerolle {

// Builds the main window with every control, menu and the status bar.
// Returns false when the main window cannot be created.
bool BuildMainWindow(const ImageCatalogue& images);
// Keeps the splitter, the title list and the name field in step with the
// client size.
void ResizeMainWindow(int clientWidth, int clientHeight);
// Releases the menus and destroys the window with its controls.
void DestroyMainWindow();

inline constexpr int kClientWidth = 1014;
inline constexpr int kClientHeight = 620;
inline constexpr wchar_t kMainTitle[] = L"Meridel Média Player - Tunerolle";

}  // namespace tunerolle
