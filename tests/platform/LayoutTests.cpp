#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

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
    const struct {
        int x, y, w, h;
    } places[] = {{5, 5, 5, 5},  {10, 5, 7, 5},  {17, 5, 13, 5}, {30, 5, 75, 5}, {105, 5, 3, 5},
                  {5, 10, 5, 7}, {5, 17, 5, 13}, {5, 30, 5, 21}, {5, 51, 5, 1}};
    std::vector<std::unique_ptr<TButton>> buttons;
    for (size_t i = 0; i < std::size(places); ++i)
        buttons.push_back(std::make_unique<TButton>("B" + std::to_string(i)));
    for (const int dpi : {120, 144, 168}) {
        for (size_t i = 0; i < std::size(places); ++i) {
            const auto& p = places[i];
            LayOut(host.Handle(), dpi, {Row(*buttons[i], "", p.x, p.y, p.w, p.h)});
        }
        for (size_t i = 0; i < std::size(places); ++i) {
            for (size_t j = 0; j < std::size(places); ++j) {
                const auto &a = places[i], &b = places[j];
                const RECT ra = buttons[i]->Bounds(), rb = buttons[j]->Bounds();
                if (a.x + a.w == b.x && a.y == b.y) {
                    EXPECT_EQ(ra.right, rb.left) << dpi << ": " << i << " | " << j;
                }
                if (a.y + a.h == b.y && a.x == b.x) {
                    EXPECT_EQ(ra.bottom, rb.top) << dpi << ": " << i << " / " << j;
                }
            }
            EXPECT_GT(buttons[i]->Bounds().right, buttons[i]->Bounds().left) << dpi << ": " << i;
        }
    }
}
