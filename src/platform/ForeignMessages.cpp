#include "platform/ForeignMessages.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

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
        case WM_DEVMODECHANGE:
        case WM_MDICREATE: return true;
        default: return PointerParameterSize(msg) > 0;
    }
}

constexpr UINT kSystemTimer = 0x0118;  // WM_SYSTIMER: dispatched like WM_TIMER

struct CallbackTimer {
    HWND hwnd;
    UINT_PTR id;
    TIMERPROC callback;
};
std::mutex g_timersLock;
std::vector<CallbackTimer> g_timers;
int g_menusOpen = 0;

TIMERPROC CallbackOf(HWND hwnd, UINT_PTR id) {
    std::lock_guard<std::mutex> hold(g_timersLock);
    for (const CallbackTimer& t : g_timers)
        if (t.hwnd == hwnd && t.id == id) return t.callback;
    return nullptr;
}

// The system never posts these: a posted one comes from another program.
bool OnlyEverSent(UINT msg) {
    return msg == WM_CONTEXTMENU || msg == WM_CREATE || msg == WM_NCCREATE || msg == WM_NCDESTROY ||
           msg == WM_DESTROY || msg == WM_GETOBJECT;
}

bool Neutralized(const MSG& msg) {
    if (msg.message == WM_TIMER || msg.message == kSystemTimer) return msg.lParam != 0;
    if (OnlyEverSent(msg.message)) return true;
    return msg.lParam && PointsIntoItsSender(msg.message);
}

LRESULT CALLBACK NeutralizePosted(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && msg) {
        TIMERPROC callback = nullptr;
        if (msg->message == WM_TIMER && msg->lParam == 0 && wp == PM_REMOVE)
            callback = CallbackOf(msg->hwnd, msg->wParam);
        if (callback || Neutralized(*msg)) {
            const MSG taken = *msg;
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
            if (callback) callback(taken.hwnd, WM_TIMER, taken.wParam, ::GetTickCount());
        }
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

bool SettingAnnounced(LPARAM lp, const char* area) {
    const auto* text = reinterpret_cast<const char*>(lp);
    if (!text) return false;
    MEMORY_BASIC_INFORMATION at{};
    if (!::VirtualQuery(text, &at, sizeof(at)) || at.State != MEM_COMMIT ||
        (at.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(at.Protect & (PAGE_READONLY | PAGE_READWRITE |
                                                                        PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                                                        PAGE_EXECUTE_READWRITE)))
        return false;
    const auto end = reinterpret_cast<ULONG_PTR>(at.BaseAddress) + at.RegionSize;
    const size_t length = std::strlen(area) + 1;  // the terminating zero too
    if (reinterpret_cast<ULONG_PTR>(text) + length > end) return false;
    return ::_strnicmp(text, area, length) == 0;
}

HHOOK GuardThreadQueue() {
    return ::SetWindowsHookExW(WH_GETMESSAGE, &NeutralizePosted, nullptr, ::GetCurrentThreadId());
}

UINT_PTR SetCallbackTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC callback) {
    // A thread timer gets its number from the system.
    const UINT_PTR made = ::SetTimer(hwnd, id, ms, nullptr);
    if (!made) return 0;
    std::lock_guard<std::mutex> hold(g_timersLock);
    const UINT_PTR key = hwnd ? id : made;
    std::erase_if(g_timers, [&](const CallbackTimer& t) { return t.hwnd == hwnd && t.id == key; });
    g_timers.push_back(CallbackTimer{hwnd, key, callback});
    return made;
}

void KillCallbackTimer(HWND hwnd, UINT_PTR id) {
    ::KillTimer(hwnd, id);
    std::lock_guard<std::mutex> hold(g_timersLock);
    std::erase_if(g_timers, [&](const CallbackTimer& t) { return t.hwnd == hwnd && t.id == id; });
}

bool ForeignLifeMessage(UINT msg) {
    if (msg == WM_NCCREATE || msg == WM_CREATE) return true;
    return (msg == WM_DESTROY || msg == WM_NCDESTROY) && SentByAnotherThread();
}

namespace {
constexpr UINT_PTR kGuardId = 0x52A7;

LRESULT CALLBACK GuardProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    if (ForeignLifeMessage(msg) || (msg == WM_CONTEXTMENU && !ContextMenuWanted())) return 0;
    if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &GuardProc, id);
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}
}  // namespace

bool GuardWindow(HWND hwnd) { return ::SetWindowSubclass(hwnd, &GuardProc, kGuardId, 0) != FALSE; }

bool ContextMenuWanted() { return g_menusOpen == 0 && !SentByAnotherThread(); }

void NoteMenuOpen(bool open) { g_menusOpen += open ? 1 : -1; }

bool AnyMenuOpen() { return g_menusOpen > 0; }

}  // namespace rz
