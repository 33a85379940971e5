#pragma once
// Non-owning typed wrappers over standard child windows. The wrapper's
// pointer sits in the child's GWLP_USERDATA so that the parent form can route
// WM_COMMAND and WM_NOTIFY back to it.

#include <windows.h>

#include <string>

#include "platform/Component.h"

namespace rz {

class TControl : public TComponent {
public:
    explicit TControl(std::string name = {}) : TComponent(std::move(name)) {}
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return hwnd_; }
    bool HandleAllocated() const { return hwnd_ != nullptr; }

    void SetBounds(int x, int y, int w, int h);
    RECT Bounds() const { return bounds_; }
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void SetFont(HFONT font);

    // The long hint (after "|") is what the item manager's status bar shows.
    std::string Hint;

    // Called by the parent form; return true when handled.
    virtual bool OnCommand(WORD code) { (void)code; return false; }
    virtual bool OnNotify(const NMHDR& nm, LRESULT& result) {
        (void)nm; (void)result; return false;
    }

    static TControl* FromHandle(HWND hwnd);

protected:
    bool CreateControl(HWND parent, const char* className, const std::string& text, DWORD style,
                       DWORD exStyle = 0);
    void DestroyControl();

private:
    HWND hwnd_ = nullptr;
    RECT bounds_{0, 0, 0, 0};
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace rz
