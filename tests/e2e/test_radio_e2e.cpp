// The radio program, started for real under Wine and worked from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "driver.h"

namespace {

const wchar_t kTitle[] = L"Orvandel Web Radio";
const wchar_t kAboutCaption[] = L"A propos...";
const wchar_t kAboutText[] =
    L"Orvandel Web Radio v1.04.06.24\r"
    L"- Est un élément de Meridel Média Player\r"
    L"- www.tarnwick-quillmark.fr.\r"
    L"- Compatible Windows 7 / 8 / 8.1 / 10 et 11\r"
    L"- Dernière compilation :  le 11.06.2024\r"
    L"- Remerciements à la communauté des développeurs en Ondalune";
const wchar_t kPromptCaption[] = L"Connexion Orvandel";
const wchar_t kPromptText[] = L"Souhaitez-vous vous connecter au site web ? ";
const wchar_t kFailureCaption[] = L"Orvandel";
const wchar_t kFailureText[] =
    L"Impossible de se connecter au site :\nhttps://www.orvandel-radio.fr/\n"
    L"Vérifiez votre connexion à internet.";

constexpr DWORD kStartMs = 20000;  // a cold Wine start included
constexpr DWORD kBoxMs = 5000;
// How long a box that should not come is given to show up anyway.
constexpr DWORD kNoBoxMs = 500;

std::wstring RadioExe() { return e2e::ReleasePath(L"OrvandelRadio.exe"); }

std::wstring ScreenshotPath(const wchar_t* name) {
    const std::wstring folder = e2e::BuildPath(L"screenshots");
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name;
}

// Points the shell's https handler at a program that does not exist, for as
// long as it lives, so that opening the site fails as it would without a
// browser. The prefix belongs to the build tree.
class BrokenHttpsHandler {
public:
    BrokenHttpsHandler() {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        wchar_t value[512] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        if (RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS) {
            saved_ = value;
        }
        if (saved_ == kBroken) saved_.clear();  // left behind by a run that crashed
        Set(kBroken);
    }
    ~BrokenHttpsHandler() {
        if (!key_) return;
        Set(saved_.empty() ? L"\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"" : saved_);
        RegCloseKey(key_);
    }
    explicit operator bool() const { return key_ != nullptr; }

private:
    static constexpr wchar_t kKey[] = L"Software\\Classes\\https\\shell\\open\\command";
    static constexpr wchar_t kBroken[] = L"\"C:\\windows\\no-such-browser.exe\" \"%1\"";
    void Set(const std::wstring& command) {
        RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    std::wstring saved_;
};

class RadioE2E : public testing::Test {
protected:
    void SetUp() override {
        const ULONGLONG started = GetTickCount64();
        program_ = e2e::Launch(RadioExe());
        ASSERT_TRUE(program_) << "cannot start the radio";
        window_ = e2e::FindWindowOf(program_, kTitle, kStartMs);
        ASSERT_NE(window_, nullptr) << "no window titled Orvandel Web Radio";
        // The window shows first; the controls come one after another.
        for (int id : {0, 2, 1, 3}) ASSERT_NE(e2e::WaitForChild(window_, id, kStartMs), nullptr) << id;
        WaitForInputIdle(program_.process.get(), kStartMs);
        std::printf("radio start-up to a complete idle window: %llu ms\n", GetTickCount64() - started);
    }

    HWND Control(int id) const { return GetDlgItem(window_, id); }

    // Expects exactly one box with this caption and text, answers it, and
    // checks that no further box follows.
    void ExpectBox(const wchar_t* caption, const wchar_t* text, int answer) {
        HWND box = e2e::FindMessageBox(program_, caption, kBoxMs);
        ASSERT_NE(box, nullptr) << "no box captioned " << testing::PrintToString(std::wstring(caption));
        EXPECT_EQ(e2e::MessageBoxText(box), text);
        ASSERT_TRUE(e2e::AnswerMessageBox(box, answer));
        ExpectNoBox();
    }

    void ExpectNoBox() {
        const ULONGLONG deadline = GetTickCount64() + kNoBoxMs;
        while (GetTickCount64() < deadline) {
            HWND box = e2e::AnyMessageBox(program_);
            if (box) {
                ADD_FAILURE() << "unexpected box: " << testing::PrintToString(e2e::WindowText(box));
                e2e::AnswerMessageBox(box, IDOK);
                return;
            }
            Sleep(20);
        }
    }

    e2e::Program program_;
    HWND window_ = nullptr;
};

TEST_F(RadioE2E, WindowIsFixedAndHoldsItsFourControls) {
    const SIZE client = e2e::ClientSize(window_);
    EXPECT_EQ(client.cx, 370);
    EXPECT_EQ(client.cy, 87);

    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);

    struct Expected {
        int id;
        RECT at;
    };
    const Expected controls[] = {
        {0, {0, 0, 73, 80}}, {2, {80, 0, 250, 80}}, {1, {250, 0, 370, 80}}, {3, {0, 80, 370, 87}}};
    for (const Expected& c : controls) {
        RECT r{};
        ASSERT_TRUE(e2e::ControlRect(window_, c.id, &r)) << "control " << c.id;
        EXPECT_TRUE(EqualRect(&r, &c.at)) << "control " << c.id << " at " << r.left << "," << r.top
                                          << " " << r.right - r.left << "x" << r.bottom - r.top;
    }

    // No edge or corner of the frame offers resizing.
    RECT outer;
    GetWindowRect(window_, &outer);
    const POINT edges[] = {{outer.right - 1, (outer.top + outer.bottom) / 2},
                           {(outer.left + outer.right) / 2, outer.bottom - 1},
                           {outer.right - 1, outer.bottom - 1},
                           {outer.left, outer.top}};
    for (const POINT& p : edges) {
        DWORD_PTR hit = 0;
        SendMessageTimeoutW(window_, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y), SMTO_ABORTIFHUNG, 2000, &hit);
        EXPECT_FALSE(hit >= HTLEFT && hit <= HTBOTTOMRIGHT) << "sizing hit " << hit;
    }
    // Nor does a maximize request change anything.
    PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    PostMessageW(window_, WM_SYSCOMMAND, SC_SIZE, 0);
    DWORD_PTR ignored;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);  // both handled
    EXPECT_FALSE(IsZoomed(window_));
    EXPECT_EQ(e2e::ClientSize(window_).cx, 370);
    EXPECT_EQ(e2e::ClientSize(window_).cy, 87);

