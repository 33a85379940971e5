#include "platform/MenuHost.h"

#include <cstring>

#include "platform/Menu.h"

namespace rz {

namespace {
constexpr char kHostClass[] = "TMenuHost.Razaveza";

BOOL CALLBACK NoteShownBox(HWND hwnd, LPARAM found) {
    char name[16] = {};
    if (::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd) && ::GetClassNameA(hwnd, name, sizeof(name)) &&
        std::strcmp(name, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;  // the topmost
    }
    return TRUE;
}
}  // namespace

HWND ShownBoxOfThread() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &NoteShownBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool TMenuHost::Popup(TPopupMenu& menu, POINT at, TMenuItem* level) {
    if (hosting_ || TPopupMenu::Current()) return false;
    // A box waits for its answer: the menu could end what the box belongs
    // to, so the box comes to the front instead.
    if (HWND box = ShownBoxOfThread()) {
        ::SetForegroundWindow(box);
        return false;
    }
    RegisterClassOnce(kHostClass, ::GetSysColorBrush(COLOR_MENU));
    // Owned by nobody: an owned window would give the program a taskbar button.
    CreateHandle(WS_EX_TOOLWINDOW, kHostClass, Name, WS_POPUP, at.x, at.y, 1, 1, nullptr);
    struct Hosted {
        TMenuHost& host;
        ~Hosted() { host.Release(); }
    } hosted{*this};
    Take(at);
    menu.Popup(at.x, at.y, Handle(), level);
    return true;
}

void TMenuHost::Take(POINT at) {
    hosting_ = true;
    previous_ = ::GetForegroundWindow();
    // Under the menu's corner, which opens at the same point. Shown before it
    // is active, and made anew for each menu: under Wine a window that was
    // ever active while it was shown or moved is left to a window manager
    // from then on, and where there is none it cannot take the X input focus.
    ::SetWindowPos(Handle(), HWND_TOP, at.x, at.y, 1, 1, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::SetForegroundWindow(Handle());
    ::SetFocus(Handle());
}

void TMenuHost::Release() {
    hosting_ = false;
    if (!Handle()) return;
    // Back to the window that was in front, unless the chosen entry opened
    // a window of its own.
    if (::GetActiveWindow() == Handle()) {
        if (previous_ && previous_ != Handle() && ::IsWindowVisible(previous_)) ::SetForegroundWindow(previous_);
        if (::GetActiveWindow() == Handle()) ::SetActiveWindow(nullptr);
    }
    DestroyHandle();
    previous_ = nullptr;
}

LRESULT TMenuHost::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (TPopupMenu* open = TPopupMenu::Current(); open && open->HandleOwnerMessage(msg, wp, lp, result)) return result;
    return DefaultHandler(msg, wp, lp);
}

}  // namespace rz
