#pragma once
// Controls of our own painting: a raised panel with a centred caption, a
// picture, and the status bar.

#include <memory>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Control.h"

namespace rz {

class TPanel : public TControl {
public:
    explicit TPanel(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    // The DrawEdge edge around it: raised inner ring by default.
    UINT Edge = BDR_RAISEDINNER;

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class TImage : public TControl {
public:
    TImage(std::string name, int width, int height);
    void CreateWnd(HWND parent);
    // A new, empty picture of that size.
    void SetPictureSize(int width, int height);
    TBitmap& Picture() { return *picture_; }
    const TBitmap& Picture() const { return *picture_; }

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::unique_ptr<TBitmap> picture_;
};

class TStatusBar : public TControl {
public:
    explicit TStatusBar(std::string name = {}) : TControl(std::move(name)) {}
    // Docked at the bottom of parent; the first panel is firstWidth wide.
    void CreateWnd(HWND parent, int firstWidth);
    // Docks again at the bottom of its parent, which may have changed size.
    void SetFirstPanelWidth(int width);
    const std::string& PanelText() const { return text_; }
    void SetPanelText(const std::string& text);

private:
    std::string text_;
};

}  // namespace rz
