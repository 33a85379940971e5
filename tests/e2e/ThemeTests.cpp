// The program's own drawing in the user's app theme: dark from the start,
// light once the system announces the switch, and after a storm of switches
// in the theme the last one left. What shows is read from the screen.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ProgramRun.h"
#include "TestSupport.h"

using namespace rztest;

namespace {

class AppTheme : public ManagerProgramTest {
protected:
    void SetUp() override {
        ProgramCopyTest::SetUp();
        if (HasFatalFailure()) return;
        WriteFile(dir_ / "zuvizove.ziz", "[Font Settings]\r\nWindowsDraw=0\r\nFontName=Tahoma\r\n");
        MakeDir(store_);
        std::string list;
        for (int i = 1; i <= 12; ++i) list += "^UnkLnk|C:\\windows\\win.ini|ini|Document " + std::to_string(i) + "\r\n";
        WriteFile(store_ + "\\shortcuts.txt", list);
        theme_.Set(false);
    }
    // The menu's colour; each press opens a new menu, read once painted and closed again.
    bool NextMenuIsDark() {
        HWND menu = OpenMenuByHotkey();
        const uint32_t colour = menu ? Painted(menu) : 0;
        PressKeys({VK_ESCAPE});
        WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs);
        return IsDarkColour(colour);
    }
    // Two reads in a row agree once painting is done.
    static uint32_t Painted(HWND window) {
        std::optional<uint32_t> colour, before;
        WaitUntil(
            [&] {
                before = colour;
                colour = CommonColour(window);
                return colour && colour == before;
            },
            kWindowMs);
        return colour.value_or(0);
    }
    static constexpr DWORD kFollowMs = 3000;

    AppThemeSetting theme_;
};

TEST_F(AppTheme, MenuAndSearchStartDark_TheNextMenuFollowsASwitchAndTheLastOfAStorm) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(OpenMenuByHotkey(), nullptr);
    EXPECT_TRUE(IsDarkColour(Painted(VisibleMenus(program_->Id()).front())));
    // A letter no entry answers: the search window, dark too.
    TypeText(L"d");
    HWND search = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (search = VisibleWindow(program_->Id(), "TForm.Razaveza", "Search")); },
                          kWindowMs));
    EXPECT_TRUE(IsDarkColour(Painted(search)));
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(search); }, kWindowMs));

    theme_.Set(true);
    AppThemeSetting::Announce();
    EXPECT_TRUE(WaitUntil([&] { return !NextMenuIsDark(); }, kFollowMs)) << "still dark";
    // A switch every 50 ms for 5 s, ending dark.
    for (int i = 0; i < 100; ++i) {
        theme_.Set(i % 2 == 0);
        AppThemeSetting::Announce();
        ::Sleep(50);
    }
    EXPECT_TRUE(WaitUntil([&] { return NextMenuIsDark(); }, kFollowMs)) << "still light";
    ExpectNoErrorShown();
}

}  // namespace
