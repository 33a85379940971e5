// The keyboard on the user's path, with another program in front: the
// launcher menu, the windows it opens and the manager's tree, driven once
// through SendInput and once by real X key events (which reach only the
// window holding the X input focus, as a keyboard's do).

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestSupport.h"

using namespace rztest;

namespace {

class RealKeyboard : public ManagerProgramTest, public ::testing::WithParamInterface<KeyPath> {
protected:
    void SetUp() override {
        if (GetParam() == KeyPath::XServer && !XKeysTestable())
            GTEST_SKIP() << "X keys need every window to be an X window of its own: the e2e_x_keys run";
        ProgramCopyTest::SetUp();
        if (HasFatalFailure()) return;
        // "&Mail" answers its letter; a typed "x" answers nothing and opens the search.
        topLines_ = {ArgsEntry("first"), "^ExeLnk|" + dir_.Path() + "args.bat|mailed|bat|&Mail",
                     "^ExeLnk|" + dir_.Path() + "args.bat|backup|bat|Backup Mail",
                     "^UnkLnk|" + WindowsDir() + "win.ini|ini|Report", "^Folder|Tools"};
        MakeDir(store_);
        MakeDir(store_ + "\\Tools");
        WriteFile(store_ + "\\shortcuts.txt", Join(topLines_));
    }

    void Keys(const std::vector<std::string>& chords) { PressKeys(GetParam(), chords); }
    bool Focus(HWND window) { return FocusWindow(GetParam(), window); }

    // The hotkey pressed once with the other program in front; the menu's window.
    HWND MenuFromInFront(ForeignProgram& front) {
        ::SetCursorPos(kCursor.x, kCursor.y);
        if (!front.TakeFocus()) return nullptr;
        Keys({"ctrl+l"});
        std::vector<HWND> menus;
        WaitUntil([&] { return !(menus = VisibleMenus(program_->Id())).empty(); }, kMenuMs);
        return menus.empty() ? nullptr : menus.front();
    }
    // The chosen entry's script ran with these parameters.
    std::string Launched() { return TakeMarkerLine(marker_, kWindowMs); }

    // From the open menu into "Razaveza Kit", downs rows on: 1 manager, 2 preferences, 4 about.
    HWND KitWindow(int downs, const char* title) {
        Keys({"Up", "Up", "Right"});
        if (!WaitUntil([&] { return VisibleMenus(program_->Id()).size() == 2; }, kMenuMs)) return nullptr;
        Keys(std::vector<std::string>(downs, "Down"));
        Keys({"Return"});
        HWND shown = nullptr;
        WaitUntil([&] { return (shown = VisibleWindow(program_->Id(), nullptr, title)) != nullptr; }, kWindowMs);
        return shown;
    }

    std::vector<std::string> topLines_;
};

std::string ParamName(const ::testing::TestParamInfo<KeyPath>& info) { return PathName(info.param); }

}  // namespace

// Arrows, a letter, Enter, a letter that opens the search; Ctrl+L pressed 20
// times at once gives one menu, which hears the keys.
TEST_P(RealKeyboard, TheLauncherMenuHearsTheKeysWithAnotherProgramInFront) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(OpenMenuByHotkey(), nullptr) << "the program never showed its menu";
    PressKeys({VK_ESCAPE});
    ForeignProgram front(GetParam());
    ASSERT_TRUE(front.Ready()) << "no program to put in front";

    const struct {
        std::vector<std::string> keys;
        const char* launched;
    } rounds[] = {{{"Down", "Return"}, "first"}, {{"m"}, "mailed"}, {{"Down", "Down", "Down", "Return"}, "backup"}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.launched);
        ASSERT_NE(MenuFromInFront(front), nullptr) << "Ctrl+L opened no menu";
        Keys(round.keys);
        EXPECT_EQ(Launched(), std::string(round.launched) + "\r\n");
        EXPECT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs)) << "the menu stays";
    }

    // A letter no entry answers: the search opens with it, and takes the rest.
    ASSERT_NE(MenuFromInFront(front), nullptr);
    Keys({"b"});
    HWND search = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (search = VisibleWindow(program_->Id(), nullptr, "Search")) != nullptr; },
                          kWindowMs));
    ASSERT_TRUE(Focus(search));
    TypeText(GetParam(), "ackup");
    Keys({"Return"});
    EXPECT_EQ(Launched(), "backup\r\n");

    ASSERT_TRUE(front.TakeFocus());
    Keys(std::vector<std::string>(20, "ctrl+l"));
    ASSERT_TRUE(WaitUntil([&] { return !VisibleMenus(program_->Id()).empty(); }, kMenuMs));
    // Looked at for a while: never a second one.
    WaitUntil([&] { return VisibleMenus(program_->Id()).size() > 1; }, 1500);
    EXPECT_EQ(VisibleMenus(program_->Id()).size(), 1u);
    Keys({"Down", "Return"});
    EXPECT_EQ(Launched(), "first\r\n") << "the menu after many presses is deaf";
    EXPECT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs));
    ExpectNoErrorShown();
}

