// The keyboard on the user's path, with another program in front: through
// SendInput, and as real X key events, which reach only the X input focus.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestSupport.h"
#include "platform/TextCodePage.h"

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
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_NE(OpenMenuByHotkey(), nullptr) << "the program never showed its menu";
        PressKeys({VK_ESCAPE});
        front_ = std::make_unique<ForeignProgram>(GetParam());
        ASSERT_TRUE(front_->Ready()) << "no program to put in front";
    }

    void Keys(const std::vector<std::string>& chords) { PressKeys(GetParam(), chords); }
    // The hotkey pressed once with the other program in front: a menu shows.
    bool MenuFromInFront() {
        ::SetCursorPos(kCursor.x, kCursor.y);
        if (!front_->TakeFocus()) return false;
        Keys({"ctrl+l"});
        return WaitUntil([&] { return !VisibleMenus(program_->Id()).empty(); }, kMenuMs);
    }
    // The chosen entry's script ran with these parameters.
    std::string Launched() { return TakeMarkerLine(marker_, kWindowMs); }

    std::unique_ptr<ForeignProgram> front_;
    std::vector<std::string> topLines_;
};

}  // namespace

// Each round first opens a window from the menu and closes it with Esc (the
// search by a letter no entry answers, the others from "Razaveza Kit"), then
// the next Ctrl+L gives a menu that hears arrows, letters and Enter. Ctrl+L
// pressed 20 times at once gives one menu, which hears the keys.
TEST_P(RealKeyboard, TheLauncherMenuHearsTheKeysWithAnotherProgramInFront) {
    const struct {
        int kitRow;  // 0: none; -1: the search
        const char* title;
        std::vector<std::string> keys;
        const char* launched;
    } rounds[] = {{0, nullptr, {"m"}, "mailed"},
                  {-1, "Search", {"Down", "Down", "Down", "Return"}, "backup"},
                  {1, kManagerTitle, {"Down", "Return"}, "first"},
                  {2, "Corvane Razaveza - Preferences", {"m"}, "mailed"},
                  {4, "Corvane Razaveza - About", {"Down", "Return"}, "first"}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.title ? r.title : r.launched);
        if (r.title) {
            ASSERT_TRUE(MenuFromInFront());
            HWND shown = nullptr;
            if (r.kitRow < 0) Keys({"x"});
            else shown = ChooseFromKit(r.kitRow, r.title, GetParam());
            WaitUntil([&] { return shown || (shown = VisibleWindow(program_->Id(), nullptr, r.title)); }, kWindowMs);
            ASSERT_NE(shown, nullptr) << "the window did not open";
            ASSERT_TRUE(FocusWindow(GetParam(), shown));
            Keys({"Escape"});
            ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(shown); }, kWindowMs)) << "Esc did not close it";
        }
        ASSERT_TRUE(MenuFromInFront()) << "Ctrl+L opened no menu";
        Keys(r.keys);
        EXPECT_EQ(Launched(), std::string(r.launched) + "\r\n");
        EXPECT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs)) << "the menu stays";
    }

    ASSERT_TRUE(front_->TakeFocus());
    Keys(std::vector<std::string>(20, "ctrl+l"));
    ASSERT_TRUE(WaitUntil([&] { return !VisibleMenus(program_->Id()).empty(); }, kMenuMs));
    // Looked at for a while: never a second one.
    WaitUntil([&] { return VisibleMenus(program_->Id()).size() > 1; }, 1500);
    EXPECT_EQ(VisibleMenus(program_->Id()).size(), 1u);
    Keys({"Down", "Return"});
    EXPECT_EQ(Launched(), "first\r\n") << "the menu after many presses is deaf";
    ExpectNoErrorShown();
}

