// Files dropped on the item tree: one event per file, and the drop data
// released whatever the handler does.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/CcvWinTreeView.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "TestSupport.h"

using rz::TcvWinTreeView;
using rztest::MakeDrop;

namespace {

struct Dropped {
    rz::TObject* sender;
    std::string path;
    POINT at;
};

// Under Wine a freed handle reports GMEM_INVALID_HANDLE and size 0.
bool Released(HGLOBAL h) { return ::GlobalFlags(h) == GMEM_INVALID_HANDLE && ::GlobalSize(h) == 0; }

class DropTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.CreateForm("", 240, 200);
        ASSERT_NE(host.Handle(), nullptr);
        tree.SetBounds(10, 10, 200, 150);
        tree.CreateWnd(host.Handle());
        ASSERT_NE(tree.Handle(), nullptr);
    }
    void TearDown() override {
        rz::ShowMessageBox.Restore();
        rz::Application.ResetTerminated();
    }

    void Record() {
        tree.OnDropFiles = [this](rz::TObject* s, const std::string& path, const POINT& at) {
            events.push_back({s, path, at});
        };
    }
    // Sends the drop and checks that the block was still alive until then.
    void Drop(HGLOBAL h) {
        ASSERT_FALSE(Released(h));
        ::SendMessageA(tree.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
    }

    rz::TForm host{"DropHost"};
    TcvWinTreeView tree{"TVDrop"};
    std::vector<Dropped> events;
};

}  // namespace

TEST_F(DropTest, RegistersItsWindowAsADropTarget) {
    EXPECT_TRUE(::GetWindowLongA(tree.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    // A plain tree view is not one: the flag comes from the control itself.
    rz::TTreeView plain("TVPlain");
    plain.SetBounds(0, 0, 50, 50);
    plain.CreateWnd(host.Handle());
    EXPECT_FALSE(::GetWindowLongA(plain.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DropTest, EachFileIsReportedInOrderWithTheDropPoint) {
    Record();
    const std::vector<std::string> files = {"C:\\docs\\a.txt",
                                            "C:\\Program Files\\b c.exe",
                                            "D:\\z",
                                            rztest::U8(u8"C:\\uni\\Привет.cmd"),
                                            rztest::U8(u8"C:\\日本語 メモ.txt"),
                                            rztest::U8(u8"C:\\😀\\Ωmega.txt")};
    HGLOBAL h = MakeDrop(files, POINT{37, 61});
    Drop(h);
    ASSERT_EQ(events.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(events[i].path, files[i]);
        EXPECT_EQ(events[i].sender, &tree);
        EXPECT_EQ(events[i].at.x, 37);
        EXPECT_EQ(events[i].at.y, 61);
    }
    EXPECT_TRUE(Released(h));
}

TEST_F(DropTest, RegressionAHandleThatIsNoDropStructureIsIgnored) {
    // Another process can post WM_DROPFILES with anything: Wine crashed inside DragQueryFile.
    Record();
    int done = 0;
    tree.OnDropFilesDone = [&](rz::TObject*) { ++done; };
    auto block = [](size_t size, DWORD pFiles, const std::string& names) {
        HGLOBAL h = ::GlobalAlloc(GHND, size);
        auto* d = static_cast<DROPFILES*>(::GlobalLock(h));
        d->pFiles = pFiles;
        std::memcpy(reinterpret_cast<char*>(d) + sizeof(DROPFILES), names.data(),
                    std::min(names.size(), size - sizeof(DROPFILES)));
        ::GlobalUnlock(h);
        return h;
    };
    const HGLOBAL bad[] = {
        block(4, 0, ""),                                          // shorter than the header
        block(sizeof(DROPFILES) + 8, 0x7FFFFFF0, "a\0\0"),        // names beyond the block
        block(sizeof(DROPFILES) + 4, sizeof(DROPFILES), "abcd"),  // no terminating empty name
    };
    for (HGLOBAL h : bad) {
        ::SendMessageA(tree.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
        ::GlobalFree(h);
    }
    for (WPARAM junk : {WPARAM(0), WPARAM(0x1234), WPARAM(0x7FFF0000)})
        ::SendMessageA(tree.Handle(), WM_DROPFILES, junk, 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(done, 0);
    // A real drop still arrives whole, then one "done".
    Drop(MakeDrop({"C:\\a.txt", "C:\\b.txt"}, POINT{1, 1}));
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(done, 1);
}

TEST_F(DropTest, AHandlerThatClearsTheEventGetsNoFurtherFiles) {
    tree.OnDropFiles = [this](rz::TObject* s, const std::string& path, const POINT& at) {
        events.push_back({s, path, at});
        tree.OnDropFiles = nullptr;
    };
    HGLOBAL h = MakeDrop({"C:\\1.txt", "C:\\2.txt", "C:\\3.txt"}, POINT{5, 5});
    Drop(h);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].path, "C:\\1.txt");
    EXPECT_TRUE(Released(h));
}

TEST_F(DropTest, LongNamesArriveWhole) {
    // Cut at 254 characters, a name would lead to another file.
    Record();
    const std::string longName = "C:\\" + std::string(297, 'l');
    const std::string fits = "C:\\" + std::string(251, 'f');
    HGLOBAL h = MakeDrop({longName, fits}, POINT{0, 0});
    Drop(h);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].path, longName);
    EXPECT_EQ(events[1].path, fits);
    EXPECT_TRUE(Released(h));
}

TEST_F(DropTest, WithoutAHandlerTheDropIsStillReleased) {
    HGLOBAL h = MakeDrop({"C:\\a.txt", "C:\\b.txt"}, POINT{1, 2});
    Drop(h);
    EXPECT_TRUE(Released(h));
}

TEST_F(DropTest, AHandlerThatThrowsStillReleasesTheDrop) {
    std::vector<std::string> shown;
    rz::ShowMessageBox.Replace([&](HWND, const std::string& text, const std::string&, UINT) {
        shown.push_back(text);
        return IDOK;
    });
    tree.OnDropFiles = [this](rz::TObject* s, const std::string& path, const POINT& at) {
        events.push_back({s, path, at});
        throw std::runtime_error("handler failed");
    };
    HGLOBAL h = MakeDrop({"C:\\a.txt", "C:\\b.txt"}, POINT{3, 4});
    Drop(h);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(Released(h));
    // The failure went to the application's one exception route.
    EXPECT_EQ(shown, std::vector<std::string>{"handler failed"});
}
