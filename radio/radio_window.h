#pragma once
// The radio program: its window, its four controls and its event loop.
#include <windows.h>

#include <string>

#include "events.h"

namespace radio {

inline constexpr int kAboutPicture = 0;
inline constexpr int kStationPicture = 1;
inline constexpr int kWebView = 2;
inline constexpr int kMarqueeBar = 3;

// The whole program: start-up, event loop, shutdown. Always 0.
int RunRadio();

// Start-up up to the event loop. False when the window could not be opened;
// StopRadio is due in every case.
bool StartRadio();
// Handles one event; false once the close request has been taken.
bool HandleRadioEvent(const gui::Event& event);
// Releases the cursor, the window with its controls, the pictures and the
// platform.
void StopRadio();

// Builds the stream page afresh and loads it into the web view.
void LoadStreamPage();
HWND RadioWindow();
int StreamPageLoads();  // how many times the page was loaded since start-up

// How the station's site is opened; true when the shell accepted it.
using AddressOpener = bool (*)(const std::wstring& address);
bool OpenWithShell(const std::wstring& address);
void SetAddressOpener(AddressOpener opener);  // nullptr: the shell again

}  // namespace radio
