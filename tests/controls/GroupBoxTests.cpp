// The engraved caption of a disabled group box, read back from the window.
// Under Wine a shown window's DC can be read with BitBlt, so the boxes sit
// on a visible host and are compared pixel by pixel.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/CcvWinGroupBox.h"
#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "platform/Handles.h"
#include "platform/StdControls.h"

namespace {

constexpr int kBoxWidth = 180;
constexpr int kBoxHeight = 80;
const char kCaption[] = "Program Font Settings";

uint32_t Rgb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[y * width + x]; }
    bool operator==(const Shot& o) const { return width == o.width && pixels == o.pixels; }
};

// What the control's client area shows now, without letting it repaint first.
Shot Capture(HWND control) {
    RECT r;
    ::GetClientRect(control, &r);
    rz::TBitmap copy(r.right, r.bottom);
    {
        rz::WindowDC dc(control);
        ::BitBlt(copy.Canvas(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
    }
    Shot s{r.right, r.bottom, {}};
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) s.pixels.push_back(copy.Pixel(x, y) & 0xFFFFFF);
    return s;
}

// Where a single-line caption in the box's font lands when drawn with its
// rectangle's left edge at x = left, top 0: the pixels it covers fully, and
// every pixel it touches at all (the font may be smoothed).
struct Glyph {
    std::vector<POINT> solid;
    std::vector<bool> touched;
};

Glyph GlyphAt(HWND box, const std::string& caption, int left) {
    RECT client;
    ::GetClientRect(box, &client);
    rz::TBitmap mask(client.right, client.bottom);
    RECT all{0, 0, client.right, client.bottom};
    ::FillRect(mask.Canvas(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(box, WM_GETFONT, 0, 0));
    rz::SelectGuard selected(mask.Canvas(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(mask.Canvas(), TRANSPARENT);
    ::SetTextColor(mask.Canvas(), RGB(0, 0, 0));
    RECT r{left, 0, client.right, client.bottom};
    ::DrawTextA(mask.Canvas(), caption.c_str(), -1, &r, DT_SINGLELINE);
    Glyph g{{}, std::vector<bool>(client.right * client.bottom, false)};
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            uint32_t c = mask.Pixel(x, y) & 0xFFFFFF;
            if (c == 0) g.solid.push_back(POINT{x, y});
            if (c != 0xFFFFFF) g.touched[y * client.right + x] = true;
        }
    }
    return g;
}

int CaptionWidth(HWND box, const std::string& caption) {
    rz::WindowDC dc(box);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(box, WM_GETFONT, 0, 0));
    rz::SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, 0, 0};
    ::DrawTextA(dc.get(), caption.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
}

// Engraved: the caption in the shadow colour, and its highlight copy one
// pixel right and down wherever the shadow copy does not touch it.
::testing::AssertionResult Engraved(const Shot& shot, const Glyph& glyph) {
    if (glyph.solid.size() < 20) return ::testing::AssertionFailure() << "caption draws almost nothing";
    const uint32_t shadow = Rgb(::GetSysColor(COLOR_BTNSHADOW));
    const uint32_t light = Rgb(::GetSysColor(COLOR_BTNHIGHLIGHT));
    int wrong = 0;
    for (const POINT& p : glyph.solid) {
        if (shot.At(p.x, p.y) != shadow) ++wrong;
        int x = p.x + 1, y = p.y + 1;
        if (x < shot.width && y < shot.height && !glyph.touched[y * shot.width + x] && shot.At(x, y) != light) ++wrong;
    }
    if (wrong) return ::testing::AssertionFailure() << wrong << " pixels are not engraved";
    return ::testing::AssertionSuccess();
}

class GroupBoxTest : public ::testing::Test {
protected:
    // One host for the suite: hiding or destroying a shown window costs Wine
    // two seconds each time.
    static void SetUpTestSuite() {
        host = std::make_unique<rz::TForm>("GroupBoxHost");
        host->CreateForm("", 2 * kBoxWidth + 30, 2 * kBoxHeight + 30);
        ::SetWindowPos(host->Handle(), nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        // Without activation: nothing else of the test run needs the focus.
        ::ShowWindow(host->Handle(), SW_SHOWNOACTIVATE);
    }
    static void TearDownTestSuite() { host.reset(); }
    void SetUp() override {
        ASSERT_TRUE(host && ::IsWindowVisible(host->Handle()));
        Place(engraved, 10, 10, kCaption);
        Place(standard, kBoxWidth + 20, 10, kCaption);
        Place(engravedBare, 10, kBoxHeight + 20, "");
        Place(standardBare, kBoxWidth + 20, kBoxHeight + 20, "");
        Settle();
    }
    void Place(rz::TGroupBox& box, int x, int y, const std::string& caption) {
        box.SetCaption(caption);
        box.SetBounds(x, y, kBoxWidth, kBoxHeight);
        if (auto* cv = dynamic_cast<rz::TcvWinGroupBox*>(&box)) cv->CreateWnd(host->Handle());
        else box.CreateWnd(host->Handle());
        ASSERT_NE(box.Handle(), nullptr);
    }
    // Lets every pending paint run.
    void Settle() {
        ::RedrawWindow(host->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }

    static std::unique_ptr<rz::TForm> host;
    rz::TcvWinGroupBox engraved{"Engraved"};
    rz::TGroupBox standard{"Standard"};
    rz::TcvWinGroupBox engravedBare{"EngravedBare"};
    rz::TGroupBox standardBare{"StandardBare"};
};

std::unique_ptr<rz::TForm> GroupBoxTest::host;

}  // namespace

TEST_F(GroupBoxTest, WhileEnabledOrWithoutCaptionItLooksLikeTheStandardBox) {
    ASSERT_TRUE(::IsWindowVisible(engraved.Handle()));
    const Shot shown = Capture(engraved.Handle());
    EXPECT_TRUE(shown == Capture(standard.Handle()));
    // The shot holds the caption at all: not an empty read of the screen.
    EXPECT_FALSE(shown == Capture(engravedBare.Handle()));

    engravedBare.SetEnabled(false);
    standardBare.SetEnabled(false);
    Settle();
    EXPECT_TRUE(Capture(engravedBare.Handle()) == Capture(standardBare.Handle()));
}

TEST_F(GroupBoxTest, DisablingEngravesTheCaptionAtOnceAndEnablingRemovesIt) {
    const Glyph glyph = GlyphAt(engraved.Handle(), kCaption, 8);
    ASSERT_FALSE(Engraved(Capture(engraved.Handle()), glyph));

    // Read before any message runs: the repaint belongs to the state change.
    // (Wine's own box repaints on WM_ENABLE as well, so this alone does not
    // tell the control's repaint from the platform's.)
    engraved.SetEnabled(false);
    EXPECT_TRUE(Engraved(Capture(engraved.Handle()), glyph));
    // The platform's own disabled box is not engraved there.
    standard.SetEnabled(false);
    Settle();
    EXPECT_FALSE(Engraved(Capture(standard.Handle()), glyph));
    EXPECT_TRUE(Engraved(Capture(engraved.Handle()), glyph));

    engraved.SetEnabled(true);
    standard.SetEnabled(true);
    Settle();
    EXPECT_TRUE(Capture(engraved.Handle()) == Capture(standard.Handle()));
}

TEST_F(GroupBoxTest, TheCaptionsInsetFollowsTheDpi) {
    // It sat 8 pixels in at every DPI.
    for (const int dpi : {120, 144, 168}) {
        engraved.SetDpi(dpi);
        engraved.SetEnabled(false);
        const Shot shot = Capture(engraved.Handle());
        EXPECT_TRUE(Engraved(shot, GlyphAt(engraved.Handle(), kCaption, ::MulDiv(8, dpi, 96)))) << dpi;
        EXPECT_FALSE(Engraved(shot, GlyphAt(engraved.Handle(), kCaption, 8))) << dpi;
        engraved.SetEnabled(true);
        Settle();
    }
}

TEST_F(GroupBoxTest, RightToLeftReadingEngravesAtTheRightEdge) {
    HWND box = engraved.Handle();
    ::SetWindowLongA(box, GWL_EXSTYLE, ::GetWindowLongA(box, GWL_EXSTYLE) | WS_EX_RTLREADING);
    RECT client;
    ::GetClientRect(box, &client);
    const int left = client.right - CaptionWidth(box, kCaption) - 8;
    engraved.SetEnabled(false);
    const Shot shot = Capture(box);
    EXPECT_TRUE(Engraved(shot, GlyphAt(box, kCaption, left)));
    EXPECT_FALSE(Engraved(shot, GlyphAt(box, kCaption, 8)));
}
