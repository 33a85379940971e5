#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Control.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"
#include "support/UcvGraphics.h"
#include "support/UcvSysExceptions.h"

using namespace rz;

namespace {

constexpr int kSize = 16;

// A 16 x 16 image whose pixels depend on seed, and a mask whose set bits
// (transparent) cover the first `clear` columns.
void AddPattern(TImageList& list, uint32_t seed, int clear) {
    std::vector<uint32_t> pixels(kSize * kSize);
    for (int i = 0; i < kSize * kSize; ++i) pixels[i] = (seed * 2654435761u + i * 40503u) & 0x00FFFFFF;
    // Transparent pixels are black in the image, as ImageList_AddMasked leaves them.
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < clear; ++x) pixels[y * kSize + x] = 0;
    std::vector<uint8_t> maskBits(2 * kSize, 0);  // 16 bits a row, word aligned
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < clear; ++x) maskBits[y * 2 + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    unique_hbitmap image(::CreateBitmap(kSize, kSize, 1, 32, pixels.data()));
    unique_hbitmap mask(::CreateBitmap(kSize, kSize, 1, 1, maskBits.data()));
    ASSERT_GE(list.Add(image.get(), mask.get()), 0);
}

// Every image drawn side by side onto a known background.
std::vector<uint32_t> Render(const TImageList& list) {
    int count = list.Count();
    TBitmap canvas(kSize * count, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize * count; ++x) canvas.SetPixel(x, y, 0x00345678);
    for (int i = 0; i < count; ++i) list.Draw(canvas.Canvas(), i * kSize, 0, i);
    std::vector<uint32_t> out;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize * count; ++x) out.push_back(canvas.Pixel(x, y));
    return out;
}

// A semi-transparent image: the alpha channel, not a mask, decides.
void AddTranslucent(TImageList& list) {
    std::vector<uint32_t> pixels(kSize * kSize);
    for (int i = 0; i < kSize * kSize; ++i) {
        uint32_t a = (i % kSize) * 16 + 15;
        pixels[i] = (a << 24) | ((a / 2) << 16) | (a / 3);  // premultiplied
    }
    unique_hbitmap image(::CreateBitmap(kSize, kSize, 1, 32, pixels.data()));
    ASSERT_GE(list.Add(image.get(), nullptr), 0);
}

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace

TEST(RecreateImageList, KeepsCountOrderAndPixels) {
    TImageList list("IL", kSize, kSize);
    AddPattern(list, 1, 0);
    AddPattern(list, 2, 5);
    AddPattern(list, 3, 16);
    AddPattern(list, 4, 9);
    AddTranslucent(list);
    std::vector<uint32_t> before = Render(list);
    ASSERT_EQ(before[kSize] & 0x00FFFFFF, 0x00345678u) << "masked pixels show the background";
    ASSERT_NE(before[0] & 0x00FFFFFF, 0x00345678u);
    ASSERT_NE(before[4 * kSize] & 0x00FFFFFF, before[4 * kSize + 15] & 0x00FFFFFF) << "blended";
    HIMAGELIST oldHandle = list.Handle();

    RecreateImageList(&list);
    EXPECT_NE(list.Handle(), oldHandle);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(Render(list), before);
    int w = 0, h = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(list.Handle(), &w, &h));
    EXPECT_EQ(w, kSize);
    EXPECT_EQ(h, kSize);

    AddPattern(list, 5, 0);  // still a working list
    EXPECT_EQ(list.Count(), 6);

    TImageList empty("empty", kSize, kSize);
    RecreateImageList(&empty);
    EXPECT_EQ(empty.Count(), 0);
    RecreateImageList(nullptr);
}

TEST(FillPicture, FillsTheTargetsRectangleAndKeepsTheBrush) {
    TBitmap canvas(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) canvas.SetPixel(x, y, 0);
    HDC dc = canvas.Canvas();
    auto pixel = [&](int x, int y) { return canvas.Pixel(x, y) & 0x00FFFFFF; };

    TBitmap picture(8, 6);
    FillPicture(&picture, dc, false, RGB(10, 20, 30));
    EXPECT_EQ(pixel(0, 0), Rgb(RGB(10, 20, 30)));
    EXPECT_EQ(pixel(7, 5), Rgb(RGB(10, 20, 30)));
    EXPECT_EQ(pixel(8, 0), 0u);
    EXPECT_EQ(pixel(0, 6), 0u);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), ::GetStockObject(DC_BRUSH));
    EXPECT_EQ(::GetDCBrushColor(dc), RGB(10, 20, 30));

    // A control gives its size, not its position; the brush colour wins over colour.
    TControl control;
    control.SetBounds(3, 4, 12, 9);
    ::SetDCBrushColor(dc, RGB(200, 100, 50));
    FillPicture(&control, dc, true, RGB(1, 2, 3));
    EXPECT_EQ(pixel(0, 0), Rgb(RGB(200, 100, 50)));
    EXPECT_EQ(pixel(11, 8), Rgb(RGB(200, 100, 50)));
    EXPECT_EQ(pixel(12, 0), 0u);
    EXPECT_EQ(pixel(0, 9), 0u);
    EXPECT_EQ(::GetDCBrushColor(dc), RGB(200, 100, 50));
}

TEST(FillPicture, OtherTargetsRaiseAndPaintNothing) {
    TBitmap canvas(4, 4);
    canvas.SetPixel(0, 0, 0x00ABCDEF);
    EXPECT_THROW(FillPicture(FillTarget{}, canvas.Canvas(), false, RGB(1, 2, 3)), EcvParamOutOfValidRangeError);
    EXPECT_THROW(FillPicture(static_cast<const TBitmap*>(nullptr), canvas.Canvas(), false, 0), EcvParamWrong);
    EXPECT_EQ(canvas.Pixel(0, 0) & 0x00FFFFFF, 0x00ABCDEFu);
}
