// The data folder in a folder that a sync service replicates: changes that
// arrive from outside while the real program runs reach its menu, never cost
// the item manager's edits, and are never overwritten unasked.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestSupport.h"
#include "manager/form_items.h"

using namespace rztest;

namespace {

// A change is taken in once it has settled for a second; under a loaded
// Wine server that may take a while longer.
constexpr DWORD kTakenInMs = 20000;

class OutsideChange : public ManagerProgramTest {
protected:
    void SetUp() override {
        ManagerProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteFile(dir_ / "args.bat", "@echo %*> \"" + marker_ + "\"\r\n");
        MakeDir(store_);
        WriteFile(store_ + "\\shortcuts.txt", "^ExeLnk|" + dir_.Path() + "args.bat|loaded|bat|Args\r\n");
        WriteFile(dir_ / "zuvizove.ziz", Settings("Ctrl+L"));
    }
    static std::string Settings(const char* hotkey) {
        return std::string("[General Settings]\r\nTaskBar=1\r\nOpenLauncherHotkey=") + hotkey +
               "\r\n[Font Settings]\r\nWindowsDraw=1\r\nFontName=Tahoma\r\nFontSize=8\r\n"
               "[Misc Settings]\r\nDrawMenuBar=0\r\n";
    }
    // The menu's first entry chosen with the keys; what its script was given.
    std::string LaunchFirst(const std::vector<WORD>& hotkey = {VK_CONTROL, 'L'}) {
        if (!OpenMenuByHotkey(hotkey)) return "<no menu>";
        PressKeys({VK_DOWN});
        PressKeys({VK_RETURN});
        return TakeMarkerLine(marker_, kWindowMs);
    }
    HWND Box() const {
        for (HWND w : ProcessWindows(program_->Id(), "#32770"))
            if (::IsWindowVisible(w)) return w;
        return nullptr;
    }

    const std::string marker_ = dir_ / "launched.txt";
};

}  // namespace

TEST_F(OutsideChange, ASyncedListReachesTheMenu_AStoreThatIsGoneKeepsItUntilItComesBack_SettingsFollow) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(LaunchFirst(), "loaded\r\n");

    // Another computer's list arrives, with what its sync service leaves about.
    WriteFile(store_ + "\\shortcuts (PC2's conflicted copy).txt", "^SpeSep|not read\r\n");
    WriteFile(store_ + "\\.~lock.shortcuts.txt#", "");
    WriteFile(store_ + "\\shortcuts.txt", "^ExeLnk|" + dir_.Path() + "args.bat|synced|bat|Args\r\n");
    std::string launched;
    EXPECT_TRUE(WaitUntil([&] { return (launched = LaunchFirst()) == "synced\r\n"; }, kTakenInMs)) << launched;

    // The store goes away and the settings change: once the new key opens
    // the menu, both were taken in. The menu works on from memory, and
    // nothing is written back.
    RemoveTree(store_);
    WriteFile(dir_ / "zuvizove.ziz", Settings("Ctrl+K"));
    ASSERT_NE(OpenMenuByHotkey({VK_CONTROL, 'K'}), nullptr) << "the changed hotkey was not applied";
    PressKeys({VK_ESCAPE});
    EXPECT_EQ(LaunchFirst({VK_CONTROL, 'K'}), "synced\r\n");
    EXPECT_FALSE(DirExists(store_)) << "the store was written back";

    // The store comes back, made anew: the watch goes on.
    MakeDir(store_);
    WriteFile(store_ + "\\shortcuts.txt", "^ExeLnk|" + dir_.Path() + "args.bat|back|bat|Args\r\n");
    EXPECT_TRUE(WaitUntil(
        [&] {
            return (launched = LaunchFirst({VK_CONTROL, 'K'})) == "back\r\n";
        },
        kTakenInMs))
        << launched;

    // Close keeps the settings that came from outside.
    CloseThroughMenu({VK_CONTROL, 'K'});
    EXPECT_EQ(ReadFile(dir_ / "zuvizove.ziz"), Settings("Ctrl+K"));
}

