#pragma once
// Starting and watching copies of the real program from a test.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Handles.h"

namespace rztest {

// Generous: the first process a cold Wine server starts can take seconds.
inline constexpr DWORD kStartMs = 10000;
inline constexpr DWORD kExitMs = 10000;

// Where the build put the program, as a Windows path.
const char* ProgramPath();

// Polls until done() holds or timeoutMs have passed; returns done()'s last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A started program. Ended on scope exit if it still runs, so a failing test
// never leaves an instance behind that holds the system-wide instance name.
class RunningProgram {
public:
    RunningProgram(const std::string& exePath, const std::string& workDir, const std::string& arguments = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD StartError() const { return startError_; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // The exit code if the program ends by itself within timeoutMs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
    void Kill();

private:
    rz::unique_handle_kernel process_;
    DWORD id_ = 0;
    DWORD startError_ = 0;
};

// Top-level windows of the process, shown or not, of this class (any if null) and title.
std::vector<HWND> ProcessWindows(DWORD pid, const char* className, const char* title = nullptr);

// The message of a message box: its static text control.
std::string MessageBoxText(HWND box);
// Answers each message box the program shows with OK until it ends or
// timeoutMs pass; the boxes' texts in order. Whether it ended is Running().
std::vector<std::string> AnswerBoxesUntilExit(const RunningProgram& program, DWORD timeoutMs);
// No message box showing and no error log in the data folder.
void ExpectNoErrorShown(const RunningProgram& program, const TempDir& dataDir);

// The 4 bytes of the single-instance mapping (0 if unreadable), or nullopt if no
// instance holds it. The mapping is open only for the moment of reading, since
// holding it would make the next start a second instance.
std::optional<DWORD> ReadInstanceMapping();

// Keys pressed together and released in reverse, sent from this process: they
// reach the program wherever X has its focus.
void PressKeys(const std::vector<WORD>& down);
// The pointer moved to a screen point, with a button event there if given.
void Mouse(POINT at, DWORD button);
// A button pressed and let go there: MOUSEEVENTF_LEFTDOWN or _RIGHTDOWN.
void Click(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN);
// Letters of any script typed as an input method sends them (KEYEVENTF_UNICODE).
void TypeText(const std::wstring& text);
void TypeText(const std::string& utf8);
// The program's visible top-level window of this class (any if null) and title, or null.
HWND VisibleWindow(DWORD pid, const char* className, const char* title);
// Entries of another process's tree view once every folder in it is expanded
// (the window holds a folder's entries only once it was opened), or -1 when
// the window does not answer within timeoutMs a message.
int ExpandedTreeCount(HWND tree, DWORD timeoutMs);
// The program's popup menus that are showing.
std::vector<HWND> VisibleMenus(DWORD pid);
// The colour most of a shown window's pixels have on the screen, 0xRRGGBB;
// nullopt when the screen cannot be read there.
std::optional<uint32_t> CommonColour(HWND window);
// A colour a dark theme paints with: its brightest channel below a third.
bool IsDarkColour(uint32_t rgb);

// The user's app theme as Windows keeps it (AppsUseLightTheme), set for a
// test and put back as it was when the test ends.
class AppThemeSetting {
public:
    AppThemeSetting();
    ~AppThemeSetting();
    AppThemeSetting(const AppThemeSetting&) = delete;
    AppThemeSetting& operator=(const AppThemeSetting&) = delete;
    void Set(bool light) { Write(light ? 1 : 0); }
    // Sent to every window, as the system announces a theme switch.
    static void Announce();

private:
    // The value written, or removed where there is none.
    static void Write(std::optional<DWORD> value);
    std::optional<DWORD> saved_;
};
std::string ClassOf(HWND hwnd);
// The Windows directory, with a trailing backslash.
std::string WindowsDir();

// Presses the hotkey until the program's menu shows or totalMs pass, once
// every repressMs; a ready() that says no ends the tries. The menu's window,
// or null.
HWND OpenMenuByHotkey(const RunningProgram& program, DWORD totalMs, DWORD repressMs,
                      const std::function<bool()>& ready = {});

// Keys through SendInput, queued for the thread that made itself foreground,
// or as real X key events from xdotool, which reach only the X input focus.
// The X way needs each window to be an X window of its own (no virtual
// desktop): the run that has that sets RZ_X_KEYS.
enum class KeyPath { SendInput, XServer };
bool XKeysTestable();
// False when xdotool failed or did not end in time; no double quotes.
bool RunXdotool(const std::string& arguments);
// Chords by xdotool's key names: "ctrl+l", "Down", "Return", "F2", letters.
void PressKeys(KeyPath path, const std::vector<std::string>& chords);
void TypeText(KeyPath path, const std::string& text);
// The X input focus to a window, as a window manager gives it on a click.
bool FocusWindow(KeyPath path, HWND window);

// Wine's Notepad in front with the focus, until the object goes.
class ForeignProgram {
public:
    explicit ForeignProgram(KeyPath path);
    bool Ready() const { return window_ != nullptr; }
    bool TakeFocus();

private:
    KeyPath path_;
    std::unique_ptr<RunningProgram> program_;
    HWND window_ = nullptr;
};

// The item manager of a running program and its Save button; the window
// itself may be hidden.
struct SaveButton {
    HWND manager = nullptr;
    HWND button = nullptr;
};
SaveButton FindSaveButton(DWORD pid);
// Entries in the manager's tree view with every folder expanded, or -1
// while it cannot be read.
int ManagerTreeCount(HWND manager);

// The first window below parent of this class and, if given, text.
HWND ChildOf(HWND parent, const char* className, const char* text = nullptr);

// The first panel of a status bar.
std::optional<std::string> StatusBarText(HWND bar);
// An edit's text in UTF-8; the system carries WM_GETTEXT into the other process.
std::string FieldText(HWND field);
// The entry on a row of the tree's top level (the anchor is row 0), or null.
HTREEITEM TopItem(HWND tree, int row);
HTREEITEM Selected(HWND tree);
bool DropHighlighted(HWND tree);
std::string ItemText(HWND tree, HTREEITEM item);
// The middle of an entry's caption on the screen.
POINT ItemPoint(HWND tree, HTREEITEM item);
SIZE WindowSize(HWND hwnd);
// Sent, not posted: the click's handler has run when this returns.
bool ClickButton(HWND button);
// A whole line a test script wrote into its marker file (empty after timeoutMs); the file goes.
std::string TakeMarkerLine(const std::string& marker, DWORD timeoutMs);
// Lines of a text with CR LF ends; a last line without one is marked so.
std::vector<std::string> Lines(const std::string& text);
std::string Join(const std::vector<std::string>& lines);

// Each test runs its own copy of the program in a fresh folder, its data folder.
class ProgramCopyTest : public ::testing::Test {
protected:
    void SetUp() override;

    TempDir dir_;
    const std::string exe_ = dir_ / "razaveza.exe";
};

// A copy of the program driven as a user drives it: the hotkey's menu, the manager, Close.
class ManagerProgramTest : public ProgramCopyTest {
protected:
    static constexpr DWORD kMenuMs = 10000, kRepressMs = 1000, kWindowMs = 10000, kSendMs = 5000, kClickMs = 15000;
    static constexpr POINT kCursor = {120, 90};
    static constexpr char kManagerTitle[] = "Corvane Razaveza - Manage Items";

    void Start() {
        program_ = std::make_unique<RunningProgram>(exe_, dir_.Path());
        ASSERT_TRUE(program_->Started()) << program_->StartError();
        ASSERT_TRUE(WaitUntil([&] { return ReadInstanceMapping().has_value() || !program_->Running(); }, kStartMs));
        ASSERT_TRUE(program_->Running()) << "exit code " << program_->WaitForExit(0).value_or(~0UL);
    }

    // Presses the hotkey until the menu shows, each time once the program takes
    // messages again: each press queued behind a busy moment opens it once more.
    HWND OpenMenuByHotkey() {
        ::SetCursorPos(kCursor.x, kCursor.y);
        auto responsive = [] {
            const std::optional<DWORD> app = ReadInstanceMapping();
            DWORD_PTR ignored = 0;
            return app && ::SendMessageTimeoutA(reinterpret_cast<HWND>(static_cast<uintptr_t>(*app)), WM_NULL, 0, 0,
                                                SMTO_NORMAL, kClickMs, &ignored);
        };
        return rztest::OpenMenuByHotkey(*program_, kMenuMs, kRepressMs, responsive);
    }

    // From the open menu: Up twice to "Razaveza Kit", Right opens it on
    // "Help File", then downs rows further: 1 is "Manage Items...", 2 "Preferences...".
    HWND ChooseFromKit(int downs = 1, const char* title = kManagerTitle, KeyPath path = KeyPath::SendInput) {
        PressKeys(path, {"Up", "Up", "Right"});
        if (!WaitUntil([&] { return VisibleMenus(program_->Id()).size() == 2; }, kMenuMs)) return nullptr;
        std::vector<std::string> keys(downs, "Down");
        keys.push_back("Return");
        PressKeys(path, keys);
        HWND shown = nullptr;
        WaitUntil([&] { return (shown = VisibleWindow(program_->Id(), nullptr, title)) || !program_->Running(); },
                  kWindowMs);
        return shown;
    }
    HWND ChooseManageItems() { return ChooseFromKit(); }
    int TreeCount(HWND manager) { return ExpandedTreeCount(ChildOf(manager, WC_TREEVIEWA), kSendMs); }

    // The manager opened from the menu, with its tree and status bar.
    struct Manager {
        HWND window = nullptr, tree = nullptr, status = nullptr;
    };
    Manager OpenManager() {
        Manager m;
        m.window = OpenMenuByHotkey() ? ChooseManageItems() : nullptr;
        if (m.window) m = {m.window, ChildOf(m.window, WC_TREEVIEWA), ChildOf(m.window, STATUSCLASSNAMEA)};
        return m;
    }
    // The status line shows text within a while; what it shows otherwise.
    static std::string StatusBecomes(HWND status, const std::string& text, DWORD timeoutMs = kWindowMs) {
        std::string shown;
        WaitUntil([&] { return (shown = StatusBarText(status).value_or("<unreadable>")) == text; }, timeoutMs);
        return shown;
    }
    // A click on an entry that has the tree select it.
    static bool Select(HWND tree, HTREEITEM item) {
        Click(ItemPoint(tree, item));
        return WaitUntil([&] { return Selected(tree) == item; }, kWindowMs);
    }
    // The program's message box that shows, or null.
    HWND Box() const { return VisibleWindow(program_->Id(), "#32770", nullptr); }

    // The menu's first entry, made by ArgsEntry, chosen with the keys: what its script was given.
    std::string LaunchFirst() {
        if (!OpenMenuByHotkey()) return "<no menu>";
        PressKeys({VK_DOWN});
        PressKeys({VK_RETURN});
        return TakeMarkerLine(marker_, kWindowMs);
    }
    // A list line for a script that writes its parameters into marker_.
    std::string ArgsEntry(const std::string& params) {
        WriteFile(dir_ / "args.bat", "@echo %*> \"" + marker_ + "\"\r\n");
        return "^ExeLnk|" + dir_.Path() + "args.bat|" + params + "|bat|Args";
    }

    // With nothing selected, Up selects the last entry: "Close".
    void CloseThroughMenu() {
        ASSERT_NE(OpenMenuByHotkey(), nullptr) << (program_->Running() ? "no menu" : "the program ended");
        PressKeys({VK_UP});
        PressKeys({VK_RETURN});
        const std::optional<DWORD> code = program_->WaitForExit(kExitMs);
        ASSERT_TRUE(code.has_value()) << "the program keeps running after Close; menus shown: "
                                      << VisibleMenus(program_->Id()).size();
        EXPECT_EQ(*code, 0u);
        EXPECT_FALSE(FileExists(dir_ / "errorlog.txt")) << ReadFile(dir_ / "errorlog.txt");
    }

    void ExpectNoErrorShown() { rztest::ExpectNoErrorShown(*program_, dir_); }

    const std::string store_ = dir_ / "shortcuts";
    const std::string marker_ = dir_ / "launched.txt";
    std::unique_ptr<RunningProgram> program_;
};

}  // namespace rztest
