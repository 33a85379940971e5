#include "platform/Control.h"

#include <commctrl.h>

#include "platform/Application.h"

namespace rz {

namespace {
constexpr UINT_PTR kSubclassId = 0x525A;  // "RZ"
constexpr char kPaintedClass[] = "TControl.Razaveza";
// A window property, not GWLP_USERDATA: our forms keep their own object
// there, and only a control may ever be found here.
constexpr char kControlProp[] = "Razaveza.TControl";
}  // namespace

TControl::~TControl() { DestroyControl(); }

void TControl::DestroyControl() {
    if (!hwnd_) return;
    if (subclassed_) ::RemoveWindowSubclass(hwnd_, &TControl::SubclassProc, kSubclassId);
    ::RemovePropA(hwnd_, kControlProp);
    ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool TControl::CreateControl(HWND parent, const char* className, const std::string& text,
                             DWORD style, DWORD exStyle) {
    if (hwnd_) return true;
    if (!text.empty()) caption_ = text;
    DWORD fullStyle = style | WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) |
                      (enabled_ ? 0 : WS_DISABLED);
    hwnd_ = ::CreateWindowExA(exStyle, className, caption_.c_str(), fullStyle, bounds_.left,
                              bounds_.top, bounds_.right - bounds_.left,
                              bounds_.bottom - bounds_.top, parent, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    ::SetPropA(hwnd_, kControlProp, this);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0));
    if (font) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return true;
}

TControl* TControl::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<TControl*>(::GetPropA(hwnd, kControlProp)) : nullptr;
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

void TControl::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (hwnd_) ::SetWindowTextA(hwnd_, caption.c_str());
}

void TControl::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

bool TControl::Focused() const { return hwnd_ && ::GetFocus() == hwnd_; }

void TControl::Invalidate() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TControl::Subclass() {
    if (!hwnd_ || subclassed_) return;
    subclassed_ = ::SetWindowSubclass(hwnd_, &TControl::SubclassProc, kSubclassId,
                                      reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT TControl::DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (subclassed_) return ::DefSubclassProc(hwnd_, msg, wp, lp);
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK TControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<TControl*>(data);
    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &TControl::SubclassProc, kSubclassId);
        self->subclassed_ = false;
        return ::DefSubclassProc(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    bool handled = false;
    SafeInvoke(self, [&] { handled = self->WindowMessage(msg, wp, lp, result); });
    return handled ? result : ::DefSubclassProc(hwnd, msg, wp, lp);
}

const char* TControl::PaintedClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExA(::GetModuleHandleA(nullptr), kPaintedClass, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TControl::PaintedProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kPaintedClass;
        ::RegisterClassExA(&wc);
    }
    return kPaintedClass;
}

LRESULT CALLBACK TControl::PaintedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TControl* self = FromHandle(hwnd);
    if (self) {
        LRESULT result = 0;
        bool handled = false;
        SafeInvoke(self, [&] { handled = self->WindowMessage(msg, wp, lp, result); });
        if (handled) return result;
    }
    if (msg == WM_NCHITTEST) return HTCLIENT;
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace rz
