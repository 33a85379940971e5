// The search window's rows, in the look of the launcher menu: the program's
// own entry drawing (icon cell never highlighted, raised frame) or the
// platform's (the whole row highlighted). Text goes through the wide text
// routines, as the menu's does; the letters the query matched are underlined.

#include <algorithm>

#include "core/Settings.h"
#include "items/LauncherParts.h"
#include "items/SearchMatch.h"
#include "menu/form_search.h"
#include "menu/form_shortcuts.h"
#include "platform/CanvasText.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"
#include "support/UcvMenus.h"

namespace rz {

namespace {

constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

void FillWith(HDC dc, int colour, const RECT& r) { ::FillRect(dc, &r, ::GetSysColorBrush(colour)); }

int TextWidth(HDC dc, const std::string& text) { return CanvasTextExtent(dc, text).cx; }

}  // namespace

// The caption, cut with an ellipsis where it is too long; the matched
// letters drawn again over themselves in the underlined face, up to where the
// ellipsis starts.
void TFormSearch::DrawCaption(HDC dc, const std::string& caption, const RECT& where) {
    RECT text = where;
    DrawCanvasText(dc, caption, text, kLine | DT_LEFT | DT_END_ELLIPSIS);
    if (!matchFont_) return;
    RECT visible = where;
    if (TextWidth(dc, caption) > where.right - where.left) visible.right -= TextWidth(dc, "...");
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    const int y = where.top + (where.bottom - where.top - tm.tmHeight) / 2;
    SelectGuard font(dc, matchFont_.get());
    for (const auto& [start, end] : MatchedParts(caption, query_)) {
        const int x = where.left + TextWidth(dc, caption.substr(0, start));
        if (x >= visible.right) break;
        CanvasTextOut(dc, x, y, ETO_CLIPPED, &visible, caption.substr(start, end - start));
    }
}

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
        DrawItemIcon(launcher_, dc, entry, r.left + s(SearchLayout::kIconLeft), iconTop, iconSize, true,
                     ::GetSysColor(cellHighlighted ? COLOR_HIGHLIGHT : COLOR_MENU));

    ::SetBkMode(dc, TRANSPARENT);
    const std::string caption = WithoutAccelerators(entry.Caption);
    const std::string& folder = *results_[row].folder;
    const int left = r.left + s(SearchLayout::kTextLeft);
    // Room for the mark that shows where in the results the list is.
    const int right =
        r.right - s(SearchLayout::kTextRight) - (total_ > SearchLayout::kRows ? s(SearchLayout::kScrollMark) : 0);
    const int folderGap = s(SearchLayout::kFolderGap);
    // The caption comes first; the folder keeps up to a third of the row,
    // and whatever a short caption leaves.
    int captionRight = right;
    if (!folder.empty()) captionRight = right - std::min(TextWidth(dc, folder), (right - left) / 3) - folderGap;
    const int captionEnd = std::min(captionRight, left + TextWidth(dc, caption));
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawCaption(dc, caption, RECT{left, r.top, captionRight, r.bottom});
    RECT where{captionEnd + folderGap, r.top, right, r.bottom};
    if (!folder.empty() && where.right - where.left >= s(SearchLayout::kMinFolderWidth)) {
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
        DrawCanvasText(dc, folder, where, kLine | DT_RIGHT | DT_END_ELLIPSIS);
    }
}

// The note line ("No matches", "N more") and, when not all results fit, a
// mark at the right edge that shows which part of them is in view.
void TFormSearch::DrawRest(HDC dc, const RECT& rows, const RECT& note) {
    if (note.bottom > note.top) {
        FillWith(dc, COLOR_MENU, note);
        SelectGuard fontGuard(dc, Font());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
        RECT text{note.left + Scaled(SearchLayout::kTextLeft), note.top, note.right, note.bottom};
        DrawCanvasText(dc, ListResults.Note, text, kLine | DT_LEFT | DT_END_ELLIPSIS);
    }
    if (total_ <= static_cast<size_t>(ListResults.Rows) || rows.bottom <= rows.top) return;
    const int height = rows.bottom - rows.top;
    const auto part = [&](int row) -> int {
        return static_cast<int>(rows.top + height * static_cast<double>(row) / static_cast<double>(total_));
    };
    const int top = part(ListResults.Top);
    const int bottom = std::max(top + Scaled(4), part(ListResults.Top + ListResults.Rows));
    FillWith(dc, COLOR_BTNSHADOW, RECT{rows.right - Scaled(SearchLayout::kScrollMark), top, rows.right, bottom});
}

}  // namespace rz