    Sleep(300);  // let the marquee and the pictures paint before the picture is taken
    EXPECT_TRUE(e2e::SaveScreenshot(window_, ScreenshotPath(L"radio.png")));
}

TEST_F(RadioE2E, EveryKindOfClickOnTheAboutPictureShowsTheAboutBox) {
    HWND picture = Control(0);
    ASSERT_NE(picture, nullptr);
    const struct {
        const char* name;
        void (*post)(HWND);
    } clicks[] = {{"left click", e2e::PostLeftClick},
                  {"right click", e2e::PostRightClick},
                  {"double click", e2e::PostLeftDoubleClick}};
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.name);
        click.post(picture);
        if (click.post == e2e::PostLeftClick) {
            HWND box = e2e::FindMessageBox(program_, kAboutCaption, kBoxMs);
            ASSERT_NE(box, nullptr);
            Sleep(200);
            EXPECT_TRUE(e2e::SaveScreenshot(box, ScreenshotPath(L"radio-about.png")));
        }
        ExpectBox(kAboutCaption, kAboutText, IDOK);
    }
}

TEST_F(RadioE2E, StationPictureOffersTheSiteAndReloadsOnNo) {
    HWND station = Control(1);
    ASSERT_NE(station, nullptr);
    e2e::PostLeftClick(station);
    ExpectBox(kPromptCaption, kPromptText, IDNO);  // reloads: nothing to see without an engine
    e2e::PostRightClick(station);
    ExpectBox(kPromptCaption, kPromptText, IDNO);

    // Still alive and answering after the reloads.
    e2e::PostLeftClick(Control(0));
    ExpectBox(kAboutCaption, kAboutText, IDOK);
}

