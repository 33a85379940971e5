// The search window's rows, in the look of the launcher menu: the program's
// own entry drawing (icon cell never highlighted, raised frame) or the
// platform's (the whole row highlighted), in the colours of the palette in
// force. A caption is measured and drawn once, in one font on one canvas;
// the letters the query matched are underlined at the places measured.

#include <algorithm>

#include "core/Settings.h"
#include "items/LauncherParts.h"
#include "items/SearchMatch.h"
#include "menu/form_search.h"
#include "menu/form_shortcuts.h"
#include "platform/CanvasText.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "platform/TextCodePage.h"
#include "support/UcvMenus.h"

namespace rz {

namespace {

constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

void FillWith(HDC dc, const Palette& colours, int colour, const RECT& r) {
    ::FillRect(dc, &r, colours.Brush(colour));
}

int TextWidth(HDC dc, const std::string& text) { return CanvasTextExtent(dc, text).cx; }

// A character that belongs to the one before it: the second half of a
// surrogate pair or a combining mark. Neither a cut nor a mark ends before it.
bool ContinuesCharacter(wchar_t c) { return (c >= 0xDC00 && c <= 0xDFFF) || (c >= 0x0300 && c <= 0x036F); }

// The UTF-16 position of a byte offset of UTF-8 text.
size_t WidePosition(const std::string& text, size_t bytes) {
    return ToUtf16(std::string_view(text).substr(0, std::min(bytes, text.size()))).size();
}

}  // namespace

void DrawMarkedLine(HDC dc, const std::string& text, const RECT& where, const std::vector<std::pair<size_t, size_t>>& marked,
                    HBRUSH ink, int thickness) {
    const std::wstring wide = ToUtf16(text);
    const int width = where.right - where.left;
    if (wide.empty() || width <= 0) return;
    // Where each character ends, in this font on this canvas.
    std::vector<int> ends(wide.size());
    SIZE whole{};
    ::GetTextExtentExPointW(dc, wide.c_str(), static_cast<int>(wide.size()), 0, nullptr, ends.data(), &whole);
    std::wstring shown = wide;
    size_t kept = wide.size();
    if (whole.cx > width) {
        const std::wstring dots = L"...";
        std::vector<int> dotEnds(dots.size());
        SIZE dotsSize{};
        ::GetTextExtentExPointW(dc, dots.c_str(), static_cast<int>(dots.size()), 0, nullptr, dotEnds.data(), &dotsSize);
        kept = 0;
        while (kept < wide.size() && ends[kept] + dotsSize.cx <= width) ++kept;
        while (kept > 0 && kept < wide.size() && ContinuesCharacter(wide[kept])) --kept;
        shown = wide.substr(0, kept) + dots;
        ends.resize(kept);
        const int base = kept > 0 ? ends[kept - 1] : 0;
        for (int end : dotEnds) ends.push_back(base + end);
    }
    // Each character where it was measured: the advances are given, not left to the drawing.
    std::vector<INT> advances(shown.size());
    for (size_t i = 0; i < shown.size(); ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    const int top = where.top + (where.bottom - where.top - tm.tmHeight) / 2;
    ::ExtTextOutW(dc, where.left, top, ETO_CLIPPED, &where, shown.c_str(), static_cast<UINT>(shown.size()),
                  advances.data());
    // Just below the baseline, inside the row.
    const int lineTop = std::min<int>(top + tm.tmAscent + thickness, where.bottom - thickness);
    for (const auto& [first, last] : marked) {
        const size_t from = WidePosition(text, first);
        size_t to = WidePosition(text, last);
        while (to < wide.size() && ContinuesCharacter(wide[to])) ++to;
        to = std::min(to, kept);
        if (from >= to) continue;
        const RECT line{where.left + (from > 0 ? ends[from - 1] : 0), lineTop, where.left + ends[to - 1],
                        lineTop + thickness};
        RECT visible{};
        if (::IntersectRect(&visible, &line, &where)) ::FillRect(dc, &visible, ink);
    }
}

void TFormSearch::DrawRow(HDC dc, int row, const RECT& r) {
    const std::shared_ptr<const Palette> palette = CurrentPalette();
    const Palette& colours = *palette;
    if (row < 0 || row >= static_cast<int>(results_.size())) {
        FillWith(dc, colours, COLOR_MENU, r);
        return;
    }
    const LauncherSearch::Result& result = results_[row];
    const TMenuItem& entry = *result.entry;
    const bool selected = row == selected_;
    const bool ownDrawing = !Settings.WindowsDraw;
    const bool hasImage = entry.ImageIndex >= 0;
    SelectGuard fontGuard(dc, Font());
    auto s = [this](int size96) { return Scaled(size96); };

    // The icon cell: never highlighted in the program's own look, with a raised frame when selected.
    const int iconSize = s(16);
    const int iconTop = r.top + (r.bottom - r.top - iconSize) / 2;
    const int iconCell = s(SearchLayout::kIconCell);
    const bool cellHighlighted = selected && !ownDrawing;
    if (ownDrawing) {
        FillWith(dc, colours, COLOR_MENU, RECT{r.left, r.top, r.left + iconCell, r.bottom});
        FillWith(dc, colours, selected ? COLOR_HIGHLIGHT : COLOR_MENU,
                 RECT{hasImage ? r.left + iconCell : r.left, r.top, r.right, r.bottom});
        // Where the row is barely taller than the icon the frame would reach into the next row.
        if (hasImage) PaintIconFrame(dc, colours, r.left, std::min<int>(r.bottom, iconTop + s(18)), selected, Dpi());
    } else {
        FillWith(dc, colours, selected ? COLOR_HIGHLIGHT : COLOR_MENU, r);
    }
    if (hasImage)
        DrawItemIcon(launcher_, dc, entry, r.left + s(SearchLayout::kIconLeft), iconTop, iconSize, true,
                     colours.Colour(cellHighlighted ? COLOR_HIGHLIGHT : COLOR_MENU));

    // The caption with its matched letters marked; on the right, where the entry lives.
    ::SetBkMode(dc, TRANSPARENT);
    const std::string caption = WithoutAccelerators(entry.Caption);
    const std::string& folder = *result.folder;
    const std::string place = result.kind != LauncherSearch::Kind::Folder ? folder
                              : folder.empty()                            ? std::string("Folder")
                                                                          : "Folder in " + folder;
    const int left = r.left + s(SearchLayout::kTextLeft);
    // Room for the mark that shows where in the results the list is.
    const int right =
        r.right - s(SearchLayout::kTextRight) - (total_ > SearchLayout::kRows ? s(SearchLayout::kScrollMark) : 0);
    const int placeGap = s(SearchLayout::kFolderGap);
    // The caption comes first; the place keeps up to a third of the row,
    // and whatever a short caption leaves.
    int captionRight = right;
    if (!place.empty()) captionRight = right - std::min(TextWidth(dc, place), (right - left) / 3) - placeGap;
    const int captionEnd = std::min(captionRight, left + TextWidth(dc, caption));
    const int ink = selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
    ::SetTextColor(dc, colours.Colour(ink));
    DrawMarkedLine(dc, caption, RECT{left, r.top, captionRight, r.bottom}, MatchedParts(caption, query_),
                   colours.Brush(ink), s(1));
    RECT where{captionEnd + placeGap, r.top, right, r.bottom};
    if (!place.empty() && where.right - where.left >= s(SearchLayout::kMinFolderWidth)) {
        ::SetTextColor(dc, colours.Colour(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
        DrawCanvasText(dc, place, where, kLine | DT_RIGHT | DT_END_ELLIPSIS);
    }
}

// The note line ("No matches", "N more") and, when not all results fit, a
// mark at the right edge that shows which part of them is in view.
void TFormSearch::DrawRest(HDC dc, const RECT& rows, const RECT& note) {
    const std::shared_ptr<const Palette> palette = CurrentPalette();
    const Palette& colours = *palette;
    if (note.bottom > note.top) {
        FillWith(dc, colours, COLOR_MENU, note);
        SelectGuard fontGuard(dc, Font());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, colours.Colour(COLOR_GRAYTEXT));
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
    FillWith(dc, colours, COLOR_GRAYTEXT,
             RECT{rows.right - Scaled(SearchLayout::kScrollMark), top, rows.right, bottom});
}

}  // namespace rz
