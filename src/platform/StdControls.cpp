#include "platform/StdControls.h"

#include <algorithm>

namespace rz {

void TLabel::CreateWnd(HWND parent) {
    // SS_NOTIFY: a label with a hint must see the mouse.
    CreateControl(parent, "STATIC", Caption(), SS_LEFT | SS_NOPREFIX | SS_NOTIFY);
}

void TButton::CreateWnd(HWND parent) {
    CreateControl(parent, "BUTTON", Caption(), BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP);
}

void TButton::Click() {
    if (Enabled() && OnClick) OnClick(this);
}

bool TButton::OnCommand(WORD code) {
    switch (code) {
        case BN_CLICKED: Click(); return true;
        case BN_SETFOCUS: FireEnter(); return true;
        case BN_KILLFOCUS: FireExit(); return true;
        default: return false;
    }
}

void TCheckBox::CreateButton(HWND parent, DWORD kind) {
    CreateControl(parent, "BUTTON", Caption(), kind | BS_NOTIFY | WS_TABSTOP);
    ::SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::CreateWnd(HWND parent) { CreateButton(parent, BS_AUTOCHECKBOX); }

void TCheckBox::SetChecked(bool checked) {
    checked_ = checked;
    if (Handle()) ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::OnCommand(WORD code) {
    switch (code) {
        case BN_CLICKED:
            checked_ = ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (OnClick) OnClick(this);
            return true;
        case BN_SETFOCUS: FireEnter(); return true;
        case BN_KILLFOCUS: FireExit(); return true;
        default: return false;
    }
}

// Checked by hand: auto radio buttons would check themselves on focus,
// before the enter handler has seen the old state.
void TRadioButton::CreateWnd(HWND parent) { CreateButton(parent, BS_RADIOBUTTON); }

void TGroupBox::CreateWnd(HWND parent) { CreateControl(parent, "BUTTON", Caption(), BS_GROUPBOX); }

void TEdit::CreateWnd(HWND parent) {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | (ReadOnly ? ES_READONLY : 0) | (Lines > 1 ? ES_MULTILINE : 0);
    settingText_ = true;
    CreateControl(parent, "EDIT", text_, style, Border ? WS_EX_CLIENTEDGE : 0);
    settingText_ = false;
}

std::string TEdit::Text() const {
    if (!Handle()) return text_;
    int n = ::GetWindowTextLengthA(Handle());
    std::string s(n, '\0');
    ::GetWindowTextA(Handle(), s.data(), n + 1);
    return s;
}

void TEdit::SetText(const std::string& text) {
    text_ = text;
    if (!Handle()) return;
    settingText_ = true;
    ::SetWindowTextA(Handle(), text.c_str());
    settingText_ = false;
}

int TEdit::SelStart() const {
    if (!Handle()) return 0;
    DWORD start = 0;
    ::SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TEdit::SetSelStart(int position) {
    if (Handle()) ::SendMessageA(Handle(), EM_SETSEL, position, position);
}

bool TEdit::OnCommand(WORD code) {
    switch (code) {
        case EN_CHANGE:
            text_ = Text();
            if (!settingText_ && OnChange) OnChange(this);
            return true;
        case EN_SETFOCUS: FireEnter(); return true;
        case EN_KILLFOCUS: FireExit(); return true;
        default: return false;
    }
}

void TComboBox::CreateWnd(HWND parent) {
    CreateControl(parent, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
    FillWindow();
}

void TComboBox::FillWindow() {
    if (!Handle()) return;
    ::SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& s : items_) ::SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    ::SendMessageA(Handle(), CB_SETCURSEL, itemIndex_, 0);
}

void TComboBox::SetItems(std::vector<std::string> items) {
    if (Sorted) {
        std::sort(items.begin(), items.end(),
                  [](const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) < 0; });
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
    switch (code) {
        case CBN_SELCHANGE:
            itemIndex_ = static_cast<int>(::SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
            if (OnChange) OnChange(this);
            return true;
        case CBN_SETFOCUS: FireEnter(); return true;
        case CBN_KILLFOCUS: FireExit(); return true;
        default: return false;
    }
}

}  // namespace rz
