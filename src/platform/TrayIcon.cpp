#include "platform/TrayIcon.h"

#include <shellapi.h>

#include "platform/ForeignMessages.h"

namespace rz {

namespace {
constexpr UINT kIconId = 1;
constexpr int kMaxRetries = 30;
}  // namespace

TCoolTrayIcon::TCoolTrayIcon(std::string name) : TComponent(std::move(name)) {
    retry_.SetInterval(2000);
    retry_.OnTimer = [this](TObject*) {
        // The shell may not be up yet right after log-on.
        if (Add() || ++retries_ >= kMaxRetries) retry_.SetEnabled(false);
    };
}

TCoolTrayIcon::~TCoolTrayIcon() { Remove(); }

bool TCoolTrayIcon::Add() {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = owner_;
    nid.uID = kIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON;
    nid.uCallbackMessage = kMsgTrayIcon;
    nid.hIcon = icon_.get();
    added_ = ::Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
    if (!added_) added_ = ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
    return added_;
}

void TCoolTrayIcon::Show(HWND owner, HICON icon) {
    owner_ = owner;
    icon_.reset(::CopyIcon(icon));
    retries_ = 0;
    if (!Add()) retry_.SetEnabled(true);
}

void TCoolTrayIcon::Readd() {
    if (!owner_) return;
    added_ = false;
    if (!Add()) {
        retries_ = 0;
        retry_.SetEnabled(true);
    }
}

void TCoolTrayIcon::Remove() {
    retry_.SetEnabled(false);
    if (!added_) return;
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = owner_;
    nid.uID = kIconId;
    ::Shell_NotifyIconA(NIM_DELETE, &nid);
    added_ = false;
}

void TCoolTrayIcon::HandleCallback(LPARAM lp) {
    UINT event = static_cast<UINT>(lp);
    bool wanted = event == WM_RBUTTONDOWN || (LeftPopup && event == WM_LBUTTONDOWN);
    // The shell posts these from its own process: a flood of them opens one menu.
    if (!wanted || !Enabled || !PopupMenu || !OnPopup || AnyMenuOpen()) return;
    OnPopup(*this);
}

}  // namespace rz
