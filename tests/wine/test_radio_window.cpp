// The radio's building blocks and its event handling, in-process under Wine.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <zlib.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "controls.h"
#include "events.h"
#include "message_box.h"
#include "picture.h"
#include "pictures.h"  // generated from res/
#include "png_image.h"
#include "radio_texts.h"
#include "radio_window.h"
#include "tooltip.h"
#include "web_view.h"
#include "window.h"

namespace {

struct Size {
    int width, height, bits;
};

Size BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0, 0};
    return {info.bmWidth, info.bmHeight, info.bmBitsPixel};
}

std::vector<unsigned char> ReadAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// --- pictures ---------------------------------------------------------------

TEST(Png, EmbeddedPicturesDecodeToTheirSizes) {
    auto about = gui::DecodePng(radio::about_png, radio::about_png_size);
    auto station = gui::DecodePng(radio::station_png, radio::station_png_size);
    const Size a = BitmapSize(about.get()), s = BitmapSize(station.get());
    EXPECT_EQ(a.width, 73);
    EXPECT_EQ(a.height, 80);
    EXPECT_EQ(s.width, 120);
    EXPECT_EQ(s.height, 80);
    EXPECT_EQ(a.bits, 32);
    EXPECT_EQ(s.bits, 32);
}

class PngFile : public testing::Test {
protected:
    static constexpr int kWidth = 5, kHeight = 3;
    void SetUp() override {
        for (int i = 0; i < kWidth * kHeight; ++i) {
            // B, G, R and a fourth byte the file does not keep
            pixels_.insert(pixels_.end(), {static_cast<unsigned char>(i * 17), static_cast<unsigned char>(255 - i),
                                           static_cast<unsigned char>(i * 3), 0x5A});
        }
        path_ = TempFile(L"radio-png-test.png");
        ASSERT_TRUE(gui::SavePng(path_, kWidth, kHeight, pixels_.data()));
        bytes_ = ReadAll(path_);
        ASSERT_GT(bytes_.size(), 8u);
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }

    std::vector<unsigned char> pixels_;
    std::vector<unsigned char> bytes_;
    std::wstring path_;
};

TEST_F(PngFile, RoundTripKeepsEveryPixelTopDown) {
    auto bitmap = gui::DecodePng(bytes_.data(), bytes_.size());
    ASSERT_TRUE(bitmap);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap.get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBmih.biWidth, kWidth);
    EXPECT_EQ(dib.dsBm.bmHeight, kHeight);
    // Rows differ, so matching pixel by pixel from the start of the bits
    // proves the first row is the top one.
    const auto* bits = static_cast<const unsigned char*>(dib.dsBm.bmBits);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        EXPECT_EQ(bits[i * 4 + 0], pixels_[i * 4 + 0]) << i;
        EXPECT_EQ(bits[i * 4 + 1], pixels_[i * 4 + 1]) << i;
        EXPECT_EQ(bits[i * 4 + 2], pixels_[i * 4 + 2]) << i;
        EXPECT_EQ(bits[i * 4 + 3], 0xFF) << i;  // opaque
    }
}

TEST_F(PngFile, DamagedDataGivesNoBitmap) {
    for (size_t length = 0; length < bytes_.size(); ++length) {
        EXPECT_FALSE(gui::DecodePng(bytes_.data(), length)) << "cut at " << length;
    }
    EXPECT_FALSE(gui::DecodePng(nullptr, 100));

    std::vector<unsigned char> badSignature = bytes_;
    badSignature[1] = 'J';
    EXPECT_FALSE(gui::DecodePng(badSignature.data(), badSignature.size()));

    std::vector<unsigned char> badData = bytes_;
    badData[bytes_.size() - 20] ^= 0xFF;  // inside the image data: its checksum no longer matches
    EXPECT_FALSE(gui::DecodePng(badData.data(), badData.size()));

    // A header claiming a huge picture (with a valid checksum) is refused
    // before anything is allocated.
    std::vector<unsigned char> huge = bytes_;
    const unsigned char width[4] = {0x00, 0x01, 0x00, 0x00};  // 65536 pixels wide
    std::copy(width, width + 4, huge.begin() + 16);
    const uLong crc = crc32(0, huge.data() + 12, 17);  // chunk type and data of IHDR
    for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    EXPECT_FALSE(gui::DecodePng(huge.data(), huge.size()));
}

// --- a test window for single controls -------------------------------------

