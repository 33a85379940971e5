// The launcher menu's own drawing: measuring, item and titled-separator
// painting, the side bar, and switching the handlers between modes.

#include <algorithm>

#include "core/Settings.h"
#include "items/LauncherParts.h"
#include "menu/form_shortcuts.h"
#include "platform/CanvasText.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"
#include "platform/Palette.h"
#include "support/UcvGraphics.h"
#include "support/UcvMenus.h"

namespace rz {

namespace {

unique_hfont MenuFont() {
    const LOGFONTW lf = SystemMenuLogFont();
    return unique_hfont(::CreateFontIndirectW(&lf));
}

void FillWith(HDC dc, const Palette& colours, int colour, const RECT& r) { ::FillRect(dc, &r, colours.Brush(colour)); }

// Lines as thick as one pixel is at the DPI, from the start to before the end.
void HLine(HDC dc, const Palette& colours, int colour, int x1, int x2, int y, int thickness) {
    FillWith(dc, colours, colour, RECT{x1, y, x2, y + thickness});
}
void VLine(HDC dc, const Palette& colours, int colour, int x, int y1, int y2, int thickness) {
    FillWith(dc, colours, colour, RECT{x, y1, x + thickness, y2});
}

int XOffset(const TMenuItem& entry, int dpi) { return BarIndex(entry) >= 0 ? ScaleToDpi(kBarOffset, dpi) : 0; }

// Where the entry's level lies on the canvas. The open menu knows (its level
// may be scrolled); an entry painted on its own is laid out from the
// column's corner by the layout numbers, entries spanning the column.
RECT ColumnRect(const TMenuItem& entry, const RECT& r, int dpi) {
    RECT column{};
    if (const TPopupMenu* open = TPopupMenu::Current(); open && open->ColumnOf(entry, r, column)) return column;
    const TMenuItem& level = *entry.Parent();
    int above = 0;
    for (int i = 0; i < level.Count() && level.Items(i) != &entry; ++i) {
        const TMenuItem& e = *level.Items(i);
        if (e.Visible) above += ScaleToDpi(e.Tag == kTagNorSep ? kNorSepHeight : kEntryHeight, dpi);
    }
    return RECT{r.left, r.top - above, r.right, r.top - above + ColumnHeight(level, dpi)};
}

// How much of a column the menu window shows at once: the platform clips
// the entries to it, and a level taller than the screen scrolls in it.
int ShownHeight(HDC dc, int columnHeight) {
    unique_hrgn clip(::CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (::GetClipRgn(dc, clip.get()) != 1 || ::GetRgnBox(clip.get(), &box) == NULLREGION) return columnHeight;
    return std::min<int>(columnHeight, box.bottom - box.top);
}

// Whether the entry's level shows a side bar at all: it has a bar-maker and
// the entry that closes its column is one that shows.
bool HasSideBar(const TMenuItem& entry) {
    const TMenuItem* level = entry.Parent();
    if (!level || BarIndex(entry) < 0) return false;
    for (int i = level->Count() - 1; i >= 0; --i) {
        if (level->Items(i)->OnDrawItem) return level->Items(i)->Visible;
    }
    return false;
}

void PaintBand(HDC dc, const Palette& colours, const TMenuItem& entry, HFONT entryFont, POINT origin, int shown,
               int barWidth, const RECT* onlyRow = nullptr);

// The part of the side bar beside one entry. Every entry of a level with a
// side bar paints its part: a row repainted alone (a scrolled menu repaints
// only what comes into view) keeps the band whole.
void PaintSideBarRow(HDC dc, const Palette& colours, const TMenuItem& entry, HFONT entryFont, const RECT& column,
                     const RECT& row, int barWidth) {
    const int shown = ShownHeight(dc, ColumnHeight(*entry.Parent(), MenuDpi()));
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, column.left, row.top, column.left + ScaleToDpi(kBarOffset, MenuDpi()), row.bottom);
    PaintBand(dc, colours, entry, entryFont, POINT{column.left, column.top}, shown, barWidth, &row);
    ::RestoreDC(dc, saved);
}

// The entry's share of its level's side bar: all of it when the entry closes the column.
void PaintSideBarFor(HDC dc, const Palette& colours, const TMenuItem& entry, HFONT entryFont, const RECT& column,
                     const RECT& row, int barWidth) {
    if (ClosesColumn(entry)) PaintSideBar(dc, colours, entry, entryFont, POINT{column.left, column.top}, barWidth);
    else if (HasSideBar(entry)) PaintSideBarRow(dc, colours, entry, entryFont, column, row, barWidth);
}

// The platform's submenu arrow is a bitmap of one size, drawn after the
// entry: at another DPI (or in dark colours) a triangle is drawn to scale in
// the colour of the entry's text, as the platform colours its arrow, and the
// platform's is clipped away.
void PaintScaledSubmenuArrow(HDC dc, const RECT& row, int dpi) {
    constexpr int kArrowBitmap = 32739;  // OBM_MNARROW
    const int columns = ScaleToDpi(5, dpi), middle = (row.top + row.bottom) / 2;
    const int left = row.right - ScaleToDpi(8, dpi) - columns;
    unique_hbrush ink(::CreateSolidBrush(::GetTextColor(dc)));
    for (int i = 0; i < columns; ++i) {
        const RECT line{left + i, middle - (columns - 1 - i), left + i + 1, middle + (columns - i)};
        ::FillRect(dc, &line, ink.get());
    }
    BITMAP arrow{};
    unique_hbitmap bitmap(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(kArrowBitmap)));
    const int platformWidth = bitmap && ::GetObjectA(bitmap.get(), sizeof(arrow), &arrow) ? arrow.bmWidth : 0;
    ::ExcludeClipRect(dc, std::min<int>(left, row.right - platformWidth - 1), row.top, row.right, row.bottom);
}

}  // namespace

