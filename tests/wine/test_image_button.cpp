// The image-and-text button on real windows: layout, state choice, the theme
// calls (through a substitute table), the classic face's pixels, hover
// tracking, the subclass's life and the balloon tooltip.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vsstyle.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls.h"
#include "dib.h"
#include "handles.h"
#include "image_button.h"
#include "theme.h"
#include "window.h"

using namespace tunerolle;

namespace {

// ---- Substitute visual-style table that records its calls -------------------

struct ThemeCall {
    std::string name;
    HWND window = nullptr;
    int part = 0;
    int state = 0;
    RECT rect{};
    bool noClip = true;
};
std::vector<ThemeCall> g_calls;
bool g_partiallyTransparent = false;
std::wstring g_openedClass;
const HTHEME kFakeTheme = reinterpret_cast<HTHEME>(0x5151);
const COLORREF kThemedColour = RGB(12, 200, 34);

BOOL WINAPI FakeIsThemeActive() { return TRUE; }
HTHEME WINAPI FakeOpen(HWND window, LPCWSTR cls) {
    g_openedClass = cls ? cls : L"";
    g_calls.push_back({"open", window});
    return kFakeTheme;
}
BOOL WINAPI FakeTransparent(HTHEME theme, int part, int state) {
    EXPECT_EQ(theme, kFakeTheme);
    g_calls.push_back({"transparent", nullptr, part, state});
    return g_partiallyTransparent;
}
HRESULT WINAPI FakeParent(HWND window, HDC, const RECT* rect) {
    g_calls.push_back({"parent", window, 0, 0, rect ? *rect : RECT{}});
    return S_OK;
}
// Fills the rectangle, so a test can see that the face went to the button.
HRESULT WINAPI FakeDraw(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                        const RECT* clip) {
    EXPECT_EQ(theme, kFakeTheme);
    g_calls.push_back({"draw", nullptr, part, state, *rect, clip == nullptr});
    gui::unique_gdi<HBRUSH> brush(CreateSolidBrush(kThemedColour));
    FillRect(dc, rect, brush.get());
    return S_OK;
}
HRESULT WINAPI FakeClose(HTHEME theme) {
    EXPECT_EQ(theme, kFakeTheme);
    g_calls.push_back({"close"});
    return S_OK;
}
ThemeFunctions FakeThemeTable() {
    return {FakeIsThemeActive, FakeOpen, FakeTransparent, FakeParent, FakeDraw, FakeClose};
}
std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const ThemeCall& c : g_calls) names.push_back(c.name);
    return names;
}

// ---- Pictures ----------------------------------------------------------------

// An opaque square icon of one colour, made without the catalogue.
gui::unique_hicon SolidIcon(int size, COLORREF colour) {
    void* bits = nullptr;
    gui::unique_gdi<HBITMAP> colourBitmap(gui::CreateTopDownDib(size, size, &bits));
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < size * size; ++i)
        px[i] = 0xFF000000 | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    std::vector<unsigned char> zeros(((size + 15) / 16) * 2 * size, 0);
    gui::unique_gdi<HBITMAP> mask(CreateBitmap(size, size, 1, 1, zeros.data()));
    ICONINFO ii{TRUE, 0, 0, mask.get(), colourBitmap.get()};
    return gui::unique_hicon(CreateIconIndirect(&ii));
}

COLORREF PixelAt(HWND window, int x, int y) {
    gui::window_dc dc(window);
    return GetPixel(dc.get(), x, y);
}

void Repaint(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// Paints the button exactly as the system's draw request would, with the
// item state chosen by the test.
LRESULT PaintDirectly(HWND button, UINT itemState, UINT type = ODT_BUTTON) {
    UpdateWindow(button);  // nothing pending may paint over the result
    DRAWITEMSTRUCT request{};
    request.CtlType = type;
    request.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
    request.itemAction = ODA_DRAWENTIRE;
    request.itemState = itemState;
    request.hwndItem = button;
    GetClientRect(button, &request.rcItem);
    return DrawImageTextButton(gui::MainWindow(), WM_DRAWITEM, request.CtlID,
                               reinterpret_cast<LPARAM>(&request), -1);
}

int Darkest(COLORREF c) { return std::min({GetRValue(c), GetGValue(c), GetBValue(c)}); }
int Brightest(COLORREF c) { return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}); }

// Where anything but the button face was painted inside an area (text is
// smoothed, so edges are blends: compare boxes and extremes, not colours).
struct Ink {
    RECT box{};  // right and bottom exclusive; empty when nothing
    int darkest = 255;
    int brightest = 0;
};
Ink InkIn(HDC dc, RECT area) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (c == face) continue;
            RECT pixel{x, y, x + 1, y + 1};
            UnionRect(&ink.box, &ink.box, &pixel);
            ink.darkest = std::min(ink.darkest, Darkest(c));
            ink.brightest = std::max(ink.brightest, Brightest(c));
        }
    return ink;
}
Ink InkIn(HWND window, RECT area) {
    gui::window_dc dc(window);
    return InkIn(dc.get(), area);
}

