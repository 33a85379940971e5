#include "platform/HotKey.h"

#include "platform/FileIO.h"
#include "platform/TextCodePage.h"

namespace rz {

std::string HotKeyAtomName(const std::string& programPath, const std::string& suffix) {
    // FNV-1a over the whole path as the file system compares it (UTF-16,
    // without case): a deep or non-ASCII folder still gives a short name.
    std::wstring path = ToUtf16(programPath);
    if (!path.empty()) ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t c : path) {
        hash ^= static_cast<unsigned long long>(c);
        hash *= 1099511628211ull;
    }
    std::string name = "Razaveza.";
    for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789ABCDEF"[(hash >> shift) & 0xF];
    return name + suffix.substr(0, 200);
}

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

void TJvApplicationHotKey::SetPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    if (paused) Unregister();
    else Register();
}

void TJvApplicationHotKey::Register() {
    if (!window_ || paused_ || !(hotKey_ & 0xFF)) return;
    if (!id_) {
        // A global atom from the program's path: one id per installed copy.
        id_ = ::GlobalAddAtomA(HotKeyAtomName(ProgramPath(), IdSuffix).c_str());
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
