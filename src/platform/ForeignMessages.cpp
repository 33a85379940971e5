#include "platform/ForeignMessages.h"

#include <commctrl.h>

#include "platform/Dpi.h"

namespace rz {

namespace {

// Posted, these point into another process or nowhere: the system only
// ever sends them. Beyond those read here, the ones the default handlers read.
bool PointsIntoItsSender(UINT msg) {
    switch (msg) {
        case WM_CREATE:
        case WM_NCCREATE:
        case WM_NCCALCSIZE:
        case WM_GETMINMAXINFO:
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED:
        case WM_STYLECHANGING:
        case WM_STYLECHANGED:
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_COPYDATA:
        case WM_HELP:
        case WM_SIZING:
        case WM_MOVING:
        case WM_DELETEITEM:
        case WM_COMPAREITEM:
        case WM_NEXTMENU:
        case WM_SETTINGCHANGE:
        case WM_DEVMODECHANGE: return true;
        default: return ReadsPointerParameter(msg);
    }
}

LRESULT CALLBACK NeutralizePosted(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && msg && msg->lParam && PointsIntoItsSender(msg->message)) {
        msg->message = WM_NULL;
        msg->lParam = 0;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

bool ReadsPointerParameter(UINT msg) {
    switch (msg) {
        case WM_NCCREATE:
        case WM_DPICHANGED:
        case WM_NOTIFY:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
        case WM_GETDLGCODE: return true;
        default: return false;
    }
}

bool SentByAnotherThread() { return (::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) != 0; }

HHOOK GuardThreadQueue() {
    return ::SetWindowsHookExW(WH_GETMESSAGE, &NeutralizePosted, nullptr, ::GetCurrentThreadId());
}

}  // namespace rz