// The ink of a text drawn at (0,0) in the message font on the button face:
// tells where the glyphs start relative to the text's origin.
Ink ReferenceInk(const wchar_t* text) {
    gui::window_dc screen(nullptr);
    HDC mem = CreateCompatibleDC(screen.get());
    gui::unique_gdi<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), 60, 40));
    Ink ink;
    {
        gui::select_object selectedBitmap(mem, bitmap.get());
        gui::select_object selectedFont(mem, gui::MessageFont());
        gui::unique_gdi<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        RECT all{0, 0, 60, 40};
        FillRect(mem, &all, face.get());
        SetBkMode(mem, TRANSPARENT);
        TextOutW(mem, 0, 0, text, lstrlenW(text));
        ink = InkIn(mem, all);
    }
    DeleteDC(mem);
    return ink;
}

ImageTextButtonRecord* RecordOf(HWND button) {
    return static_cast<ImageTextButtonRecord*>(GetPropW(button, kButtonRecordProperty));
}

// ---- A test subclass above the button's own, to watch its messages ----------

struct Watch {
    WNDPROC below = nullptr;
    int erases = 0;
    bool destroyChecked = false;
    HANDLE propertyAfterDestroy = reinterpret_cast<HANDLE>(1);
    WNDPROC procAfterDestroy = nullptr;
};
Watch g_watch;

LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) ++g_watch.erases;
    LRESULT r = CallWindowProcW(g_watch.below, window, message, wParam, lParam);
    if (message == WM_DESTROY) {
        g_watch.destroyChecked = true;
        g_watch.propertyAfterDestroy = GetPropW(window, kButtonRecordProperty);
        g_watch.procAfterDestroy = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    }
    return r;
}
void WatchButton(HWND button) {
    g_watch = {};
    g_watch.below = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchProc)));
}

// ---- Fixture: a main window with the drawing hook, theme state restored -----

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gui::MainWindow()) {
            opened_ = gui::OpenMainWindow({L"Boutons", 500, 200}) != nullptr;
        }
        ASSERT_NE(gui::MainWindow(), nullptr);
        gui::SetMessageHook(DrawImageTextButton);
        savedFunctions_ = Theme().functions;
        savedActive_ = Theme().active;
        UseClassicLook();
        g_calls.clear();
        g_partiallyTransparent = false;
    }
    void TearDown() override {
        for (HWND b : buttons_)
            if (IsWindow(b)) DestroyWindow(b);
        for (HWND t : others_)
            if (IsWindow(t)) DestroyWindow(t);
        gui::SetMessageHook(nullptr);
        Theme().functions = savedFunctions_;
        Theme().active = savedActive_;
        if (opened_) gui::CloseMainWindow();
    }

    void UseClassicLook() {
        Theme().functions = {};
        Theme().active = 0;
    }
    void UseFakeTheme() {
        Theme().functions = FakeThemeTable();
        Theme().active = 1;
    }
    HWND Button(int id, int w, int h, const std::wstring& caption, IconRef image, int code) {
        HWND b = CreateImageTextButton(id, 20, 40, w, h, caption, image, code);
        if (b) buttons_.push_back(b);
        UpdateWindow(b);
        return b;
    }
    HWND Track(HWND window) {
        if (window) others_.push_back(window);
        return window;
    }

    bool opened_ = false;
    ThemeFunctions savedFunctions_;
    int savedActive_ = 0;
    std::vector<HWND> buttons_;
    std::vector<HWND> others_;  // tooltips and plain windows
};

}  // namespace

// ---- Layout and state, as pure rules ------------------------------------------

