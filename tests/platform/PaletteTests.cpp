// The palette's dark colours stay legible whatever highlight the system
// has; the app theme is read from the registry as Windows keeps it; pictures
// kept drawn are the list's pictures of now.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

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
        // A dark menu.
        EXPECT_LT(ContrastRatio(dark->Colour(COLOR_MENU), RGB(0, 0, 0)), 2.0);
    }
    // A highlight that reads already keeps its colour.
    EXPECT_EQ(Palette::Dark(RGB(0x0A, 0x24, 0x6A))->Colour(COLOR_HIGHLIGHT), RGB(0x0A, 0x24, 0x6A));
    EXPECT_EQ(Palette::System()->Colour(COLOR_MENU), ::GetSysColor(COLOR_MENU));
}

TEST(Palette, WithContrastMovesOnlyAsFarAsNeeded) {
    const struct {
        COLORREF colour, against;
        double ratio;
    } cases[] = {
        {RGB(0x77, 0x77, 0x77), RGB(0x2B, 0x2B, 0x2B), 4.5},
        {RGB(0x77, 0x77, 0x77), RGB(0xF0, 0xF0, 0xF0), 4.5},
        {RGB(0x30, 0x30, 0x30), RGB(0x2B, 0x2B, 0x2B), 7.0},
        {RGB(0xFF, 0x00, 0x00), RGB(0xFF, 0x00, 0x00), 4.5},
    };
    for (const auto& c : cases) {
        const COLORREF moved = WithContrast(c.colour, c.against, c.ratio);
        EXPECT_GE(ContrastRatio(moved, c.against), c.ratio) << std::hex << c.colour << " on " << c.against;
        EXPECT_EQ(WithContrast(moved, c.against, c.ratio), moved) << "moved again";
    }
    EXPECT_DOUBLE_EQ(ContrastRatio(RGB(0, 0, 0), RGB(255, 255, 255)), 21.0);
}

TEST(AppTheme, DarkOnlyForADwordZero) {
    const auto dword = [](DWORD v) {
        RegistryValue r{true, REG_DWORD, std::vector<BYTE>(4)};
        std::memcpy(r.data.data(), &v, 4);
        return r;
    };
    const struct {
        const char* name;
        RegistryValue value;
        bool dark;
    } cases[] = {
        {"missing", RegistryValue{}, false},
        {"0", dword(0), true},
        {"1", dword(1), false},
        {"any other number", dword(7), false},
        {"text 0", RegistryValue{true, REG_SZ, {'0', 0}}, false},
        {"four zero bytes, not a number", RegistryValue{true, REG_BINARY, {0, 0, 0, 0}}, false},
        {"a number too short", RegistryValue{true, REG_DWORD, {0, 0}}, false},
        {"a 64-bit zero", RegistryValue{true, REG_QWORD, std::vector<BYTE>(8)}, false},
    };
    for (const auto& c : cases) {
        std::string asked;
        ReadRegistryValue.Replace([&](HKEY root, const std::string& path, const std::string& name) {
            asked = (root == HKEY_CURRENT_USER ? "HKCU\\" : "?\\") + path + "\\" + name;
            return c.value;
        });
        EXPECT_EQ(AppsUseDarkTheme(), c.dark) << c.name;
        EXPECT_EQ(asked, "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize\\AppsUseLightTheme");
    }
    ReadRegistryValue.Restore();
    // Wine draws no dark menus or title bars: asking changes nothing there.
    EXPECT_FALSE(UsePlatformDarkMenus(true));
    EXPECT_FALSE(PlatformDarkMenus());
}

// A picture kept drawn is the one the slot holds now, over the background asked for.
TEST(ImageList, PicturesKeptDrawnFollowTheirSlots) {
    TImageList list("Pictures", 16, 16);
    const auto solid = [](COLORREF c) {
        auto b = std::make_unique<TBitmap>(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) b->SetPixel(x, y, 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        return b;
    };
    const auto red = solid(RGB(200, 0, 0)), blue = solid(RGB(0, 0, 200));
    {
        TBitmap::Unselected r(*red), b(*blue);
        ASSERT_EQ(list.Add(r.get(), nullptr), 0);
        ASSERT_EQ(list.Add(b.get(), nullptr), 1);
    }
    TBitmap canvas(40, 16);
    const auto at = [&](int x) { return canvas.Pixel(x, 8) & 0xFFFFFF; };
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(list.DrawCached(canvas.Canvas(), 0, 0, 16, 0, true, RGB(1, 2, 3)));
        ASSERT_TRUE(list.DrawCached(canvas.Canvas(), 20, 0, 16, 1, true, RGB(1, 2, 3)));
        EXPECT_EQ(at(8), 0xC80000u) << round;
        EXPECT_EQ(at(28), 0x0000C8u) << round;
    }
    {
        TBitmap::Unselected b(*blue);
        ASSERT_TRUE(list.Replace(0, b.get(), nullptr));
    }
    ASSERT_TRUE(list.DrawCached(canvas.Canvas(), 0, 0, 16, 0, true, RGB(1, 2, 3)));
    EXPECT_EQ(at(8), 0x0000C8u) << "a replaced picture showed as it was";
}
