#pragma once
// A system-wide hotkey registered on a window of ours; the owner forwards
// WM_HOTKEY to Dispatch.

#include <windows.h>

#include <string>

#include "platform/Component.h"
#include "platform/ShortCut.h"

namespace rz {

// The name of the global atom that gives a key its id: from the whole
// program path, whatever its length or script, and always short enough.
std::string HotKeyAtomName(const std::string& programPath, const std::string& suffix);

class TJvApplicationHotKey : public TComponent {
public:
    explicit TJvApplicationHotKey(std::string name = {}) : TComponent(std::move(name)) {}
    ~TJvApplicationHotKey() override;

    // The window that receives WM_HOTKEY; registers the current key on it.
    void SetWindow(HWND window);
    TShortCut HotKey() const { return hotKey_; }
    // A different value unregisters the old key and registers the new one.
    void SetHotKey(TShortCut hotKey);
    // While paused the key is given back to the system (a field that takes
    // key combinations has the focus) and registered again after.
    void SetPaused(bool paused);
    // True while the key is registered (another program may hold it).
    bool Registered() const { return registered_; }
    // Why the last registration failed (the system's code), 0 after a success.
    unsigned long RegisterError() const { return registerError_; }
    // The id WM_HOTKEY carries for this key.
    WPARAM Id() const { return id_; }

    // Set before SetWindow when a window has more than one key: it tells
    // this key's id apart from the others'.
    std::string IdSuffix;

    TNotifyEvent OnHotKey;
    // True when the message was this key's.
    bool Dispatch(WPARAM id);

private:
    void Register();
    void Unregister();
    HWND window_ = nullptr;
    TShortCut hotKey_ = 0;
    bool registered_ = false;
    bool paused_ = false;
    unsigned long registerError_ = 0;
    ATOM id_ = 0;
};

}  // namespace rz
