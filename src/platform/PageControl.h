#pragma once
// A tab control with pages. Each page is a window of its own, parent of the
// page's controls, laid over the tab control's display area as its sibling:
// so the dialog's Tab key reaches the page's controls and then the tab row
// itself. A page hands its controls' notifications on to the form, which
// routes them as for any other control, and passes font changes down to them.

#include <string>
#include <vector>

#include "platform/Control.h"

namespace rz {

class TTabSheet : public TControl {
public:
    explicit TTabSheet(std::string name = {}) : TControl(std::move(name)) {}

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    friend class TPageControl;
    void CreateWnd(HWND parent);
    HFONT font_ = nullptr;
};

class TPageControl : public TControl {
public:
    explicit TPageControl(std::string name = {}) : TControl(std::move(name)) {}

    // Pages are added before CreateWnd; their captions are the tabs' texts.
    void AddPage(TTabSheet& page);
    // Creates the pages' windows, then the tab control just below them.
    void CreateWnd(HWND parent);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet& Pages(int index) const { return *pages_.at(index); }
    TTabSheet* ActivePage() const;
    // Does not raise OnChange.
    void SetActivePage(TTabSheet& page);
    // The next or previous page, round the end, as the user's choice: raises OnChange.
    void SelectNextPage(bool forward);
    TNotifyEvent OnChange;
    TNotifyEvent OnResize;
    bool OnNotify(const NMHDR& nm, LRESULT& result) override;

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void LayoutPages();
    void ShowActivePage();
    std::vector<TTabSheet*> pages_;
    int activeIndex_ = 0;
};

// Ctrl+Tab and Ctrl+Shift+Tab in a window with a page control switch its
// pages; true when msg was such a key and a page control took it.
bool SwitchPageByKey(HWND top, const MSG& msg);

}  // namespace rz
