#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestSupport.h"

using namespace rztest;

namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";

// A 16 x 16 bitmap in 32 bits, the kind the writer keeps next to program items.
std::string IconPicture() {
    constexpr uint32_t kPixels = 16 * 16 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + kPixels;
    info.biSize = sizeof(info);
    info.biWidth = 16;
    info.biHeight = 16;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (uint32_t i = 0; i < kPixels / 4; ++i) bytes.append("\xC0\x60\x20\x00", 4);
    return bytes;
}

// Width, height and bit depth of a BMP file; zeros if it is none.
struct PictureShape {
    LONG width = 0;
    LONG height = 0;
    WORD bits = 0;
};

PictureShape ShapeOf(const std::string& bytes) {
    PictureShape shape;
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bytes.compare(0, 2, "BM") != 0)
        return shape;
    BITMAPINFOHEADER info{};
    std::memcpy(&info, bytes.data() + sizeof(BITMAPFILEHEADER), sizeof(info));
    shape.width = info.biWidth;
    shape.height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    shape.bits = info.biBitCount;
    return shape;
}

// A copy of the program with a store of every kind of item: programs with and
// without parameters, a script, a document, a directory, separators, a folder
// with content and an empty one. The lists are in the writer's own form, so a
// save must give them back byte for byte.
class ItemManager : public ManagerProgramTest {
protected:
    void SetUp() override {
        ProgramCopyTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string win = WindowsDir();
        topLines_ = {"^SpeSep|Programs",
                     "^ExeLnk|" + win + "notepad.exe|" + win + "win.ini|notepad.bmp|Notepad with win.ini",
                     "^ExeLnk|" + dir_.Path() + "backup.bat|-full|bat|Backup",
                     "^NorSep|",
                     "^UnkLnk|" + win + "win.ini|ini|Settings document",
                     "^UnkLnk|" + win + "||Windows folder",
                     "^Folder|Tools",
                     "^Folder|Empty"};
        // Names in other scripts: a list the writer stores as UTF-8 with its mark.
        toolsLines_ = {"^ExeLnk|" + win + "regedit.exe||regedit.bmp|Registry Editor", rztest::U8(u8"^SpeSep|Ωmega 😀"),
                       "^UnkLnk|" + win + rztest::U8(u8"system.ini|ini|Системные 設定")};
        MakeDir(store_);
        MakeDir(store_ + "\\Tools");
        MakeDir(store_ + "\\Empty");
        WriteFile(store_ + "\\shortcuts.txt", Join(topLines_));
        WriteFile(store_ + "\\Tools\\shortcuts.txt", kUtf8Mark + Join(toolsLines_));
        WriteFile(store_ + "\\notepad.bmp", IconPicture());
        WriteFile(store_ + "\\Tools\\regedit.bmp", IconPicture());
        // Not part of the store: a save, which writes the folder afresh, drops it.
        WriteFile(store_ + "\\stray.txt", "left by hand\r\n");
        WriteFile(dir_ / "backup.bat", "@exit\r\n");
        WriteFile(dir_ / "zuvizove.ziz",
                  "[General Settings]\r\nTaskBar=1\r\nOpenLauncherHotkey=Ctrl+L\r\n"
                  "[Font Settings]\r\nWindowsDraw=1\r\nFontName=Tahoma\r\nFontSize=8\r\n"
                  "[Misc Settings]\r\nDrawMenuBar=0\r\n");
    }

