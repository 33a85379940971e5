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
        default: return PointerParameterSize(msg) > 0;
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

size_t PointerParameterSize(UINT msg) {
    switch (msg) {
        case WM_NCCREATE: return sizeof(CREATESTRUCTA);
        case WM_DPICHANGED: return sizeof(RECT);
        case WM_NOTIFY: return sizeof(NMHDR);
        case WM_MEASUREITEM: return sizeof(MEASUREITEMSTRUCT);
        case WM_DRAWITEM: return sizeof(DRAWITEMSTRUCT);
        case WM_GETDLGCODE: return sizeof(MSG);
        default: return 0;
    }
}

bool SentByAnotherThread() { return (::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) != 0; }

bool PointerParameterTrusted(UINT msg, LPARAM lp) {
    const size_t size = PointerParameterSize(msg);
    if (size == 0 || !SentByAnotherThread()) return true;
    // Within the committed part of the reservation that holds this frame.
    const int here = 0;
    MEMORY_BASIC_INFORMATION stack{}, at{};
    if (!::VirtualQuery(&here, &stack, sizeof(stack)) ||
        !::VirtualQuery(reinterpret_cast<const void*>(lp), &at, sizeof(at)))
        return false;
    const auto end = reinterpret_cast<ULONG_PTR>(at.BaseAddress) + at.RegionSize;
    return at.AllocationBase == stack.AllocationBase && at.State == MEM_COMMIT &&
           !(at.Protect & (PAGE_GUARD | PAGE_NOACCESS)) && static_cast<ULONG_PTR>(lp) + size <= end;
}

HHOOK GuardThreadQueue() {
    return ::SetWindowsHookExW(WH_GETMESSAGE, &NeutralizePosted, nullptr, ::GetCurrentThreadId());
}

}  // namespace rz
