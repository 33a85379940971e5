#include "platform/StdControls.h"

#include <algorithm>

namespace rz {

void TLabel::CreateWnd(HWND parent) { CreateControl(parent, "STATIC", caption_, SS_LEFT | SS_NOPREFIX); }

void TLabel::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (Handle()) ::SetWindowTextA(Handle(), caption.c_str());
}

void TButton::CreateWnd(HWND parent) { CreateControl(parent, "BUTTON", caption_, BS_PUSHBUTTON | WS_TABSTOP); }

void TButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (Handle()) ::SetWindowTextA(Handle(), caption.c_str());
}

void TButton::Click() {
    if (OnClick) OnClick(this);
}

bool TButton::OnCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    Click();
    return true;
}

void TCheckBox::CreateWnd(HWND parent) {
    if (CreateControl(parent, "BUTTON", caption_, BS_AUTOCHECKBOX | WS_TABSTOP))
        ::SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (Handle()) ::SetWindowTextA(Handle(), caption.c_str());
}

void TCheckBox::SetChecked(bool checked) {
    checked_ = checked;
    if (Handle()) ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::OnCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    checked_ = ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (OnClick) OnClick(this);
    return true;
}

void TComboBox::CreateWnd(HWND parent) {
    if (!CreateControl(parent, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)) return;
    FillWindow();
}

void TComboBox::FillWindow() {
    if (!Handle()) return;
    ::SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& s : items_)
        ::SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    ::SendMessageA(Handle(), CB_SETCURSEL, itemIndex_, 0);
}

void TComboBox::SetItems(std::vector<std::string> items) {
    if (Sorted) {
        std::sort(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
            return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
        });
    }
    items_ = std::move(items);
    itemIndex_ = -1;
    FillWindow();
}

void TComboBox::SetItemIndex(int index) {
    itemIndex_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
    if (Handle()) ::SendMessageA(Handle(), CB_SETCURSEL, itemIndex_, 0);
}

std::string TComboBox::Text() const { return itemIndex_ >= 0 ? items_[itemIndex_] : std::string(); }

int TComboBox::IndexOf(const std::string& text) const {
    auto it = std::find(items_.begin(), items_.end(), text);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool TComboBox::OnCommand(WORD code) {
    if (code != CBN_SELCHANGE) return false;
    itemIndex_ = static_cast<int>(::SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
    if (OnChange) OnChange(this);
    return true;
}

}  // namespace rz