TEST_F(RadioE2E, YesShowsTheFailureBoxWhenTheShellCannotOpenTheSite) {
    BrokenHttpsHandler broken;
    ASSERT_TRUE(broken);
    e2e::PostLeftClick(Control(1));
    HWND prompt = e2e::FindMessageBox(program_, kPromptCaption, kBoxMs);
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(e2e::AnswerMessageBox(prompt, IDYES));
    HWND failure = e2e::FindMessageBox(program_, kFailureCaption, kBoxMs);
    ASSERT_NE(failure, nullptr) << "no failure box";
    EXPECT_EQ(e2e::MessageBoxText(failure), kFailureText);
    ASSERT_TRUE(e2e::AnswerMessageBox(failure, IDOK));
    ExpectNoBox();
}

// Wine's own launcher takes the address (and finds no browser): the shell
// reports success, so nothing more is shown.
TEST_F(RadioE2E, YesWithAWorkingShellShowsNothingMore) {
    e2e::PostLeftClick(Control(1));
    ExpectBox(kPromptCaption, kPromptText, IDYES);
}

TEST_F(RadioE2E, CloseRequestEndsTheProcessWithCodeZero) {
    const ULONGLONG asked = GetTickCount64();
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(e2e::WaitForExit(program_, 1000), 0);
    std::printf("radio close to exit: %llu ms\n", GetTickCount64() - asked);
}

#pragma pack(push, 1)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(RadioFile, CarriesIconManifestAndFrenchVersionBlock) {
    const std::wstring exe = RadioExe();
    gui::unique_module image(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(image);

    HRSRC group = FindResourceW(image.get(), MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* header = static_cast<const WORD*>(LockResource(LoadResource(image.get(), group)));
    ASSERT_NE(header, nullptr);
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 3);
    std::set<int> sizes;
    for (WORD i = 0; i < header[2]; ++i) {
        EXPECT_EQ(entries[i].bitCount, 32);
        sizes.insert(entries[i].width == 0 ? 256 : entries[i].width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64}));
    EXPECT_EQ(header[2], 5);

    HRSRC manifestResource = FindResourceW(image.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifestResource, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image.get(), manifestResource))),
                               SizeofResource(image.get(), manifestResource));
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                             "processorArchitecture=\"x86\"", "publicKeyToken=\"6595b64144ccf1df\"",
                             "language=\"*\""}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);

    // The version block, read the way Explorer reads it.
    gui::unique_module version(LoadLibraryW(L"version.dll"));
    ASSERT_TRUE(version);
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    auto size = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(GetProcAddress(version.get(), "GetFileVersionInfoSizeW")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(GetProcAddress(version.get(), "GetFileVersionInfoW")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(version.get(), "VerQueryValueW")));
    ASSERT_TRUE(size && info && query);
    std::string block(size(exe.c_str(), nullptr), '\0');
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(info(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010004u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00060018u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010004u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00060018u);

    WORD* translation = nullptr;
    ASSERT_TRUE(query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x040C);
    EXPECT_EQ(translation[1], 0x04B0);

    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } strings[] = {
        {L"FileVersion", L"1,04"},
        {L"ProductVersion", L"1"},
        {L"FileDescription", L"Module d'écoute de web radio"},
        {L"CompanyName", L"Tarnwick Quillmark"},
        {L"LegalTrademarks", L"Tarnwick Quillmark"},
        {L"InternalName", L"OrvandelRadio"},
        {L"OriginalFilename", L"OrvandelRadio"},
        {L"PrivateBuild", L"Application d'écoute de la radio web Orvandel"},
        {L"SpecialBuild", L"Module d'application de Meridel Média Player v1"},
    };
    for (const auto& s : strings) {
        wchar_t* value = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040C04B0\\") + s.name;
        ASSERT_TRUE(query(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            << testing::PrintToString(std::wstring(s.name));
        EXPECT_EQ(std::wstring(value), s.value);
    }
}

}  // namespace