// F2, a name, Enter, Down, Del act on the tree. Esc with that unsaved asks,
// and while it asks Ctrl+L opens no menu over it; Cancel keeps window and
// edits, with the keyboard back on the tree; Yes saves them.
TEST_P(RealKeyboard, TheManagersKeysActOnTheTreeAndEscAsksBeforeDroppingEdits) {
    ASSERT_TRUE(MenuFromInFront());
    const HWND manager = ChooseFromKit(1, kManagerTitle, GetParam());
    ASSERT_NE(manager, nullptr);
    const HWND tree = ChildOf(manager, WC_TREEVIEWA);
    ASSERT_TRUE(FocusWindow(GetParam(), manager));
    // Rows: the anchor, Args, &Mail, Backup Mail, Report, Tools.
    Keys({"Down", "Down", "Down", "F2"});
    TypeText(GetParam(), "Mail backup");
    Keys({"Return", "Down", "Delete"});
    EXPECT_EQ(StatusBecomes(ChildOf(manager, STATUSCLASSNAMEA), "Deleted \"Report\""), "Deleted \"Report\"");
    EXPECT_EQ(ItemText(tree, TopItem(tree, 3)), "Mail backup");
    EXPECT_EQ(ItemText(tree, TopItem(tree, 4)), "Tools");

    for (const std::string answer : {"Escape", "Return"}) {
        SCOPED_TRACE(answer);
        Keys({"Escape"});
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = Box()) != nullptr; }, kWindowMs)) << "Esc asked nothing";
        EXPECT_EQ(MessageBoxText(box), "Save changes to the items?");
        ASSERT_TRUE(FocusWindow(GetParam(), box));
        Keys({"ctrl+l"});
        EXPECT_FALSE(WaitUntil([&] { return !VisibleMenus(program_->Id()).empty(); }, 1000)) << "a menu over the box";
        Keys({answer});
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(box); }, kWindowMs));
        if (answer == "Return") break;
        EXPECT_TRUE(::IsWindowVisible(manager)) << "Cancel closed the manager";
        EXPECT_EQ(ItemText(tree, TopItem(tree, 4)), "Tools") << "Cancel dropped the delete";
        ASSERT_TRUE(FocusWindow(GetParam(), manager));
        const HTREEITEM before = Selected(tree);
        Keys({"Up"});
        EXPECT_TRUE(WaitUntil([&] { return Selected(tree) != before; }, kWindowMs)) << "the tree lost the keyboard";
    }
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(manager); }, kClickMs)) << "Yes did not close it";
    std::vector<std::string> saved = topLines_;
    saved[2] = "^ExeLnk|" + dir_.Path() + "args.bat|backup|bat|Mail backup";
    saved.erase(saved.begin() + 3);
    EXPECT_EQ(Lines(ReadFile(store_ + "\\shortcuts.txt")), saved);
    ExpectNoErrorShown();
}

namespace {

// The clipboard's text as another program reads it; the clipboard is emptied.
std::string TakeClipboardText() {
    if (!::OpenClipboard(nullptr)) return "<held>";
    std::string text;
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (const auto* wide = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : nullptr) {
        text = rz::FromUtf16(wide);
        ::GlobalUnlock(data);
    }
    ::EmptyClipboard();
    ::CloseClipboard();
    return text;
}

}  // namespace