TEST_F(OutsideChange, AListReplacedByGarbageIsReadAsAnyHostileList_LoggedWithoutABox) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(LaunchFirst(), "loaded\r\n");
    std::string garbage = std::string("\xFF\xFE\x00\x01 binary\r\n", 12) + std::string(5000, 'x') + "\r\n";
    garbage += "^ExeLnk|" + dir_.Path() + "args.bat|garbage|bat|Args\r\n^Folder|..\\..\\escape\r\n";
    garbage += "^UnkLnk|C:\\docs\\a.txt|..\\evil|Bad type\r\n^Nonsense|x\r\nno bar at all\r\n";
    WriteFile(store_ + "\\shortcuts.txt", garbage);
    std::string log;
    EXPECT_TRUE(WaitUntil(
        [&] {
            log = FileExists(dir_ / "errorlog.txt") ? ReadFile(dir_ / "errorlog.txt") : "";
            return log.find("the name gives no folder of its own") != std::string::npos &&
                   log.find("is no file extension") != std::string::npos;
        },
        kTakenInMs))
        << log;
    EXPECT_EQ(Box(), nullptr) << MessageBoxText(Box());
    EXPECT_EQ(LaunchFirst(), "garbage\r\n");
    EXPECT_TRUE(program_->Running());
}

TEST_F(OutsideChange, TheManagersEditsStay_SaveAsksBeforeOverwriting_WithoutEditsTheManagerReads) {
    WriteFile(store_ + "\\shortcuts.txt", "^SpeSep|One\r\n^SpeSep|Two\r\n^SpeSep|Three\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    const Manager m = OpenManager();
    ASSERT_TRUE(m.window && m.tree && m.status) << (program_->Running() ? "no manager" : "the program ended");
    const int loaded = TreeCount(m.window);
    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
    PressKeys({VK_DELETE});
    ASSERT_TRUE(WaitUntil([&] { return TreeCount(m.window) == loaded - 1; }, kWindowMs)) << "Del deleted nothing";

    // Another computer's save arrives: said, and the edit stays.
    const std::string theirs = "^SpeSep|Theirs\r\n";
    WriteFile(store_ + "\\shortcuts.txt", theirs);
    EXPECT_EQ(StatusBecomes(m.status, rz::kChangedOnDisk), rz::kChangedOnDisk);
    EXPECT_EQ(TreeCount(m.window), loaded - 1) << "the edit was lost";

    // Ctrl+S asks first; No saves nothing and keeps the edit.
    auto saveAndAnswer = [&](WORD key) {
        ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
        PressKeys({VK_CONTROL, 'S'});
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = Box()) != nullptr; }, kWindowMs)) << "Save asked nothing";
        EXPECT_NE(MessageBoxText(box).find("changed by another program or computer"), std::string::npos)
            << MessageBoxText(box);
        PressKeys({key});
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, kWindowMs));
    };
    ASSERT_NO_FATAL_FAILURE(saveAndAnswer('N'));
    EXPECT_EQ(StatusBecomes(m.status, rz::kNotSavedChangedOnDisk), rz::kNotSavedChangedOnDisk);
    EXPECT_EQ(ReadFile(store_ + "\\shortcuts.txt"), theirs);
    EXPECT_EQ(TreeCount(m.window), loaded - 1);

    // Yes: the manager's items are saved.
    ASSERT_NO_FATAL_FAILURE(saveAndAnswer('Y'));
    EXPECT_EQ(StatusBecomes(m.status, "Save succesful!"), "Save succesful!");
    EXPECT_EQ(ReadFile(store_ + "\\shortcuts.txt"), "^SpeSep|Two\r\n^SpeSep|Three\r\n");

    // Without edits, the next change from outside is read into the manager.
    WriteFile(store_ + "\\shortcuts.txt", "^SpeSep|A\r\n^SpeSep|B\r\n^SpeSep|C\r\n^SpeSep|D\r\n");
    EXPECT_EQ(StatusBecomes(m.status, rz::kReloadedFromDisk), rz::kReloadedFromDisk);
    EXPECT_TRUE(WaitUntil([&] { return TreeCount(m.window) == loaded + 1; }, kWindowMs)) << TreeCount(m.window);
    EXPECT_EQ(Box(), nullptr);
    CloseThroughMenu();
}
