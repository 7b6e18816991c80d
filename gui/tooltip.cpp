#include "tooltip.h"

#include <commctrl.h>

#include "controls.h"

namespace gui {
namespace {
// Owned by its top-level window, so it goes when that window goes.
HWND g_tooltip = nullptr;

HWND TooltipFor(HWND topLevel) {
    if (g_tooltip && IsWindow(g_tooltip) && GetWindow(g_tooltip, GW_OWNER) == topLevel) return g_tooltip;
    g_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, topLevel, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    return g_tooltip;
}

TTTOOLINFOW ToolFor(HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // accepted by every comctl32 version
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}
}  // namespace

bool SetControlTooltip(int id, const std::wstring& text) {
    HWND control = Control(id);
    if (!control) return false;
    HWND tooltip = TooltipFor(GetAncestor(control, GA_ROOT));
    if (!tooltip) return false;
    TTTOOLINFOW tool = ToolFor(control);
    SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = const_cast<LPWSTR>(text.c_str());  // the tooltip keeps a copy
    return SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

HWND TooltipWindow(HWND topLevel) {
    if (g_tooltip && IsWindow(g_tooltip) && GetWindow(g_tooltip, GW_OWNER) == topLevel) return g_tooltip;
    return nullptr;
}

}  // namespace gui
