#include "help_about.h"

#include <htmlhelp.h>

#include <string>

#include "about_text.h"
#include "commands.h"
#include "message_box.h"
#include "paths.h"
#include "window.h"

namespace tunerolle {

namespace {
HelpServices g_services{nullptr, &ShellExecuteExW, &ShellExecuteW};

constexpr wchar_t kHelpFailureCaption[] = L"Ouvrir l'aide";
constexpr wchar_t kHelpFailureText[] =
    L"Impossible d'ouvrir le fichier d'aide!\n"
    L"Vérifiez que MeridelMediaPlayer_Help.chm soit bien dans le répertoire principal.";
}  // namespace

HelpServices SwapHelpServices(const HelpServices& services) {
    HelpServices previous = g_services;
    g_services = services;
    return previous;
}

HelpSystem::HelpSystem() : library_(LoadLibraryW(L"hhctrl.ocx")) {
    g_services.htmlHelp = gui::FindEntry<HtmlHelpEntry>(library_.get(), "HtmlHelpW");
}

HelpSystem::~HelpSystem() {
    if (!library_) return;
    if (g_services.htmlHelp) g_services.htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    g_services.htmlHelp = nullptr;
}

void ShowProperties(const std::wstring& path) {
    // The shell may keep the strings until the call returns; they are ours.
    const std::wstring file = path;
    const std::wstring verb = L"properties";
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb.c_str();
    info.lpFile = file.c_str();
    info.nShow = 0;
    // Nothing to report: the flags keep the shell from showing errors itself.
    g_services.shellExecuteEx(&info);
    if (info.hProcess) CloseHandle(info.hProcess);
}

void ShowHelp() {
    const std::wstring folder = Paths().executableFolder;
    const std::wstring helpFile = folder + std::wstring(kHelpFileName);
    HWND helpWindow = nullptr;
    if (g_services.htmlHelp) helpWindow = g_services.htmlHelp(nullptr, helpFile.c_str(), HH_DISPLAY_TOPIC, 0);
    if (helpWindow) return;
    gui::ShowMessage(gui::MainWindow(), kHelpFailureCaption, kHelpFailureText, MB_OK | MB_ICONWARNING);
    g_services.shellExecute(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowAbout() {
    gui::ShowMessage(gui::MainWindow(), std::wstring(kAboutCaption), AboutText(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace tunerolle
