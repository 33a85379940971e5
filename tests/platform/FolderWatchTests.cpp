// The folder watch reports through the message loop, with no thread and no
// timer of its own, and holds nothing below its folder.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/FolderWatch.h"

using namespace rz;

namespace {

// Turns the real message loop until the watch reports the name (or says it
// lost count); 10 s at most.
bool Hears(std::vector<std::string>& heard, bool& lost, const std::string& name) {
    const DWORD start = ::GetTickCount();
    auto found = [&] { return lost || std::find(heard.begin(), heard.end(), name) != heard.end(); };
    while (!found() && ::GetTickCount() - start < 10000) Application.RunOnce(50);
    const bool got = found();
    heard.clear();
    lost = false;
    return got;
}

// Wine extends a watch to a folder below only once that folder has been
// opened, as the program's look at its store does.
void OpenFolder(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
}

}  // namespace

TEST(FolderWatch, ChangesBelowTheFolderReachTheLoopAlsoInAFolderMadeAnew) {
    rztest::TempDir dir;
    rztest::MakeDir(dir / "store");
    std::vector<std::string> heard;
    bool lost = false;
    TFolderWatch watch;
    ASSERT_TRUE(watch.Start(dir.Path(), [&](const std::vector<std::string>& names, bool all) {
        heard.insert(heard.end(), names.begin(), names.end());
        lost = lost || all;
    }));
    OpenFolder(dir / "store");
    rztest::WriteFile(dir / "store\\shortcuts.txt", "^NorSep|\r\n");
    EXPECT_TRUE(Hears(heard, lost, "store\\shortcuts.txt"));
    rztest::WriteFile(dir / "zuvizove.ziz", "[General Settings]\r\n");
    EXPECT_TRUE(Hears(heard, lost, "zuvizove.ziz"));

    // Deleted and made again, as a sync service may do: the watch goes on.
    rztest::RemoveTree(dir / "store");
    EXPECT_TRUE(Hears(heard, lost, "store"));
    rztest::MakeDir(dir / "store");
    rztest::MakeDir(dir / "store\\Games");
    rztest::WriteFile(dir / "store\\Games\\shortcuts.txt", "^NorSep|\r\n");
    EXPECT_TRUE(Hears(heard, lost, "store\\Games\\shortcuts.txt"));
    EXPECT_TRUE(watch.Watching());

    // Stopped, it reports nothing more, and the folder is free to go.
    watch.Stop();
    rztest::WriteFile(dir / "late.txt", "x");
    Application.RunOnce(200);
    EXPECT_TRUE(heard.empty());
    rztest::RemoveTree(dir / "store");
    EXPECT_FALSE(rztest::DirExists(dir / "store"));
}
