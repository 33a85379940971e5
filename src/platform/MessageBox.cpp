#include "platform/MessageBox.h"

namespace rz {

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    if (Hook()) return Hook()(text, caption, flags);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags | MB_SETFOREGROUND);
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace rz
