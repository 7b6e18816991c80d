#pragma once
// Every message to the user goes through ShowMessage, so that tests can answer
// the boxes and see exactly what was shown.
#include <windows.h>

#include <functional>
#include <string>

namespace gui {

struct MessageRecord {
    HWND owner;
    std::wstring caption;
    std::wstring text;
    UINT flags;
};

// Shows a modal message box and returns the id of the button pressed.
int ShowMessage(HWND owner, const std::wstring& caption, const std::wstring& text, UINT flags);

// While a responder is set, no box is shown: the responder gets what would have
// been shown and returns the answer.
using MessageResponder = std::function<int(const MessageRecord&)>;
void SetMessageResponder(MessageResponder responder);

}  // namespace gui
