#include "image_button.h"

#include <commctrl.h>
#include <vsstyle.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <optional>

#include "controls.h"
#include "handles.h"
#include "theme.h"
#include "window.h"

namespace tunerolle {
namespace {

constexpr int kCaptionBuffer = 1024;  // 1023 characters and the terminator

ImageTextButtonRecord* RecordOf(HWND window) {
    return static_cast<ImageTextButtonRecord*>(GetPropW(window, kButtonRecordProperty));
}

// ---- Classic face ------------------------------------------------------------

struct Segment {
    POINT from, to;  // the end point itself stays unpainted
};
struct Stroke {
    int colour;  // system colour index
    int count;
    Segment lines[6];
};
struct ClassicFace {
    int strokeCount;
    Stroke strokes[3];
    RECT fill;  // right and bottom exclusive
};

ClassicFace ClassicFaceFor(ButtonState state, int W, int H) {
    switch (state) {
    case ButtonState::Pressed:
        return {2,
                {{COLOR_WINDOWFRAME, 4,
                  {{{0, 0}, {W, 0}}, {{0, 0}, {0, H - 1}}, {{0, H - 1}, {W, H - 1}},
                   {{W - 1, 0}, {W - 1, H}}}},
                 {COLOR_BTNSHADOW, 4,
                  {{{1, 1}, {W - 1, 1}}, {{1, 2}, {1, H - 2}}, {{1, H - 2}, {W - 1, H - 2}},
                   {{W - 2, 2}, {W - 2, H - 2}}}}},
                {2, 2, W - 2, H - 2}};
    case ButtonState::Focused:
        return {3,
                {{COLOR_WINDOWFRAME, 6,
                  {{{0, 0}, {W, 0}}, {{0, 0}, {0, H - 1}}, {{0, H - 1}, {W, H - 1}},
                   {{W - 1, 0}, {W - 1, H}}, {{0, H - 2}, {W - 1, H - 2}},
                   {{W - 2, 0}, {W - 2, H - 1}}}},
                 {COLOR_BTNHIGHLIGHT, 2, {{{1, 1}, {W - 2, 1}}, {{1, 1}, {1, H - 2}}}},
                 {COLOR_BTNSHADOW, 2, {{{2, H - 3}, {W - 2, H - 3}}, {{W - 3, 2}, {W - 3, H - 2}}}}},
                {2, 2, W - 3, H - 3}};
    case ButtonState::Disabled:
    case ButtonState::Normal:
        break;
    }
    return {3,
            {{COLOR_BTNHIGHLIGHT, 2, {{{0, 0}, {W, 0}}, {{0, 0}, {0, H - 1}}}},
             {COLOR_WINDOWFRAME, 2, {{{0, H - 1}, {W, H - 1}}, {{W - 1, 0}, {W - 1, H}}}},
             {COLOR_BTNSHADOW, 2, {{{1, H - 2}, {W - 1, H - 2}}, {{W - 2, 1}, {W - 2, H - 1}}}}},
            {1, 1, W - 2, H - 2}};
}

void FillWithFace(HDC dc, const RECT& area) {
    // Made for this paint only; without it the fill is skipped.
    gui::unique_gdi<HBRUSH> brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    if (brush) FillRect(dc, &area, brush.get());
}

void PaintClassicFace(HDC dc, ButtonState state, int W, int H) {
    ClassicFace face = ClassicFaceFor(state, W, H);
    for (int s = 0; s < face.strokeCount; ++s) {
        const Stroke& stroke = face.strokes[s];
        gui::unique_gdi<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(stroke.colour)));
        if (!pen) continue;
        gui::select_object selected(dc, pen.get());
        for (int i = 0; i < stroke.count; ++i) {
            MoveToEx(dc, stroke.lines[i].from.x, stroke.lines[i].from.y, nullptr);
            LineTo(dc, stroke.lines[i].to.x, stroke.lines[i].to.y);
        }
    }  // each pen is deselected, then deleted, before the next is made
    FillWithFace(dc, face.fill);
}

// ---- Themed face ---------------------------------------------------------------

// False when the style gives no theme data for buttons: the caller then paints
// the classic face rather than leave the button blank.
bool PaintThemedFace(HWND owner, HWND button, HDC dc, const RECT& area, int stateId) {
    const ThemeFunctions& f = Theme().functions;
    HTHEME theme = f.openThemeData(owner, L"Button");
    if (!theme) return false;
    if (f.isThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, stateId))
        f.drawThemeParentBackground(button, dc, &area);
    f.drawThemeBackground(theme, dc, BP_PUSHBUTTON, stateId, &area, nullptr);
    f.closeThemeData(theme);
    return true;
}

