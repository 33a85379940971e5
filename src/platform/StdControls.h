#pragma once
// The standard controls the forms use: label, buttons, check and radio
// boxes, group box, edit fields, combo box.

#include <string>
#include <vector>

#include "platform/Control.h"

namespace rz {

class TLabel : public TControl {
public:
    explicit TLabel(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
};

class TButton : public TControl {
public:
    explicit TButton(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    // Runs OnClick as a press would (nothing while disabled).
    void Click();

    TNotifyEvent OnClick;
    bool OnCommand(WORD code) override;
};

// The check state is kept here too, so it can be set before the window exists.
class TCheckBox : public TControl {
public:
    explicit TCheckBox(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    bool Checked() const { return checked_; }
    // Does not raise OnClick.
    void SetChecked(bool checked);

    TNotifyEvent OnClick;
    bool OnCommand(WORD code) override;

protected:
    void CreateButton(HWND parent, DWORD kind);
    bool checked_ = false;
};

class TRadioButton : public TCheckBox {
public:
    explicit TRadioButton(std::string name = {}) : TCheckBox(std::move(name)) {}
    void CreateWnd(HWND parent);
};

class TGroupBox : public TControl {
public:
    explicit TGroupBox(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
};

// One-line edit, or with ReadOnly and Lines > 1 a text box for display.
class TEdit : public TControl {
public:
    explicit TEdit(std::string name = {}) : TControl(std::move(name)) {}
    bool ReadOnly = false;
    bool Border = true;
    int Lines = 1;
    void CreateWnd(HWND parent);

    std::string Text() const;
    // Sets the text without raising OnChange.
    void SetText(const std::string& text);
    // The caret's position (the start of the selection), in characters.
    int SelStart() const;
    void SetSelStart(int position);

    TNotifyEvent OnChange;
    bool OnCommand(WORD code) override;

private:
    std::string text_;
    bool settingText_ = false;
};

// A drop-down list (no free text). The item list and the selection are kept
// here as well, so they can be read and set before and without the window.
class TComboBox : public TControl {
public:
    explicit TComboBox(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);

    bool Sorted = false;
    void SetItems(std::vector<std::string> items);
    const std::vector<std::string>& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The selected item's text, or empty without a selection.
    std::string Text() const;
    int IndexOf(const std::string& text) const;

    TNotifyEvent OnChange;
    bool OnCommand(WORD code) override;

private:
    void FillWindow();
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

}  // namespace rz
