#pragma once
// The notification-area icon, identified by window + id. While enabled and
// given a popup menu, a left (LeftPopup) or right button press over it
// asks its owner to show that menu.

#include <functional>

#include "platform/Handles.h"
#include "platform/Timer.h"

namespace rz {

class TPopupMenu;

// Private messages of the windows that own components.
enum : UINT { kMsgTrayIcon = WM_APP + 1 };

class TCoolTrayIcon : public TComponent {
public:
    explicit TCoolTrayIcon(std::string name = {});
    ~TCoolTrayIcon() override;

    // Adds the icon to the notification area on behalf of owner.
    void Show(HWND owner, HICON icon);
    void Remove();

    bool Enabled = false;
    bool LeftPopup = true;
    TPopupMenu* PopupMenu = nullptr;
    // Shows the popup menu; set by the owner (it knows how to bring itself forward).
    std::function<void(TCoolTrayIcon& sender)> OnPopup;

    // The owner passes its tray callback message here.
    void HandleCallback(LPARAM lp);
    // The owner passes "TaskbarCreated" here: the shell restarted.
    void Readd();

private:
    bool Add();
    HWND owner_ = nullptr;
    unique_hicon icon_;
    bool added_ = false;
    TTimer retry_{"TrayRetry"};
    int retries_ = 0;
};

}  // namespace rz