// ---- Icon and caption ----------------------------------------------------------

void PaintIcon(HDC dc, const IconRef& image, POINT at, ButtonState state) {
    if (!image.handle) return;
    if (state == ButtonState::Disabled) {
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.handle), 0, at.x, at.y,
                   image.width, image.height, DST_ICON | DSS_DISABLED);
        return;
    }
    DrawIconEx(dc, at.x, at.y, image.handle, image.width, image.height, 0, nullptr,
               DI_NORMAL | DI_COMPAT);
}

void PaintCaption(HDC dc, HFONT font, const std::wstring& caption, POINT at, ButtonState state) {
    if (caption.empty()) return;
    std::optional<gui::select_object> selected;
    if (font) selected.emplace(dc, font);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    int length = static_cast<int>(caption.size());
    if (state == ButtonState::Disabled) {
        // Embossed: a light copy one pixel down-right under the shadow-coloured one.
        COLORREF previousColour = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        TextOutW(dc, at.x + 1, at.y + 1, caption.c_str(), length);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        TextOutW(dc, at.x, at.y, caption.c_str(), length);
        SetTextColor(dc, previousColour);
    } else {
        TextOutW(dc, at.x, at.y, caption.c_str(), length);
    }
    SetBkMode(dc, previousMode);
}

int FontHeight(HFONT font) {
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof lf, &lf)) return 0;
    return std::abs(static_cast<int>(lf.lfHeight));
}

SIZE MeasureCaption(HDC dc, HFONT font, const std::wstring& caption) {
    SIZE extent{};
    std::optional<gui::select_object> selected;
    if (font) selected.emplace(dc, font);
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    return extent;
}

void PaintButton(HWND owner, const DRAWITEMSTRUCT& request, const ImageTextButtonRecord& record) {
    HWND button = request.hwndItem;
    // The button's own DC, not the request's: the request's may be clipped to
    // the part being updated, and the whole button is painted every time.
    gui::window_dc dc(button);
    if (!dc) return;
    const RECT& area = request.rcItem;
    int W = area.right - area.left;
    int H = area.bottom - area.top;

    auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
    int fh = FontHeight(font);
    std::wstring caption = ButtonCaption(button);
    SIZE extent = MeasureCaption(dc.get(), font, caption);
    ButtonLayout layout = ComputeButtonLayout(record.alignment, W, H, record.image.width,
                                              record.image.height, extent.cx, extent.cy, fh);
    if (request.CtlType != ODT_BUTTON) return;

    FillWithFace(dc.get(), area);
    ButtonState state = ChooseButtonState(request.itemState);
    bool themed = ThemedPaintingAvailable() &&
                  PaintThemedFace(owner, button, dc.get(), area, ThemeStateId(state, record.hover));
    if (!themed) PaintClassicFace(dc.get(), state, W, H);

    // Pressed: icon and caption sink by one pixel.
    int shift = state == ButtonState::Pressed ? 1 : 0;
    PaintIcon(dc.get(), record.image, {layout.icon.x + shift, layout.icon.y + shift}, state);
    PaintCaption(dc.get(), font, caption, {layout.caption.x + shift, layout.caption.y + shift},
                 state);
    if (state == ButtonState::Pressed || state == ButtonState::Focused) {
        RECT focus = area;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc.get(), &focus);
    }
}

void OnMouseMove(HWND window, ImageTextButtonRecord& record) {
    if (record.hover) return;  // one repaint per visit
    record.hover = 1;
    InvalidateRect(window, nullptr, FALSE);
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = 1;
    TrackMouseEvent(&track);
}

void OnMouseLeave(HWND window, ImageTextButtonRecord& record) {
    record.hover = 0;
    InvalidateRect(window, nullptr, TRUE);
}

void OnDestroy(HWND window, ImageTextButtonRecord* record) {
    RemovePropW(window, kButtonRecordProperty);
    // The original procedure goes back before the record is freed, so no later
    // message can reach ImageTextButtonProc without its record.
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previousProc));
    if (gui::Control(record->id) == window) gui::UnregisterControl(record->id);
    delete record;
}

}  // namespace

