#pragma once
// A top-level window that is created hidden and only ever hidden again when
// closed; it lives until the program ends.

#include <functional>
#include <string>

#include "platform/Handles.h"
#include "platform/Window.h"

namespace rz {

class TControl;

// The DPI at which a window laid out for client96 (its client size at 96
// DPI) with frame around it fits into work: dpi where it fits, else the
// largest lower one that does (never below half the base DPI).
int FittingDpi(int dpi, SIZE client96, SIZE frame, const RECT& work);

class TForm : public TWindow {
public:
    explicit TForm(std::string name) : TWindow(std::move(name)) {}

    // Creates the hidden window with the given client size at 96 DPI and
    // border style; the size follows the window's DPI from then on.
    void CreateForm(const std::string& caption, int clientWidth, int clientHeight,
                    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                    DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);

    void Show();
    void Hide();
    // Runs OnClose; the window is hidden unless the handler says otherwise.
    void Close();
    bool Visible() const;
    void CenterOnScreen();
    // Set: where the window's designed size does not fit the work area of its
    // monitor, it is laid out smaller, as for a lower DPI; and it is moved
    // back inside that work area when shown and when the DPI, the monitors
    // or the work area change.
    bool FitWorkArea = false;
    void KeepOnScreen();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    // The form's font; controls created later pick it up.
    void SetFont(const std::string& face, int points);
    const std::string& FontName() const { return fontName_; }
    int FontSize() const { return fontSize_; }
    HFONT Font() const { return font_.get(); }

    // The keyboard goes to control now if the window is active, else once it is.
    void FocusControl(const TControl& control);

    // The DPI the window is laid out for, and a 96-DPI size at it.
    int Dpi() const { return dpi_; }
    int Scaled(int size96) const;

    TNotifyEvent OnShow;
    std::function<void(TObject* sender, bool& hide)> OnClose;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // After the window has moved to a monitor of another DPI, with its font
    // and client size already made for it: the controls are laid out again.
    virtual void DpiChanged() {}
    void Fire(const TNotifyEvent& ev) {
        if (ev) ev(this);
    }
    // Makes font and client size for dpi, moves the window to suggested and
    // runs DpiChanged.
    void ChangeDpi(int dpi, const RECT& suggested);
    // The control that gets the keyboard when the window is activated, given
    // the one that had it when the window last lost it (null if none): by
    // default that one, else the first that takes Tab.
    virtual HWND FocusOnActivate(HWND remembered);

private:
    void FitClientToDpi();
    void SendFontToChildren();
    std::string caption_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int dpi_ = 96;
    // The DPI of the monitor as last told; dpi_ is lower where that does not fit.
    int monitorDpi_ = 96;
    std::string fontName_ = "MS Sans Serif";
    int fontSize_ = 8;
    unique_hfont font_;
    void RestoreFocus();
    HWND lastFocus_ = nullptr;
    HWND lastNotifyFrom_ = nullptr;
    TControl* lastNotifyControl_ = nullptr;
};

}  // namespace rz
