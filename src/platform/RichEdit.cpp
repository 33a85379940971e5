#include "platform/RichEdit.h"

#include "platform/Dpi.h"
#include "platform/Fonts.h"

namespace rz {

void TRichEdit::CreateWnd(HWND parent) {
    CreateControl(parent, "EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
    SetText(text_);
    if (font_) TControl::SetFont(font_.get());
}

void TRichEdit::SetText(const std::string& text) {
    text_ = text;
    if (Handle()) ::SetWindowTextA(Handle(), text.c_str());
}

void TRichEdit::SetFont(const std::string& face, int points) {
    unique_hfont font = CreatePointFont(face, points, WindowDpi(Handle()));
    if (!font) return;
    TControl::SetFont(font.get());
    font_ = std::move(font);
}

HFONT TRichEdit::Font() const {
    return Handle() ? reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0)) : font_.get();
}

}  // namespace rz