class InWindow : public testing::Test {
protected:
    void SetUp() override {
        gui::ClearEvents();
        gui::WindowSpec settings;
        settings.title = L"controls under test";
        settings.clientWidth = 400;
        settings.clientHeight = 120;
        window_ = gui::OpenMainWindow(settings);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        gui::CloseMainWindow();
        gui::ShutdownWebViews();
        gui::ClearEvents();
    }
    HWND window_ = nullptr;
};

TEST_F(InWindow, PictureRaisesOneEventPerMouseGesture) {
    gui::unique_gdi<HBITMAP> bitmap = gui::DecodePng(radio::station_png, radio::station_png_size);
    HWND picture = gui::CreatePicture(window_, 7, 10, 5, 30, 30, bitmap.get());
    ASSERT_NE(picture, nullptr);
    RECT r;
    GetClientRect(picture, &r);
    EXPECT_EQ(r.right, 120) << "takes the bitmap's size";
    EXPECT_EQ(r.bottom, 80);

    const struct {
        UINT message;
        int type;  // -1: no event
    } gestures[] = {
        {WM_LBUTTONDOWN, gui::kLeftClick},  // the button is not really down: no drag
        {WM_LBUTTONUP, -1},
        {WM_LBUTTONDBLCLK, gui::kLeftDoubleClick},
        {WM_RBUTTONDOWN, -1},
        {WM_RBUTTONUP, gui::kRightClick},
        {WM_RBUTTONDBLCLK, gui::kRightDoubleClick},
    };
    for (const auto& g : gestures) {
        SendMessageW(picture, g.message, 0, MAKELPARAM(5, 5));
        gui::PumpPendingMessages();  // a static's own notification would arrive now
        const gui::Event e = gui::TakeEvent();
        if (g.type < 0) {
            EXPECT_EQ(e.kind, gui::EventKind::None) << g.message;
        } else {
            EXPECT_EQ(e, (gui::Event{gui::EventKind::Control, 7, g.type})) << g.message;
        }
        EXPECT_EQ(gui::TakeEvent().kind, gui::EventKind::None) << "one event only, " << g.message;
    }
}

TEST_F(InWindow, PictureWithoutBitmapKeepsItsPlaceAndEvents) {
    HWND picture = gui::CreatePicture(window_, 8, 0, 0, 73, 80, nullptr);
    ASSERT_NE(picture, nullptr);
    RECT r;
    GetClientRect(picture, &r);
    EXPECT_EQ(r.right, 73);
    EXPECT_EQ(r.bottom, 80);
    SendMessageW(picture, WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(gui::TakeEvent(), (gui::Event{gui::EventKind::Control, 8, gui::kRightClick}));
}

TEST_F(InWindow, WebViewCreationEndsOnAnEventAndLoadingWithoutDocumentIsQuiet) {
    HWND view = gui::CreateWebView(window_, 2, 80, 0, 170, 80, L"");
    ASSERT_NE(view, nullptr);
    const gui::WebViewState state = gui::GetWebViewState(2);
    ASSERT_TRUE(state.browser);
    // The wait ended because the engine answered, not on the time limit.
    EXPECT_TRUE(state.documentComplete || state.navigateError);
    EXPECT_FALSE(state.timedOut);
    RECT r;
    GetWindowRect(view, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.right - r.left, 170);
    EXPECT_EQ(r.bottom - r.top, 80);

    if (!state.document) {
        // Without an engine nothing of the browser covers the black view.
        for (HWND child = GetWindow(view, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            EXPECT_FALSE(IsWindowVisible(child));
        }
    }
    gui::LoadHtml(2, radio::BuildStreamPage());
    gui::LoadHtml(99, L"<p>no such view</p>");
    EXPECT_EQ(gui::GetWebViewState(2).document, state.document);

    gui::ShutdownWebViews();
    EXPECT_FALSE(IsWindow(view));
    EXPECT_FALSE(gui::GetWebViewState(2).browser);
}

// --- the radio program, in-process -----------------------------------------

std::vector<gui::MessageRecord> g_boxes;
std::deque<int> g_answers;
std::vector<std::wstring> g_opened;
bool g_shellSucceeds = false;

bool FakeOpen(const std::wstring& address) {
    g_opened.push_back(address);
    return g_shellSucceeds;
}

class Radio : public testing::Test {
protected:
    void SetUp() override {
        g_boxes.clear();
        g_answers.clear();
        g_opened.clear();
        g_shellSucceeds = false;
        gui::SetMessageResponder([](const gui::MessageRecord& box) {
            g_boxes.push_back(box);
            if (g_answers.empty()) return IDOK;
            const int answer = g_answers.front();
            g_answers.pop_front();
            return answer;
        });
        radio::SetAddressOpener(FakeOpen);
        ASSERT_TRUE(radio::StartRadio());
        gui::PumpPendingMessages();
        gui::ClearEvents();  // whatever start-up raised
    }
    void TearDown() override {
        radio::StopRadio();
        radio::SetAddressOpener(nullptr);
        gui::SetMessageResponder(nullptr);
    }
    static gui::Event Click(int id, int type = gui::kLeftClick) {
        return {gui::EventKind::Control, id, type};
    }
};

TEST_F(Radio, StartUpWiresControlsTipsAndCursor) {
    EXPECT_EQ(radio::StreamPageLoads(), 1);
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    HWND tips = gui::TooltipWindow(radio::RadioWindow());
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
    const struct {
        int id;
        std::wstring tip;
    } pictures[] = {{radio::kAboutPicture, L"A propos"}, {radio::kStationPicture, radio::StationTooltip()}};
    for (const auto& p : pictures) {
        HWND control = gui::Control(p.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetPropW(control, L"cursor"), hand) << p.id;
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = radio::RadioWindow();
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), p.tip);
    }
    EXPECT_NE(GetWindowLongW(gui::Control(radio::kMarqueeBar), GWL_STYLE) & PBS_MARQUEE, 0);
}

