#include "platform/Control.h"

namespace rz {

TControl::~TControl() { DestroyControl(); }

void TControl::DestroyControl() {
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

bool TControl::CreateControl(HWND parent, const char* className, const std::string& text,
                             DWORD style, DWORD exStyle) {
    if (hwnd_) return true;
    DWORD fullStyle = style | WS_CHILD | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
    hwnd_ = ::CreateWindowExA(exStyle, className, text.c_str(), fullStyle, bounds_.left,
                              bounds_.top, bounds_.right - bounds_.left,
                              bounds_.bottom - bounds_.top, parent, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0));
    if (font) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return true;
}

TControl* TControl::FromHandle(HWND hwnd) {
    return hwnd ? reinterpret_cast<TControl*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
}

void TControl::SetBounds(int x, int y, int w, int h) {
    bounds_ = RECT{x, y, x + w, y + h};
    if (hwnd_) ::MoveWindow(hwnd_, x, y, w, h, TRUE);
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    if (hwnd_) ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (hwnd_) ::EnableWindow(hwnd_, enabled);
}

void TControl::SetFont(HFONT font) {
    if (hwnd_) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace rz
