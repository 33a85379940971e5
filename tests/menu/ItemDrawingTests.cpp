// Measuring and painting of item, folder and fixed entries.

#include "MenuDrawFixture.h"

using namespace rztest;
using rz::TMenuItem;

namespace {

// The entry row used below: rows 20 to 38, right edge 150.
constexpr RECT kRow{0, 20, 150, 39};
constexpr int kBottom = 39;

// Nothing in these levels has a draw handler, so no entry closes the column
// and the side bar stays out of the pictures.
TMenuItem& EntryIn(TMenuItem& level, bool bar, const std::string& caption, int image) {
    if (bar) AddBarAndHidden(level, "Bar");
    return AddEntry(level, caption, 0, image);
}

// A picture as the menu shows it: over the menu's colour, which the
// platform fills a menu with before its entries are drawn.
void DrawOnMenu(const rz::TImageList& images, Surface& s, int x, int y, bool enabled) {
    const RECT cell{x, y, x + images.Width(), y + images.Height()};
    ::FillRect(s.Canvas(), &cell, ::GetSysColorBrush(COLOR_MENU));
    images.Draw(s.Canvas(), x, y, 0, enabled);
}

}  // namespace

TEST_F(MenuDrawTest, MeasureAddsIndentBarRoomAndArrowRoomToTheCaptionWidth) {
    Surface s(10, 10);
    const std::string caption = "Sa&ve all";
    // "&" is measured as a character.
    const int text8 = TextSize(s.Canvas(), "Tahoma", 8, caption).cx;
    ASSERT_GT(text8, TextSize(s.Canvas(), "Tahoma", 8, "Save all").cx);

    rz::TFormShortCuts fresh(Parts());
    EXPECT_EQ(fresh.BarWidth, 0);
    TMenuItem plain;
    TMenuItem& entry = AddEntry(plain, caption, 0);
    int w = 0, h = 0;
    fresh.NorItemsRTMeasureItem(&entry, s.Canvas(), w, h);
    EXPECT_EQ(w, text8 + 23);
    EXPECT_EQ(h, 19);
    EXPECT_EQ(fresh.BarWidth, 20);

    AddEntry(entry, "sub", 0);
    Measure(entry, s.Canvas(), w, h);
    EXPECT_EQ(w, text8 + 23 + 7);

    // Letters beyond ASCII are measured as letters, not as their UTF-8 bytes.
    const std::string other = rztest::U8(u8"Привет Ωmega");
    Measure(AddEntry(plain, other, 0), s.Canvas(), w, h);
    EXPECT_EQ(w, TextSize(s.Canvas(), "Tahoma", 8, other).cx + 23);

    TMenuItem barred;
    AddBarAndHidden(barred, "Bar");
    TMenuItem& inBar = AddEntry(barred, caption, 0);
    Measure(inBar, s.Canvas(), w, h);
    EXPECT_EQ(w, text8 + 23 + 22);
    EXPECT_EQ(h, 19);
    AddEntry(inBar, "sub", 0);
    Measure(inBar, s.Canvas(), w, h);
    EXPECT_EQ(w, text8 + 23 + 22 + 7);

    rz::Settings.FontSize = 12;
    const int text12 = TextSize(s.Canvas(), "Tahoma", 12, caption).cx;
    ASSERT_NE(text12, text8);
    Measure(entry, s.Canvas(), w, h);
    EXPECT_EQ(w, text12 + 23 + 7);
    EXPECT_EQ(h, 19);

    // A size outside 6-72 (a hand-edited file) measures as 8; the setting itself is kept.
    for (int odd : {99999999, 73, 5, 0, -8}) {
        rz::Settings.FontSize = odd;
        Measure(entry, s.Canvas(), w, h);
        EXPECT_EQ(w, text8 + 23 + 7) << odd;
        EXPECT_EQ(rz::Settings.FontSize, odd);
    }
}

