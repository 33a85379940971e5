// The side bar of a level: its height, the entry that paints it, the band and
// its rotated title.

#include "MenuDrawFixture.h"

using namespace rztest;
using rz::TMenuItem;

namespace {

const RECT kBand{0, 0, 19, 200};

// Rows 0..bottom-1 of the band; the title may show in its own colour.
bool BandFilled(const Surface& s, int bottom) {
    const uint32_t band = Sys(COLOR_INACTIVECAPTION), title = Sys(COLOR_INACTIVECAPTIONTEXT);
    for (int y = 0; y < bottom; ++y)
        for (int x = 0; x < 19; ++x)
            if (s.At(x, y) != band && s.At(x, y) != title) return false;
    return true;
}

bool AnyBand(const Surface& s, const RECT& area) {
    return s.CountOf(area, Sys(COLOR_INACTIVECAPTION)) + s.CountOf(area, Sys(COLOR_INACTIVECAPTIONTEXT)) > 0;
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
    EXPECT_EQ(rz::ColumnHeight(level), 0 + 0 + 19 + 8 + 19 + 19 + 19 + 8);
    TMenuItem empty;
    AddBarAndHidden(empty, "Bar");
    EXPECT_EQ(rz::ColumnHeight(empty), 0);
}

TEST_F(MenuDrawTest, OnlyTheLastEntryWithADrawHandlerPaintsTheBand) {
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
    rz::ApplyMenuDrawing(level, false);
    const int h = 100;
    EXPECT_TRUE(rz::ClosesColumn(c));
    for (TMenuItem* e : {&a, &b, &title}) EXPECT_FALSE(rz::ClosesColumn(*e)) << e->Caption;

    Surface s(160, 120);
    ASSERT_EQ(PaintLevel(level, s.Canvas(), 150), h);
    EXPECT_TRUE(BandFilled(s, h - 1)) << "over every row, the titled separator's included";
    for (int y = 0; y < 120; ++y) EXPECT_NE(s.At(19, y), Sys(COLOR_INACTIVECAPTION)) << y;
    for (int x = 0; x < 19; ++x) EXPECT_EQ(s.At(x, h - 1), kUntouched) << x;

    // The others alone leave the column bare; the closing entry alone paints all of it.
    Surface others(160, 120);
    const RECT rows[] = {{0, 0, 150, 19}, {0, 27, 150, 46}, {0, 46, 150, 65}};
    TMenuItem* entries[] = {&a, &b, &title};
    for (int i = 0; i < 3; ++i) entries[i]->OnDrawItem(entries[i], others.Canvas(), rows[i], false);
    EXPECT_FALSE(AnyBand(others, kBand));
    Surface closing(160, 120);
    c.OnDrawItem(&c, closing.Canvas(), RECT{0, 65, 150, 84}, false);
    EXPECT_TRUE(BandFilled(closing, h - 1));
    EXPECT_FALSE(AnyBand(closing, {0, h - 1, 19, 120}));

    // A level without a bar-maker has no band at all.
    TMenuItem plain;
    TMenuItem& only = AddEntry(plain, "only", 0);
    rz::ApplyMenuDrawing(plain, false);
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
    rz::ApplyMenuDrawing(hiddenLast, false);
    EXPECT_TRUE(rz::ClosesColumn(gone));
    EXPECT_FALSE(rz::ClosesColumn(shown));
    Surface s1(160, 60);
    PaintLevel(hiddenLast, s1.Canvas(), 150);
    EXPECT_FALSE(AnyBand(s1, kBand));

    // A folder holding only its hidden entry opens empty and bare.
    TMenuItem emptyFolder;
    AddBarAndHidden(emptyFolder, "Bar");
    rz::ApplyMenuDrawing(emptyFolder, false);
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
    rz::ApplyMenuDrawing(platform, true);
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
    rz::ApplyMenuDrawing(level, false);
    Surface s(160, 80);
    const int h = PaintLevel(level, s.Canvas(), 150);
    ASSERT_EQ(h, 57);
    ASSERT_TRUE(BandFilled(s, h - 1));
    const RECT ink = s.Where({0, 0, 19, h}, Sys(COLOR_INACTIVECAPTIONTEXT));
    ASSERT_FALSE(IsEmpty(ink));

    // The same title upright, drawn from (0, 0): turned a quarter left about
    // (x, h - 4), its columns become rows counted upward and its rows columns.
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
    s.SaveToFile("Z:\\tmp\\band1.bmp"); upright.SaveToFile("Z:\\tmp\\up.bmp");
    printf("ink %ld %ld %ld %ld u %ld %ld %ld %ld\n", ink.left, ink.top, ink.right, ink.bottom, u.left, u.top, u.right, u.bottom);
    const int cy = TextSize(s.Canvas(), "Tahoma", 8, "Tools").cy;
    const int x = (20 - cy) / 2;
    EXPECT_NEAR(ink.left, x + u.top, 1);
    EXPECT_NEAR(ink.right, x + u.bottom, 1);
    EXPECT_NEAR(ink.bottom, h - 4 - u.left + 1, 1);
    EXPECT_NEAR(ink.top, h - 4 - u.right + 1, 1);
    EXPECT_LE(ink.bottom, h - 4) << "nothing of the title below its start";
}

TEST_F(MenuDrawTest, LongBandTitleIsClippedToTheBandAndLongFontNamesStillPaint) {
    rz::Settings.FontSize = 20;
    const std::string title = "A side bar title far longer than its column";
    Surface probe(10, 10);
    ASSERT_GT(TextSize(probe.Canvas(), "Tahoma", 20, title).cy, 20) << "wider than the band when unclipped";
    TMenuItem level;
    AddBarAndHidden(level, title);
    AddEntry(level, "a", 0, 0);
    rz::ApplyMenuDrawing(level, false);
    Surface s(160, 40);
    ASSERT_EQ(PaintLevel(level, s.Canvas(), 150), 19);
    s.SaveToFile("Z:\\tmp\\band2.bmp");
    EXPECT_TRUE(BandFilled(s, 18));
    EXPECT_GT(s.CountOf({0, 0, 19, 18}, Sys(COLOR_INACTIVECAPTIONTEXT)), 0);
    EXPECT_FALSE(AnyBand(s, {19, 0, 160, 40})) << "nothing of the title outside x 0..19";
    EXPECT_FALSE(AnyBand(s, {0, 19, 19, 40}));

    // A face name over the 31 characters a font takes: entries and bar still paint,
    // and the setting keeps its full name.
    const std::string longName = "Tahoma Extended Family Name That Is Too Long";
    ASSERT_GT(longName.size(), 31u);
    rz::Settings.FontName = longName;
    rz::Settings.FontSize = 8;
    Surface l(160, 40);
    PaintLevel(level, l.Canvas(), 150);
    l.SaveToFile("Z:\\tmp\\rz-menu-shots\\band3.bmp");
    for (int y = 0; y < 19; ++y) { for (int x = 0; x < 22; ++x) printf("%06x ", l.At(x, y)); printf("\n"); }
    EXPECT_TRUE(BandFilled(l, 18));
    EXPECT_GT(l.CountOf({0, 0, 19, 18}, Sys(COLOR_INACTIVECAPTIONTEXT)), 0);
    EXPECT_GT(l.CountOf({43, 0, 150, 19}, Sys(COLOR_MENUTEXT)), 0) << "the entry's caption";
    EXPECT_EQ(rz::Settings.FontName, longName);
}

TEST_F(MenuDrawTest, RepeatedPaintingWithASideBarLeaksNoGdiObjects) {
    TMenuItem level;
    AddBarAndHidden(level, "Kit");
    TMenuItem& a = AddEntry(level, "a", 0, 0);
    TMenuItem& title = AddEntry(level, "Title", rz::kTagSpeSep);
    TMenuItem& c = AddEntry(level, "c", 0, 9);
    rz::ApplyMenuDrawing(level, false);
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
