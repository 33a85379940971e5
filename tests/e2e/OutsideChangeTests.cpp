// The data folder in a folder that a sync service replicates: a list that
// arrives from outside while the real program runs reaches its menu; the item
// manager's edits stay, and Save asks before it overwrites them.

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
        MakeDir(store_);
        WriteFile(dir_ / "zuvizove.ziz",
                  "[General Settings]\r\nTaskBar=1\r\nOpenLauncherHotkey=Ctrl+L\r\n[Font Settings]\r\nWindowsDraw=1\r\n"
                  "FontName=Tahoma\r\nFontSize=8\r\n[Misc Settings]\r\nDrawMenuBar=0\r\n");
    }
};

}  // namespace

TEST_F(OutsideChange, ASyncedListReachesTheMenu_TheManagersEditsStay_SaveAsksFirst) {
    WriteFile(store_ + "\\shortcuts.txt", ArgsEntry("loaded") + "\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(LaunchFirst(), "loaded\r\n");
    // Another computer's list arrives, with what its sync service leaves about.
    WriteFile(store_ + "\\shortcuts (PC2's conflicted copy).txt", "^SpeSep|not read\r\n");
    WriteFile(store_ + "\\.~lock.shortcuts.txt#", "");
    WriteFile(store_ + "\\shortcuts.txt", ArgsEntry("synced") + "\r\n^SpeSep|Two\r\n");
    std::string launched;
    EXPECT_TRUE(WaitUntil([&] { return (launched = LaunchFirst()) == "synced\r\n"; }, kTakenInMs)) << launched;

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

    // Ctrl+S asks first: No, the default, saves nothing and keeps the edit; Yes saves it.
    const struct {
        WORD key;
        std::string said, stored;
    } answers[] = {{VK_RETURN, rz::kNotSavedChangedOnDisk, theirs}, {'Y', "Save succesful!", "^SpeSep|Two\r\n"}};
    for (const auto& a : answers) {
        ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
        PressKeys({VK_CONTROL, 'S'});
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = Box()) != nullptr; }, kWindowMs)) << "Save asked nothing";
        EXPECT_NE(MessageBoxText(box).find("changed by another program or computer"), std::string::npos)
            << MessageBoxText(box);
        PressKeys({a.key});
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(box); }, kWindowMs));
        EXPECT_EQ(StatusBecomes(m.status, a.said), a.said);
        EXPECT_EQ(ReadFile(store_ + "\\shortcuts.txt"), a.stored);
        EXPECT_EQ(TreeCount(m.window), loaded - 1);
    }
    EXPECT_EQ(Box(), nullptr);
    CloseThroughMenu();
}
