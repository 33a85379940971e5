#include "controls/CcvWinGroupBox.h"

#include "platform/CanvasText.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"

namespace rz {

void TcvWinGroupBox::CreateWnd(HWND parent) {
    TGroupBox::CreateWnd(parent);
    Subclass();
}

void TcvWinGroupBox::SetDpi(int dpi) {
    dpi_ = dpi;
    if (Handle()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

bool TcvWinGroupBox::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_PAINT:
            // The base box paints first; the engraving goes on top.
            result = DefaultMessage(msg, wp, lp);
            Paint();
            return true;
        case WM_ENABLE:
            result = DefaultMessage(msg, wp, lp);
            ::InvalidateRect(Handle(), nullptr, TRUE);
            ::UpdateWindow(Handle());
            return true;
        default: return false;
    }
}

void TcvWinGroupBox::Paint() {
    if (Caption().empty() || ::IsWindowEnabled(Handle())) return;
    WindowDC dc(Handle());
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0));
    SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE zero{};
    ::GetTextExtentPoint32A(dc.get(), "0", 1, &zero);
    const bool rtl = (::GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    UINT flags = DT_SINGLELINE | (rtl ? DT_RTLREADING : 0);
    const int inset = ScaleToDpi(8, dpi_ > 0 ? dpi_ : WindowDpi(Handle()));
    RECT r{inset, 0, inset, zero.cy};
    DrawCanvasText(dc.get(), Caption(), r, flags | DT_CALCRECT);
    if (rtl) {
        RECT box;
        ::GetClientRect(Handle(), &box);
        int w = r.right - r.left;
        r.left = box.right - w - inset;
        r.right = r.left + w;
    }
    ::SetBkMode(dc.get(), TRANSPARENT);
    RECT shifted = r;
    ::OffsetRect(&shifted, 1, 1);
    ::SetTextColor(dc.get(), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawCanvasText(dc.get(), Caption(), shifted, flags);
    ::SetTextColor(dc.get(), ::GetSysColor(COLOR_BTNSHADOW));
    DrawCanvasText(dc.get(), Caption(), r, flags);
}

}  // namespace rz
