// The palette's dark colours stay legible whatever highlight the system
// has; the app theme is read from the registry as Windows keeps it; pictures
// kept drawn are the list's pictures of now.

#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>

#include "platform/Bitmap.h"
#include "platform/ImageList.h"
#include "platform/Palette.h"
#include "platform/SystemTheme.h"

using namespace rz;

TEST(Palette, DarkTextReadsOnItsBackgroundForAnyHighlight) {
    const COLORREF accents[] = {
        RGB(0x0A, 0x24, 0x6A),  // Wine's own
        RGB(0x00, 0x78, 0xD7),  // Windows 10's blue: too light for white text at 7:1
        RGB(0xFF, 0xE6, 0x80),  // a pale yellow a user picked
        RGB(0x80, 0x80, 0x80),  RGB(0xFF, 0xFF, 0xFF), RGB(0x00, 0x00, 0x00), RGB(0x00, 0xFF, 0x00),
    };
    for (COLORREF accent : accents) {
        const auto dark = Palette::Dark(accent);
        EXPECT_TRUE(dark->IsDark());
        for (const Palette::TextOnBackground& pair : Palette::TextPairs()) {
            const double ratio = ContrastRatio(dark->Colour(pair.text), dark->Colour(pair.background));
            EXPECT_GE(ratio, pair.ratio) << std::hex << accent << ": colour " << std::dec << pair.text << " on "
                                         << pair.background;
        }
        EXPECT_LT(ContrastRatio(dark->Colour(COLOR_MENU), RGB(0, 0, 0)), 2.0) << "not dark";
    }
    // A highlight that reads already keeps its colour.
    EXPECT_EQ(Palette::Dark(RGB(0x0A, 0x24, 0x6A))->Colour(COLOR_HIGHLIGHT), RGB(0x0A, 0x24, 0x6A));
}

TEST(AppTheme, DarkOnlyForADwordZero) {
    const struct {
        RegistryValue value;
        bool dark;
    } cases[] = {
        {RegistryValue{}, false},                                 // missing
        {RegistryValue{true, REG_DWORD, {0, 0, 0, 0}}, true},     // 0
        {RegistryValue{true, REG_DWORD, {1, 0, 0, 0}}, false},    // 1
        {RegistryValue{true, REG_DWORD, {0, 1, 0, 0}}, false},    // 256
        {RegistryValue{true, REG_SZ, {'0', 0}}, false},           // text
        {RegistryValue{true, REG_BINARY, {0, 0, 0, 0}}, false},   // bytes, not a number
        {RegistryValue{true, REG_DWORD, {0, 0}}, false},          // too short
        {RegistryValue{true, REG_QWORD, std::vector<BYTE>(8)}, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::string asked;
        ReadRegistryValue.Replace([&](HKEY root, const std::string& path, const std::string& name) {
            asked = (root == HKEY_CURRENT_USER ? "HKCU\\" : "?\\") + path + "\\" + name;
            return cases[i].value;
        });
        EXPECT_EQ(AppsUseDarkTheme(), cases[i].dark) << i;
        EXPECT_EQ(asked, "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize\\AppsUseLightTheme");
    }
    ReadRegistryValue.Restore();
    // Wine has no dark menus of its own: asking changes nothing there.
    EXPECT_FALSE(UsePlatformDarkMenus(true));
    EXPECT_FALSE(PlatformDarkMenus());
}

// A picture kept drawn is the one the slot holds now.
TEST(ImageList, PicturesKeptDrawnFollowTheirSlots) {
    TImageList list("Pictures", 16, 16);
    TBitmap red(16, 16), blue(16, 16), canvas(16, 16);
    for (int i = 0; i < 256; ++i) {
        red.SetPixel(i % 16, i / 16, 0xFFC80000u);
        blue.SetPixel(i % 16, i / 16, 0xFF0000C8u);
    }
    const auto put = [&](TBitmap& b, int slot) {
        TBitmap::Unselected picture(b);
        return slot < 0 ? list.Add(picture.get(), nullptr) >= 0 : list.Replace(slot, picture.get(), nullptr);
    };
    ASSERT_TRUE(put(red, -1));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(list.DrawCached(canvas.Canvas(), 0, 0, 16, 0, true, RGB(1, 2, 3)));
        EXPECT_EQ(canvas.Pixel(8, 8) & 0xFFFFFF, 0xC80000u) << round;
    }
    ASSERT_TRUE(put(blue, 0));
    ASSERT_TRUE(list.DrawCached(canvas.Canvas(), 0, 0, 16, 0, true, RGB(1, 2, 3)));
    EXPECT_EQ(canvas.Pixel(8, 8) & 0xFFFFFF, 0x0000C8u) << "a replaced picture showed as it was";
}