// Each window the menu opens, closed with Esc: the next Ctrl+L from the
// program in front gives a menu that hears the keys.
TEST_P(RealKeyboard, TheMenuHearsTheKeysRightAfterEachWindowClosed) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(OpenMenuByHotkey(), nullptr);
    PressKeys({VK_ESCAPE});
    ForeignProgram front(GetParam());
    ASSERT_TRUE(front.Ready());
    const struct {
        int downs;
        const char* title;
    } windows[] = {{0, "Search"}, {1, kManagerTitle}, {2, "Corvane Razaveza - Preferences"},
                   {4, "Corvane Razaveza - About"}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.title);
        ASSERT_NE(MenuFromInFront(front), nullptr);
        HWND shown = nullptr;
        if (w.downs == 0) {
            Keys({"x"});
            WaitUntil([&] { return (shown = VisibleWindow(program_->Id(), nullptr, w.title)) != nullptr; },
                      kWindowMs);
        } else {
            shown = KitWindow(w.downs, w.title);
        }
        ASSERT_NE(shown, nullptr) << "the window did not open";
        ASSERT_TRUE(Focus(shown));
        Keys({"Escape"});
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(shown); }, kWindowMs)) << "Esc did not close it";
        ASSERT_NE(MenuFromInFront(front), nullptr) << "no menu after the window closed";
        Keys({"Down", "Return"});
        EXPECT_EQ(Launched(), "first\r\n");
    }
    ExpectNoErrorShown();
}

// F2, a name, Enter, Down, Del: the keys act on the tree. Esc with that
// unsaved asks; Cancel keeps window and edits, Yes saves them.
TEST_P(RealKeyboard, TheManagersKeysActOnTheTreeAndEscAsksBeforeDroppingEdits) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(OpenMenuByHotkey(), nullptr);
    PressKeys({VK_ESCAPE});
    ForeignProgram front(GetParam());
    ASSERT_TRUE(front.Ready());
    ASSERT_NE(MenuFromInFront(front), nullptr);
    const HWND manager = KitWindow(1, kManagerTitle);
    ASSERT_NE(manager, nullptr);
    const HWND tree = ChildOf(manager, WC_TREEVIEWA);
    const HWND status = ChildOf(manager, STATUSCLASSNAMEA);
    ASSERT_TRUE(Focus(manager));
    // Rows: the anchor, Args, &Mail, Backup Mail, Report.
    Keys({"Down", "Down", "Down", "F2"});
    TypeText(GetParam(), "Mail backup");
    Keys({"Return", "Down", "Delete"});
    EXPECT_EQ(StatusBecomes(status, "Deleted \"Report\""), "Deleted \"Report\"");
    EXPECT_EQ(ItemText(tree, TopItem(tree, 3)), "Mail backup");
    EXPECT_EQ(ItemText(tree, TopItem(tree, 4)), "Tools");

    for (const char* answer : {"Escape", "Return"}) {
        SCOPED_TRACE(answer);
        Keys({"Escape"});
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = Box()) != nullptr; }, kWindowMs)) << "Esc asked nothing";
        EXPECT_EQ(MessageBoxText(box), "Save changes to the items?");
        ASSERT_TRUE(Focus(box));
        Keys({answer});
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, kWindowMs));
        if (std::string(answer) == "Escape") {
            EXPECT_TRUE(::IsWindowVisible(manager)) << "Cancel closed the manager";
            EXPECT_EQ(ItemText(tree, TopItem(tree, 4)), "Tools") << "Cancel dropped the delete";
            ASSERT_TRUE(Focus(manager));
        }
    }
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(manager); }, kClickMs)) << "Yes did not close it";
    std::vector<std::string> saved = topLines_;
    saved[2] = "^ExeLnk|" + dir_.Path() + "args.bat|backup|bat|Mail backup";
    saved.erase(saved.begin() + 3);
    EXPECT_EQ(Lines(ReadFile(store_ + "\\shortcuts.txt")), saved);
    ExpectNoErrorShown();
}

INSTANTIATE_TEST_SUITE_P(Keys, RealKeyboard, ::testing::Values(KeyPath::SendInput, KeyPath::XServer), ParamName);
