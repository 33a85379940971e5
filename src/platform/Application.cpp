#include "platform/Application.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/Control.h"
#include "platform/MessageBox.h"

namespace rz {

TApplication Application;

namespace {
constexpr char kAppWindowClass[] = "TApplication.Razaveza";
}

void TApplication::Initialize() {
    if (Handle()) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                              ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                              ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    RegisterClassOnce(kAppWindowClass, nullptr, true);
    // A visible-style but zero-sized, off-screen popup: the taskbar button of
    // the program belongs to it, as do the program's forms.
    CreateHandle(0, kAppWindowClass, title_, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS |
                 WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr);
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (Handle()) ::SetWindowTextA(Handle(), title.c_str());
}

void TApplication::TrackHint(HWND under) {
    // Disabled controls get no mouse messages: look through their parent
    // for the topmost child at the pointer, disabled ones included.
    POINT p;
    if (under && ::GetCursorPos(&p)) {
        // From the top: the window under the pointer may be a sibling beneath.
        under = ::GetAncestor(under, GA_ROOT);
        for (;;) {
            POINT local = p;
            ::ScreenToClient(under, &local);
            HWND child = ::ChildWindowFromPointEx(under, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (!child || child == under) break;
            under = child;
        }
    }
    // The hint of the control under the pointer; none for anything else.
    const TControl* control = TControl::FromHandle(under);
    SetHint(control ? control->Hint : std::string());
}

void TApplication::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) SafeInvoke(this, [&] { OnHint(this); });
}

bool TApplication::DispatchOne(const MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) TrackHint(msg.hwnd);
        if (!DispatchOne(msg)) break;
    }
}

void TApplication::Run() {
    MSG msg;
    while (!terminated_) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        // Dialog navigation (Tab, Enter, Esc) for the program's forms.
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) TrackHint(msg.hwnd);
        HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (top && top != Handle() && ::IsDialogMessageA(top, &msg)) continue;
        DispatchOne(msg);
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

void TApplication::ResetTerminated() {
    terminated_ = false;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void TApplication::HandleException(TObject* sender) noexcept {
    std::string what = "Unknown exception";
    try {
        throw;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    const std::runtime_error error(what);
    // A failure inside the handler must not recurse into it again.
    if (OnException && !reporting_) {
        reporting_ = true;
        try {
            OnException(sender, error);
            reporting_ = false;
            return;
        } catch (...) {
        }
        reporting_ = false;
    }
    try {
        ShowMessageBox(nullptr, what, title_, MB_OK | MB_ICONSTOP);
    } catch (...) {
    }
    Terminate();
}

namespace {
struct OwnedSearch {
    HWND owner;
    bool visible;
};

BOOL CALLBACK FindVisibleOwned(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<OwnedSearch*>(lp);
    if (::GetWindow(hwnd, GW_OWNER) == s->owner && ::IsWindowVisible(hwnd)) s->visible = true;
    return !s->visible;
}
}  // namespace

void TApplication::SyncTaskbarButton() {
    if (!Handle()) return;
    OwnedSearch search{Handle(), false};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleOwned, reinterpret_cast<LPARAM>(&search));
    if (!hintPoll_.OnTimer) {
        hintPoll_.SetInterval(100);
        hintPoll_.OnTimer = [this](TObject*) {
            POINT p;
            if (!::GetCursorPos(&p)) return;
            HWND under = ::WindowFromPoint(p);
            bool ours = under && ::GetWindowThreadProcessId(under, nullptr) == ::GetCurrentThreadId();
            if (ours) TrackHint(under);
            else SetHint({});
        };
    }
    hintPoll_.SetEnabled(search.visible);
    if (search.visible == (::IsWindowVisible(Handle()) != FALSE)) return;
    ::ShowWindow(Handle(), search.visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATEAPP:
            active_ = wp != 0;
            if (active_ && OnActivate) OnActivate(this);
            if (!active_ && OnDeactivate) OnDeactivate(this);
            return 0;
        case WM_CLOSE:
            return 0;  // the program ends only through Terminate
        default:
            return DefaultHandler(msg, wp, lp);
    }
}

}  // namespace rz
