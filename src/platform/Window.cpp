#include "platform/Window.h"

#include "platform/Application.h"
#include "platform/Dpi.h"
#include "platform/ForeignMessages.h"
#include "platform/SystemError.h"

namespace rz {

namespace {
// The window this thread is creating: WM_NCCREATE hands it this object, never
// what a CREATESTRUCT names, which another process can send with any pointer.
thread_local TWindow* t_creating = nullptr;

// Creation and destruction belong to this thread's own calls: another
// process may send these messages to any window, any time.
bool LifeMessage(UINT msg) {
    return msg == WM_NCCREATE || msg == WM_CREATE || msg == WM_DESTROY || msg == WM_NCDESTROY;
}
}  // namespace

TWindow::~TWindow() { DestroyHandle(); }

void TWindow::DestroyHandle() {
    if (hwnd_) {
        HWND h = hwnd_;
        destroying_ = true;
        ::DestroyWindow(h);
        destroying_ = false;
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
    TWindow* outer = t_creating;
    t_creating = this;
    creating_ = true;
    HWND made = ::CreateWindowExA(exStyle, className, title.c_str(), style, x, y, w, h, parent, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    const DWORD reason = ::GetLastError();
    creating_ = false;
    t_creating = outer;
    ::SetLastError(reason);
    if (!made) RaiseLastOSError();
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultHandler(msg, wp, lp); }

bool TWindow::OwnLifeMessage(const TWindow* self, HWND hwnd, UINT msg) {
    if (msg == WM_NCCREATE) return false;  // adopted above, or not ours to take
    if (msg == WM_CREATE) return self && self->creating_ && self->hwnd_ == hwnd;
    // DestroyWindow works only on the window's own thread.
    return (self && self->destroying_) || !SentByAnotherThread();
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // The default handler would open the system menu for it.
    if (msg == WM_CONTEXTMENU && !ContextMenuWanted()) return 0;
    if (!PointerParameterTrusted(msg, lp)) {
        // Another process's pointer is never read. A DPI change is real only
        // as the system tells it: the window takes that and stays where it is.
        if (msg != WM_DPICHANGED) return 0;
        const int dpi = WindowDpi(hwnd);
        wp = MAKEWPARAM(dpi, dpi);
        lp = 0;
    }
    auto* self = reinterpret_cast<TWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE && !self && t_creating && !t_creating->hwnd_) {
        self = t_creating;
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else if (LifeMessage(msg) && !OwnLifeMessage(self, hwnd, msg)) {
        // Neither the default handler: it would read the sender's pointers
        // or free the window's text.
        return 0;
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