TEST_F(Radio, AnyEventOfTheAboutPictureShowsTheSameAboutBox) {
    for (int type : {gui::kLeftClick, gui::kRightClick, gui::kLeftDoubleClick, gui::kRightDoubleClick,
                     gui::kDragStart}) {
        EXPECT_TRUE(radio::HandleRadioEvent(Click(radio::kAboutPicture, type)));
    }
    ASSERT_EQ(g_boxes.size(), 5u);
    for (const auto& box : g_boxes) {
        EXPECT_EQ(box.owner, radio::RadioWindow());
        EXPECT_EQ(box.caption, L"A propos...");
        EXPECT_EQ(box.text, radio::BuildAboutText(radio::kVersionText));
        EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    }
}

TEST_F(Radio, SitePromptReloadsOnNoAndOpensTheSiteOnYes) {
    struct Case {
        int answer;
        bool shellSucceeds;
        size_t boxes;  // prompt, plus the failure box
        int loads;     // page loads added
        size_t opened;
    };
    const Case cases[] = {
        {IDNO, false, 1, 1, 0},
        {IDCANCEL, false, 1, 1, 0},  // anything but yes reloads
        {IDYES, true, 1, 0, 1},
        {IDYES, false, 2, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "answer " << c.answer << " shell " << c.shellSucceeds);
        g_boxes.clear();
        g_opened.clear();
        g_answers = {c.answer};
        g_shellSucceeds = c.shellSucceeds;
        const int loadsBefore = radio::StreamPageLoads();
        EXPECT_TRUE(radio::HandleRadioEvent(Click(radio::kStationPicture, gui::kRightClick)));
        ASSERT_EQ(g_boxes.size(), c.boxes);
        EXPECT_EQ(g_boxes[0].caption, L"Connexion Orvandel");
        EXPECT_EQ(g_boxes[0].text, L"Souhaitez-vous vous connecter au site web ? ");
        EXPECT_EQ(g_boxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        if (c.boxes == 2) {
            EXPECT_EQ(g_boxes[1].caption, L"Orvandel");
            EXPECT_EQ(g_boxes[1].text, radio::SiteFailureText());
            EXPECT_EQ(g_boxes[1].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
            EXPECT_EQ(g_boxes[1].owner, radio::RadioWindow());
        }
        EXPECT_EQ(radio::StreamPageLoads() - loadsBefore, c.loads);
        ASSERT_EQ(g_opened.size(), c.opened);
        if (c.opened) {
            EXPECT_EQ(g_opened[0], L"https://www.orvandel-radio.fr/");
        }
    }
}

TEST_F(Radio, OtherEventsChangeNothingAndCloseEndsTheLoop) {
    const gui::Event ignored[] = {Click(radio::kWebView, 113), Click(radio::kMarqueeBar), Click(55),
                                  {gui::EventKind::Menu, 1, 0}, {gui::EventKind::None, 0, 0}};
    for (const gui::Event& e : ignored) EXPECT_TRUE(radio::HandleRadioEvent(e));
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(radio::StreamPageLoads(), 1);
    EXPECT_FALSE(radio::HandleRadioEvent({gui::EventKind::Close, 0, 0}));
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(Radio, CloseBoxBecomesACloseRequestAndTheWindowStays) {
    SendMessageW(radio::RadioWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(radio::RadioWindow()));
    EXPECT_EQ(gui::TakeEvent().kind, gui::EventKind::Close);
}

}  // namespace
