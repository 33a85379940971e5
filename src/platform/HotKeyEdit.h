#pragma once
// A field that takes a key combination as it is pressed and shows it as the
// settings file writes it ("Ctrl+Shift+L"); Backspace or Del empties it.
// Tab, Enter and Esc pressed alone stay the dialog's. A lone modifier is
// never taken, and a combination that would take a key from every program's
// typing is refused with the reason.

#include <functional>
#include <string>

#include "platform/ShortCut.h"
#include "platform/StdControls.h"

namespace rz {

// Why shortCut cannot be a system-wide hotkey, or null: it needs a key
// besides the modifiers, and without Ctrl or Alt only F1 to F24 will do.
const char* ShortCutRefusal(TShortCut shortCut);

class THotKeyEdit : public TEdit {
public:
    explicit THotKeyEdit(std::string name = {}) : TEdit(std::move(name)) {}
    void CreateWnd(HWND parent);

    TShortCut Value() const { return value_; }
    void SetValue(TShortCut value);

    // A combination refused as it was pressed, with the reason; the field keeps its value.
    std::function<void(const std::string& reason)> OnRefused;

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void KeyDown(WORD key);
    void ShowValue(const std::string& pending = {});
    TShortCut value_ = 0;
};

}  // namespace rz
