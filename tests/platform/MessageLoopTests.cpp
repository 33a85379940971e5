// Work the message loop takes between its own messages: the folder watch,
// which has no thread and no timer of its own and holds nothing below its
// folder, and the idle call; neither runs inside another loop. And what it
// takes from others: no pointer or object another thread names.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/FolderWatch.h"
#include "platform/ForeignMessages.h"
#include "platform/Handles.h"
#include "platform/Window.h"

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
    const UINT_PTR timer = SetCallbackTimer(nullptr, 0, 100, &BoxTick);
    ::MessageBoxA(nullptr, "A loop of its own", "Loop test", MB_OK);
    KillCallbackTimer(nullptr, timer);
    EXPECT_GE(g_ticks, 2);
    EXPECT_FALSE(g_ranInside);
    EXPECT_EQ(idles, 0);
    for (int turn = 0; turn < 20 && g_signalled == 0; ++turn) Application.RunOnce(50);
    EXPECT_EQ(g_signalled, 1);
    EXPECT_GT(idles, 0);
    Application.RemoveWait(g_event);
    Application.RemoveIdle(&idles);
}

namespace {

// A window whose procedure notes what it was told, sent from a thread of its own.
struct Listener : TWindow {
    Listener() {
        RegisterClassOnce("RzListener", nullptr);
        CreateHandle(0, "RzListener", "", WS_POPUP, 0, 0, 0, 0, nullptr);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        // Only a pointer found trusted reaches the handler.
        if (msg == WM_NOTIFY) reached = PointerParameterTrusted(msg, lp);
        if (msg == WM_APP) ++calls;
        return TWindow::HandleMessage(msg, wp, lp);
    }
    bool reached = false;
    int calls = 0;
};

// Sends from another thread while this one takes the message.
void SendFromAnotherThread(HWND hwnd, UINT msg, LPARAM lp) {
    std::atomic<bool> done = false;
    std::thread sender([&] {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(hwnd, msg, 0, lp, SMTO_NORMAL, 5000, &ignored);
        done = true;
    });
    while (!done) Application.RunOnce(10);
    sender.join();
}

}  // namespace

TEST(ForeignMessages, OnlyAFrameOfTheReceivingThreadIsTrustedFromAnotherThread) {
    Listener window;
    ASSERT_NE(window.Handle(), nullptr);
    NMHDR onThisStack{};
    std::vector<char> heap(4096);
    MEMORY_BASIC_INFORMATION stack{};
    ASSERT_TRUE(::VirtualQuery(&onThisStack, &stack, sizeof(stack)));
    const struct {
        const char* name;
        LPARAM lp;
        bool reached;
    } cases[] = {
        {"a frame of the receiving thread", reinterpret_cast<LPARAM>(&onThisStack), true},
        {"committed heap memory", reinterpret_cast<LPARAM>(heap.data()), false},
        {"the program's image", reinterpret_cast<LPARAM>(::GetModuleHandleA(nullptr)), false},
        {"no memory at all", 0x00001234, false},
        {"the reserved, uncommitted end of the receiving stack", reinterpret_cast<LPARAM>(stack.AllocationBase) + 16,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window.reached = false;
        SendFromAnotherThread(window.Handle(), WM_NOTIFY, c.lp);
        EXPECT_EQ(window.reached, c.reached);
    }
    // From this thread every pointer is its own.
    window.reached = false;
    ::SendMessageA(window.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(heap.data()));
    EXPECT_TRUE(window.reached);
}

TEST(ForeignMessages, AnotherThreadNeitherRecreatesNorTearsDownAWindow) {
    Listener window, other;
    CREATESTRUCTA takeOver{};
    takeOver.lpCreateParams = &other;
    for (UINT msg : {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}) {
        SCOPED_TRACE(msg);
        SendFromAnotherThread(window.Handle(), msg,
                              msg == WM_NCCREATE || msg == WM_CREATE ? reinterpret_cast<LPARAM>(&takeOver) : 0);
        ASSERT_TRUE(::IsWindow(window.Handle()));
        EXPECT_EQ(::GetWindowLongPtrA(window.Handle(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
        const int before = window.calls;
        ::SendMessageA(window.Handle(), WM_APP, 0, 0);
        EXPECT_EQ(window.calls, before + 1) << "the window lost its object";
    }
    EXPECT_EQ(other.calls, 0);
}
