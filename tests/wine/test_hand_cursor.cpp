// The hand cursor subclass on a real window of our own class, whose procedure
// records what reaches it.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls.h"
#include "hand_cursor.h"

namespace {

constexpr int kControl = 40;
constexpr UINT kProbe = WM_APP + 7;

struct Seen {
    int probes = 0;
    bool propsAtDestroy = false;     // both properties present at WM_DESTROY
    bool propsAtNcDestroy = false;   // any property still present at WM_NCDESTROY
} g_seen;

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kProbe:
        ++g_seen.probes;
        return 0x1234;
    case WM_DESTROY:
        g_seen.propsAtDestroy = GetPropW(window, L"oldproc") && GetPropW(window, L"cursor");
        break;
    case WM_NCDESTROY:
        g_seen.propsAtNcDestroy = GetPropW(window, L"oldproc") || GetPropW(window, L"cursor");
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class HandCursor : public testing::Test {
protected:
    void SetUp() override {
        g_seen = {};
        WNDCLASSW wc{};
        wc.lpfnWndProc = ControlProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HandCursorProbe";
        RegisterClassW(&wc);  // fails harmlessly when already there
        control_ = CreateWindowExW(0, L"HandCursorProbe", nullptr, WS_POPUP, 0, 0, 50, 50, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control_, nullptr);
        gui::RegisterControl(kControl, control_);
        arrow_ = LoadCursorW(nullptr, IDC_ARROW);
        hand_ = LoadCursorW(nullptr, IDC_HAND);
        cross_ = LoadCursorW(nullptr, IDC_CROSS);
    }
    void TearDown() override {
        if (IsWindow(control_)) DestroyWindow(control_);
        gui::UnregisterControl(kControl);
    }
    WNDPROC Procedure() const {
        return reinterpret_cast<WNDPROC>(static_cast<LONG_PTR>(GetWindowLongW(control_, GWL_WNDPROC)));
    }

    HWND control_ = nullptr;
    HCURSOR arrow_ = nullptr, hand_ = nullptr, cross_ = nullptr;
};

TEST_F(HandCursor, SecondInstallationReplacesTheCursorAndChainsOnce) {
    SetCursor(arrow_);
    EXPECT_EQ(radio::InstallHandCursor(kControl, hand_), 0);
    EXPECT_EQ(GetCursor(), hand_) << "shown at once";
    EXPECT_EQ(radio::InstallHandCursor(kControl, cross_), 0);
    EXPECT_EQ(GetCursor(), cross_);

    EXPECT_EQ(Procedure(), &radio::HandCursorProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropW(control_, L"oldproc")), &ControlProc);
    EXPECT_EQ(static_cast<HCURSOR>(GetPropW(control_, L"cursor")), cross_);
    // Every other message reaches the control's own procedure exactly once.
    EXPECT_EQ(SendMessageW(control_, kProbe, 0, 0), 0x1234);
    EXPECT_EQ(g_seen.probes, 1);
}

TEST_F(HandCursor, SetCursorMessageShowsTheCursorWhateverTheHitTest) {
    radio::InstallHandCursor(kControl, hand_);
    for (int hit : {HTCLIENT, HTNOWHERE, HTCAPTION, HTBORDER, HTERROR, HTTRANSPARENT}) {
        SetCursor(arrow_);
        EXPECT_EQ(SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_),
                               MAKELPARAM(hit, WM_MOUSEMOVE)), 0)
            << hit;
        EXPECT_EQ(GetCursor(), hand_) << hit;
    }
}

TEST_F(HandCursor, PropertiesAreGoneWhenTheControlIsDestroyed) {
    radio::InstallHandCursor(kControl, hand_);
    DestroyWindow(control_);
    EXPECT_TRUE(g_seen.propsAtDestroy);
    EXPECT_FALSE(g_seen.propsAtNcDestroy);
}

TEST_F(HandCursor, UnknownControlChangesNothing) {
    SetCursor(arrow_);
    EXPECT_EQ(radio::InstallHandCursor(999, hand_), 0);
    EXPECT_EQ(GetCursor(), arrow_);
    EXPECT_EQ(Procedure(), &ControlProc);
}

}  // namespace