    // The lists come back as they were; the pictures are the writer's, since
    // the old ones went with the backup.
    void ExpectStoreWrittenAfresh() {
        EXPECT_FALSE(DirExists(dir_ / "item_bak"));
        EXPECT_FALSE(FileExists(store_ + "\\stray.txt")) << "the store was not written afresh";
        EXPECT_EQ(Lines(ReadFile(store_ + "\\shortcuts.txt")), topLines_);
        EXPECT_EQ(ReadFile(store_ + "\\Tools\\shortcuts.txt"), kUtf8Mark + Join(toolsLines_));
        // An empty folder is a directory without a list.
        EXPECT_TRUE(DirExists(store_ + "\\Empty"));
        EXPECT_FALSE(FileExists(store_ + "\\Empty\\shortcuts.txt"));
        for (const char* picture : {"\\notepad.bmp", "\\Tools\\regedit.bmp"}) {
            ASSERT_TRUE(FileExists(store_ + picture)) << picture;
            const PictureShape shape = ShapeOf(ReadFile(store_ + picture));
            EXPECT_EQ(shape.width, 16) << picture;
            EXPECT_EQ(shape.height, 16) << picture;
            EXPECT_EQ(shape.bits, 32) << picture;
        }
        EXPECT_FALSE(FileExists(store_ + "\\backup.bmp")) << "a script got a picture";
    }

    // Import Folder... from the context menu of the fourth top entry, with
    // path typed into the folder browser's field; false when the browser did
    // not open or close.
    bool ImportThroughBrowser(const Manager& m, const std::string& path) {
        Click(ItemPoint(m.tree, TopItem(m.tree, 3)), MOUSEEVENTF_RIGHTDOWN);
        if (!WaitUntil([&] { return !VisibleMenus(program_->Id()).empty(); }, kMenuMs)) return false;
        PressKeys({'I'});
        HWND browser = nullptr;
        WaitUntil([&] { return (browser = Box()) != nullptr; }, kWindowMs);
        const HWND field = browser ? ::FindWindowExA(browser, nullptr, "Edit", nullptr) : nullptr;
        if (!field) return false;
        RECT r{};
        ::GetWindowRect(field, &r);
        Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        PressKeys({VK_END});
        PressKeys({VK_SHIFT, VK_HOME});
        TypeText(path);
        PressKeys({VK_RETURN});
        return WaitUntil([&] { return !::IsWindow(browser) || !::IsWindowVisible(browser); }, kWindowMs);
    }

    // The left button pressed at from and the pointer moved about over until
    // the tree shows a drop target: the drag begins once the program's drag
    // timer has ticked.
    static bool DragOver(HWND tree, POINT from, POINT over) {
        Mouse(from, MOUSEEVENTF_LEFTDOWN);
        for (int step = 0; step < 60; ++step) {
            Mouse(POINT{over.x + step % 2, over.y}, 0);
            if (WaitUntil([&] { return DropHighlighted(tree); }, 100)) return true;
        }
        return false;
    }

    std::vector<std::string> topLines_;
    std::vector<std::string> toolsLines_;
};

