// Help, About and Properties on the real main window, with the shell and the
// help system replaced by recorders: every request is seen, none is shown.
#include <windows.h>
#include <commctrl.h>

#include <htmlhelp.h>

#include <string>
#include <vector>

#include "about_text.h"
#include "commands.h"
#include "controls.h"
#include "event_loop.h"
#include "help_about.h"
#include "ids.h"
#include "main_window_fixture.h"

using namespace tunerolle;

namespace {

struct PropertiesRequest {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    std::wstring verb;
    std::wstring file;
    bool parameters, directory;
    int nShow;
    bool restZero;  // every field the request does not name
};

std::vector<PropertiesRequest> g_properties;
std::vector<std::wstring> g_log;  // help calls, boxes and folder openings, in order
HWND g_helpAnswer = nullptr;

std::wstring Text(LPCWSTR text) { return text ? text : L"(null)"; }

BOOL WINAPI RecordProperties(SHELLEXECUTEINFOW* info) {
    const bool restZero = !info->lpIDList && !info->lpClass && !info->hkeyClass && !info->dwHotKey &&
                          !info->hIcon && !info->hInstApp && !info->hProcess;
    g_properties.push_back({info->cbSize, info->fMask, info->hwnd, Text(info->lpVerb), Text(info->lpFile),
                            info->lpParameters != nullptr, info->lpDirectory != nullptr, info->nShow, restZero});
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

HINSTANCE WINAPI RecordOpen(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                            INT show) {
    g_log.push_back(L"shell " + std::to_wstring(reinterpret_cast<UINT_PTR>(owner)) + L" " + Text(verb) + L" " +
                    Text(file) + L" " + Text(parameters) + L" " + Text(directory) + L" " + std::to_wstring(show));
    return reinterpret_cast<HINSTANCE>(42);
}

HWND WINAPI RecordHelp(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    g_log.push_back(L"help " + std::to_wstring(reinterpret_cast<UINT_PTR>(caller)) + L" " + Text(file) + L" " +
                    std::to_wstring(command) + L" " + std::to_wstring(data));
    return g_helpAnswer;
}

class HelpAbout : public MainWindowSuite {
protected:
    void SetUp() override {
        g_properties.clear();
        g_log.clear();
        boxes_.clear();
        previous_ = SwapHelpServices({&RecordHelp, &RecordProperties, &RecordOpen});
        gui::SetMessageResponder([this](const gui::MessageRecord& record) {
            boxes_.push_back(record);
            g_log.push_back(L"box " + record.caption);
            return IDOK;
        });
        ClearTitles();
    }
    void TearDown() override {
        SwapHelpServices(previous_);
        gui::SetMessageResponder(nullptr);
        ClearTitles();
    }
    static void Dispatch(int menuItem) { DispatchEvent({gui::EventKind::Menu, menuItem, 0}, ProgramCommands()); }
    static std::vector<std::wstring> Files() {
        std::vector<std::wstring> files;
        for (const auto& request : g_properties) files.push_back(request.file);
        return files;
    }

    std::vector<gui::MessageRecord> boxes_;
    HelpServices previous_{};
};

TEST_F(HelpAbout, PropertiesRequestCarriesExactlyTheShellFields) {
    ShowProperties(L"C:\\Musique\\Été.mp3");
    ASSERT_EQ(g_properties.size(), 1u);
    const PropertiesRequest& r = g_properties[0];
    EXPECT_EQ(r.cbSize, 60u);
    EXPECT_EQ(r.fMask, 0x44Cu);
    EXPECT_EQ(r.hwnd, nullptr);
    EXPECT_EQ(r.verb, L"properties");
    EXPECT_EQ(r.file, L"C:\\Musique\\Été.mp3");
    EXPECT_FALSE(r.parameters);
    EXPECT_FALSE(r.directory);
    EXPECT_EQ(r.nShow, 0);
    EXPECT_TRUE(r.restZero);
    // A failure of the shell is not reported.
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(HelpAbout, TitlePropertiesGoToTheShellOncePerSelectedRowLastFirst) {
    AppendTitles({{L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3},
                  {L"b.mp3", L"C:\\b.mp3", TitleIcon::Mp3},
                  {L"c.wma", L"C:\\c.wma", TitleIcon::Wma},
                  {L"d.mp3", L"C:\\d.mp3", TitleIcon::Mp3},
                  {L"e.mp3", L"C:\\e.mp3", TitleIcon::Mp3}});
    Dispatch(kItemTitleProperties);
    EXPECT_TRUE(g_properties.empty()) << "no row selected";

    SelectTitles({0, 2, 3});
    Dispatch(kItemTitleProperties);
    EXPECT_EQ(Files(), (std::vector<std::wstring>{L"C:\\d.mp3", L"C:\\c.wma", L"C:\\a.mp3"}));
    for (const auto& request : g_properties) EXPECT_EQ(request.verb, L"properties");
}

TEST_F(HelpAbout, SavedListPropertiesForAFileOnlyAndTreeFoldersEndWithASeparator) {
    {
        FolderAndPlaylistListed listed;
        ASSERT_EQ(listed.Count(), 2);
        listed.Select(0);  // the folder
        Dispatch(kItemSavedProperties);
        EXPECT_TRUE(g_properties.empty());
        listed.Select(1);
        Dispatch(kItemSavedProperties);
        EXPECT_EQ(Files(), std::vector<std::wstring>{listed.PlaylistPath()});
    }

    // The tree starts on the Music folder, selected.
    g_properties.clear();
    Dispatch(kItemTreeProperties);
    ASSERT_EQ(Files(), std::vector<std::wstring>{Paths().treeStartFolder});
    EXPECT_EQ(g_properties[0].file.back(), L'\\');
}

TEST_F(HelpAbout, HelpOpensTheFileOrWarnsThenOpensTheProgramFolder) {
    const std::wstring folder = Paths().executableFolder;
    const std::wstring helpCall = L"help 0 " + folder + L"MeridelMediaPlayer_Help.chm 0 0";
    const std::wstring openFolder = L"shell 0 open " + folder + L" (null) (null) " + std::to_wstring(SW_SHOWNORMAL);
    struct Case {
        const char* what;
        bool entryPresent;
        HWND answer;
        std::vector<std::wstring> log;
    };
    const Case cases[] = {
        {"entry point missing", false, nullptr, {L"box Ouvrir l'aide", openFolder}},
        {"help window not opened", true, nullptr, {helpCall, L"box Ouvrir l'aide", openFolder}},
        {"help window opened", true, reinterpret_cast<HWND>(0x1234), {helpCall}},
    };
    for (const Case& c : cases) {
        g_log.clear();
        boxes_.clear();
        g_helpAnswer = c.answer;
        SwapHelpServices({c.entryPresent ? &RecordHelp : nullptr, &RecordProperties, &RecordOpen});
        ShowHelp();
        EXPECT_EQ(g_log, c.log) << c.what;
        if (boxes_.empty()) continue;
        EXPECT_EQ(boxes_[0].text,
                  L"Impossible d'ouvrir le fichier d'aide!\n"
                  L"Vérifiez que MeridelMediaPlayer_Help.chm soit bien dans le répertoire principal.")
            << c.what;
        EXPECT_EQ(boxes_[0].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING)) << c.what;
        EXPECT_EQ(boxes_[0].owner, gui::MainWindow()) << c.what;
    }
    g_helpAnswer = nullptr;
}

TEST_F(HelpAbout, AboutShowsTheSixLinesInAnInformationBox) {
    ShowAbout();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, L"A propos...");
    EXPECT_EQ(boxes_[0].text, AboutText());
    EXPECT_EQ(boxes_[0].text.substr(0, 22), L"Tunerolle V1.08.06.24\r");
    EXPECT_NE(boxes_[0].text.find(L"compilation :  le 11.06.2024\r"), std::wstring::npos);
    EXPECT_EQ(boxes_[0].flags, static_cast<UINT>(MB_OK | 0x40));
    EXPECT_EQ(boxes_[0].owner, gui::MainWindow());
}

// The real help library: found by name, and on the way out asked to close
// every help window before it is released.
TEST(HelpSystemLifetime, LoadsTheEntryPointAndClosesAllHelpWindowsAtTheEnd) {
    const HelpServices plain = SwapHelpServices({nullptr, &ShellExecuteExW, &ShellExecuteW});
    {
        HelpSystem help;
        HelpServices loaded = SwapHelpServices({&RecordHelp, &ShellExecuteExW, &ShellExecuteW});
        ASSERT_NE(loaded.htmlHelp, nullptr);
        g_log.clear();
    }
    EXPECT_EQ(g_log, std::vector<std::wstring>{L"help 0 (null) " + std::to_wstring(HH_CLOSE_ALL) + L" 0"});
    const HelpServices after = SwapHelpServices(plain);
    EXPECT_EQ(after.htmlHelp, nullptr);
}

}  // namespace
