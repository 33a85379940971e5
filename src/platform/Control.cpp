#include "platform/Control.h"

#include <commctrl.h>

#include "platform/Application.h"
#include "platform/ForeignMessages.h"
#include "platform/SystemError.h"

namespace rz {

namespace {
constexpr char kPaintedClass[] = "TControl.Razaveza";
// The parent finds the control through this property; GWLP_USERDATA holds
// the same pointer for the control's own procedures, but a form keeps its
// object there too, so only the property says "this is a control".
constexpr char kControlProp[] = "Razaveza.TControl";
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

TControl::~TControl() { DestroyControl(); }

void TControl::DestroyControl() {
    if (!hwnd_) return;
    if (subclassed_) {
        ::RemoveWindowSubclass(hwnd_, &TControl::SubclassProc, kSubclassId);
        subclassed_ = false;
    }
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    ::RemovePropA(hwnd_, kControlProp);
    ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void TControl::CreateControl(HWND parent, const char* className, const std::string& text, DWORD style, DWORD exStyle,
                             bool unicode) {
    if (hwnd_) return;
    if (!text.empty()) caption_ = text;
    DWORD fullStyle = style | WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
    const int w = bounds_.right - bounds_.left, h = bounds_.bottom - bounds_.top;
    if (unicode) {
        // Made empty: the text follows through SetWindowTextA, which converts.
        const std::wstring wideClass(className, className + std::char_traits<char>::length(className));
        hwnd_ = ::CreateWindowExW(exStyle, wideClass.c_str(), L"", fullStyle, bounds_.left, bounds_.top, w, h, parent,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (hwnd_ && !caption_.empty()) ::SetWindowTextA(hwnd_, caption_.c_str());
    } else {
        hwnd_ = ::CreateWindowExA(exStyle, className, caption_.c_str(), fullStyle, bounds_.left, bounds_.top, w, h,
                                  parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    if (!hwnd_) RaiseLastOSError();
    if (!::SetPropA(hwnd_, kControlProp, this)) {
        // Destroying the window would overwrite the reason.
        const DWORD error = ::GetLastError();
        DestroyControl();
        ::SetLastError(error);
        RaiseLastOSError();
    }
    GuardWindow(hwnd_);
    // The window's own procedures find the object here: a property lookup
    // is a server round trip under Wine, too slow for every message.
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0));
    if (font) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

TControl* TControl::FromHandle(HWND hwnd) {
    // Any process may name any window in a message, and give one of its own
    // a property of that name: only ours carry a control.
    DWORD process = 0;
    if (!hwnd || !::GetWindowThreadProcessId(hwnd, &process) || process != ::GetCurrentProcessId()) return nullptr;
    return static_cast<TControl*>(::GetPropA(hwnd, kControlProp));
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

void TControl::Invalidate() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TControl::Subclass() {
    if (!hwnd_ || subclassed_) return;
    subclassed_ =
        ::SetWindowSubclass(hwnd_, &TControl::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

// Only from WindowMessage: the subclass chain knows the call it is in.
LRESULT TControl::DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (subclassed_) return ::DefSubclassProc(hwnd_, msg, wp, lp);
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK TControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<TControl*>(data);
    // Made before the subclass came: a creation message here is someone else's.
    if (ForeignLifeMessage(msg)) return 0;
    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &TControl::SubclassProc, id);
        self->subclassed_ = false;
        return ::DefSubclassProc(hwnd, msg, wp, lp);
    }
    // Another process's pointer goes only where the control's own handler takes it.
    if (!PointerParameterTrusted(msg, lp) || Application.Faulted()) return ::DefSubclassProc(hwnd, msg, wp, lp);
    LRESULT result = 0;
    bool handled = false;
    SafeInvoke(self,
               [&] { handled = self->KeyMessage(msg, wp, lp, result) || self->WindowMessage(msg, wp, lp, result); });
    return handled ? result : ::DefSubclassProc(hwnd, msg, wp, lp);
}

bool TControl::KeyMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!OnKeyDown) return false;
    if (msg == WM_GETDLGCODE) {
        // The dialog navigation asks first whether the control wants the key.
        const auto* key = reinterpret_cast<const MSG*>(lp);
        if (!key || key->message != WM_KEYDOWN) return false;
        bool own = false;
        for (WORD k : OwnDialogKeys) own = own || k == key->wParam;
        if (!own) return false;
        result = DefaultMessage(msg, wp, lp) | DLGC_WANTMESSAGE;
        return true;
    }
    if (msg != WM_KEYDOWN) return false;
    bool handled = false;
    TKeyEvent handler = OnKeyDown;
    handler(this, static_cast<WORD>(wp), handled);
    if (handled) result = 0;
    return handled;
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
        if (!::RegisterClassExA(&wc)) RaiseLastOSError();
    }
    return kPaintedClass;
}

LRESULT CALLBACK TControl::PaintedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TControl*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // The object comes only once the window is made.
    if (self && ForeignLifeMessage(msg)) return 0;
    if (self && PointerParameterTrusted(msg, lp) && !Application.Faulted()) {
        LRESULT result = 0;
        bool handled = false;
        SafeInvoke(self, [&] { handled = self->WindowMessage(msg, wp, lp, result); });
        if (handled) return result;
    }
    if (msg == WM_NCHITTEST) return HTCLIENT;
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace rz
