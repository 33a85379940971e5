#include "platform/LinkLabel.h"

#include "platform/CanvasText.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"

namespace rz {

void TLinkLabel::CreateWnd(HWND parent) {
    CreateControl(parent, PaintedClass(), Caption(), 0);
    // The parent's font reached the window before it was ours to handle.
    if (!font_) {
        HFONT parentFont = reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0));
        TakeFont(
            CreateUnderlinedFont(parentFont ? parentFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    }
    FitToText();
}

void TLinkLabel::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    FitToText();
}

void TLinkLabel::SetFont(const std::string& face, int points) {
    TakeFont(CreatePointFont(face, points, WindowDpi(Handle()), true));
}

void TLinkLabel::TakeFont(unique_hfont font) {
    if (!font) return;
    font_ = std::move(font);
    FitToText();
    Invalidate();
}

void TLinkLabel::FitToText() {
    if (!Handle() || !font_) return;
    WindowDC dc(Handle());
    SelectGuard selected(dc.get(), font_.get());
    RECT text{0, 0, 0, 0};
    DrawCanvasText(dc.get(), Caption(), text, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    RECT b = Bounds();
    if (b.right - b.left == text.right && b.bottom - b.top == text.bottom) return;
    SetBounds(b.left, b.top, text.right, text.bottom);
    // What lay under a longer text: the siblings below repaint it too.
    ::RedrawWindow(::GetParent(Handle()), &b, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TLinkLabel::Paint() {
    PaintDC dc(Handle());
    RECT r;
    ::GetClientRect(Handle(), &r);
    ::FillRect(dc.get(), &r, ::GetSysColorBrush(COLOR_BTNFACE));
    SelectGuard selected(dc.get(), font_.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), ::GetSysColor(COLOR_HIGHLIGHT));
    DrawCanvasText(dc.get(), Caption(), r, DT_SINGLELINE | DT_NOPREFIX);
}

bool TLinkLabel::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_PAINT:
            Paint();
            result = 0;
            return true;
        case WM_SETFONT:
            TakeFont(CreateUnderlinedFont(reinterpret_cast<HFONT>(wp)));
            result = 0;
            return true;
        case WM_GETFONT: result = reinterpret_cast<LRESULT>(font_.get()); return true;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            result = TRUE;
            return true;
        case WM_LBUTTONUP:
            if (OnClick) OnClick(this);
            result = 0;
            return true;
        default: return false;
    }
}

}  // namespace rz
