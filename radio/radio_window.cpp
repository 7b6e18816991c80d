#include "radio_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "frame_policy.h"
#include "hand_cursor.h"
#include "handles.h"
#include "message_box.h"
#include "pictures.h"  // generated from res/
#include "picture.h"
#include "png_image.h"
#include "progress.h"
#include "radio_texts.h"
#include "tooltip.h"
#include "web_view.h"
#include "window.h"

namespace radio {
namespace {
constexpr int kClientWidth = 370;
constexpr int kClientHeight = 87;
constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kIconGroup = 1;

struct Radio {
    std::wstring version;
    gui::unique_gdi<HBITMAP> aboutBitmap;
    gui::unique_gdi<HBITMAP> stationBitmap;
    gui::unique_hicon icon;
    gui::unique_hicon smallIcon;
    gui::unique_hcursor handCursor;
    HWND window = nullptr;
    std::wstring pageText;
    int pageLoads = 0;
    bool comStarted = false;
};

Radio& State() {
    static Radio radio;
    return radio;
}

AddressOpener g_openAddress = &OpenWithShell;

HICON LoadProgramIcon(int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconGroup),
                                         IMAGE_ICON, GetSystemMetrics(metricX),
                                         GetSystemMetrics(metricY), 0));
}

// The window has no sizing border and no maximize box; it refuses the
// matching system commands too, whoever sends them.
LRESULT RadioHook(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT notHandled) {
    if (message == WM_SYSCOMMAND) {
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_SIZE || command == SC_MAXIMIZE) return 0;
    }
    return notHandled;
}

void ShowAbout() {
    gui::ShowMessage(State().window, std::wstring(kAboutCaption), BuildAboutText(State().version),
                     MB_OK | MB_ICONINFORMATION);
}

void AskForSite() {
    const int answer = gui::ShowMessage(State().window, std::wstring(kSitePromptCaption),
                                        std::wstring(kSitePromptText), MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
        LoadStreamPage();
        return;
    }
    if (!g_openAddress(SiteAddress())) {
        gui::ShowMessage(State().window, std::wstring(kSiteFailureCaption), SiteFailureText(),
                         MB_OK | MB_ICONWARNING);
    }
}
}  // namespace

bool OpenWithShell(const std::wstring& address) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = address.c_str();
    info.nShow = SW_SHOWNORMAL;
    const bool opened = ShellExecuteExW(&info) != FALSE;
    gui::unique_handle process(info.hProcess);  // not waited for
    return opened;
}

void SetAddressOpener(AddressOpener opener) { g_openAddress = opener ? opener : &OpenWithShell; }

HWND RadioWindow() { return State().window; }
int StreamPageLoads() { return State().pageLoads; }

void LoadStreamPage() {
    Radio& radio = State();
    radio.pageText = BuildStreamPage();
    gui::LoadHtml(kWebView, radio.pageText);
    ++radio.pageLoads;
}

bool StartRadio() {
    Radio& radio = State();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // Apartment-threaded: the web view's OLE needs it on this thread later.
    radio.comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

    radio.version = kVersionText;
    radio.aboutBitmap = gui::DecodePng(about_png, about_png_size);
    radio.stationBitmap = gui::DecodePng(station_png, station_png_size);

    radio.icon.reset(LoadProgramIcon(SM_CXICON, SM_CYICON));
    radio.smallIcon.reset(LoadProgramIcon(SM_CXSMICON, SM_CYSMICON));
    gui::SetMessageHook(RadioHook);
    gui::WindowSpec settings;
    settings.title = kWindowTitle;
    settings.clientWidth = kClientWidth;
    settings.clientHeight = kClientHeight;
    settings.style = kWindowStyle;
    settings.icon = radio.icon.get();
    settings.smallIcon = radio.smallIcon.get();
    settings.background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    radio.window = gui::OpenMainWindow(settings);
    if (!radio.window) return false;
    gui::SetWindowColour(radio.window, RGB(0, 0, 0));

    gui::CreatePicture(radio.window, kAboutPicture, 0, 0, 73, 80, radio.aboutBitmap.get());
    gui::SetControlTooltip(kAboutPicture, std::wstring(kAboutTooltip));
    gui::CreateWebView(radio.window, kWebView, 80, 0, 170, 80, L"");
    gui::CreatePicture(radio.window, kStationPicture, 250, 0, 120, 80, radio.stationBitmap.get());
    gui::SetControlTooltip(kStationPicture, StationTooltip());
    gui::CreateProgressBar(radio.window, kMarqueeBar, 0, 80, 370, 7, 0, 100);
    gui::SetProgressUndetermined(kMarqueeBar);

    LoadStreamPage();
    SetFrameRenderingDisabled(radio.window, 1);
    radio.handCursor.reset(LoadCursorW(nullptr, IDC_HAND));
    InstallHandCursor(kAboutPicture, radio.handCursor.get());
    InstallHandCursor(kStationPicture, radio.handCursor.get());
    return true;
}

bool HandleRadioEvent(const gui::Event& event) {
    if (event.kind == gui::EventKind::Control) {
        if (event.id == kAboutPicture) ShowAbout();
        else if (event.id == kStationPicture) AskForSite();
    }
    return event.kind != gui::EventKind::Close;
}

void StopRadio() {
    Radio& radio = State();
    radio.handCursor.reset();
    gui::CloseMainWindow();
    radio.window = nullptr;
    gui::ShutdownWebViews();
    gui::SetMessageHook(nullptr);
    gui::ClearEvents();
    radio.aboutBitmap.reset();
    radio.stationBitmap.reset();
    radio.icon.reset();
    radio.smallIcon.reset();
    radio.pageText.clear();
    radio.pageLoads = 0;
    if (radio.comStarted) CoUninitialize();
    radio.comStarted = false;
}

int RunRadio() {
    if (StartRadio()) {
        while (HandleRadioEvent(gui::WaitEvent())) {
        }
    }
    StopRadio();
    return 0;
}

}  // namespace radio
