// The side bar of a level: its height, the entry that paints it, the band and
// its rotated title.

#include "MenuDrawFixture.h"

using namespace rztest;
using rz::TMenuItem;

namespace {

const RECT kBand{0, 0, 19, 200};

// The band colour, the title colour, or (smoothed fonts) a blend of the two.
bool IsBandPixel(uint32_t p) {
    const uint32_t a = Sys(COLOR_INACTIVECAPTION), b = Sys(COLOR_INACTIVECAPTIONTEXT);
    for (int shift : {0, 8, 16}) {
        const uint32_t c = (p >> shift) & 0xFF, ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        if (c < std::min(ca, cb) || c > std::max(ca, cb)) return false;
    }
    return true;
}

// Rows 0..bottom-1 of x 0..18 all show the band or its title.
bool BandFilled(const Surface& s, int bottom) {
    for (int y = 0; y < bottom; ++y)
        for (int x = 0; x < 19; ++x)
            if (!IsBandPixel(s.At(x, y))) return false;
    return true;
}

bool AnyBand(const Surface& s, const RECT& area) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (IsBandPixel(s.At(x, y))) return true;
    return false;
}

}  // namespace

TEST_F(MenuDrawTest, ColumnHeightCountsEveryEntryByKindVisibleOrNot) {
    TMenuItem level;
    AddBarAndHidden(level, "Bar");
    AddEntry(level, "a", 0, 0);
    AddEntry(level, "-", rz::kTagNorSep);
    AddEntry(level, "Title", rz::kTagSpeSep);
    AddEntry(level, "gone", 3, -1, false);
    AddEntry(level, "Folder", 2, 0);
    AddEntry(level, "-", rz::kTagNorSep);
    EXPECT_EQ(rz::ColumnHeight(level, 96), 0 + 0 + 19 + 8 + 19 + 19 + 19 + 8);
    TMenuItem empty;
    AddBarAndHidden(empty, "Bar");
    EXPECT_EQ(rz::ColumnHeight(empty, 96), 0);
}

TEST_F(MenuDrawTest, TheClosingEntryPaintsTheBandOverTheWholeColumn) {
    // a, separator, b, titled separator, c, then two separators: 19+8+19+19+19+8+8.
    TMenuItem level;
    AddBarAndHidden(level, "Bar");
    TMenuItem& a = AddEntry(level, "a", 0, 0);
    AddEntry(level, "-", rz::kTagNorSep);
    TMenuItem& b = AddEntry(level, "b", 0);
    TMenuItem& title = AddEntry(level, "Title", rz::kTagSpeSep);
    TMenuItem& c = AddEntry(level, "c", 0);
    AddEntry(level, "-", rz::kTagNorSep);
    AddEntry(level, "-", rz::kTagNorSep);
    ShortCuts().ApplyMenuDrawing(level, false);
    const int h = 100;
    EXPECT_TRUE(rz::ClosesColumn(c));
    for (TMenuItem* e : {&a, &b, &title}) EXPECT_FALSE(rz::ClosesColumn(*e)) << e->Caption;

    Surface s(160, 120);
    ASSERT_EQ(PaintLevel(level, s.Canvas(), 150), h);
    EXPECT_TRUE(BandFilled(s, h - 1)) << "over every row, the titled separator's included";
    for (int y = 0; y < 120; ++y) EXPECT_NE(s.At(19, y), Sys(COLOR_INACTIVECAPTION)) << y;
    for (int x = 0; x < 19; ++x) EXPECT_EQ(s.At(x, h - 1), kUntouched) << x;

    // A titled separator's fill covers the bar column: redrawn on its own it
    // puts the band back.
    title.OnDrawItem(&title, s.Canvas(), RECT{0, 46, 150, 65}, false);
    EXPECT_TRUE(BandFilled(s, h - 1));

    // The other entries alone put back only the band beside their own rows
    // (a scrolled menu repaints just the rows that come into view); the
    // closing entry alone paints all of it.
    Surface others(160, 120);
    a.OnDrawItem(&a, others.Canvas(), RECT{0, 0, 150, 19}, true);
    b.OnDrawItem(&b, others.Canvas(), RECT{0, 27, 150, 46}, false);
    EXPECT_TRUE(BandFilled(others, 19));
    EXPECT_FALSE(AnyBand(others, {0, 19, 19, 27}));
    for (int y = 27; y < 46; ++y) EXPECT_TRUE(IsBandPixel(others.At(3, y))) << y;
    EXPECT_FALSE(AnyBand(others, {0, 46, 19, 120}));
    Surface closing(160, 120);
    c.OnDrawItem(&c, closing.Canvas(), RECT{0, 65, 150, 84}, false);
    EXPECT_TRUE(BandFilled(closing, h - 1));
    EXPECT_FALSE(AnyBand(closing, {0, h - 1, 19, 120}));

    // A level without a bar-maker has no band at all.
    TMenuItem plain;
    TMenuItem& only = AddEntry(plain, "only", 0);
    ShortCuts().ApplyMenuDrawing(plain, false);
    EXPECT_FALSE(rz::ClosesColumn(only));
    Surface bare(160, 40);
    PaintLevel(plain, bare.Canvas(), 150);
    EXPECT_FALSE(AnyBand(bare, kBand));
}

