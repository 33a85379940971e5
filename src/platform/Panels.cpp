#include "platform/Panels.h"

#include <commctrl.h>

#include "platform/CanvasText.h"
#include "platform/Handles.h"

namespace rz {

void TPanel::CreateWnd(HWND parent) { CreateControl(parent, PaintedClass(), Caption(), 0); }

bool TPanel::WindowMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_PAINT) return false;
    PaintDC dc(Handle());
    RECT r;
    ::GetClientRect(Handle(), &r);
    ::FillRect(dc.get(), &r, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc.get(), &r, Edge, BF_RECT);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(::GetParent(Handle()), WM_GETFONT, 0, 0));
    SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), ::GetSysColor(COLOR_BTNTEXT));
    DrawCanvasText(dc.get(), Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    result = 0;
    return true;
}

TImage::TImage(std::string name, int width, int height)
    : TControl(std::move(name)), picture_(std::make_unique<TBitmap>(width, height)) {}

void TImage::CreateWnd(HWND parent) { CreateControl(parent, PaintedClass(), "", 0); }

void TImage::SetPictureSize(int width, int height) {
    if (width == picture_->Width() && height == picture_->Height()) return;
    picture_ = std::make_unique<TBitmap>(width, height);
    Invalidate();
}

bool TImage::WindowMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_PAINT) return false;
    PaintDC dc(Handle());
    RECT r;
    ::GetClientRect(Handle(), &r);
    const int w = picture_->Width(), h = picture_->Height();
    if (r.right <= w && r.bottom <= h) {
        ::BitBlt(dc.get(), 0, 0, w, h, picture_->Canvas(), 0, 0, SRCCOPY);
    } else {
        // A picture made for 96 DPI on a larger display: scaled, smoothly.
        ::SetStretchBltMode(dc.get(), HALFTONE);
        ::SetBrushOrgEx(dc.get(), 0, 0, nullptr);
        ::StretchBlt(dc.get(), 0, 0, r.right, r.bottom, picture_->Canvas(), 0, 0, w, h, SRCCOPY);
    }
    result = 0;
    return true;
}

void TStatusBar::CreateWnd(HWND parent, int firstWidth) {
    CreateControl(parent, STATUSCLASSNAMEA, "", 0);
    SetFirstPanelWidth(firstWidth);
    SetPanelText(text_);
}

void TStatusBar::SetFirstPanelWidth(int width) {
    if (!Handle()) return;
    int parts[1] = {width};
    ::SendMessageA(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    ::SendMessageA(Handle(), WM_SIZE, 0, 0);
}

void TStatusBar::SetPanelText(const std::string& text) {
    text_ = text;
    if (Handle()) ::SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace rz