ButtonLayout ComputeButtonLayout(int code, int W, int H, int iw, int ih, int cx, int cy, int fh) {
    switch (code) {
    case kIconAbove:
        return {{(W - iw) / 2, (H - ih) / 4}, {(W - cx) / 2, H - cy - 10}};
    case kIconRight:
        return {{W - iw - 10, (H - ih) / 2}, {W - cx - iw - 20, (H - fh) / 2 - 1}};
    case kIconBelow:
        return {{(W - iw) / 2, H - ih - 7}, {(W - cx) / 2, (H - cy) / 4}};
    case kIconLeft:
        return {{10, (H - ih) / 2 + 1}, {iw + 20, (H - fh) / 2 - 1}};
    default:
        return {};
    }
}

ButtonState ChooseButtonState(UINT itemState) {
    if (itemState & ODS_SELECTED) return ButtonState::Pressed;
    if (itemState & ODS_FOCUS) return ButtonState::Focused;
    if (itemState & ODS_DISABLED) return ButtonState::Disabled;
    return ButtonState::Normal;
}

int ThemeStateId(ButtonState state, bool hover) {
    switch (state) {
    case ButtonState::Pressed: return PBS_PRESSED;
    case ButtonState::Focused: return hover ? PBS_HOT : PBS_DEFAULTED;
    case ButtonState::Disabled: return PBS_DISABLED;
    case ButtonState::Normal: break;
    }
    return hover ? PBS_HOT : PBS_NORMAL;
}

std::wstring ButtonCaption(HWND button) {
    wchar_t text[kCaptionBuffer] = {};
    int length = GetWindowTextW(button, text, kCaptionBuffer);
    return std::wstring(text, length > 0 ? length : 0);
}

HWND CreateImageTextButton(int id, int x, int y, int width, int height, const std::wstring& caption,
                           IconRef image, int alignment) {
    HWND button = CreateWindowExW(0, L"Button", caption.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_OWNERDRAW, x, y,
                                  width, height, gui::MainWindow(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (!button) return nullptr;
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(gui::MessageFont()), TRUE);

    auto record = std::make_unique<ImageTextButtonRecord>();
    record->id = id;
    record->image = image;
    record->alignment = alignment;
    // Known before the subclass is in place, so that its very first message
    // can be passed on.
    record->previousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_WNDPROC));
    if (!SetPropW(button, kButtonRecordProperty, record.get())) {
        DestroyWindow(button);
        return nullptr;
    }
    ImageTextButtonRecord* owned = record.release();  // freed on WM_DESTROY
    owned->previousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ImageTextButtonProc)));
    gui::RegisterControl(id, button);
    return button;
}

LRESULT CALLBACK ImageTextButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ImageTextButtonRecord* record = RecordOf(window);
    if (!record) return 0;
    LRESULT result = CallWindowProcW(record->previousProc, window, message, wParam, lParam);
    switch (message) {
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        LoadThemeFunctions();
        InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(window, *record);
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave(window, *record);
        break;
    case WM_DESTROY:
        OnDestroy(window, record);
        break;
    }
    return result;
}

LRESULT DrawImageTextButton(HWND window, UINT message, WPARAM, LPARAM lParam, LRESULT notHandled) {
    if (message != WM_DRAWITEM || !lParam) return notHandled;
    const auto& request = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!request.hwndItem) return notHandled;  // menu items carry no window
    const ImageTextButtonRecord* record = RecordOf(request.hwndItem);
    if (!record) return notHandled;
    PaintButton(window, request, *record);
    return 1;
}

HWND AttachBalloonTip(HWND owner, int id, const std::wstring& title, const std::wstring& text,
                      HICON titleIcon) {
    HWND control = gui::Control(id);
    if (!control) control = GetDlgItem(gui::MainWindow(), id);
    if (!control) return nullptr;  // a tooltip for nothing would only leak

    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_BALLOON | TTS_NOPREFIX, 0,
                               0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip) return nullptr;
    SendMessageW(tip, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
    SendMessageW(tip, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 200);

    TOOLINFOW tool{};
    // The size without the trailing reserved field: understood by every
    // version of the common controls.
    tool.cbSize = offsetof(TOOLINFOW, lpReserved);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<LPWSTR>(text.c_str());  // copied by the tooltip
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));

    if (!title.empty())
        SendMessageW(tip, TTM_SETTITLEW, reinterpret_cast<WPARAM>(titleIcon),
                     reinterpret_cast<LPARAM>(title.c_str()));
    return tip;
}

#ifndef _WIN64
static_assert(offsetof(TOOLINFOW, lpReserved) == 44, "tool description of 44 bytes");
#endif

}  // namespace tunerolle