TEST(ImageButtonLayout, PlacesIconAndCaptionForEachAlignmentCode) {
    struct Case {
        int code, W, H, iw, ih, cx, cy, fh;
        POINT icon, caption;
    } cases[] = {
        // Code 3, the program's buttons: 16x16 icon and the 24x24 eraser.
        {3, 80, 30, 16, 16, 40, 15, 12, {10, 8}, {36, 8}},
        {3, 90, 30, 24, 24, 40, 15, 12, {10, 4}, {44, 8}},
        {0, 80, 60, 16, 16, 30, 14, 12, {32, 11}, {25, 36}},
        {1, 80, 30, 16, 16, 30, 14, 12, {54, 7}, {14, 8}},
        {2, 80, 60, 16, 16, 30, 14, 12, {32, 37}, {25, 11}},
        // Unknown codes put both at the top-left corner.
        {4, 80, 30, 16, 16, 40, 15, 12, {0, 0}, {0, 0}},
        {-1, 80, 30, 16, 16, 40, 15, 12, {0, 0}, {0, 0}},
        // Narrower or lower than the icon: division truncates toward zero.
        {0, 10, 10, 16, 16, 13, 14, 12, {-3, -1}, {-1, -14}},
        {3, 40, 10, 16, 16, 30, 14, 15, {10, -2}, {36, -3}},
    };
    for (const Case& c : cases) {
        ButtonLayout l = ComputeButtonLayout(c.code, c.W, c.H, c.iw, c.ih, c.cx, c.cy, c.fh);
        SCOPED_TRACE(::testing::Message() << "code " << c.code << " W " << c.W << " H " << c.H);
        EXPECT_EQ(l.icon.x, c.icon.x);
        EXPECT_EQ(l.icon.y, c.icon.y);
        EXPECT_EQ(l.caption.x, c.caption.x);
        EXPECT_EQ(l.caption.y, c.caption.y);
    }
}

TEST(ImageButtonState, FirstApplyingStateAndItsVisualStyleId) {
    struct Case {
        UINT itemState;
        bool hover;
        ButtonState state;
        int id;
    } cases[] = {
        {0, false, ButtonState::Normal, PBS_NORMAL},
        {0, true, ButtonState::Normal, PBS_HOT},
        {ODS_FOCUS, false, ButtonState::Focused, PBS_DEFAULTED},
        {ODS_FOCUS, true, ButtonState::Focused, PBS_HOT},
        {ODS_SELECTED, false, ButtonState::Pressed, PBS_PRESSED},
        {ODS_SELECTED | ODS_FOCUS | ODS_DISABLED, true, ButtonState::Pressed, PBS_PRESSED},
        {ODS_FOCUS | ODS_DISABLED, false, ButtonState::Focused, PBS_DEFAULTED},
        {ODS_DISABLED, false, ButtonState::Disabled, PBS_DISABLED},
        {ODS_DISABLED, true, ButtonState::Disabled, PBS_DISABLED},
        {ODS_CHECKED | ODS_HOTLIGHT, false, ButtonState::Normal, PBS_NORMAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "item state " << c.itemState << " hover " << c.hover);
        ButtonState s = ChooseButtonState(c.itemState);
        EXPECT_EQ(s, c.state);
        EXPECT_EQ(ThemeStateId(s, c.hover), c.id);
    }
}

// ---- Creation, subclass and its end ------------------------------------------

TEST_F(ImageButtonTest, CreatesSubclassedOwnerDrawButtonWithItsRecord) {
    gui::unique_hicon icon = SolidIcon(16, RGB(255, 0, 0));
    WNDPROC classProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(
        Track(CreateWindowExW(0, L"Button", L"", WS_CHILD, 0, 0, 1, 1, gui::MainWindow(), nullptr,
                            nullptr, nullptr)),
        GWLP_WNDPROC));
    HWND b = Button(11, 100, 30, L"Enregistrer", {icon.get(), 16, 16}, kIconLeft);
    ASSERT_NE(b, nullptr);

    LONG style = GetWindowLongW(b, GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    LONG wanted = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(GetWindowLongW(b, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
    EXPECT_EQ(GetParent(b), gui::MainWindow());
    EXPECT_EQ(GetDlgCtrlID(b), 11);
    EXPECT_EQ(ButtonCaption(b), L"Enregistrer");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(b, WM_GETFONT, 0, 0)), gui::MessageFont());
    EXPECT_EQ(gui::Control(11), b);

    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(b, GWLP_WNDPROC)), ImageTextButtonProc);
    ImageTextButtonRecord* r = RecordOf(b);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->id, 11);
    EXPECT_EQ(r->image.handle, icon.get());
    EXPECT_EQ(r->image.width, 16);
    EXPECT_EQ(r->alignment, kIconLeft);
    EXPECT_EQ(r->hover, 0);
    EXPECT_EQ(r->previousProc, classProc);
}