TEST_F(MenuDrawTest, ClosingEntryIsFoundByHandlerNotByVisibility) {
    // The last entry with a handler is invisible: it never paints, so neither does the band.
    TMenuItem hiddenLast;
    AddBarAndHidden(hiddenLast, "Bar");
    TMenuItem& shown = AddEntry(hiddenLast, "shown", 0);
    TMenuItem& gone = AddEntry(hiddenLast, "gone", 0, -1, false);
    ShortCuts().ApplyMenuDrawing(hiddenLast, false);
    EXPECT_TRUE(rz::ClosesColumn(gone));
    EXPECT_FALSE(rz::ClosesColumn(shown));
    Surface s1(160, 60);
    PaintLevel(hiddenLast, s1.Canvas(), 150);
    EXPECT_FALSE(AnyBand(s1, kBand));

    // A folder holding only its hidden entry opens empty and bare.
    TMenuItem emptyFolder;
    AddBarAndHidden(emptyFolder, "Bar");
    ShortCuts().ApplyMenuDrawing(emptyFolder, false);
    Surface s2(160, 60);
    EXPECT_EQ(PaintLevel(emptyFolder, s2.Canvas(), 150), 0);
    EXPECT_FALSE(AnyBand(s2, kBand));

    // With the platform's drawing only the titled separator has a handler:
    // it paints the band over the whole column, platform entries included.
    TMenuItem platform;
    AddBarAndHidden(platform, "Bar");
    AddEntry(platform, "a", 0, 0);
    TMenuItem& title = AddEntry(platform, "Title", rz::kTagSpeSep);
    AddEntry(platform, "b", 0);
    rz::Settings.WindowsDraw = true;
    ShortCuts().ApplyMenuDrawing(platform, true);
    EXPECT_TRUE(rz::ClosesColumn(title));
    Surface s3(160, 80);
    ASSERT_EQ(PaintLevel(platform, s3.Canvas(), 150), 57);
    EXPECT_TRUE(BandFilled(s3, 56));
    EXPECT_FALSE(AnyBand(s3, {0, 56, 19, 80}));
}

