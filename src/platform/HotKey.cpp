#include "platform/HotKey.h"

namespace rz {

TJvApplicationHotKey::~TJvApplicationHotKey() {
    Unregister();
    if (id_) ::GlobalDeleteAtom(id_);
}

void TJvApplicationHotKey::SetWindow(HWND window) {
    Unregister();
    window_ = window;
    Register();
}

void TJvApplicationHotKey::SetHotKey(TShortCut hotKey) {
    if (hotKey == hotKey_) return;
    Unregister();
    hotKey_ = hotKey;
    Register();
}

void TJvApplicationHotKey::Register() {
    if (!window_ || !(hotKey_ & 0xFF)) return;
    if (!id_) {
        // A global atom from the program's path: one id per installed copy.
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        id_ = ::GlobalAddAtomA((path + IdSuffix).c_str());
        if (!id_) {
            registerError_ = ::GetLastError();
            return;
        }
    }
    UINT mods = ((hotKey_ & kAltBit) ? MOD_ALT : 0) | ((hotKey_ & kCtrlBit) ? MOD_CONTROL : 0) |
                ((hotKey_ & kShiftBit) ? MOD_SHIFT : 0);
    // Held by another program: the menu stays reachable from the tray icon.
    registered_ = ::RegisterHotKey(window_, id_, mods, hotKey_ & 0xFF) != 0;
    registerError_ = registered_ ? 0 : ::GetLastError();
}

void TJvApplicationHotKey::Unregister() {
    if (registered_) ::UnregisterHotKey(window_, id_);
    registered_ = false;
}

bool TJvApplicationHotKey::Dispatch(WPARAM id) {
    if (!registered_ || id != id_) return false;
    if (OnHotKey) OnHotKey(this);
    return true;
}

}  // namespace rz
