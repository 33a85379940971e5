#pragma once
// A web link: its text underlined in the highlight colour, a hand-point
// cursor, a click event. Whatever font it is given, it shows that font
// underlined; it sizes itself to its text.

#include <string>

#include "platform/Control.h"
#include "platform/Handles.h"

namespace rz {

class TLinkLabel : public TControl {
public:
    explicit TLinkLabel(std::string name = {}) : TControl(std::move(name)) {}
    ~TLinkLabel() override { DestroyControl(); }
    void CreateWnd(HWND parent);

    void SetCaption(const std::string& caption);
    using TControl::SetFont;
    void SetFont(const std::string& face, int points);
    // The font it shows (always underlined), owned by the label.
    HFONT Font() const { return font_.get(); }
    // Back to the size of its text, after it was placed.
    void FitToText();

    TNotifyEvent OnClick;

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void TakeFont(unique_hfont font);
    void Paint();
    unique_hfont font_;
};

}  // namespace rz
