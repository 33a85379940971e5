// The about box: its layout, the memory line and when it is refreshed.

#include "DialogFixture.h"

#include <commctrl.h>

using namespace rz;
using rztest::DialogTest;

namespace {

// Where a control sits in its window's client area.
RECT PlacedAt(const TControl& c) {
    RECT r;
    ::GetWindowRect(c.Handle(), &r);
    ::MapWindowPoints(nullptr, ::GetParent(c.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Tick(TTimer& timer) { ::SendMessageA(timer.Handle(), WM_TIMER, 1, 0); }

class AboutBoxTest : public DialogTest {};

}  // namespace

TEST(MemoryLine, TotalInWholeKilobytesGroupedByThree) {
    EXPECT_EQ(FormatMemoryLine({45, 1073741824ULL}, ","), "45% used of the total memory at 1,048,576 KB");
    // Beyond what the 32-bit query can report.
    EXPECT_EQ(FormatMemoryLine({7, 24ULL << 30}, "."), "7% used of the total memory at 25.165.824 KB");
    EXPECT_EQ(FormatMemoryLine({100, 1535}, ","), "100% used of the total memory at 1 KB");
    EXPECT_EQ(FormatMemoryLine({0, 1536}, ","), "0% used of the total memory at 2 KB");
    EXPECT_EQ(GroupThousands(999, "'"), "999");
    EXPECT_EQ(GroupThousands(1000, "'"), "1'000");
    EXPECT_EQ(GroupThousands(0, ","), "0");
}

TEST_F(AboutBoxTest, LayoutAndVersionLine) {
    StartUp();
    RECT client;
    ::GetClientRect(About().Handle(), &client);
    EXPECT_EQ(client.right, 331);
    EXPECT_EQ(client.bottom, 172);
    EXPECT_EQ(PlacedAt(About().PanelAbout).right, 331);
    EXPECT_EQ(PlacedAt(About().PanelAbout).bottom, 172);
    const std::pair<const TControl*, POINT> at[] = {
        {&About().ImageAboutLogo, {16, 8}},  {&About().LabelVer, {60, 8}},      {&About().LabelDis, {60, 27}},
        {&About().LabelCopy, {60, 47}},      {&About().BevelAbout, {16, 65}},   {&About().LabelUrl, {15, 73}},
        {&About().LabelMemTotal, {16, 124}}, {&About().ProgressBarP, {16, 146}}};
    for (const auto& [control, p] : at) {
        EXPECT_EQ(PlacedAt(*control).left, p.x) << control->Name;
        EXPECT_EQ(PlacedAt(*control).top, p.y) << control->Name;
        // Above the panel they lie on, so it never covers them.
        EXPECT_EQ(::ChildWindowFromPointEx(About().Handle(), POINT{p.x + 1, p.y + 1}, CWP_SKIPINVISIBLE),
                  control->Handle())
            << control->Name;
    }
    EXPECT_EQ(PlacedAt(About().ProgressBarP).right - 16, 289);
    EXPECT_EQ(PlacedAt(About().ProgressBarP).bottom - 146, 15);
    EXPECT_EQ(PlacedAt(About().BevelAbout).right - 16, 289);
    EXPECT_EQ(::SendMessageA(About().ProgressBarP.Handle(), PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(About().LabelVer.Caption(), "Corvane Razaveza version 1.42 for Windows");
    EXPECT_EQ(About().LabelUrl.Caption(), kMakerWebsite);
    EXPECT_TRUE(FontOf(About().LabelUrl.Font()).lfUnderline);
}

TEST_F(AboutBoxTest, MemoryLineShowsAtOnceInTheUsersNumberFormatAndOnEveryTick) {
    StartUp();
    char separator[8] = {};
    ASSERT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof(separator)), 0);
    const std::string s = separator;
    EXPECT_EQ(memoryQueries, 0);
    About().Show();
    EXPECT_EQ(memoryQueries, 1);
    EXPECT_EQ(About().LabelMemTotal.Caption(), "45% used of the total memory at 1" + s + "048" + s + "576 KB");
    EXPECT_EQ(::SendMessageA(About().ProgressBarP.Handle(), PBM_GETPOS, 0, 0), 45);

    memory = {81, 24ULL << 30};
    Tick(About().TimerMem);
    EXPECT_EQ(memoryQueries, 2);
    EXPECT_EQ(About().LabelMemTotal.Caption(), "81% used of the total memory at 25" + s + "165" + s + "824 KB");
    EXPECT_EQ(::SendMessageA(About().ProgressBarP.Handle(), PBM_GETPOS, 0, 0), 81);
    About().Close();
}

TEST_F(AboutBoxTest, TimerIdlesWhileTheBoxIsHidden) {
    StartUp();
    EXPECT_FALSE(About().TimerMem.Enabled());
    EXPECT_EQ(About().TimerMem.Interval(), 1000u);
    About().Show();
    EXPECT_TRUE(About().TimerMem.Enabled());

    ::SendMessageA(About().Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(About().Visible());
    EXPECT_FALSE(About().TimerMem.Enabled());
    const int afterClose = memoryQueries;
    Tick(About().TimerMem);
    EXPECT_EQ(memoryQueries, afterClose);

    // Hidden while new settings are applied: a tick meanwhile queries nothing
    // and stops the timer; shown again, the line is fresh at once.
    About().Show();
    HideOpenWindows();
    const int whileHidden = memoryQueries;
    Tick(About().TimerMem);
    EXPECT_EQ(memoryQueries, whileHidden);
    EXPECT_FALSE(About().TimerMem.Enabled());
    ReshowHiddenWindows();
    EXPECT_EQ(memoryQueries, whileHidden + 1);
    EXPECT_TRUE(About().TimerMem.Enabled());
    About().Close();
}
