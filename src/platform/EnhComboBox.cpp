#include "platform/EnhComboBox.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/CanvasText.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"

namespace rz {

void TEnhComboBox::CreateWnd(HWND parent) {
    TComboBox::CreateWnd(parent);
    HWND h = Handle();
    if (DropDownWidth > 0) ::SendMessageA(h, CB_SETDROPPEDWIDTH, DropDownWidth, 0);
    if (ItemHeight > 0) ::SendMessageA(h, CB_SETITEMHEIGHT, 0, ItemHeight);
    ::SendMessageA(h, CB_SETHORIZONTALEXTENT, HorizontalExtent, 0);
    ::SendMessageA(h, CB_SETEXTENDEDUI, ExtendedInterface ? TRUE : FALSE, 0);
    // Where the visible count follows a setting rather than the height, it agrees.
    ::SendMessageA(h, CB_SETMINVISIBLE, VisibleItems(), 0);
    Subclass();
}

void TEnhComboBox::SetItemHeight(int height) {
    ItemHeight = height;
    if (!Handle() || height <= 0) return;
    ::SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, height);
    ::SendMessageA(Handle(), CB_SETMINVISIBLE, VisibleItems(), 0);
}

int TEnhComboBox::VisibleItems() const {
    const RECT b = Bounds();
    int item = ItemHeight;
    int field = 0;
    if (Handle()) {
        item = static_cast<int>(::SendMessageA(Handle(), CB_GETITEMHEIGHT, 0, 0));
        field = static_cast<int>(::SendMessageA(Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
    }
    if (item <= 0) return 1;
    return std::max(1, static_cast<int>((b.bottom - b.top - field) / item));
}

int TEnhComboBox::FittedDropDownWidth() const {
    if (!Handle()) return DropDownWidth;
    WindowDC dc(Handle());
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0));
    SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    int widest = 0;
    for (const std::string& s : Items()) {
        const SIZE size = CanvasTextExtent(dc.get(), s);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    const int dpi = WindowDpi(Handle());
    int width = widest + ScaleToDpi(8, dpi);
    if (static_cast<int>(Items().size()) > VisibleItems()) width += SystemMetricForDpi(SM_CXVSCROLL, dpi);
    return width;
}

bool TEnhComboBox::OnCommand(WORD code) {
    if (code == CBN_DROPDOWN && AutoDropDownWidth)
        ::SendMessageA(Handle(), CB_SETDROPPEDWIDTH, FittedDropDownWidth(), 0);
    return TComboBox::OnCommand(code);
}

void TEnhComboBox::PaintFlatEdge() {
    RECT r;
    ::GetClientRect(Handle(), &r);
    WindowDC dc(Handle());
    const bool enabled = ::IsWindowEnabled(Handle()) != FALSE;
    const bool showBorder = AlwaysShowBorder || hot_ || ::GetFocus() == Handle();
    const int field = enabled ? COLOR_WINDOW : COLOR_BTNFACE;
    // The outer ring of the sunken edge becomes the line, the inner one field colour.
    ::FrameRect(dc.get(), &r, ::GetSysColorBrush(showBorder ? COLOR_BTNSHADOW : field));
    ::InflateRect(&r, -1, -1);
    ::FrameRect(dc.get(), &r, ::GetSysColorBrush(field));
}

bool TEnhComboBox::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_PAINT:
            result = DefaultMessage(msg, wp, lp);
            PaintFlatEdge();
            return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
            result = DefaultMessage(msg, wp, lp);
            PaintFlatEdge();
            return true;
        case WM_MOUSEMOVE:
            if (!hot_) {
                hot_ = true;
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
                ::TrackMouseEvent(&track);
                PaintFlatEdge();
            }
            return false;
        case WM_MOUSELEAVE:
            hot_ = false;
            PaintFlatEdge();
            return false;
        default: return false;
    }
}

}  // namespace rz
