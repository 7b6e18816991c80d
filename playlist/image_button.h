// The command buttons of the playlist manager: owner-drawn push buttons with
// an icon beside the caption, in the visual style when one is active (hot
// while the pointer is over them) and in the classic look otherwise, each with
// a balloon tooltip.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "icon_catalogue.h"

namespace tunerolle {

// Attached to each button as the window property below, from creation until
// the button's WM_DESTROY.
struct ImageTextButtonRecord {
    std::int32_t id = 0;
    IconRef image;
    std::int32_t alignment = 0;
    WNDPROC previousProc = nullptr;
    std::int32_t hover = 0;  // 1 from the first mouse move until the pointer leaves
};
inline constexpr wchar_t kButtonRecordProperty[] = L"BIGEPROPERTIES";

// Alignment codes: where the icon sits, the caption taking the other side.
enum ButtonAlignment : int {
    kIconAbove = 0,
    kIconRight = 1,
    kIconBelow = 2,
    kIconLeft = 3,
};

// A child of the main window, in the control font, subclassed, with its record
// attached and registered under its number. nullptr when it cannot be created.
HWND CreateImageTextButton(int id, int x, int y, int width, int height, const std::wstring& caption,
                           IconRef image, int alignment);

LRESULT CALLBACK ImageTextButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's message hook: paints a button on its WM_DRAWITEM and
// returns 1; anything else gets `notHandled` back.
LRESULT DrawImageTextButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT notHandled);

// A balloon tooltip for the main window's control `id`, with a bold title
// behind `titleIcon` (no title nor icon when the title is empty) and text
// wrapped at 200 pixels. The tooltip lives as long as the program; its window
// is returned, nullptr when there is no such control or no tooltip could be
// made.
HWND AttachBalloonTip(HWND owner, int id, const std::wstring& title, const std::wstring& text,
                      HICON titleIcon);

// ---- Pieces of the paint, open to tests ----------------------------------

struct ButtonLayout {
    POINT icon{};     // top-left corner of the icon
    POINT caption{};  // top-left corner of the caption
};
// W and H: the button's size; iw, ih: the icon's; cx, cy: the caption's
// measured extent; fh: the font's height. Unknown codes give all zeros.
ButtonLayout ComputeButtonLayout(int code, int W, int H, int iw, int ih, int cx, int cy, int fh);

enum class ButtonState { Pressed, Focused, Disabled, Normal };
// From a draw request's item state: pressed wins over focused, focused over
// disabled.
ButtonState ChooseButtonState(UINT itemState);
// Visual-style state id of the push-button part for a state and hover flag.
int ThemeStateId(ButtonState state, bool hover);

// The caption as it is painted: at most 1023 characters.
std::wstring ButtonCaption(HWND button);

}  // namespace tunerolle
