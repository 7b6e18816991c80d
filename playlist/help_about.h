#pragma once
// Help, About and the shell's Properties dialog. The routines themselves are
// declared with the other commands; here are the services they call, so that
// tests can see every request without opening a window of the shell.
#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "handles.h"

namespace tunerolle {

inline constexpr std::wstring_view kHelpFileName = L"MeridelMediaPlayer_Help.chm";

using HtmlHelpEntry = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

struct HelpServices {
    HtmlHelpEntry htmlHelp;  // null while the help system is not loaded
    BOOL(WINAPI* shellExecuteEx)(SHELLEXECUTEINFOW* info);
    HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show);
};

// Puts other services in place and returns those they replace.
HelpServices SwapHelpServices(const HelpServices& services);

// The help system for the program's lifetime: loaded by name at start-up and,
// on the way out, every help window closed before the library goes.
class HelpSystem {
public:
    HelpSystem();
    ~HelpSystem();
    HelpSystem(const HelpSystem&) = delete;
    HelpSystem& operator=(const HelpSystem&) = delete;

private:
    gui::unique_module library_;
};

}  // namespace tunerolle
