// The search window's rows, in the look of the launcher menu: the program's
// own entry drawing (icon cell never highlighted, raised frame) or the
// platform's (the whole row highlighted).

#include <algorithm>

#include "core/Settings.h"
#include "items/LauncherParts.h"
#include "menu/form_search.h"
#include "menu/form_shortcuts.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"
#include "support/UcvMenus.h"

namespace rz {

namespace {

void FillWith(HDC dc, int colour, const RECT& r) { ::FillRect(dc, &r, ::GetSysColorBrush(colour)); }

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

void TFormSearch::DrawRow(HDC dc, int row, const RECT& r) {
    if (row < 0 || row >= static_cast<int>(results_.size())) {
        FillWith(dc, COLOR_MENU, r);
        return;
    }
    const TMenuItem& entry = *results_[row].entry;
    const bool selected = row == selected_;
    const bool ownDrawing = !Settings.WindowsDraw;
    const bool hasImage = entry.ImageIndex >= 0;
    SelectGuard fontGuard(dc, Font());
    auto s = [this](int size96) { return Scaled(size96); };

    const int iconSize = s(16);
    const int iconTop = r.top + (r.bottom - r.top - iconSize) / 2;
    const int iconCell = s(SearchLayout::kIconCell);
    const bool cellHighlighted = selected && !ownDrawing;
    if (ownDrawing) {
        FillWith(dc, COLOR_MENU, RECT{r.left, r.top, r.left + iconCell, r.bottom});
        FillWith(dc, selected ? COLOR_HIGHLIGHT : COLOR_MENU,
                 RECT{hasImage ? r.left + iconCell : r.left, r.top, r.right, r.bottom});
        // Where the row is barely taller than the icon the frame would reach into the next row.
        if (hasImage) PaintIconFrame(dc, r.left, std::min<int>(r.bottom, iconTop + s(18)), selected, Dpi());
    } else {
        FillWith(dc, selected ? COLOR_HIGHLIGHT : COLOR_MENU, r);
    }
    if (hasImage)
        launcher_.MenuImages().DrawSized(dc, r.left + s(SearchLayout::kIconLeft), iconTop, iconSize, entry.ImageIndex,
                                         true, ::GetSysColor(cellHighlighted ? COLOR_HIGHLIGHT : COLOR_MENU));

    ::SetBkMode(dc, TRANSPARENT);
    const std::string caption = WithoutAccelerators(entry.Caption);
    const std::string& folder = *results_[row].folder;
    const int left = r.left + s(SearchLayout::kTextLeft);
    const int right = r.right - s(SearchLayout::kTextRight);
    const int folderGap = s(SearchLayout::kFolderGap);
    // The caption comes first; the folder keeps up to a third of the row,
    // and whatever a short caption leaves.
    int captionRight = right;
    if (!folder.empty()) captionRight = right - std::min(TextWidth(dc, folder), (right - left) / 3) - folderGap;
    const int captionEnd = std::min(captionRight, left + TextWidth(dc, caption));
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT text{left, r.top, captionRight, r.bottom};
    ::DrawTextA(dc, caption.c_str(), -1, &text, format | DT_LEFT);
    RECT where{captionEnd + folderGap, r.top, right, r.bottom};
    if (!folder.empty() && where.right - where.left >= s(SearchLayout::kMinFolderWidth)) {
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
        ::DrawTextA(dc, folder.c_str(), -1, &where, format | DT_RIGHT);
    }
}

}  // namespace rz
