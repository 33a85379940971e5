#include "platform/PageControl.h"

#include <commctrl.h>

#include <algorithm>

namespace rz {

void TTabSheet::CreateWnd(HWND parent) {
    // Not clipping its children: a group box on the page paints no background of its own.
    CreateControl(parent, PaintedClass(), "", 0, WS_EX_CONTROLPARENT);
}

bool TTabSheet::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
            // The form knows the controls.
            result = ::SendMessageA(::GetParent(Handle()), msg, wp, lp);
            return true;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wp);
            for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                ::SendMessageA(child, WM_SETFONT, wp, lp);
            result = 0;
            return true;
        case WM_GETFONT: result = reinterpret_cast<LRESULT>(font_); return true;
        default: return false;
    }
}

void TPageControl::AddPage(TTabSheet& page) { pages_.push_back(&page); }

void TPageControl::CreateWnd(HWND parent) {
    // Children stack in creation order, the first on top: the pages lie over the tab control.
    for (int i = 0; i < PageCount(); ++i) {
        pages_[i]->SetVisible(i == activeIndex_);
        pages_[i]->CreateWnd(parent);
    }
    CreateControl(parent, WC_TABCONTROLA, "", WS_TABSTOP);
    Subclass();
    for (int i = 0; i < PageCount(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string text = pages_[i]->Caption();
        item.pszText = text.data();
        ::SendMessageA(Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageA(Handle(), TCM_SETCURSEL, activeIndex_, 0);
    LayoutPages();
}

TTabSheet* TPageControl::ActivePage() const {
    return activeIndex_ >= 0 && activeIndex_ < PageCount() ? pages_[activeIndex_] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet& page) {
    auto it = std::find(pages_.begin(), pages_.end(), &page);
    if (it == pages_.end()) return;
    activeIndex_ = static_cast<int>(it - pages_.begin());
    if (Handle()) ::SendMessageA(Handle(), TCM_SETCURSEL, activeIndex_, 0);
    ShowActivePage();
}

void TPageControl::SelectNextPage(bool forward) {
    const int count = PageCount();
    if (count < 2) return;
    SetActivePage(*pages_[(activeIndex_ + (forward ? 1 : count - 1)) % count]);
    if (OnChange) OnChange(this);
}

void TPageControl::ShowActivePage() {
    for (int i = 0; i < PageCount(); ++i) pages_[i]->SetVisible(i == activeIndex_);
}

void TPageControl::LayoutPages() {
    RECT r{0, 0, 0, 0};
    ::GetClientRect(Handle(), &r);
    ::SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    ::MapWindowPoints(Handle(), ::GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    for (TTabSheet* page : pages_) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool TPageControl::OnNotify(const NMHDR& nm, LRESULT& result) {
    if (nm.code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    activeIndex_ = static_cast<int>(::SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
    ShowActivePage();
    if (OnChange) OnChange(this);
    result = 0;
    return true;
}

bool TPageControl::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_SETFOCUS:
            result = DefaultMessage(msg, wp, lp);
            FireEnter();
            return true;
        case WM_KILLFOCUS:
            result = DefaultMessage(msg, wp, lp);
            FireExit();
            return true;
        case WM_MOVE:
            result = DefaultMessage(msg, wp, lp);
            LayoutPages();
            return true;
        case WM_SIZE:
            result = DefaultMessage(msg, wp, lp);
            LayoutPages();
            if (OnResize) OnResize(this);
            return true;
        case WM_SETFONT:
            // The tab row's height follows the font: the pages move with it.
            result = DefaultMessage(msg, wp, lp);
            LayoutPages();
            if (OnResize) OnResize(this);
            return true;
        default: return false;
    }
}

namespace {
BOOL CALLBACK FindPageControl(HWND child, LPARAM lp) {
    auto* found = reinterpret_cast<TPageControl**>(lp);
    *found = dynamic_cast<TPageControl*>(TControl::FromHandle(child));
    return *found == nullptr;
}
}  // namespace

bool SwitchPageByKey(HWND top, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !(::GetKeyState(VK_CONTROL) & 0x8000)) return false;
    TPageControl* pages = nullptr;
    ::EnumChildWindows(top, &FindPageControl, reinterpret_cast<LPARAM>(&pages));
    if (!pages || !::IsWindowVisible(pages->Handle())) return false;
    pages->SelectNextPage(!(::GetKeyState(VK_SHIFT) & 0x8000));
    return true;
}

}  // namespace rz
