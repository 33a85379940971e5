#pragma once
// The standard controls the forms use: label, button, check box, combo box.

#include <string>
#include <vector>

#include "platform/Control.h"

namespace rz {

class TLabel : public TControl {
public:
    explicit TLabel(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    std::string caption_;
};

class TButton : public TControl {
public:
    explicit TButton(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // Runs OnClick as a press would.
    void Click();

    TNotifyEvent OnClick;
    bool OnCommand(WORD code) override;

private:
    std::string caption_;
};

// The check state is kept here too, so it can be set before the window exists.
class TCheckBox : public TControl {
public:
    explicit TCheckBox(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return checked_; }
    // Does not raise OnClick.
    void SetChecked(bool checked);

    TNotifyEvent OnClick;
    bool OnCommand(WORD code) override;

private:
    std::string caption_;
    bool checked_ = false;
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
