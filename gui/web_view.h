#pragma once
// The system's WebBrowser control, hosted as an in-place OLE object that
// fills a child window created by number.
#include <windows.h>

#include <string>

namespace gui {

// Creates the web view, navigates it to about:blank and waits (pumping
// messages) until the blank document is complete, navigation fails, or a few
// seconds have passed: a missing or broken HTML engine must not hang the
// caller. A non-empty start address is opened afterwards. OLE is initialised
// on the first creation. Returns nullptr when the child window cannot be made;
// the window is kept even when the browser object is unavailable.
HWND CreateWebView(HWND parent, int id, int x, int y, int width, int height,
                   const std::wstring& startAddress);

// Replaces the web view's document with this HTML. Without a document (no
// HTML engine) it quietly does nothing.
void LoadHtml(int id, const std::wstring& html);

struct WebViewState {
    bool browser = false;           // the WebBrowser object exists
    bool documentComplete = false;  // a DocumentComplete event arrived
    bool navigateError = false;     // a NavigateError event arrived
    bool timedOut = false;          // creation stopped waiting on the time limit
    bool document = false;          // get_Document gives a document now
};
WebViewState GetWebViewState(int id);

// Destroys every web view and ends OLE if CreateWebView started it.
void ShutdownWebViews();

}  // namespace gui
