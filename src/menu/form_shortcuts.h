#pragma once
// Holds the break pictures that a reload restores and the click handler of
// every item entry of the launcher menu.

#include <memory>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Handles.h"
#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/Palette.h"

namespace rz {

class LauncherMenuParts;

class TFormShortCuts : public TForm {
public:
    // The parts it draws and launches from; they outlive this form.
    explicit TFormShortCuts(LauncherMenuParts& launcher);

    std::unique_ptr<TBitmap> ImageBreak3Small, ImageBreak4Small, ImageBreak5Small;
    std::unique_ptr<TBitmap> ImageBreak3Large, ImageBreak4Large, ImageBreak5Large;

    // Starts the clicked item (its Tag is the item id) and counts the launch.
    void NorItemsRTClickItem(TObject* sender);

    // Own drawing of the launcher menu.
    void NorItemsRTMeasureItem(TObject* sender, HDC canvas, int& width, int& height);
    void NorItemsRTDrawItem(TObject* sender, HDC canvas, const RECT& rect, bool selected);
    void SpeItemsRTDrawItem(TObject* sender, HDC canvas, const RECT& rect, bool selected);
    // Set to 20 at 96 DPI by every measure; the side bar title is clipped to it.
    int BarWidth = 0;

    // Assigns or clears the drawing handlers of the whole launcher menu.
    void ApplyMenuDrawing();
    void ApplyMenuDrawing(TMenuItem& level, bool windowsDraw);
    // Puts fresh copies of the template's Kit entries back, without handlers.
    void ResetLauncherKitEntries();
    // An item entry's icon at size pixels from the file or type its picture
    // came from, kept for later paints; null for other entries and where the
    // shell has none.
    HICON ItemIconAtSize(const TMenuItem& entry, int size);

private:
    LauncherMenuParts& Launcher() const { return launcher_; }
    // The entries' font from the settings, made again only when the face,
    // the size or the DPI changes.
    HFONT EntryFont(int dpi);

    LauncherMenuParts& launcher_;
    unique_hfont entryFont_;
    std::string entryFontFace_;
    int entryFontSize_ = 0;
    int entryFontDpi_ = 0;
};

// An entry's picture at size x size pixels at (x, y) over background: an item
// entry's from the shell at that size when it differs from the list's, else
// the list's picture; a late icon is taken first.
void DrawItemIcon(LauncherMenuParts& launcher, HDC canvas, const TMenuItem& entry, int x, int y, int size, bool enabled,
                  COLORREF background);

// Layout of the launcher menu's own drawing, at 96 DPI.
inline constexpr int kEntryHeight = 19;
inline constexpr int kNorSepHeight = 8;
inline constexpr int kBarOffset = 20;
inline constexpr int kTextIndent = 23;

// Index of the bar-maker entry in the entry's level, or -1.
int BarIndex(const TMenuItem& entry);
// Whether painting this entry also paints its level's side bar.
bool ClosesColumn(const TMenuItem& entry);
// What the entries of a level add up to at dpi, visible or not.
int ColumnHeight(const TMenuItem& level, int dpi);
// The DPI the launcher menu is drawn at: the open menu's, else the system's.
int MenuDpi();
// Paints the side bar of entry's level with its bar-maker's caption; origin
// is the column's top-left corner on the canvas, the title is clipped to
// barWidth.
void PaintSideBar(HDC canvas, const Palette& colours, const TMenuItem& entry, HFONT entryFont, POINT origin = {0, 0},
                  int barWidth = 20);
// The frame of an entry's icon cell, whose left edge is x0 and bottom edge
// bottom: raised for a selected entry, else in the menu's colour, which
// removes a frame left from a selection.
void PaintIconFrame(HDC canvas, const Palette& colours, int x0, int bottom, bool raised, int dpi);
// After the platform drew an entry of the launcher menu: puts back the
// entry's part of its level's side bar, which the platform painted over.
void PaintPlatformEntrySideBar(TMenuItem& entry, HDC canvas, const Palette& colours, const RECT& column,
                               const RECT& row, int barWidth = 20);

}  // namespace rz