TEST_F(ItemManager, SaveRewritesStoreUnchanged_CloseReloadsMenu_ProgramEndsCleanly) {
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND menu = OpenMenuByHotkey();
    ASSERT_NE(menu, nullptr) << (program_->Running() ? "no menu after pressing Ctrl+L" : "the program ended");
    const SIZE loadedMenu = WindowSize(menu);
    const HWND manager = ChooseManageItems();
    ASSERT_NE(manager, nullptr) << (program_->Running() ? "no visible \"" + std::string(kManagerTitle) + "\" window"
                                                        : std::string("the program ended"));
    RECT client{};
    ::GetClientRect(manager, &client);
    EXPECT_EQ(client.right, 521);
    EXPECT_EQ(client.bottom, 534);

    // Top anchor, eight entries, the folders' anchors, three in Tools, and the
    // eleven system entries: every line of the store became one entry.
    const int loadedCount = TreeCount(manager);
    EXPECT_EQ(loadedCount, 1 + 8 + 2 + 3 + 11);

    const HWND save = ChildOf(manager, "Button", "S&ave");
    const HWND close = ChildOf(manager, "Button", "C&lose");
    const HWND status = ChildOf(manager, STATUSCLASSNAMEA);
    ASSERT_TRUE(save && close && status) << "Save, Close or the status bar is missing";
    ASSERT_TRUE(::IsWindowEnabled(save));
    std::optional<std::string> shown = StatusBarText(status);
    EXPECT_EQ(shown.value_or("<unreadable>"), "Ready");

    ASSERT_TRUE(ClickButton(save)) << "S&ave did not answer";
    ASSERT_TRUE(program_->Running()) << "the program ended during the save";
    // The message stays 4750 ms: read at once.
    shown = StatusBarText(status);
    EXPECT_EQ(shown.value_or("<unreadable>"), "Save succesful!");
    ExpectStoreWrittenAfresh();
    const std::string savedTop = ReadFile(store_ + "\\shortcuts.txt");
    EXPECT_EQ(TreeCount(manager), loadedCount) << "saving changed the tree";
    ExpectNoErrorShown();

    // Closing after a save reloads the store into the tree and the menu.
    ASSERT_TRUE(ClickButton(close)) << "C&lose did not answer";
    ASSERT_TRUE(program_->Running()) << "the program ended while reloading";
    EXPECT_FALSE(::IsWindowVisible(manager)) << "C&lose did not hide the manager";
    ExpectNoErrorShown();

    menu = OpenMenuByHotkey();
    ASSERT_NE(menu, nullptr) << (program_->Running() ? "no menu after the reload" : "the program ended");
    const SIZE reloadedMenu = WindowSize(menu);
    EXPECT_EQ(reloadedMenu.cy, loadedMenu.cy) << "the reloaded menu has other entries";
    EXPECT_EQ(reloadedMenu.cx, loadedMenu.cx);

    // Reopened, the manager shows the tree read back from disk; closed by its
    // close box without a save, it leaves the store alone.
    const HWND reopened = ChooseManageItems();
    ASSERT_EQ(reopened, manager) << "the manager did not open again";
    EXPECT_EQ(TreeCount(manager), loadedCount) << "the reloaded tree has other entries";
    ::PostMessageA(manager, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(manager) || !program_->Running(); }, kWindowMs))
        << "WM_CLOSE did not hide the manager";
    EXPECT_EQ(ReadFile(store_ + "\\shortcuts.txt"), savedTop) << "closing without a save wrote the store";

    CloseThroughMenu();
}

TEST_F(ItemManager, AnEntryDraggedWithTheMouseIsSavedInItsNewPlace) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(OpenMenuByHotkey(), nullptr) << (program_->Running() ? "no menu" : "the program ended");
    const HWND manager = ChooseManageItems();
    ASSERT_NE(manager, nullptr) << "no manager window";
    const HWND tree = ChildOf(manager, WC_TREEVIEWA);
    DWORD_PTR height = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(tree, TVM_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, kSendMs, &height));
    auto row = [&](int i) {
        POINT p{60, static_cast<LONG>(i * height + height / 2)};
        ::ClientToScreen(tree, &p);
        return p;
    };
    // Rows 3 and 5 are "Backup" and "Settings document".
    const bool shown = DragOver(tree, row(3), row(5));
    Mouse(row(5), MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(shown) << "the drag never reached its target";
    ASSERT_TRUE(WaitUntil([&] { return !DropHighlighted(tree); }, kWindowMs)) << "the drop did not end the drag";

    ASSERT_TRUE(ClickButton(ChildOf(manager, "Button", "S&ave"))) << "S&ave did not answer";
    std::vector<std::string> moved = topLines_;
    std::swap(moved[2], moved[3]);
    std::swap(moved[3], moved[4]);
    EXPECT_EQ(Lines(ReadFile(store_ + "\\shortcuts.txt")), moved);
    ExpectNoErrorShown();
    CloseThroughMenu();
}

