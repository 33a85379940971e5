#include <gtest/gtest.h>

#include <windows.h>

#include "platform/Form.h"
#include "platform/Layout.h"
#include "platform/StdControls.h"

using namespace rz;

// Edges are scaled, not sizes: scaled as sizes, two controls that touch at
// 96 DPI drift apart or overlap by a pixel as rounding falls.
TEST(LayoutEdges, ControlsThatTouchAt96DpiStillTouch) {
    TForm host("LayoutHost");
    host.CreateForm("", 400, 300);
    // A row of buttons side by side and a column one below the other, with
    // odd places and sizes whose scaled halves round differently.
    const int sizes[] = {5, 7, 13, 75, 3, 21, 1};
    TButton across[std::size(sizes)], down[std::size(sizes)];
    for (const int dpi : {120, 144, 168}) {
        int at = 5;
        for (size_t i = 0; i < std::size(sizes); at += sizes[i++])
            LayOut(host.Handle(), dpi,
                   {Row(across[i], "", at, 5, sizes[i], 5), Row(down[i], "", 5, at + 10, 5, sizes[i])});
        for (size_t i = 1; i < std::size(sizes); ++i) {
            EXPECT_EQ(across[i - 1].Bounds().right, across[i].Bounds().left) << dpi << ": " << i;
            EXPECT_EQ(down[i - 1].Bounds().bottom, down[i].Bounds().top) << dpi << ": " << i;
        }
    }
}

// The manager (521 x 534 at 96 DPI) with a frame of 8 x 30: where it does
// not fit, it is laid out for the largest lower DPI that does, never below 48.
TEST(FittingDpi, AWindowTallerThanItsWorkAreaIsLaidOutForALowerDpi) {
    const struct {
        int dpi;
        RECT work;
        int fit;
    } cases[] = {{96, {0, 0, 1024, 728}, 96},     {144, {0, 0, 1024, 728}, 125}, {144, {0, 0, 1536, 1112}, 144},
                 {144, {-1024, 88, 0, 768}, 116}, {192, {0, 0, 600, 728}, 109},  {96, {0, 0, 100, 100}, 48}};
    for (const auto& c : cases)
        EXPECT_EQ(rz::FittingDpi(c.dpi, SIZE{521, 534}, SIZE{8, 30}, c.work), c.fit) << c.dpi << " DPI";
}
