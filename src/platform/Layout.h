#pragma once
// A form's layout as data: rows of control, caption and place at 96 DPI,
// laid out and created by one routine.

#include <windows.h>

#include <initializer_list>

#include "platform/Control.h"

namespace rz {

struct LayoutRow {
    TControl* control;
    // Null: the control keeps the caption or text it has.
    const char* caption;
    int x, y, width, height;
    void (*create)(TControl& control, HWND parent);
};

// A row for any control whose window is made by CreateWnd(parent).
template <class Control>
LayoutRow Row(Control& control, const char* caption, int x, int y, int width, int height) {
    return {&control, caption, x, y, width, height,
            [](TControl& c, HWND parent) { static_cast<Control&>(c).CreateWnd(parent); }};
}

// Sets each row's caption and bounds, then makes its window, in the order
// given: children stack in creation order, the first on top.
void LayOut(HWND parent, std::initializer_list<LayoutRow> rows);

}  // namespace rz
