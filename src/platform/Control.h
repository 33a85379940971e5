#pragma once
// Typed wrappers over child windows; each owns its window and destroys it.
// The wrapper's pointer sits in a property of the child so that the parent
// form can route WM_COMMAND and WM_NOTIFY back to it; controls that need
// their own messages subclass the window (Subclass) or use a painted class
// of ours.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Component.h"

namespace rz {

// A key pressed in a control; handled keeps the control's own reaction away.
using TKeyEvent = std::function<void(TObject* sender, WORD key, bool& handled)>;

class TControl : public TComponent {
public:
    explicit TControl(std::string name = {}) : TComponent(std::move(name)) {}
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return hwnd_; }

    void SetBounds(int x, int y, int w, int h);
    RECT Bounds() const { return bounds_; }
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void SetFont(HFONT font);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetFocus();
    void Invalidate();

    // "short|long": the item manager's status bar shows the long part.
    std::string Hint;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    // Heard once ListenToKeys ran on the created window.
    TKeyEvent OnKeyDown;
    // Enter or Esc that OnKeyDown takes before the form's dialog keys do.
    std::vector<WORD> OwnDialogKeys;
    void ListenToKeys() { Subclass(); }

    // Called by the parent form; return true when handled.
    virtual bool OnCommand(WORD code) {
        (void)code;
        return false;
    }
    virtual bool OnNotify(const NMHDR& nm, LRESULT& result) {
        (void)nm;
        (void)result;
        return false;
    }

    static TControl* FromHandle(HWND hwnd);

protected:
    // Raises EOSError when the system refuses the window. A Unicode window
    // takes typed letters of every script whole.
    void CreateControl(HWND parent, const char* className, const std::string& text, DWORD style, DWORD exStyle = 0,
                       bool unicode = false);
    void DestroyControl();
    void FireEnter() {
        if (OnEnter) OnEnter(this);
    }
    void FireExit() {
        if (OnExit) OnExit(this);
    }

    // Messages of the control's own window, after Subclass() or for the
    // painted class; return true when handled.
    virtual bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        (void)msg;
        (void)wp;
        (void)lp;
        (void)result;
        return false;
    }
    void Subclass();
    bool KeyMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    LRESULT DefaultMessage(UINT msg, WPARAM wp, LPARAM lp);
    // A window class of ours whose messages all go to WindowMessage.
    static const char* PaintedClass();

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK PaintedProc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    RECT bounds_{0, 0, 0, 0};
    bool visible_ = true;
    bool enabled_ = true;
    bool subclassed_ = false;
    std::string caption_;
};

}  // namespace rz
