#pragma once
// A form's layout as data: rows of control, caption and place at 96 DPI,
// laid out at the window's DPI and created by one routine.

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
    return {&control,
            caption,
            x,
            y,
            width,
            height,
            [](TControl& c, HWND parent) { static_cast<Control&>(c).CreateWnd(parent); }};
}

// A 96-DPI rectangle at dpi. Edges are scaled, not sizes, so that controls
// that touch at 96 DPI still touch.
RECT ScaledRect(int x, int y, int width, int height, int dpi);

// Places each row at dpi. A row without a window yet gets its caption and
// then its window, in the order given: children stack in creation order,
// the first on top. Laid out again (a new DPI), rows only move.
void LayOut(HWND parent, int dpi, std::initializer_list<LayoutRow> rows);

}  // namespace rz