// The user's own way in: a right-click on an entry, the menu's Delete, F2
// and a name typed in two scripts, then the history's keys step by step -
// one of them while a drag is on - and Ctrl+S, which ends the history.
TEST_F(ItemManager, ARightClickAndTheKeysEditAndTakeBackStepByStep) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const Manager m = OpenManager();
    ASSERT_TRUE(m.window && m.tree && m.status) << (program_->Running() ? "no manager" : "the program ended");
    // Rows: the anchor, Programs, Notepad..., Backup, the separator, Settings document.
    const HTREEITEM settings = TopItem(m.tree, 5);
    ASSERT_EQ(ItemText(m.tree, settings), "Settings document");
    const POINT at = ItemPoint(m.tree, settings);
    Click(at, MOUSEEVENTF_RIGHTDOWN);
    std::vector<HWND> menus;
    ASSERT_TRUE(WaitUntil([&] { return !(menus = VisibleMenus(program_->Id())).empty(); }, kMenuMs))
        << "a right-click on an entry opened no menu";
    RECT r{};
    ::GetWindowRect(menus.front(), &r);
    EXPECT_TRUE(r.left == at.x && r.top == at.y) << "the menu opens at the pointer";
    EXPECT_EQ(Selected(m.tree), settings) << "the entry under the pointer is selected";
    PressKeys({'D'});
    ASSERT_TRUE(WaitUntil([&] { return ItemText(m.tree, TopItem(m.tree, 5)) == "Windows folder"; }, kWindowMs))
        << "the menu's Delete did not take the entry";

    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 3)));
    PressKeys({VK_F2});
    const std::string typed = rztest::U8(u8"Sicherung für Ärger");
    TypeText(typed);
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return ItemText(m.tree, TopItem(m.tree, 3)) == typed; }, kWindowMs));
    // The keys, what the status line says, and what a row shows then.
    const struct {
        std::vector<WORD> keys;
        std::string said;
        int row;
        std::string shows;
    } steps[] = {
        {{VK_CONTROL, 'Z'}, "Undone: Rename \"Backup\"", 3, "Backup"},  // the typing of the name is one step
        {{VK_CONTROL, 'Z'}, "Undone: Delete \"Settings document\"", 5, "Settings document"},
        {{VK_CONTROL, 'Z'}, "Nothing to undo", 5, "Settings document"},
        {{VK_CONTROL, 'Y'}, "Redone: Delete \"Settings document\"", 5, "Windows folder"},
        {{VK_CONTROL, VK_SHIFT, 'Z'}, "Redone: Rename \"Backup\"", 3, typed},
    };
    for (const auto& step : steps) {
        PressKeys(step.keys);
        EXPECT_EQ(StatusBecomes(m.status, step.said), step.said);
        EXPECT_EQ(ItemText(m.tree, TopItem(m.tree, step.row)), step.shows) << step.said;
    }

    // Notepad... dragged over Windows folder; Ctrl+Z ends the drag first.
    const POINT over = ItemPoint(m.tree, TopItem(m.tree, 5));
    ASSERT_TRUE(DragOver(m.tree, ItemPoint(m.tree, TopItem(m.tree, 2)), over)) << "the drag never reached its target";
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_EQ(StatusBecomes(m.status, "Undone: Rename \"Backup\""), "Undone: Rename \"Backup\"");
    EXPECT_TRUE(WaitUntil([&] { return !DropHighlighted(m.tree); }, kWindowMs)) << "the drag goes on";
    Mouse(over, MOUSEEVENTF_LEFTUP);

    PressKeys({VK_CONTROL, 'S'});
    EXPECT_EQ(StatusBecomes(m.status, "Save succesful!"), "Save succesful!");
    std::vector<std::string> saved = topLines_;
    saved.erase(saved.begin() + 4);
    EXPECT_EQ(Lines(ReadFile(store_ + "\\shortcuts.txt")), saved) << "the drop after Ctrl+Z moved something";
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_EQ(StatusBecomes(m.status, "Nothing to undo"), "Nothing to undo") << "a save ends the history";
    ExpectNoErrorShown();
    CloseThroughMenu();
}

