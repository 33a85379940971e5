#pragma once
// Read-only plain text for display: several lines, a vertical scroll bar,
// no tab stop. It owns the font it is given by face and size.

#include <string>

#include "platform/Control.h"
#include "platform/Handles.h"

namespace rz {

class TRichEdit : public TControl {
public:
    explicit TRichEdit(std::string name = {}) : TControl(std::move(name)) {}
    ~TRichEdit() override { DestroyControl(); }
    void CreateWnd(HWND parent);

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);

    using TControl::SetFont;
    void SetFont(const std::string& face, int points);
    HFONT Font() const;

private:
    std::string text_;
    unique_hfont font_;
};

}  // namespace rz