int BarIndex(const TMenuItem& entry) {
    const TMenuItem* level = entry.Parent();
    if (!level) return -1;
    for (int i = 0; i < level->Count(); ++i) {
        if (level->Items(i)->Tag == kTagBarMaker) return i;
    }
    return -1;
}

bool ClosesColumn(const TMenuItem& entry) {
    const TMenuItem* level = entry.Parent();
    if (!level || BarIndex(entry) < 0) return false;
    for (int i = level->Count() - 1; i >= 0; --i) {
        if (level->Items(i)->OnDrawItem) return level->Items(i) == &entry;
    }
    return false;
}

int ColumnHeight(const TMenuItem& level, int dpi) {
    int height = 0;
    for (int i = 0; i < level.Count(); ++i) {
        int tag = level.Items(i)->Tag;
        if (tag == kTagBarMaker || tag == kTagHidden) continue;
        height += ScaleToDpi(tag == kTagNorSep ? kNorSepHeight : kEntryHeight, dpi);
    }
    return height;
}

int MenuDpi() {
    const TPopupMenu* open = TPopupMenu::Current();
    return open ? open->Dpi() : SystemDpi();
}

namespace {

// Whether a row of the band meets the title that runs up from bottom: the
// title is as long as the caption in the entries' font, give or take the
// rounding of the turned one. Rows away from it need no turned font.
bool RowMeetsTitle(HDC dc, HFONT entryFont, const std::string& title, int bottom, const RECT& row, int dpi) {
    SelectGuard selected(dc, entryFont);
    const int length = CanvasTextExtent(dc, title).cx + ScaleToDpi(4, dpi);
    return row.top <= bottom + ScaleToDpi(4, dpi) && row.bottom >= bottom - length;
}

// The band and its title. In a level taller than what the window shows,
// the title starts 4 pixels above the bottom of the first screenful, so it
// shows when the menu opens and scrolls with the entries.
void PaintBand(HDC dc, const Palette& colours, const TMenuItem& entry, HFONT entryFont, POINT origin, int shown,
               int barWidth, const RECT* onlyRow) {
    const TMenuItem& level = *entry.Parent();
    const TMenuItem& barMaker = *level.Items(BarIndex(entry));
    const int dpi = MenuDpi();
    const int h = ColumnHeight(level, dpi);
    FillWith(dc, colours, COLOR_INACTIVECAPTION,
             RECT{origin.x, origin.y, origin.x + ScaleToDpi(19, dpi), origin.y + h - ScaleToDpi(1, dpi)});
    const int y = origin.y + std::min(h, shown) - ScaleToDpi(4, dpi);
    if (onlyRow && !RowMeetsTitle(dc, entryFont, barMaker.Caption, y, *onlyRow, dpi)) return;

    LOGFONTW lf{};
    ::GetObjectW(entryFont, sizeof(lf), &lf);
    // The setting is kept whole; only the bar's font face is cut to fit.
    SetFaceName(lf, Settings.FontName);
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    lf.lfHeight = -::MulDiv(FontSizeForDrawing(Settings.FontSize), dpi, 72);
    unique_hfont rotated(::CreateFontIndirectW(&lf));
    SelectGuard selected(dc, rotated.get());
    ::SetTextColor(dc, colours.Colour(COLOR_INACTIVECAPTIONTEXT));
    ::SetBkColor(dc, colours.Colour(COLOR_INACTIVECAPTION));
    ::SetBkMode(dc, OPAQUE);
    const std::string& title = barMaker.Caption;
    const SIZE extent = CanvasTextExtent(dc, title);
    int x = (ScaleToDpi(20, dpi) - extent.cy) / 2;
    RECT clip{origin.x, origin.y, origin.x + barWidth, origin.y + h};
    CanvasTextOut(dc, origin.x + x, y, ETO_CLIPPED, &clip, title);
}

}  // namespace

