#include "platform/Layout.h"

namespace rz {

void LayOut(HWND parent, std::initializer_list<LayoutRow> rows) {
    for (const LayoutRow& row : rows) {
        if (row.caption) row.control->SetCaption(row.caption);
        row.control->SetBounds(row.x, row.y, row.width, row.height);
        row.create(*row.control, parent);
    }
}

}  // namespace rz