TEST_F(MenuDrawTest, ImageIsDrawnAtTheIconCellGreyedWhenDisabled) {
    const rz::TImageList& images = Items().ILAllPublicPM;
    for (bool bar : {false, true}) {
        SCOPED_TRACE(bar ? "with side bar" : "without side bar");
        const int x0 = bar ? 20 : 0;
        const RECT cell{x0 + 2, kBottom - 18, x0 + 18, kBottom - 2};
        TMenuItem level;
        TMenuItem& folder = EntryIn(level, bar, "Folder", 0);
        std::vector<uint32_t> cells[2];
        for (bool enabled : {true, false}) {
            folder.Enabled = enabled;
            Surface drawn(160, 60), expected(160, 60);
            DrawItem(folder, drawn.Canvas(), kRow, false);
            DrawOnMenu(images, expected, x0 + 2, kBottom - 18, enabled);
            ASSERT_FALSE(IsEmpty(expected.Ink(cell, kUntouched)));
            for (int y = cell.top; y < cell.bottom; ++y) {
                for (int x = cell.left; x < cell.right; ++x) {
                    ASSERT_EQ(drawn.At(x, y), expected.At(x, y)) << "enabled " << enabled << " at " << x << "," << y;
                    cells[enabled].push_back(drawn.At(x, y));
                }
            }
        }
        EXPECT_NE(cells[0], cells[1]) << "a disabled entry's image is greyed";
    }
}

namespace {

// The four lines around the icon cell; lines stop short of their end points
// and the cell's outer columns stay unpainted.
void ExpectFrame(const Surface& s, int x0, uint32_t topLeft, uint32_t bottomRight) {
    EXPECT_EQ(s.At(x0 + 1, kBottom - 19), topLeft);
    EXPECT_EQ(s.At(x0 + 17, kBottom - 19), topLeft);
    EXPECT_EQ(s.At(x0 + 1, kBottom - 2), topLeft);
    EXPECT_EQ(s.At(x0 + 18, kBottom - 19), bottomRight);
    EXPECT_EQ(s.At(x0 + 18, kBottom - 2), bottomRight);
    EXPECT_EQ(s.At(x0 + 1, kBottom - 1), bottomRight);
    EXPECT_EQ(s.At(x0 + 18, kBottom - 1), bottomRight);
    for (int y = kRow.top; y < kRow.bottom; ++y) {
        EXPECT_EQ(s.At(x0 + 19, y), kUntouched) << y;
        if (x0 > 0) {
            EXPECT_EQ(s.At(x0, y), kUntouched) << y;
        }
    }
    EXPECT_EQ(s.At(x0 + 1, kBottom), kUntouched);
}

void ExpectFilledRightOfTheCell(const Surface& s, int x0, uint32_t colour) {
    EXPECT_EQ(s.At(x0 + 20, kRow.top), colour);
    EXPECT_EQ(s.At(x0 + 20, kRow.bottom - 1), colour);
    EXPECT_EQ(s.At(kRow.right - 1, kRow.top), colour);
    EXPECT_EQ(s.At(kRow.right - 1, kRow.bottom - 1), colour);
    EXPECT_EQ(s.At(kRow.right, kRow.top), kUntouched);
    EXPECT_EQ(s.At(x0 + 20, kRow.top - 1), kUntouched);
    EXPECT_EQ(s.At(x0 + 20, kRow.bottom), kUntouched);
}

}  // namespace

TEST_F(MenuDrawTest, SelectedEntryWithImageGetsARaisedFrameAndAnUnlitIconCell) {
    const uint32_t menu = Sys(COLOR_MENU), light = Sys(COLOR_BTNHIGHLIGHT), dark = Sys(COLOR_BTNSHADOW);
    for (bool bar : {false, true}) {
        SCOPED_TRACE(bar ? "with side bar" : "without side bar");
        const int x0 = bar ? 20 : 0;
        TMenuItem level;
        TMenuItem& entry = EntryIn(level, bar, "Item", 0);
        Surface s(160, 60);
        Surface icon(160, 60);
        DrawOnMenu(Items().ILAllPublicPM, icon, x0 + 2, kBottom - 18, true);
        auto iconCellIsThePicture = [&] {
            for (int y = kBottom - 18; y < kBottom - 2; ++y)
                for (int x = x0 + 2; x < x0 + 18; ++x) ASSERT_EQ(s.At(x, y), icon.At(x, y)) << x << "," << y;
        };

        DrawItem(entry, s.Canvas(), kRow, true);
        ExpectFrame(s, x0, light, dark);
        iconCellIsThePicture();
        ExpectFilledRightOfTheCell(s, x0, Sys(COLOR_HIGHLIGHT));

        // Losing the selection paints the frame away in the menu colour.
        DrawItem(entry, s.Canvas(), kRow, false);
        ExpectFrame(s, x0, menu, menu);
        iconCellIsThePicture();
        ExpectFilledRightOfTheCell(s, x0, menu);

        // A disabled entry keeps the frame but is never highlighted.
        entry.Enabled = false;
        DrawItem(entry, s.Canvas(), kRow, true);
        ExpectFrame(s, x0, light, dark);
        ExpectFilledRightOfTheCell(s, x0, menu);
    }
}