void PaintSideBar(HDC dc, const Palette& colours, const TMenuItem& entry, HFONT entryFont, POINT origin, int barWidth) {
    PaintBand(dc, colours, entry, entryFont, origin, ShownHeight(dc, ColumnHeight(*entry.Parent(), MenuDpi())),
              barWidth);
}

void TFormShortCuts::NorItemsRTMeasureItem(TObject* sender, HDC canvas, int& width, int& height) {
    auto* entry = dynamic_cast<TMenuItem*>(sender);
    if (!entry) return;
    const int dpi = MenuDpi();
    SelectGuard selected(canvas, EntryFont(dpi));
    const SIZE extent = CanvasTextExtent(canvas, entry->Caption);
    width = extent.cx + ScaleToDpi(kTextIndent + (BarIndex(*entry) >= 0 ? 22 : 0) + (entry->Count() > 0 ? 7 : 0), dpi);
    height = ScaleToDpi(kEntryHeight, dpi);
    BarWidth = ScaleToDpi(20, dpi);
}

void TFormShortCuts::NorItemsRTDrawItem(TObject* sender, HDC dc, const RECT& r, bool selected) {
    auto* entry = dynamic_cast<TMenuItem*>(sender);
    if (!entry) return;
    const int dpi = MenuDpi();
    auto s = [dpi](int size96) { return ScaleToDpi(size96, dpi); };
    const RECT column = ColumnRect(*entry, r, dpi);
    const int x0 = column.left + XOffset(*entry, dpi);
    const HFONT font = EntryFont(dpi);
    const std::shared_ptr<const Palette> palette = Launcher().LauncherMenu().Colours();
    const Palette& colours = *palette;
    SelectGuard fontGuard(dc, font);
    const bool hasImage = entry->ImageIndex >= 0;
    if (hasImage) {
        // The platform fills a menu with its own colour, the light one under a dark palette.
        if (colours.IsDark()) FillWith(dc, colours, COLOR_MENU, RECT{x0, r.top, x0 + s(20), r.bottom});
        DrawItemIcon(Launcher(), dc, *entry, x0 + s(2), r.bottom - s(18), s(16), entry->Enabled,
                     colours.Colour(COLOR_MENU));
    }

    PaintIconFrame(dc, colours, x0, r.bottom, hasImage && selected, dpi);

    // The icon cell is never highlighted.
    FillWith(dc, colours, selected && entry->Enabled ? COLOR_HIGHLIGHT : COLOR_MENU,
             RECT{hasImage ? x0 + s(20) : x0, r.top, r.right, r.bottom});

    RECT text{x0 + s(kTextIndent), r.top, r.right, r.bottom};
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    ::SetBkMode(dc, TRANSPARENT);
    if (entry->Enabled || colours.IsDark()) {
        // Embossing reads on light colours only: a dark menu greys its disabled entries.
        const int ink = !entry->Enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
        ::SetTextColor(dc, colours.Colour(ink));
        DrawCanvasText(dc, entry->Caption, text, format);
    } else {
        RECT shifted = text;
        ::OffsetRect(&shifted, s(1), s(1));
        ::SetTextColor(dc, colours.Colour(COLOR_BTNHIGHLIGHT));
        DrawCanvasText(dc, entry->Caption, shifted, format);
        ::SetTextColor(dc, colours.Colour(COLOR_BTNSHADOW));
        DrawCanvasText(dc, entry->Caption, text, format);
    }
    PaintSideBarFor(dc, colours, *entry, font, column, r, BarWidth);
    // The platform's arrow is drawn in its own light colours.
    if (entry->Count() > 0 && (dpi != kBaseDpi || colours.IsDark())) PaintScaledSubmenuArrow(dc, r, dpi);
}