TEST_F(MenuDrawTest, BandTitleRunsUpwardFromFourPixelsAboveTheBottomCentredInTheBand) {
    TMenuItem level;
    AddBarAndHidden(level, "Tools");
    AddEntry(level, "a", 0, 0);
    AddEntry(level, "b", 0);
    AddEntry(level, "c", 0);
    ShortCuts().ApplyMenuDrawing(level, false);
    Surface s(160, 80);
    const int h = PaintLevel(level, s.Canvas(), 150);
    ASSERT_EQ(h, 57);
    ASSERT_TRUE(BandFilled(s, h - 1));
    const RECT ink = s.Ink({0, 0, 19, h - 1}, Sys(COLOR_INACTIVECAPTION));
    ASSERT_FALSE(IsEmpty(ink));

    // The same title upright, drawn from (0, 0): turned a quarter left about
    // (x, h - 4), its rows become columns and its columns rows counted upward
    // (only its start: turned glyphs are rendered a little longer).
    Surface upright(100, 40);
    {
        rz::unique_hfont font(::CreateFontA(-::MulDiv(8, ::GetDeviceCaps(upright.Canvas(), LOGPIXELSY), 72), 0, 0, 0,
                                            FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
        rz::SelectGuard selected(upright.Canvas(), font.get());
        ::SetBkMode(upright.Canvas(), TRANSPARENT);
        ::SetTextColor(upright.Canvas(), RGB(0, 0, 0));
        ::TextOutA(upright.Canvas(), 0, 0, "Tools", 5);
    }
    const RECT u = upright.Where({0, 0, 100, 40}, 0);
    const int cy = TextSize(s.Canvas(), "Tahoma", 8, "Tools").cy;
    const int x = (20 - cy) / 2;
    EXPECT_NEAR(ink.left, x + u.top, 1);
    EXPECT_NEAR(ink.right, x + u.bottom, 1);
    EXPECT_NEAR(ink.bottom, h - 4 - u.left + 1, 1);
    EXPECT_LE(ink.bottom, h - 4) << "nothing of the title below its start";
}

TEST_F(MenuDrawTest, LongBandTitleIsClippedToTheBandAndLongFontNamesStillPaint) {
    rz::Settings.FontSize = 12;
    const std::string title = "A side bar title far longer than its column";
    Surface probe(10, 10);
    ASSERT_GT(TextSize(probe.Canvas(), "Tahoma", 12, title).cx, 19) << "longer than the column when unclipped";
    auto paint = [this](const std::string& barTitle, Surface& s) {
        TMenuItem level;
        AddBarAndHidden(level, barTitle);
        AddEntry(level, "a", 0, 0);
        ShortCuts().ApplyMenuDrawing(level, false);
        return PaintLevel(level, s.Canvas(), 150);
    };
    Surface s(160, 40), untitled(160, 40);
    ASSERT_EQ(paint(title, s), 19);
    paint("", untitled);
    EXPECT_TRUE(BandFilled(s, 18));
    EXPECT_FALSE(IsEmpty(s.Ink({0, 0, 19, 18}, Sys(COLOR_INACTIVECAPTION)))) << "the title shows";
    for (int y = 0; y < 40; ++y)
        for (int x = 20; x < 160; ++x)
            ASSERT_EQ(s.At(x, y), untitled.At(x, y)) << "nothing of the title outside x 0..19, at " << x << "," << y;
    EXPECT_FALSE(AnyBand(s, {0, 19, 19, 40}));

    // A face name over the 31 characters a font takes: entries and bar still
    // paint, and the setting keeps its full name.
    const std::string longName = "Tahoma Extended Family Name That Is Too Long";
    ASSERT_GT(longName.size(), 31u);
    rz::Settings.FontName = longName;
    rz::Settings.FontSize = 8;
    Surface l(160, 40);
    paint("Kit", l);
    EXPECT_TRUE(BandFilled(l, 18));
    EXPECT_FALSE(IsEmpty(l.Ink({0, 0, 19, 18}, Sys(COLOR_INACTIVECAPTION)))) << "the title shows";
    EXPECT_FALSE(IsEmpty(l.Ink({43, 0, 150, 19}, Sys(COLOR_MENU)))) << "the entry's caption shows";
    EXPECT_EQ(rz::Settings.FontName, longName);
}

TEST_F(MenuDrawTest, RepeatedPaintingWithASideBarLeaksNoGdiObjects) {
    TMenuItem level;
    AddBarAndHidden(level, "Kit");
    TMenuItem& a = AddEntry(level, "a", 0, 0);
    TMenuItem& title = AddEntry(level, "Title", rz::kTagSpeSep);
    TMenuItem& c = AddEntry(level, "c", 0, 9);
    ShortCuts().ApplyMenuDrawing(level, false);
    ASSERT_TRUE(rz::ClosesColumn(c));
    Surface s(160, 80);
    PaintLevel(level, s.Canvas(), 150);
    const unsigned before = rztest::GdiObjectsInUse();
    for (int i = 0; i < 300; ++i) {
        int w = 0, h = 0;
        a.OnMeasureItem(&a, s.Canvas(), w, h);
        a.OnDrawItem(&a, s.Canvas(), RECT{0, 0, 150, 19}, i % 2 == 0);
        title.OnDrawItem(&title, s.Canvas(), RECT{0, 19, 150, 38}, false);
        c.OnDrawItem(&c, s.Canvas(), RECT{0, 38, 150, 57}, i % 2 == 1);
    }
    EXPECT_LE(rztest::GdiObjectsInUse(), before + 2);
    EXPECT_TRUE(BandFilled(s, 56));
}

TEST_F(MenuDrawTest, ColumnInsideAMenuBorderIsDrawnFromItsCorner) {
    // Wine paints a 3-pixel border inside the menu window: the first entry starts at (3, 3).
    TMenuItem level;
    AddBarAndHidden(level, "Kit");
    AddEntry(level, "a", 0, 0);
    AddEntry(level, "-", rz::kTagNorSep);
    AddEntry(level, "Mid", rz::kTagSpeSep);
    AddEntry(level, "c", 0);
    ShortCuts().ApplyMenuDrawing(level, false);
    Surface atZero(170, 90), inBorder(170, 90);
    const int h = PaintLevel(level, atZero.Canvas(), 150);
    ASSERT_EQ(PaintLevel(level, inBorder.Canvas(), 150, POINT{3, 3}), h);
    ASSERT_TRUE(BandFilled(atZero, h - 1));
    for (int y = 0; y + 3 < 90; ++y)
        for (int x = 0; x + 3 < 170; ++x) ASSERT_EQ(inBorder.At(x + 3, y + 3), atZero.At(x, y)) << x << "," << y;
}

namespace {

// A folder taller than its menu window: the window shows canvas rows 10 to
// 109 (the platform clips the entries to them) and the column scrolls by.
const RECT kWindow{0, 10, 160, 110};

bool BandInView(const Surface& s) {
    for (int y = kWindow.top; y < kWindow.bottom; ++y)
        for (int x = 0; x < 19; ++x)
            if (!IsBandPixel(s.At(x, y))) return false;
    return true;
}

class ScrolledBarTest : public MenuDrawTest {
protected:
    static void PaintScrolled(TMenuItem& level, Surface& s, int scrolled, bool platformPaints) {
        rz::unique_hrgn clip(::CreateRectRgnIndirect(&kWindow));
        ::SelectClipRgn(s.Canvas(), clip.get());
        PaintLevel(level, s.Canvas(), 150, POINT{0, kWindow.top - scrolled}, &kWindow, platformPaints);
        ::SelectClipRgn(s.Canvas(), nullptr);
    }
};

}  // namespace

TEST_F(ScrolledBarTest, ScrolledLevelKeepsItsBandWholeAndItsTitleInTheFirstScreenful) {
    TMenuItem level;
    AddBarAndHidden(level, "Long");
    for (int i = 0; i < 20; ++i) AddEntry(level, "entry " + std::to_string(i), 0, i % 2 ? 0 : -1);
    ShortCuts().ApplyMenuDrawing(level, false);
    ASSERT_EQ(rz::ColumnHeight(level, 96), 380);
    // Only the rows in view are painted; the closing entry is not among them.
    for (int scrolled : {0, 57, 114}) {
        SCOPED_TRACE(scrolled);
        Surface s(160, 130);
        PaintScrolled(level, s, scrolled, false);
        EXPECT_TRUE(BandInView(s));
        // The title runs up from 4 pixels above the first screenful's bottom and scrolls with it.
        const RECT ink = s.Ink({0, kWindow.top, 19, kWindow.bottom}, Sys(COLOR_INACTIVECAPTION));
        const int start = kWindow.bottom - scrolled - 4;
        if (start - 10 > kWindow.top) {
            ASSERT_FALSE(IsEmpty(ink)) << "the title shows";
            EXPECT_LE(ink.bottom, start + 1);
            EXPECT_GE(ink.bottom, start - 3);
        } else {
            EXPECT_TRUE(IsEmpty(ink)) << "scrolled away with its rows";
        }
    }
}

TEST_F(ScrolledBarTest, PlatformDrawnEntriesPutBackTheBandTheyPaintOver) {
    TMenuItem level;
    AddBarAndHidden(level, "Long");
    AddEntry(level, "Title", rz::kTagSpeSep);
    for (int i = 0; i < 20; ++i)
        AddEntry(level, i == 9 ? "-" : "entry " + std::to_string(i), i == 9 ? rz::kTagNorSep : 0, 0);
    rz::Settings.WindowsDraw = true;
    ShortCuts().ApplyMenuDrawing(level, true);
    // In view and out of it (the titled separator, which closes the column, scrolled away).
    for (int scrolled : {0, 80}) {
        SCOPED_TRACE(scrolled);
        Surface s(160, 130);
        PaintScrolled(level, s, scrolled, true);
        EXPECT_TRUE(BandInView(s));
    }

    // A level whose closing entry does not show has no side bar, beside platform entries neither.
    TMenuItem bare;
    AddBarAndHidden(bare, "Bare");
    AddEntry(bare, "a", 0, 0);
    AddEntry(bare, "Title", rz::kTagSpeSep, -1, false);
    ShortCuts().ApplyMenuDrawing(bare, true);
    Surface s(160, 60);
    PaintLevel(bare, s.Canvas(), 150, POINT{0, 0}, nullptr, true);
    EXPECT_FALSE(AnyBand(s, {0, 0, 19, 60}));
}