TEST_F(MenuDrawTest, EntryWithoutImageIsFilledFromTheBarOffsetWithoutFrame) {
    for (bool bar : {false, true}) {
        SCOPED_TRACE(bar ? "with side bar" : "without side bar");
        const int x0 = bar ? 20 : 0;
        TMenuItem level;
        TMenuItem& entry = EntryIn(level, bar, "Plain", -1);
        for (bool selected : {true, false}) {
            const uint32_t fill = Sys(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
            Surface s(160, 60);
            DrawItem(entry, s.Canvas(), kRow, selected);
            // Where the icon cell and its frame would be, only the fill shows.
            EXPECT_TRUE(IsEmpty(s.Ink({x0, kRow.top, x0 + 20, kRow.bottom}, fill))) << selected;
            EXPECT_EQ(s.At(kRow.right - 1, kRow.bottom - 1), fill);
            if (bar) {
                EXPECT_TRUE(IsEmpty(s.Ink({0, 0, x0, 60}, kUntouched)));
            }
            EXPECT_EQ(s.At(kRow.right, kRow.top), kUntouched);
        }
    }
}

TEST_F(MenuDrawTest, CaptionStartsAtTheTextIndentInTheStateColours) {
    for (bool bar : {false, true}) {
        SCOPED_TRACE(bar ? "with side bar" : "without side bar");
        const int x0 = bar ? 20 : 0;
        TMenuItem level;
        TMenuItem& entry = EntryIn(level, bar, "&Help", 8);
        const RECT text{x0 + 20, kRow.top, kRow.right, kRow.bottom};
        Surface s(160, 60);
        // "&" marks the accelerator and is not drawn.
        const int width = TextSize(s.Canvas(), "Tahoma", 8, "Help").cx;

        DrawItem(entry, s.Canvas(), kRow, false);
        const RECT ink = s.Ink(text, Sys(COLOR_MENU));
        ASSERT_FALSE(IsEmpty(ink));
        // A stored size no font can show draws the caption as 8 points.
        rz::Settings.FontSize = 99999999;
        Surface huge(160, 60);
        DrawItem(entry, huge.Canvas(), kRow, false);
        const RECT hugeInk = huge.Ink(text, Sys(COLOR_MENU));
        EXPECT_TRUE(EqualRect(&hugeInk, &ink));
        rz::Settings.FontSize = 8;
        EXPECT_GE(ink.left, x0 + 23);
        EXPECT_LE(ink.left, x0 + 23 + 2);
        EXPECT_LE(ink.right, x0 + 23 + width);
        EXPECT_GE(ink.top, kRow.top + 2) << "vertically centred";
        EXPECT_LE(ink.bottom, kRow.bottom - 1);
        EXPECT_EQ(s.CountOf(ink, Sys(COLOR_MENUTEXT)) + s.CountOf(ink, Sys(COLOR_MENU)),
                  (ink.right - ink.left) * (ink.bottom - ink.top));

        DrawItem(entry, s.Canvas(), kRow, true);
        const RECT lit = s.Ink(text, Sys(COLOR_HIGHLIGHT));
        EXPECT_TRUE(EqualRect(&lit, &ink));
        EXPECT_EQ(s.CountOf(lit, Sys(COLOR_HIGHLIGHTTEXT)) + s.CountOf(lit, Sys(COLOR_HIGHLIGHT)),
                  (lit.right - lit.left) * (lit.bottom - lit.top));

        // Disabled: embossed, a highlight copy one pixel down and right under the shadow one.
        entry.Enabled = false;
        for (bool selected : {false, true}) {
            Surface d(160, 60);
            DrawItem(entry, d.Canvas(), kRow, selected);
            EXPECT_EQ(d.CountOf(text, Sys(COLOR_MENUTEXT)), 0);
            EXPECT_EQ(d.CountOf(text, Sys(COLOR_HIGHLIGHT)), 0);
            const RECT all = d.Ink(text, Sys(COLOR_MENU));
            EXPECT_EQ(all.left, ink.left);
            EXPECT_EQ(all.top, ink.top);
            EXPECT_EQ(all.right, ink.right + 1);
            EXPECT_EQ(all.bottom, ink.bottom + 1);
            EXPECT_EQ(d.CountOf(all, Sys(COLOR_BTNSHADOW)) + d.CountOf(all, Sys(COLOR_BTNHIGHLIGHT)) +
                          d.CountOf(all, Sys(COLOR_MENU)),
                      (all.right - all.left) * (all.bottom - all.top));
            const RECT shadow = d.Where(text, Sys(COLOR_BTNSHADOW));
            EXPECT_TRUE(EqualRect(&shadow, &ink)) << "the shadow copy sits where the caption does";
            const RECT copy = d.Where(text, Sys(COLOR_BTNHIGHLIGHT));
            EXPECT_EQ(copy.right, ink.right + 1);
            EXPECT_EQ(copy.bottom, ink.bottom + 1);
        }
    }
}

// Only a file's or a type's picture is asked again at another size, once per slot
// (a fixed entry's Tag 0 is also the first item's id).
TEST_F(MenuDrawTest, IconAtSizeComesFromTheSlotsFileOrTypeOncePerSlot) {
    rz::IconSources& sources = Parts().store.icons.sources;
    const int notepad = sources.AddLateFile("C:\\windows\\notepad.exe");
    const int gone = sources.AddLateFile("C:\\no such\\thing.exe");
    const struct {
        const char* what;
        int tag, image;
        bool icon;
    } cases[] = {{"program item", 0, notepad, true},
                 {"another item of the program", 7, notepad, true},
                 {"program gone since: its type's picture", 1, gone, true},
                 {"fixed entry", 0, 8, false},
                 {"slot with neither file nor type", 2, rz::kFirstTypeIconSlot + 1, false}};
    HICON program = nullptr;
    for (const auto& c : cases) {
        TMenuItem entry;
        entry.Tag = c.tag;
        entry.ImageIndex = c.image;
        HICON icon = ShortCuts().ItemIconAtSize(entry, 24);
        EXPECT_EQ(icon != nullptr, c.icon) << c.what;
        // Asked once: the same icon again.
        EXPECT_EQ(ShortCuts().ItemIconAtSize(entry, 24), icon) << c.what;
        if (c.image == notepad && program) {
            EXPECT_EQ(icon, program) << "one icon per slot";
        }
        if (c.image == notepad) program = icon;
    }
}

// A level takes the late icons of its visible entries as it opens, not of those below.
TEST_F(MenuDrawTest, ALevelTakesTheLateIconsOfItsOwnEntriesAsItOpens) {
    rz::IconSources& sources = Parts().store.icons.sources;
    const int notepad = sources.AddLateFile(rztest::SystemProgram("notepad.exe"));
    const int regedit = sources.AddLateFile(rztest::SystemProgram("regedit.exe"));
    const int hidden = sources.AddLateFile(rztest::SystemProgram("explorer.exe"));
    TMenuItem level;
    TMenuItem& folder = rztest::AddEntry(level, "Apps", 0, 0);
    rztest::AddEntry(folder, "Registry", 1, regedit);
    rztest::AddEntry(level, "Notes", 0, notepad);
    rztest::AddEntry(level, "Hidden", 2, hidden, false);
    ShortCuts().ApplyMenuDrawing();
    ASSERT_TRUE(Parts().PMItems.OnLevelOpen);
    Parts().PMItems.OnLevelOpen(level);
    EXPECT_FALSE(sources.IsLate(notepad));
    EXPECT_TRUE(sources.IsLate(regedit)) << "a level below opens on its own";
    EXPECT_TRUE(sources.IsLate(hidden)) << "not shown";
    EXPECT_LE(rztest::IconDifference(Parts().ILAllPublicPM, notepad, rztest::SystemProgram("notepad.exe")), 2);
}
