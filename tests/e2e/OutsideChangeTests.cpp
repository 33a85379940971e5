// The data folder in a folder that a sync service replicates: a list that
// arrives from outside while the real program runs reaches its menu; the item
// manager's edits stay, and Save asks before it overwrites them.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
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
    EXPECT_EQ(StatusBecomes(m.status, rz::kChangedOnDisk, kTakenInMs), rz::kChangedOnDisk);
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

TEST_F(OutsideChange, ListsReplacedWhileTheManagerSavesAreKeptOrAskedAbout) {
    // Lines a sync service moved in while 5,000 items were saved were on disk
    // after the save and silently gone after the next one.
    constexpr int kFolders = 200, kItems = 25;
    std::string top;
    for (int f = 0; f < kFolders; ++f) {
        top += "^Folder|F" + std::to_string(f) + "\r\n";
        std::string level;
        for (int i = 0; i < kItems; ++i)
            level += "^UnkLnk|C:\\x\\" + std::to_string(f) + "-" + std::to_string(i) + ".txt|txt|Item\r\n";
        MakeDir(store_ + "\\F" + std::to_string(f));
        WriteFile(store_ + "\\F" + std::to_string(f) + "\\shortcuts.txt", level);
    }
    WriteFile(store_ + "\\shortcuts.txt", "^SpeSep|Top\r\n" + top);
    ASSERT_NO_FATAL_FAILURE(Start());
    const Manager m = OpenManager();
    ASSERT_TRUE(m.window && m.tree && m.status) << (program_->Running() ? "no manager" : "the program ended");
    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
    PressKeys({VK_DELETE});
    ASSERT_TRUE(WaitUntil([&] { return ItemText(m.tree, TopItem(m.tree, 1)) == "F0"; }, kWindowMs))
        << "Del deleted nothing";

    // The other computer's levels come in as new files moved over the old,
    // for as long as the save has the old store set aside.
    std::atomic<bool> stop = false;
    std::vector<std::string> outside;
    std::thread writer([&] {
        const std::string backup = dir_ / "item_bak";
        while (!stop && ::GetFileAttributesA(backup.c_str()) == INVALID_FILE_ATTRIBUTES) ::Sleep(0);
        // Only while the save runs: a later change would carry the earlier lines in again.
        for (int n = 0; n < 4000 && ::GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) {
            const std::string folder = store_ + "\\F" + std::to_string(n % kFolders) + "\\";
            const std::string line = "^SpeSep|outside " + std::to_string(n);
            const std::string now = FileExists(folder + "shortcuts.txt") ? ReadFile(folder + "shortcuts.txt") : "";
            WriteFile(folder + "incoming.tmp", now + line + "\r\n");
            if (::MoveFileExA((folder + "incoming.tmp").c_str(), (folder + "shortcuts.txt").c_str(),
                              MOVEFILE_REPLACE_EXISTING))
                outside.push_back(line);
            else ::DeleteFileA((folder + "incoming.tmp").c_str());
        }
    });
    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
    PressKeys({VK_CONTROL, 'S'});
    std::string said;
    EXPECT_TRUE(WaitUntil([&] { return (said = StatusBarText(m.status).value_or("")).find("Save succesful!") == 0; },
                          kTakenInMs))
        << said;
    stop = true;
    writer.join();
    ASSERT_FALSE(outside.empty()) << "the writer never met the save";

    // Taken in or asked about: the next save keeps every line, or asks first and is told No.
    ::Sleep(3000);
    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
    PressKeys({VK_CONTROL, 'S'});
    HWND box = nullptr;
    if (WaitUntil([&] { return (box = Box()) != nullptr; }, 5000)) {
        PressKeys({VK_RETURN});
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(box); }, kWindowMs));
    }
    ::Sleep(1000);
    std::string onDisk;
    for (int f = 0; f < kFolders; ++f) {
        for (const std::string& folder : {store_ + "\\F", dir_ / "item_conflicts\\F"}) {
            const std::string level = folder + std::to_string(f) + "\\";
            for (const char* name :
                 {"shortcuts.txt", "shortcuts (conflicted copy).txt", "shortcuts (conflicted copy 2).txt"})
                if (FileExists(level + name)) onDisk += ReadFile(level + name);
        }
    }
    int lost = 0;
    for (const std::string& line : outside) lost += onDisk.find(line + "\r\n") == std::string::npos;
    EXPECT_EQ(lost, 0) << "of " << outside.size() << " outside lines";
    // Files set aside are logged, one line each, and nothing else is.
    for (const std::string& line : Lines(FileExists(dir_ / "errorlog.txt") ? ReadFile(dir_ / "errorlog.txt") : ""))
        EXPECT_NE(line.find("A file that came in while the items were saved is kept"), std::string::npos) << line;
    ::DeleteFileA((dir_ / "errorlog.txt").c_str());
    CloseThroughMenu();
}

TEST_F(OutsideChange, CloseKeepsTheSettingsLinesItDidNotChangeByteForByte) {
    // A cp1252 line came back as UTF-8; a 200 KB binary file grew to 313 KB.
    const std::string cp1252 = ReadFile(dir_ / "zuvizove.ziz") + "[Notes]\r\nNote=Caf\xE9 cr\xE8me\r\n";
    std::string binary(200 * 1024, '\0');
    unsigned seed = 36;
    for (char& c : binary) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    for (const std::string& before : {cp1252, binary}) {
        SCOPED_TRACE(before.size());
        WriteFile(dir_ / "zuvizove.ziz", before);
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_NO_FATAL_FAILURE(CloseThroughMenu());
        const std::string after = ReadFile(dir_ / "zuvizove.ziz");
        EXPECT_EQ(after.substr(0, before.size()), before);
        // Only the program's own lines, where the file had none of them.
        EXPECT_LT(after.size(), before.size() + (before == cp1252 ? 1 : 300));
    }
}
