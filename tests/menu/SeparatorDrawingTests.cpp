// Painting of titled separators.

#include "MenuDrawFixture.h"

using namespace rztest;
using rz::TMenuItem;

namespace {

// The run of a row where the etched line is interrupted, as [first, last + 1).
std::pair<int, int> GapIn(const Surface& s, int y, int from, int to, uint32_t line) {
    int first = -1, last = -1;
    for (int x = from; x < to; ++x) {
        if (s.At(x, y) == line) continue;
        if (first < 0) first = x;
        last = x;
    }
    return {first, last + 1};
}

}  // namespace

TEST_F(MenuDrawTest, TitledSeparatorCoversTheBarColumnAndEtchesAroundItsTitle) {
    const uint32_t menu = Sys(COLOR_MENU), dark = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
    TMenuItem level;
    AddBarAndHidden(level, "Bar");
    TMenuItem& separator = AddEntry(level, "&Sys&menu", rz::kTagSpeSep);
    // The fill reaches left of the column: shift the canvas to see where it starts.
    constexpr int kShift = 30;
    Surface s(230, 40);
    ::SetViewportOrgEx(s.Canvas(), kShift, 0, nullptr);
    DrawSeparator(separator, s.Canvas(), RECT{0, 10, 180, 29});
    auto at = [&](int x, int y) { return s.At(kShift + x, y); };

    // Fill: the entry's rectangle, which starts at the column's corner and
    // so already covers the bar column; nothing left of it.
    EXPECT_EQ(at(0, 10), menu);
    EXPECT_EQ(at(0, 28), menu);
    EXPECT_EQ(at(179, 10), menu);
    EXPECT_EQ(at(-1, 15), kUntouched);
    EXPECT_EQ(at(-20, 15), kUntouched);
    EXPECT_EQ(at(180, 15), kUntouched);
    EXPECT_EQ(at(0, 9), kUntouched);
    EXPECT_EQ(at(0, 29), kUntouched);

    // Etched line at bottom - 10 and bottom - 9, from the bar offset to the right edge.
    for (int y : {18, 21}) EXPECT_EQ(at(20, y), menu) << y;
    EXPECT_EQ(at(19, 19), menu);
    EXPECT_EQ(at(19, 20), menu);
    EXPECT_EQ(at(20, 19), dark);
    EXPECT_EQ(at(20, 20), light);
    EXPECT_EQ(at(179, 19), dark);
    EXPECT_EQ(at(179, 20), light);
    EXPECT_EQ(at(180, 19), kUntouched);

    // The title, without its "&"s, centred in the entry, blanks out the line
    // clear of the bar column.
    const int width = TextSize(s.Canvas(), "Tahoma", 8, "Sysmenu").cx;
    ASSERT_LT(width, TextSize(s.Canvas(), "Tahoma", 8, "&Sys&menu").cx);
    for (int y : {19, 20}) {
        auto [first, end] = GapIn(s, y, kShift + 20, kShift + 180, y == 19 ? dark : light);
        EXPECT_EQ(end - first, width) << y;
        EXPECT_NEAR(first - kShift, (180 - width) / 2, 1) << y;
        EXPECT_GE(first - kShift, 20) << y;
        EXPECT_EQ(s.CountOf({first, y, end, y + 1}, menu) + s.CountOf({first, y, end, y + 1}, Sys(COLOR_MENUTEXT)),
                  end - first);
    }
    const RECT title = s.Where({kShift + 20, 10, kShift + 180, 29}, Sys(COLOR_MENUTEXT));
    ASSERT_FALSE(IsEmpty(title));
    EXPECT_NEAR((title.top + title.bottom) / 2, 19, 2) << "vertically centred";

    // Without a side bar the line starts at the rectangle's left edge.
    TMenuItem plain;
    TMenuItem& other = AddEntry(plain, "Other", rz::kTagSpeSep);
    Surface p(200, 40);
    DrawSeparator(other, p.Canvas(), RECT{0, 10, 180, 29});
    EXPECT_EQ(p.At(0, 19), dark);
    EXPECT_EQ(p.At(0, 20), light);
    EXPECT_EQ(p.At(0, 10), menu);
}

TEST_F(MenuDrawTest, TitledSeparatorUsesTheSettingFontOrTheMenuFontByMode) {
    TMenuItem level;
    TMenuItem& separator = AddEntry(level, "Sysmenu", rz::kTagSpeSep);
    const RECT r{0, 0, 300, 30};
    auto titleWidth = [&] {
        Surface s(300, 30);
        DrawSeparator(separator, s.Canvas(), r);
        auto [first, end] = GapIn(s, 20, 0, 300, Sys(COLOR_BTNSHADOW));
        return end - first;
    };
    Surface probe(10, 10);
    rz::Settings.FontSize = 12;
    const int settingWidth = TextSize(probe.Canvas(), "Tahoma", 12, "Sysmenu").cx;
    EXPECT_EQ(titleWidth(), settingWidth);

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    rz::unique_hfont menuFont(::CreateFontIndirectA(&metrics.lfMenuFont));
    SIZE menuSize{};
    {
        rz::SelectGuard selected(probe.Canvas(), menuFont.get());
        ::GetTextExtentPoint32A(probe.Canvas(), "Sysmenu", 7, &menuSize);
    }
    ASSERT_NE(menuSize.cx, settingWidth);
    rz::Settings.WindowsDraw = true;
    EXPECT_EQ(titleWidth(), menuSize.cx);
}
