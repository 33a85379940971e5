#include "platform/Layout.h"

#include "platform/Dpi.h"

namespace rz {

RECT ScaledRect(int x, int y, int width, int height, int dpi) {
    return RECT{ScaleToDpi(x, dpi), ScaleToDpi(y, dpi), ScaleToDpi(x + width, dpi), ScaleToDpi(y + height, dpi)};
}

void LayOut(HWND parent, int dpi, std::initializer_list<LayoutRow> rows) {
    for (const LayoutRow& row : rows) {
        const bool made = row.control->Handle() != nullptr;
        if (!made && row.caption) row.control->SetCaption(row.caption);
        const RECT r = ScaledRect(row.x, row.y, row.width, row.height, dpi);
        row.control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (!made) row.create(*row.control, parent);
    }
}

}  // namespace rz