void PaintIconFrame(HDC dc, const Palette& colours, int x0, int bottom, bool raised, int dpi) {
    const int light = raised ? COLOR_BTNHIGHLIGHT : COLOR_MENU;
    const int dark = raised ? COLOR_BTNSHADOW : COLOR_MENU;
    auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
    const int top = bottom - s(19), px = s(1);
    HLine(dc, colours, light, x0 + px, x0 + s(18), top, px);
    VLine(dc, colours, light, x0 + px, top, bottom - px, px);
    VLine(dc, colours, dark, x0 + s(18), top, bottom - px, px);
    HLine(dc, colours, dark, x0 + px, x0 + s(19), bottom - px, px);
}

void TFormShortCuts::SpeItemsRTDrawItem(TObject* sender, HDC dc, const RECT& r, bool) {
    auto* entry = dynamic_cast<TMenuItem*>(sender);
    if (!entry) return;
    const int dpi = MenuDpi();
    const RECT column = ColumnRect(*entry, r, dpi);
    const int x0 = column.left + XOffset(*entry, dpi);
    // The entry's rectangle already spans the bar column.
    RECT area = r;
    unique_hfont menuFont = Settings.WindowsDraw ? MenuFont() : nullptr;
    const HFONT font = menuFont ? menuFont.get() : EntryFont(dpi);
    const std::shared_ptr<const Palette> palette = Launcher().LauncherMenu().Colours();
    const Palette& colours = *palette;
    SelectGuard fontGuard(dc, font);
    FillWith(dc, colours, COLOR_MENU, area);
    const int y = r.bottom - ScaleToDpi(10, dpi), px = ScaleToDpi(1, dpi);
    HLine(dc, colours, COLOR_BTNSHADOW, x0, r.right, y, px);
    HLine(dc, colours, COLOR_BTNHIGHLIGHT, x0, r.right, y + px, px);
    // An opaque title interrupts the etched line.
    std::string title = WithoutAccelerators(entry->Caption);
    ::SetTextColor(dc, colours.Colour(COLOR_MENUTEXT));
    ::SetBkColor(dc, colours.Colour(COLOR_MENU));
    ::SetBkMode(dc, OPAQUE);
    DrawCanvasText(dc, title, area, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    PaintSideBarFor(dc, colours, *entry, font, column, r, BarWidth);
}

HFONT TFormShortCuts::EntryFont(int dpi) {
    if (!entryFont_ || entryFontFace_ != Settings.FontName || entryFontSize_ != Settings.FontSize ||
        entryFontDpi_ != dpi) {
        entryFont_ = CreatePointFont(Settings.FontName, FontSizeForDrawing(Settings.FontSize), dpi);
        entryFontFace_ = Settings.FontName;
        entryFontSize_ = Settings.FontSize;
        entryFontDpi_ = dpi;
    }
    return entryFont_.get();
}

void TFormShortCuts::ApplyMenuDrawing(TMenuItem& level, bool windowsDraw) {
    TFormShortCuts* f = this;
    for (int i = 0; i < level.Count(); ++i) {
        TMenuItem& e = *level.Items(i);
        if (e.Tag == kTagNorSep || e.Tag == kTagHidden) continue;
        if (e.Tag == kTagSpeSep) {
            e.OnMeasureItem = [f](TObject* s, HDC c, int& w, int& h) { f->NorItemsRTMeasureItem(s, c, w, h); };
            e.OnDrawItem = [f](TObject* s, HDC c, const RECT& r, bool sel) { f->SpeItemsRTDrawItem(s, c, r, sel); };
            continue;
        }
        if (e.Count() > 0) ApplyMenuDrawing(e, windowsDraw);
        if (windowsDraw) {
            e.OnMeasureItem = nullptr;
            e.OnDrawItem = nullptr;
        } else {
            e.OnMeasureItem = [f](TObject* s, HDC c, int& w, int& h) { f->NorItemsRTMeasureItem(s, c, w, h); };
            e.OnDrawItem = [f](TObject* s, HDC c, const RECT& r, bool sel) { f->NorItemsRTDrawItem(s, c, r, sel); };
        }
    }
}

void PaintPlatformEntrySideBar(TMenuItem& entry, HDC dc, const Palette& colours, const RECT& column, const RECT& row,
                               int barWidth) {
    if (!HasSideBar(entry)) return;
    unique_hfont font = MenuFont();
    PaintSideBarRow(dc, colours, entry, font.get(), column, row, barWidth);
}

void TFormShortCuts::ApplyMenuDrawing() {
    TPopupMenu& menu = Launcher().LauncherMenu();
    // The platform paints over the band beside its own entries: they put their part back.
    menu.OnPlatformEntryDrawn = [this, &menu](TMenuItem& entry, HDC dc, const RECT& column, const RECT& row) {
        PaintPlatformEntrySideBar(entry, dc, *menu.Colours(), column, row, BarWidth);
    };
    menu.IconAtSize = [this](const TMenuItem& entry, int size) { return ItemIconAtSize(entry, size); };
    // A level's late icons are taken as it opens, before it is measured and drawn.
    menu.OnLevelOpen = [this](const TMenuItem& level) {
        for (int i = 0; i < level.Count(); ++i)
            if (level.Items(i)->Visible) Launcher().TakeLateIcon(level.Items(i)->ImageIndex);
    };
    menu.PlatformDrawn = Settings.WindowsDraw;
    ApplyMenuDrawing(menu.Items(), Settings.WindowsDraw);
}

namespace {
void ClearDrawing(TMenuItem& level) {
    for (int i = 0; i < level.Count(); ++i) {
        TMenuItem& e = *level.Items(i);
        e.OnMeasureItem = nullptr;
        e.OnDrawItem = nullptr;
        ClearDrawing(e);
    }
}

// "Razaveza Kit" is always the second entry from the end.
template <class Level>
Level* KitOf(Level& root) {
    return root.Count() >= 2 ? root.Items(root.Count() - 2) : nullptr;
}
}  // namespace

void TFormShortCuts::ResetLauncherKitEntries() {
    const TMenuItem* templateKit = KitOf(Launcher().MenuTemplate().Items());
    TMenuItem* kit = KitOf(Launcher().LauncherMenu().Items());
    if (templateKit && kit) {
        for (int i = 0; i < templateKit->Count(); ++i) {
            const TMenuItem& source = *templateKit->Items(i);
            auto fresh = std::make_unique<TMenuItem>(source.Name);
            fresh->Caption = source.Caption;
            fresh->Tag = source.Tag;
            fresh->ImageIndex = source.ImageIndex;
            fresh->Visible = source.Visible;
            fresh->OnClick = source.OnClick;
            for (int j = 0; j < source.Count(); ++j) {
                TMenuItem* sub = fresh->Add(std::make_unique<TMenuItem>());
                CopyMenuTree(*source.Items(j), *sub);
            }
            kit->Delete(i);
            kit->Insert(i, std::move(fresh));
        }
    }
    ClearDrawing(Launcher().LauncherMenu().Items());
}

}  // namespace rz
