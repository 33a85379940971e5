#pragma once
// A drop-down list drawn flat: one thin line instead of the sunken 3-D edge,
// the button-face colour around the field while disabled. The properties
// below take effect when the window is made, except the drop-down width,
// which AutoDropDownWidth fits to the items each time the list drops down.

#include "platform/StdControls.h"

namespace rz {

class TEnhComboBox : public TComboBox {
public:
    explicit TEnhComboBox(std::string name = {}) : TComboBox(std::move(name)) {}
    void CreateWnd(HWND parent);

    // Edges drawn at all times, not only while focused or under the mouse.
    bool AlwaysShowBorder = false;
    // The list's width: the widest item text plus 8 pixels at 96 DPI, plus a
    // scroll bar when it holds more items than it shows at once.
    bool AutoDropDownWidth = false;
    int DropDownWidth = 0;
    // Of the list's items; the field and later font changes size themselves.
    int ItemHeight = 0;
    int HorizontalExtent = 0;
    // Down-arrow opens the list instead of changing the selection; F4 does nothing.
    bool ExtendedInterface = false;

    // Of the list's items, once the window exists too (a new DPI).
    void SetItemHeight(int height);
    // How many items the dropped list shows at once.
    int VisibleItems() const;
    // The width AutoDropDownWidth gives the list for the current items and font.
    int FittedDropDownWidth() const;

    bool OnCommand(WORD code) override;

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void PaintFlatEdge();
    bool hot_ = false;
};

}  // namespace rz
