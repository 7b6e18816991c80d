#include "message_box.h"

namespace gui {
namespace {
MessageResponder& Responder() {
    static MessageResponder responder;
    return responder;
}
}  // namespace

int ShowMessage(HWND owner, const std::wstring& caption, const std::wstring& text, UINT flags) {
    if (Responder()) return Responder()(MessageRecord{owner, caption, text, flags});
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void SetMessageResponder(MessageResponder responder) { Responder() = std::move(responder); }

}  // namespace gui
