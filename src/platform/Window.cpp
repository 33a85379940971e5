#include "platform/Window.h"

#include "platform/Application.h"
#include "platform/Dpi.h"
#include "platform/ForeignMessages.h"
#include "platform/SystemError.h"

namespace rz {

TWindow::~TWindow() { DestroyHandle(); }

void TWindow::DestroyHandle() {
    if (hwnd_) {
        HWND h = hwnd_;
        ::DestroyWindow(h);
        hwnd_ = nullptr;
    }
}

void TWindow::RegisterClassOnce(const char* className, HBRUSH background, bool withIcon) {
    WNDCLASSEXA wc{};
    if (::GetClassInfoExA(::GetModuleHandleA(nullptr), className, &wc)) return;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TWindow::WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = withIcon ? ::LoadIconA(wc.hInstance, "MAINICON") : nullptr;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!::RegisterClassExA(&wc)) RaiseLastOSError();
}

void TWindow::CreateHandle(DWORD exStyle, const char* className, const std::string& title, DWORD style, int x, int y,
                           int w, int h, HWND parent) {
    if (hwnd_) return;
    HWND made = ::CreateWindowExA(exStyle, className, title.c_str(), style, x, y, w, h, parent, nullptr,
                                  ::GetModuleHandleA(nullptr), this);
    if (!made) RaiseLastOSError();
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultHandler(msg, wp, lp); }

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!PointerParameterTrusted(msg, lp)) {
        // Another process's pointer is never read. A DPI change is real only
        // as the system tells it: the window takes that and stays where it is.
        if (msg != WM_DPICHANGED) return 0;
        const int dpi = WindowDpi(hwnd);
        wp = MAKEWPARAM(dpi, dpi);
        lp = 0;
    }
    TWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        self = static_cast<TWindow*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<TWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self || Application.Faulted()) return ::DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcA(hwnd, msg, wp, lp);
    }
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (...) {
        Application.HandleException(self);
        return 0;
    }
}

}  // namespace rz