// The keys of an item's actions, with another program in front, on the
// search's result and on the menu's highlighted entry: the copied path is
// read by this process, Ctrl+Enter opens a folder window of the item's
// folder, the action menu opens on Shift+F10, the menu key and a right
// click, and its "Edit in the manager" shows the entry selected.
TEST_P(RealKeyboard, TheActionKeysActOnTheResultsAndTheEntrysItem) {
    const std::string script = dir_.Path() + "args.bat";
    const std::string folder = dir_.Path().substr(0, dir_.Path().size() - 1);
    const std::string folderName = folder.substr(folder.find_last_of('\\') + 1);
    enum class Seen { Copied, FolderWindow, ManagerSelects, MenuOnly };
    const struct {
        bool search;  // else the launcher menu, on "Backup Mail"
        std::vector<std::string> keys;
        const char* chosen;  // in the action menu those keys open
        Seen seen;
    } rounds[] = {{true, {"ctrl+c"}, nullptr, Seen::Copied},
                  {true, {"ctrl+Return"}, nullptr, Seen::FolderWindow},
                  {true, {"shift+F10"}, "e", Seen::ManagerSelects},
                  {true, {}, nullptr, Seen::MenuOnly},
                  {false, {"ctrl+c"}, nullptr, Seen::Copied},
                  {false, {"ctrl+Return"}, nullptr, Seen::FolderWindow},
                  {false, {"Menu"}, "e", Seen::ManagerSelects}};
    for (const auto& r : rounds) {
        SCOPED_TRACE((r.search ? "search " : "menu ") + (r.keys.empty() ? std::string("right click") : r.keys[0]));
        TakeClipboardText();
        ASSERT_TRUE(MenuFromInFront());
        HWND search = nullptr;
        if (r.search) {
            Keys({"b"});
            ASSERT_TRUE(WaitUntil([&] { return (search = VisibleWindow(program_->Id(), nullptr, "Search")); },
                                  kWindowMs));
            ASSERT_TRUE(FocusWindow(GetParam(), search));
            TypeText(GetParam(), "ack");
            ASSERT_TRUE(WaitUntil([&] { return FieldText(ChildOf(search, "Edit")) == "back"; }, kWindowMs));
        } else {
            Keys({"Down", "Down", "Down"});
        }
        if (r.keys.empty()) {
            // A right click on the first row.
            HWND list = ::FindWindowExA(search, nullptr, "TControl.Razaveza", nullptr);
            RECT rows{};
            ::GetWindowRect(list, &rows);
            Click(POINT{rows.left + 40, rows.top + 5}, MOUSEEVENTF_RIGHTDOWN);
            EXPECT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).size() == 1; }, kMenuMs));
            Keys({"Escape"});
            EXPECT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs));
            Keys({"Escape"});
        } else {
            // The launcher menu's place: the action menu opens elsewhere, once it is gone.
            const std::vector<HWND> open = VisibleMenus(program_->Id());
            RECT before{};
            if (!open.empty()) ::GetWindowRect(open[0], &before);
            Keys(r.keys);
            if (r.chosen) {
                RECT now{};
                ASSERT_TRUE(WaitUntil(
                    [&] {
                        const std::vector<HWND> menus = VisibleMenus(program_->Id());
                        return menus.size() == 1 && ::GetWindowRect(menus[0], &now) && !::EqualRect(&now, &before);
                    },
                    kMenuMs))
                    << "no action menu";
                Keys({r.chosen});
            }
        }
        EXPECT_TRUE(!search || WaitUntil([&] { return !::IsWindowVisible(search); }, kWindowMs));
        switch (r.seen) {
            case Seen::Copied: {
                std::string copied;
                EXPECT_TRUE(WaitUntil([&] { return (copied = TakeClipboardText()) == script; }, kWindowMs)) << copied;
                break;
            }
            case Seen::FolderWindow: {
                HWND shown = nullptr;
                EXPECT_TRUE(WaitUntil([&] { return (shown = ::FindWindowA(nullptr, folderName.c_str())) != nullptr; }, kClickMs))
                    << "no folder window titled " << folderName;
                // The folder window is another program's: it goes, or it holds the test's output.
                if (shown) ::PostMessageA(shown, WM_CLOSE, 0, 0);
                EXPECT_TRUE(WaitUntil([&] { return !::FindWindowA(nullptr, folderName.c_str()); }, kClickMs));
                break;
            }
            case Seen::ManagerSelects: {
                HWND manager = nullptr;
                ASSERT_TRUE(WaitUntil([&] { return (manager = VisibleWindow(program_->Id(), nullptr, kManagerTitle)); },
                                      kWindowMs));
                const HWND tree = ChildOf(manager, WC_TREEVIEWA);
                EXPECT_TRUE(WaitUntil([&] { return ItemText(tree, Selected(tree)) == "Backup Mail"; }, kWindowMs))
                    << ItemText(tree, Selected(tree));
                ASSERT_TRUE(FocusWindow(GetParam(), manager));
                Keys({"Escape"});
                ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(manager); }, kClickMs));
                break;
            }
            case Seen::MenuOnly: break;
        }
    }
    ExpectNoErrorShown();
}

INSTANTIATE_TEST_SUITE_P(Keys, RealKeyboard, ::testing::Values(KeyPath::SendInput, KeyPath::XServer),
                         [](const auto& p) {
                             return std::string(p.param == KeyPath::XServer ? "XServer" : "SendInput");
                         });
