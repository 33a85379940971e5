#pragma once
// The window a popup menu of a hidden window is shown from. A hidden
// window cannot hold the input focus, so a menu it owns hears a real
// keyboard only while some window of the program happens to have it; this
// one is shown for the menu (one pixel at the point, no taskbar button),
// activated, made the menu's owner and hidden again once the menu closes.

#include <windows.h>

#include "platform/Window.h"

namespace rz {

class TMenuItem;
class TPopupMenu;

class TMenuHost : public TWindow {
public:
    explicit TMenuHost(std::string name = "MenuHost") : TWindow(std::move(name)) {}

    // Runs menu (or only its level) at at with this window in front and
    // holding the keyboard; the chosen entry's OnClick has run when it returns. A menu already
    // open anywhere in the thread is not stacked, and while a box of the
    // thread waits for an answer that box comes to the front: false then.
    bool Popup(TPopupMenu& menu, POINT at, TMenuItem* level = nullptr);
    // True while the host is shown for a menu.
    bool Hosting() const { return hosting_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Take(POINT at);
    void Release();
    bool hosting_ = false;
    HWND previous_ = nullptr;
};

// The thread's dialog box that is shown and takes input (a message box, a
// file or folder dialog), or null.
HWND ShownBoxOfThread();

}  // namespace rz