TEST_F(ImageButtonTest, DestroyPutsTheOldProcedureBackAndDropsTheRecord) {
    HWND b = Button(12, 90, 30, L"Effacer", {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    WNDPROC original = RecordOf(b)->previousProc;
    WatchButton(b);
    DestroyWindow(b);
    ASSERT_TRUE(g_watch.destroyChecked);
    EXPECT_EQ(g_watch.propertyAfterDestroy, nullptr);
    EXPECT_EQ(g_watch.procAfterDestroy, original);
    EXPECT_EQ(gui::Control(12), nullptr);
}

TEST_F(ImageButtonTest, WindowWithoutRecordGetsNothingFromTheProcedure) {
    HWND plain = Track(CreateWindowExW(0, L"Button", L"x", WS_CHILD, 0, 0, 10, 10, gui::MainWindow(),
                                     nullptr, nullptr, nullptr));
    EXPECT_EQ(ImageTextButtonProc(plain, WM_GETTEXTLENGTH, 0, 0), 0);
}

// ---- Hover and theme changes -------------------------------------------------

TEST_F(ImageButtonTest, HoverRepaintsOnceHotAndLeavingRepaintsWithErase) {
    UseFakeTheme();
    HWND b = Button(13, 80, 30, L"Ouvrir", {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    WatchButton(b);
    g_calls.clear();
    auto draws = [] {
        std::vector<int> states;
        for (const ThemeCall& c : g_calls)
            if (c.name == "draw") states.push_back(c.state);
        return states;
    };

    SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(RecordOf(b)->hover, 1);
    UpdateWindow(b);
    EXPECT_EQ(draws(), std::vector<int>{PBS_HOT});
    EXPECT_EQ(g_watch.erases, 0);

    SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(RecordOf(b)->hover, 1);
    UpdateWindow(b);
    EXPECT_EQ(draws().size(), 1u) << "a second move must not repaint";

    SendMessageW(b, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(RecordOf(b)->hover, 0);
    UpdateWindow(b);
    EXPECT_EQ(draws(), (std::vector<int>{PBS_HOT, PBS_NORMAL}));
    EXPECT_EQ(g_watch.erases, 1);

    SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(RecordOf(b)->hover, 1) << "the next visit arms hover again";
}

TEST_F(ImageButtonTest, ThemeChangeRepaintsWithoutErasing) {
    UseFakeTheme();
    HWND b = Button(14, 90, 30, L"Fermer", {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    WatchButton(b);
    g_calls.clear();
    for (UINT message : {WM_THEMECHANGED, WM_SYSCOLORCHANGE}) {
        SendMessageW(b, message, 0, 0);
        RECT pending{};
        EXPECT_TRUE(GetUpdateRect(b, &pending, FALSE));
        EXPECT_EQ(pending.right, 90);
        UpdateWindow(b);
    }
    EXPECT_EQ(g_watch.erases, 0);
    // This test program carries no manifest, so detection leaves the table alone.
    EXPECT_EQ(Theme().functions.drawThemeBackground, FakeDraw);
    int drawn = 0;
    for (const ThemeCall& c : g_calls) drawn += c.name == "draw";
    EXPECT_EQ(drawn, 2);
}

// ---- Painting ------------------------------------------------------------------

TEST_F(ImageButtonTest, ThemedFaceCallsInOrderWithPushButtonPartAndState) {
    UseFakeTheme();
    HWND b = Button(15, 74, 30, L"", {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    struct Case {
        bool transparent;
        int hover;
        UINT itemState;
        int stateId;
    } cases[] = {
        {false, 0, 0, PBS_NORMAL},          {true, 0, 0, PBS_NORMAL},
        {false, 1, 0, PBS_HOT},             {true, 0, ODS_FOCUS, PBS_DEFAULTED},
        {false, 1, ODS_FOCUS, PBS_HOT},     {false, 1, ODS_SELECTED | ODS_FOCUS, PBS_PRESSED},
        {true, 0, ODS_DISABLED, PBS_DISABLED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "state id " << c.stateId << " transparent "
                                          << c.transparent);
        g_calls.clear();
        g_partiallyTransparent = c.transparent;
        RecordOf(b)->hover = c.hover;
        EXPECT_EQ(PaintDirectly(b, c.itemState), 1);

        std::vector<std::string> expected = {"open", "transparent", "draw", "close"};
        if (c.transparent) expected.insert(expected.begin() + 2, "parent");
        ASSERT_EQ(CallNames(), expected);
        EXPECT_EQ(g_calls[0].window, gui::MainWindow());
        EXPECT_EQ(g_openedClass, L"Button");
        EXPECT_EQ(g_calls[1].part, BP_PUSHBUTTON);
        EXPECT_EQ(g_calls[1].state, c.stateId);
        const ThemeCall& draw = g_calls[expected.size() - 2];
        EXPECT_EQ(draw.part, BP_PUSHBUTTON);
        EXPECT_EQ(draw.state, c.stateId);
        EXPECT_EQ(draw.rect.right, 74);
        EXPECT_EQ(draw.rect.bottom, 30);
        EXPECT_TRUE(draw.noClip);
        if (c.transparent) {
            EXPECT_EQ(g_calls[2].window, b);
            EXPECT_EQ(g_calls[2].rect.right, 74);
        }
        // The face went onto the button itself.
        EXPECT_EQ(PixelAt(b, 37, 1), kThemedColour);
    }
}

TEST_F(ImageButtonTest, ClassicLookWhenStyleOffOrAnyPaintingFunctionMissing) {
    HWND b = Button(16, 100, 30, L"", {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    struct Case {
        int active;
        void (*damage)(ThemeFunctions&);
    } cases[] = {
        {0, [](ThemeFunctions&) {}},
        {1, [](ThemeFunctions& f) { f.openThemeData = nullptr; }},
        {1, [](ThemeFunctions& f) { f.isThemeBackgroundPartiallyTransparent = nullptr; }},
        {1, [](ThemeFunctions& f) { f.drawThemeParentBackground = nullptr; }},
        {1, [](ThemeFunctions& f) { f.drawThemeBackground = nullptr; }},
        {1, [](ThemeFunctions& f) { f.closeThemeData = nullptr; }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n++);
        Theme().functions = FakeThemeTable();
        c.damage(Theme().functions);
        Theme().active = c.active;
        g_calls.clear();
        PaintDirectly(b, 0);
        EXPECT_TRUE(g_calls.empty());
        EXPECT_EQ(PixelAt(b, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(PixelAt(b, 99, 29), GetSysColor(COLOR_WINDOWFRAME));
    }
}

TEST_F(ImageButtonTest, ClassicFacePaintsTheLinesAndFillOfEachState) {
    // 20x14, no icon, no caption: only the face is painted.
    HWND b = Button(10, 20, 14, L"", {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    const COLORREF hl = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW),
                   fr = GetSysColor(COLOR_WINDOWFRAME), face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(hl, sh);
    ASSERT_NE(sh, fr);
    struct Probe {
        int x, y;
        COLORREF colour;
    };
    struct Case {
        UINT itemState;
        std::vector<Probe> probes;
    } cases[] = {
        {0,
         {{0, 0, hl}, {18, 0, hl}, {0, 12, hl}, {19, 0, fr}, {0, 13, fr}, {19, 13, fr},
          {18, 1, sh}, {1, 12, sh}, {18, 12, sh}, {1, 1, face}, {17, 11, face}}},
        {ODS_DISABLED, {{0, 0, hl}, {19, 0, fr}, {18, 12, sh}, {1, 1, face}, {17, 11, face}}},
        {ODS_SELECTED,
         {{0, 0, fr}, {19, 0, fr}, {0, 13, fr}, {19, 13, fr}, {0, 6, fr}, {19, 6, fr},
          {1, 1, sh}, {18, 1, sh}, {1, 11, sh}, {1, 12, sh}, {18, 12, sh}, {18, 2, sh},
          {2, 2, face}, {17, 11, face}}},
        {ODS_FOCUS,
         {{0, 0, fr}, {19, 0, fr}, {0, 12, fr}, {0, 13, fr}, {1, 12, fr}, {18, 12, fr},
          {18, 0, fr}, {18, 1, fr}, {1, 1, hl}, {17, 1, hl}, {1, 11, hl}, {2, 11, sh},
          {17, 11, sh}, {17, 2, sh}, {2, 2, face}, {16, 10, face}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "item state " << c.itemState);
        EXPECT_EQ(PaintDirectly(b, c.itemState), 1);
        for (const Probe& p : c.probes)
            EXPECT_EQ(PixelAt(b, p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
    }
}

TEST_F(ImageButtonTest, RealPaintPlacesIconAndCaptionAndSinksThemWhenPressed) {
    const COLORREF red = RGB(255, 0, 0);
    gui::unique_hicon icon = SolidIcon(16, red);
    HWND b = Button(10, 80, 30, L"H", {icon.get(), 16, 16}, kIconLeft);
    ASSERT_NE(b, nullptr);
    LOGFONTW lf{};
    GetObjectW(gui::MessageFont(), sizeof lf, &lf);
    int ty = (30 - std::abs(static_cast<int>(lf.lfHeight))) / 2 - 1;
    // Right of the icon, inside the focus rectangle: only the caption inks it.
    const RECT captionArea{30, 5, 74, 25};

    Repaint(b);
    EXPECT_EQ(PixelAt(b, 10, 8), red);
    EXPECT_EQ(PixelAt(b, 25, 23), red);
    EXPECT_NE(PixelAt(b, 9, 8), red);
    EXPECT_NE(PixelAt(b, 10, 7), red);
    EXPECT_NE(PixelAt(b, 26, 23), red);
    EXPECT_NE(PixelAt(b, 25, 24), red);
    Ink normal = InkIn(b, captionArea);
    Ink glyph = ReferenceInk(L"H");
    ASSERT_FALSE(IsRectEmpty(&normal.box));
    EXPECT_EQ(normal.box.left, 36 + glyph.box.left);  // caption origin at (36, ty)
    EXPECT_EQ(normal.box.top, ty + glyph.box.top);
    EXPECT_LT(normal.darkest, 100) << "black caption";
    EXPECT_LE(normal.brightest, Brightest(GetSysColor(COLOR_BTNFACE)));

    SendMessageW(b, BM_SETSTATE, TRUE, 0);
    Repaint(b);
    EXPECT_EQ(PixelAt(b, 11, 9), red);
    EXPECT_EQ(PixelAt(b, 26, 24), red);
    EXPECT_NE(PixelAt(b, 10, 8), red);
    Ink pressed = InkIn(b, captionArea);
    EXPECT_EQ(pressed.box.left, normal.box.left + 1);
    EXPECT_EQ(pressed.box.top, normal.box.top + 1);
    EXPECT_EQ(pressed.box.right, normal.box.right + 1);
    // The focus rectangle runs 4 pixels inside the edges, dotted.
    int dotted = 0, beside = 0;
    for (int y = 5; y < 25; ++y) {
        dotted += PixelAt(b, 4, y) != GetSysColor(COLOR_BTNFACE);
        beside += PixelAt(b, 3, y) != GetSysColor(COLOR_BTNFACE);
    }
    EXPECT_GT(dotted, 5);
    EXPECT_EQ(beside, 0);
    SendMessageW(b, BM_SETSTATE, FALSE, 0);

    // Disabled: greyed icon; the caption embossed, a light copy one pixel
    // down-right under the shadow-coloured one, nothing black.
    EnableWindow(b, FALSE);
    Repaint(b);
    int redLeft = 0;
    for (int y = 8; y < 24; ++y)
        for (int x = 10; x < 26; ++x) redLeft += PixelAt(b, x, y) == red;
    EXPECT_EQ(redLeft, 0);
    Ink disabled = InkIn(b, captionArea);
    EXPECT_EQ(disabled.box.left, normal.box.left);
    EXPECT_EQ(disabled.box.top, normal.box.top);
    EXPECT_EQ(disabled.box.right, normal.box.right + 1);
    EXPECT_EQ(disabled.box.bottom, normal.box.bottom + 1);
    EXPECT_EQ(disabled.darkest, Darkest(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_GT(disabled.brightest, Brightest(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(ImageButtonTest, EraserButtonShowsItsWholeImageAt10By4) {
    ImageCatalogue catalogue = LoadImageCatalogue();
    ASSERT_EQ(catalogue.clear.width, 24);
    HWND b = Button(12, 90, 30, L"", catalogue.clear.ref(), kIconLeft);
    ASSERT_NE(b, nullptr);
    Repaint(b);

    // The same icon drawn at its own size on the button face, for reference.
    gui::window_dc screen(b);
    HDC mem = CreateCompatibleDC(screen.get());
    gui::unique_gdi<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), 24, 24));
    {
        gui::select_object selected(mem, bitmap.get());
        gui::unique_gdi<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        RECT all{0, 0, 24, 24};
        FillRect(mem, &all, face.get());
        DrawIconEx(mem, 0, 0, catalogue.clear.handle.get(), 24, 24, 0, nullptr, DI_NORMAL);
        int differing = 0, outsideSmallSquare = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                COLORREF want = GetPixel(mem, x, y);
                differing += GetPixel(screen.get(), 10 + x, 4 + y) != want;
                outsideSmallSquare += (x >= 16 || y >= 16) && want != GetSysColor(COLOR_BTNFACE);
            }
        EXPECT_EQ(differing, 0);
        EXPECT_GT(outsideSmallSquare, 0) << "the eraser fills more than 16x16";
    }
    DeleteDC(mem);
}

TEST_F(ImageButtonTest, UnknownCodePaintsIconAtTheTopLeftCorner) {
    const COLORREF blue = RGB(0, 0, 255);
    gui::unique_hicon icon = SolidIcon(16, blue);
    HWND b = Button(10, 80, 30, L"", {icon.get(), 16, 16}, 9);
    ASSERT_NE(b, nullptr);
    Repaint(b);
    EXPECT_EQ(PixelAt(b, 0, 0), blue);
    EXPECT_EQ(PixelAt(b, 15, 15), blue);
    EXPECT_NE(PixelAt(b, 16, 15), blue);
}

TEST_F(ImageButtonTest, CaptionIsCutAt1023Characters) {
    std::wstring longCaption(1500, L'a');
    longCaption[1022] = L'Z';
    longCaption[1023] = L'Y';
    HWND b = Button(10, 80, 30, longCaption, {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    std::wstring painted = ButtonCaption(b);
    EXPECT_EQ(painted.size(), 1023u);
    EXPECT_EQ(painted.back(), L'Z');
    EXPECT_EQ(PaintDirectly(b, 0), 1);
}

TEST_F(ImageButtonTest, OnlyDrawRequestsOfRecordedButtonsAreHandled) {
    HWND b = Button(10, 80, 30, L"Quitter", {}, kIconLeft);
    HWND plain = Track(CreateWindowExW(0, L"Button", L"x", WS_CHILD | BS_OWNERDRAW, 0, 0, 10, 10,
                                     gui::MainWindow(), nullptr, nullptr, nullptr));
    DRAWITEMSTRUCT forPlain{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, plain, nullptr, {0, 0, 10, 10}, 0};
    DRAWITEMSTRUCT forMenu{ODT_MENU, 0, 5, ODA_DRAWENTIRE, 0, nullptr, nullptr, {0, 0, 10, 10}, 0};
    const LRESULT kNot = -7;
    EXPECT_EQ(DrawImageTextButton(gui::MainWindow(), WM_DRAWITEM, 0,
                                  reinterpret_cast<LPARAM>(&forPlain), kNot), kNot);
    EXPECT_EQ(DrawImageTextButton(gui::MainWindow(), WM_DRAWITEM, 0,
                                  reinterpret_cast<LPARAM>(&forMenu), kNot), kNot);
    EXPECT_EQ(DrawImageTextButton(gui::MainWindow(), WM_PAINT, 0, 0, kNot), kNot);
    EXPECT_EQ(DrawImageTextButton(gui::MainWindow(), WM_DRAWITEM, 0, 0, kNot), kNot);
    // A recorded button with another control type: answered, nothing painted.
    UseFakeTheme();
    g_calls.clear();
    EXPECT_EQ(PaintDirectly(b, 0, ODT_STATIC), 1);
    EXPECT_TRUE(g_calls.empty());
}

// ---- Balloon tooltip -----------------------------------------------------------

namespace {
// What AttachBalloonTip says to its tooltip, seen by a thread hook (the
// tooltip gives no title back).
struct TipMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    TOOLINFOW tool;      // TTM_ADDTOOLW only
    std::wstring text;   // tool text or title
};
std::vector<TipMessage> g_tipMessages;

LRESULT CALLBACK RecordTipMessages(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message > WM_USER && m->message < WM_USER + 100) {
        wchar_t cls[32] = {};
        GetClassNameW(m->hwnd, cls, 32);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) {
            TipMessage r{m->message, m->wParam, m->lParam, {}, {}};
            if (m->message == TTM_ADDTOOLW) {
                r.tool = *reinterpret_cast<const TOOLINFOW*>(m->lParam);
                r.text = r.tool.lpszText;
            }
            if (m->message == TTM_SETTITLEW) r.text = reinterpret_cast<const wchar_t*>(m->lParam);
            g_tipMessages.push_back(r);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND AttachRecorded(int id, const std::wstring& title, const std::wstring& text, HICON icon) {
    g_tipMessages.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordTipMessages, nullptr, GetCurrentThreadId());
    HWND tip = AttachBalloonTip(nullptr, id, title, text, icon);
    UnhookWindowsHookEx(hook);
    return tip;
}
}  // namespace

TEST_F(ImageButtonTest, BalloonTipCarriesTitleIconTextAndWrapWidth) {
    gui::unique_hicon icon = SolidIcon(16, RGB(0, 128, 0));
    HWND b = Button(16, 100, 30, L"A propos", {icon.get(), 16, 16}, kIconLeft);
    ASSERT_NE(b, nullptr);
    const std::wstring text = L"A propos de Tunerolle.";
    HWND tip = Track(AttachRecorded(16, L"A propos", text, icon.get()));
    ASSERT_NE(tip, nullptr);

    wchar_t cls[64] = {};
    GetClassNameW(tip, cls, 64);
    EXPECT_EQ(lstrcmpiW(cls, TOOLTIPS_CLASSW), 0);
    LONG style = GetWindowLongW(tip, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & (TTS_BALLOON | TTS_NOPREFIX), TTS_BALLOON | TTS_NOPREFIX);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), nullptr);

    // In this order: colours, wrap width, the tool, the title.
    ASSERT_EQ(g_tipMessages.size(), 5u);
    EXPECT_EQ(g_tipMessages[0].message, UINT(TTM_SETTIPTEXTCOLOR));
    EXPECT_EQ(COLORREF(g_tipMessages[0].wParam), GetSysColor(COLOR_INFOTEXT));
    EXPECT_EQ(g_tipMessages[1].message, UINT(TTM_SETTIPBKCOLOR));
    EXPECT_EQ(COLORREF(g_tipMessages[1].wParam), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(g_tipMessages[2].message, UINT(TTM_SETMAXTIPWIDTH));
    EXPECT_EQ(g_tipMessages[2].lParam, 200);
    const TipMessage& add = g_tipMessages[3];
    EXPECT_EQ(add.message, UINT(TTM_ADDTOOLW));
    EXPECT_EQ(add.tool.cbSize, 44u);
    EXPECT_EQ(add.tool.uFlags, UINT(TTF_IDISHWND | TTF_SUBCLASS));
    EXPECT_EQ(add.tool.hwnd, b);
    EXPECT_EQ(add.tool.uId, reinterpret_cast<UINT_PTR>(b));
    EXPECT_TRUE(IsRectEmpty(&add.tool.rect));
    EXPECT_EQ(add.tool.hinst, nullptr);
    EXPECT_EQ(add.text, text);
    const TipMessage& title = g_tipMessages[4];
    EXPECT_EQ(title.message, UINT(TTM_SETTITLEW));
    EXPECT_EQ(reinterpret_cast<HICON>(title.wParam), icon.get());
    EXPECT_EQ(title.text, L"A propos");

    // The tooltip took all of it.
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 200);
    EXPECT_EQ(COLORREF(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), GetSysColor(COLOR_INFOBK));
    ASSERT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t got[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = got;
    ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(b));
    EXPECT_EQ(std::wstring(got), text);
}

TEST_F(ImageButtonTest, BalloonTipWithoutTitleOrControl) {
    HWND b = Button(15, 74, 30, L"Aide", {}, kIconLeft);
    ASSERT_NE(b, nullptr);
    HWND tip = Track(AttachRecorded(15, L"", L"Ouvrir l'aide de Tunerolle.", nullptr));
    ASSERT_NE(tip, nullptr);
    ASSERT_FALSE(g_tipMessages.empty());
    for (const TipMessage& m : g_tipMessages) EXPECT_NE(m.message, UINT(TTM_SETTITLEW));
    EXPECT_EQ(g_tipMessages.back().message, UINT(TTM_ADDTOOLW));

    EXPECT_EQ(Track(AttachRecorded(99, L"T", L"texte", nullptr)), nullptr);
    EXPECT_TRUE(g_tipMessages.empty()) << "no tooltip for a control that does not exist";
}

// ---- Detection of the visual style ----------------------------------------------

TEST(ImageButtonTheme, DetectionNeedsXpOrLaterAndAManifest) {
    struct Case {
        bool known;
        DWORD major, minor;
        bool manifest, allowed;
    } cases[] = {
        {true, 5, 0, true, false}, {true, 5, 1, true, true},   {true, 6, 0, true, true},
        {true, 10, 0, true, true}, {false, 0, 0, true, true},  {true, 4, 90, true, false},
        {true, 10, 0, false, false}, {false, 0, 0, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThemeDetectionAllowed(c.known, c.major, c.minor, c.manifest), c.allowed)
            << c.major << "." << c.minor << " known " << c.known << " manifest " << c.manifest;
}

TEST(ImageButtonTheme, WithoutManifestDetectionChangesNothing) {
    ASSERT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr)
        << "this test program is expected to carry no manifest";
    ThemeFunctions saved = Theme().functions;
    int savedActive = Theme().active;
    Theme().functions = FakeThemeTable();
    Theme().active = 7;
    LoadThemeFunctions();
    EXPECT_EQ(Theme().functions.drawThemeBackground, FakeDraw);
    EXPECT_EQ(Theme().active, 7);
    Theme().functions = saved;
    Theme().active = savedActive;
}

TEST(ImageButtonTheme, ReloadResolvesTheSixFunctionsAndReadsTheFlag) {
    ThemeFunctions saved = Theme().functions;
    int savedActive = Theme().active;
    for (int run = 0; run < 2; ++run) {  // the second run releases the first library
        SCOPED_TRACE(run);
        Theme().functions = FakeThemeTable();
        ReloadThemeLibrary();
        ASSERT_TRUE(Theme().library);
        HMODULE lib = Theme().library.get();
        const ThemeFunctions& f = Theme().functions;
        auto proc = [lib](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(lib, name));
        };
        EXPECT_EQ(reinterpret_cast<void*>(f.isThemeActive), proc("IsThemeActive"));
        EXPECT_EQ(reinterpret_cast<void*>(f.openThemeData), proc("OpenThemeData"));
        EXPECT_EQ(reinterpret_cast<void*>(f.isThemeBackgroundPartiallyTransparent),
                  proc("IsThemeBackgroundPartiallyTransparent"));
        EXPECT_EQ(reinterpret_cast<void*>(f.drawThemeParentBackground),
                  proc("DrawThemeParentBackground"));
        EXPECT_EQ(reinterpret_cast<void*>(f.drawThemeBackground), proc("DrawThemeBackground"));
        EXPECT_EQ(reinterpret_cast<void*>(f.closeThemeData), proc("CloseThemeData"));
        ASSERT_NE(f.isThemeActive, nullptr);
        EXPECT_EQ(Theme().active, f.isThemeActive() ? 1 : 0);
    }
    Theme().library.reset();
    Theme().functions = saved;
    Theme().active = savedActive;
}
