// Work the message loop takes between its own messages: the folder watch,
// which has no thread and no timer of its own and holds nothing below its
// folder, and the idle call; neither runs inside another loop.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/FolderWatch.h"
#include "platform/Handles.h"

using namespace rz;

namespace {

// Turns the real message loop until the watch reports the name, or "*" for
// lost count; 10 s at most.
bool Hears(std::vector<std::string>& heard, const std::string& name) {
    const DWORD start = ::GetTickCount();
    auto found = [&] {
        return std::ranges::find(heard, name) != heard.end() || std::ranges::find(heard, "*") != heard.end();
    };
    while (!found() && ::GetTickCount() - start < 10000) Application.RunOnce(50);
    const bool got = found();
    heard.clear();
    return got;
}

// A box's own loop, driven by a thread timer: the first tick sets the
// event, the next ones note whether the loop's work ran and close the box.
HANDLE g_event = nullptr;
int g_ticks = 0, g_signalled = 0;
bool g_ranInside = false;

VOID CALLBACK BoxTick(HWND, UINT, UINT_PTR, DWORD) {
    if (++g_ticks == 1) return (void)::SetEvent(g_event);
    g_ranInside = g_ranInside || g_signalled > 0;
    if (HWND box = ::FindWindowA("#32770", "Loop test")) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(FolderWatch, ChangesBelowTheFolderReachTheLoopUntilItStops) {
    rztest::TempDir dir;
    rztest::MakeDir(dir / "store");
    std::vector<std::string> heard;
    TFolderWatch watch;
    ASSERT_TRUE(watch.Start(dir.Path(), [&](const std::vector<std::string>& names, bool lost) {
        heard.insert(heard.end(), names.begin(), names.end());
        if (lost) heard.push_back("*");
    }));
    // Wine extends a watch to a folder below only once that folder has been
    // opened, as the program's look at its store does.
    WIN32_FIND_DATAA found{};
    ::FindClose(::FindFirstFileA((dir / "store\\*").c_str(), &found));
    rztest::WriteFile(dir / "store\\shortcuts.txt", "^NorSep|\r\n");
    EXPECT_TRUE(Hears(heard, "store\\shortcuts.txt"));
    rztest::WriteFile(dir / "zuvizove.ziz", "[General Settings]\r\n");
    EXPECT_TRUE(Hears(heard, "zuvizove.ziz"));
    EXPECT_TRUE(watch.Watching());

    // Stopped, it reports nothing more, and the folder is free to go.
    watch.Stop();
    rztest::WriteFile(dir / "late.txt", "x");
    Application.RunOnce(200);
    EXPECT_TRUE(heard.empty());
    rztest::RemoveTree(dir / "store");
    EXPECT_FALSE(rztest::DirExists(dir / "store"));
}

// What the watch hears is taken by the program's own loop only: while a
// box's (or a menu's) loop runs, nothing of it runs.
TEST(MessageLoop, ItsWaitsAndIdleWorkWaitWhileAnotherLoopRuns) {
    unique_handle_kernel event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_event = event.get();
    int idles = 0;
    Application.AddWait(g_event, [] { ++g_signalled, ::ResetEvent(g_event); });
    Application.AddIdle(&idles, [&] { return ++idles, DWORD(INFINITE); });
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &BoxTick);
    ::MessageBoxA(nullptr, "A loop of its own", "Loop test", MB_OK);
    ::KillTimer(nullptr, timer);
    EXPECT_GE(g_ticks, 2);
    EXPECT_FALSE(g_ranInside);
    EXPECT_EQ(idles, 0);
    for (int turn = 0; turn < 20 && g_signalled == 0; ++turn) Application.RunOnce(50);
    EXPECT_EQ(g_signalled, 1);
    EXPECT_GT(idles, 0);
    Application.RemoveWait(g_event);
    Application.RemoveIdle(&idles);
}
