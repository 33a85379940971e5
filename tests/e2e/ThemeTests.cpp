// The program's own drawing in the user's app theme: dark from the start,
// light after the system announces the switch, and a switch while the menu
// is open left to the next opening. What shows is read from the screen.

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
        WriteFile(dir_ / "zuvizove.ziz", "[Font Settings]\r\nWindowsDraw=0\r\nFontName=Tahoma\r\nFontSize=8\r\n");
        MakeDir(store_);
        std::string list;
        for (int i = 1; i <= 12; ++i) list += "^UnkLnk|C:\\windows\\win.ini|ini|Document " + std::to_string(i) + "\r\n";
        WriteFile(store_ + "\\shortcuts.txt", list);
        theme_.Set(false);
    }

    // The colour of the program's menu or search window; 0xFFFFFFFF when it does not show.
    uint32_t Shown(HWND window) {
        std::optional<uint32_t> colour;
        // Painting may still be under way: two reads in a row agree once it is done.
        WaitUntil(
            [&] {
                const auto before = CommonColour(window);
                ::Sleep(100);
                colour = CommonColour(window);
                return colour && colour == before;
            },
            kWindowMs);
        return colour.value_or(0xFFFFFFFFu);
    }
    // Opens the menu, reads it and closes it again.
    uint32_t NextMenu() {
        HWND menu = OpenMenuByHotkey();
        if (!menu) return 0xFFFFFFFFu;
        const uint32_t colour = Shown(menu);
        PressKeys({VK_ESCAPE});
        WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs);
        return colour;
    }
    // The system's switch to light, and how long the program may take to follow it.
    void SwitchTo(bool light) {
        theme_.Set(light);
        AppThemeSetting::Announce();
    }
    static constexpr DWORD kFollowMs = 3000;

    AppThemeSetting theme_;
};

TEST_F(AppTheme, OwnDrawingAndSearchStartDark_FollowTheSwitchWithoutARestart_NotWhileAMenuIsOpen) {
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND menu = OpenMenuByHotkey();
    ASSERT_NE(menu, nullptr);
    const uint32_t darkMenu = Shown(menu);
    EXPECT_TRUE(IsDarkColour(darkMenu)) << std::hex << darkMenu;

    // A letter no entry answers: the search window, dark too.
    TypeText(L"d");
    HWND search = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (search = VisibleWindow(program_->Id(), "TForm.Razaveza", "Search")); },
                          kWindowMs));
    const uint32_t darkSearch = Shown(search);
    EXPECT_TRUE(IsDarkColour(darkSearch)) << std::hex << darkSearch;
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(search); }, kWindowMs));

    // Switched while the menu shows: its entries, painted again, keep their colours.
    menu = OpenMenuByHotkey();
    ASSERT_NE(menu, nullptr);
    SwitchTo(true);
    ::Sleep(kFollowMs / 2);
    PressKeys({VK_DOWN});
    PressKeys({VK_DOWN});
    EXPECT_TRUE(IsDarkColour(Shown(menu))) << "the open menu changed its colours";
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs));

    uint32_t next = 0;
    EXPECT_TRUE(WaitUntil([&] { return !IsDarkColour(next = NextMenu()); }, kFollowMs)) << std::hex << next;

    // A switch every 50 ms for 5 s, ending dark: the program keeps up and ends dark.
    for (int i = 0; i < 100; ++i) {
        SwitchTo(i % 2 == 0);
        ::Sleep(50);
    }
    EXPECT_TRUE(WaitUntil([&] { return IsDarkColour(next = NextMenu()); }, kFollowMs)) << std::hex << next;
    ExpectNoErrorShown();
}

}  // namespace