// Parameters typed in the manager reach a launch from it; closed without a
// save, they never reach the launcher menu's.
TEST_F(ItemManager, RegressionParametersTypedButNotSavedNeverReachTheMenusLaunch) {
    topLines_.insert(topLines_.begin(), ArgsEntry("-old"));
    WriteFile(store_ + "\\shortcuts.txt", Join(topLines_));
    ASSERT_NO_FATAL_FAILURE(Start());
    const Manager m = OpenManager();
    ASSERT_TRUE(m.window && m.tree) << (program_->Running() ? "no manager" : "the program ended");
    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
    HWND params = nullptr;
    auto shown = [&] {
        for (HWND e = nullptr; (e = ::FindWindowExA(m.window, e, "Edit", nullptr)) && !params;)
            if (FieldText(e) == "-old") params = e;
        return params != nullptr;
    };
    ASSERT_TRUE(WaitUntil(shown, kWindowMs)) << "no field shows the parameters";
    RECT r{};
    ::GetWindowRect(params, &r);
    Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    PressKeys({VK_END});
    TypeText(" -new");
    ASSERT_TRUE(WaitUntil([&] { return FieldText(params) == "-old -new"; }, kWindowMs)) << FieldText(params);
    // Enter on the entry launches it as the menu would.
    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 1)));
    PressKeys({VK_RETURN});
    EXPECT_EQ(TakeMarkerLine(marker_, kWindowMs), "-old -new\r\n");

    // The launch's console may have taken the keyboard: a click puts it back on the tree.
    Click(ItemPoint(m.tree, TopItem(m.tree, 1)));
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == m.window; }, kWindowMs))
        << "the manager did not come back to the front";
    PressKeys({VK_ESCAPE});
    // The typed parameters are an unsaved edit: Esc asks, and No drops them.
    ASSERT_TRUE(WaitUntil([&] { return Box() != nullptr; }, kWindowMs)) << "Esc asked nothing";
    PressKeys({'N'});
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m.window); }, kWindowMs)) << "Esc did not close the manager";
    EXPECT_EQ(LaunchFirst(), "-old\r\n") << "the unsaved parameters reached the launch";
    EXPECT_EQ(Lines(ReadFile(store_ + "\\shortcuts.txt")), topLines_);
    ExpectNoErrorShown();
    CloseThroughMenu();
}

// Import Folder from the context menu with a path typed into the browser's field:
// a folder comes in, anything else is refused; Esc stops a long import whole.
TEST_F(ItemManager, APathTypedIntoTheFolderBrowserIsImportedOrRefused_EscStopsALongImport) {
    MakeDir(dir_ / "Source");
    WriteFile(dir_ / "Source\\alpha.txt", "a");
    WriteFile(dir_ / "Source\\beta.txt", "b");
    // Enough shortcuts that the import still runs when Esc comes; in folders
    // of a thousand, which Wine makes many times faster than one of all.
    MakeShortcut(dir_ / "one.lnk", WindowsDir() + "notepad.exe", "");
    const std::string link = ReadFile(dir_ / "one.lnk");
    MakeDir(dir_ / "Many");
    for (int set = 0; set < 6; ++set) {
        const std::string folder = dir_ / ("Many\\Set " + std::to_string(set));
        MakeDir(folder);
        for (int i = 0; i < 1000; ++i) WriteFile(folder + "\\Tool " + std::to_string(i) + ".lnk", link);
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    const Manager m = OpenManager();
    ASSERT_TRUE(m.window && m.tree && m.status) << (program_->Running() ? "no manager" : "the program ended");
    ASSERT_TRUE(ImportThroughBrowser(m, dir_ / "Source")) << "the folder browser did not open or close";
    EXPECT_EQ(StatusBecomes(m.status, "Imported 2 items"), "Imported 2 items");
    EXPECT_EQ(ItemText(m.tree, TopItem(m.tree, 4)), "Source");

    // Longer than the browser's field is wide.
    const std::string file = dir_ / "Source\\alpha with a long name to type.txt";
    WriteFile(file, "a");
    ASSERT_TRUE(ImportThroughBrowser(m, file));
    const std::string refused = "\"" + file + "\" is not a folder";
    EXPECT_EQ(StatusBecomes(m.status, refused), refused);
    ASSERT_TRUE(Select(m.tree, TopItem(m.tree, 3)));
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_EQ(StatusBecomes(m.status, "Undone: Import \"Source\""), "Undone: Import \"Source\"");
    EXPECT_EQ(ItemText(m.tree, TopItem(m.tree, 4)), "---------------");

    auto topLevel = [&m] {
        std::vector<std::string> texts;
        for (int row = 0; HTREEITEM item = TopItem(m.tree, row); ++row) texts.push_back(ItemText(m.tree, item));
        return texts;
    };
    const std::vector<std::string> before = topLevel();
    ASSERT_TRUE(ImportThroughBrowser(m, dir_ / "Many"));
    const HWND bar = ChildOf(m.window, PROGRESS_CLASSA);
    ASSERT_NE(bar, nullptr);
    // Looked at closely: Esc goes the moment the bar shows.
    bool shown = false;
    for (const DWORD start = ::GetTickCount(); !shown && ::GetTickCount() - start < kWindowMs; ::Sleep(1))
        shown = ::IsWindowVisible(bar) != FALSE;
    ASSERT_TRUE(shown) << "no progress bar; the status line says " << StatusBarText(m.status).value_or("?");
    PressKeys({VK_ESCAPE});
    EXPECT_EQ(StatusBecomes(m.status, "Import cancelled: nothing was added"), "Import cancelled: nothing was added");
    EXPECT_FALSE(::IsWindowVisible(bar));
    EXPECT_TRUE(::IsWindowVisible(m.window)) << "the Esc closed the manager instead";
    EXPECT_EQ(topLevel(), before);
    ExpectNoErrorShown();
    CloseThroughMenu();
}

TEST_F(ItemManager, TheHotkeyAnswersRightAfterTheManagerOrThePreferencesClose) {
    // Pressed about 0.3 s after either window closed, one press in two opened nothing.
    ASSERT_NO_FATAL_FAILURE(Start());
    const struct {
        int downs;
        const char* title;
        std::vector<WORD> close;
    } windows[] = {{1, kManagerTitle, {VK_MENU, VK_F4}}, {2, "Corvane Razaveza - Preferences", {VK_ESCAPE}}};
    for (const auto& w : windows) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(std::string(w.title) + ", round " + std::to_string(round));
            ASSERT_NE(OpenMenuByHotkey(), nullptr);
            const HWND shown = ChooseFromKit(w.downs, w.title);
            ASSERT_NE(shown, nullptr);
            PressKeys(w.close);
            ::Sleep(300);
            PressKeys({VK_CONTROL, 'L'});  // once, never repeated
            EXPECT_TRUE(WaitUntil([&] { return !VisibleMenus(program_->Id()).empty(); }, kMenuMs))
                << (program_->Running() ? "the press after closing opened no menu" : "the program ended");
            EXPECT_FALSE(::IsWindowVisible(shown)) << "the window did not close";
            PressKeys({VK_ESCAPE});
            ASSERT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kMenuMs));
        }
    }
    ExpectNoErrorShown();
}

// A mouse move where the pointer stayed (as when a window shows under it)
// let go of the entry chosen with the keys: Down then chose "Help File".
TEST_F(ItemManager, RegressionAStillPointerKeepsTheEntryChosenWithTheKeys) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(OpenMenuByHotkey(), nullptr);
    for (WORD key : {VK_UP, VK_UP, VK_RIGHT}) PressKeys({key});
    ASSERT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).size() == 2; }, kMenuMs));
    INPUT still{};
    still.type = INPUT_MOUSE;
    still.mi.dwFlags = MOUSEEVENTF_MOVE;
    ::SendInput(1, &still, sizeof(still));
    PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return VisibleWindow(program_->Id(), nullptr, kManagerTitle) != nullptr; }, kWindowMs));
    EXPECT_EQ(Box(), nullptr);
}

}  // namespace
