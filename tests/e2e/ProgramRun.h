#pragma once
// Starting and watching copies of the real program from a test.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
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

// Visible or hidden top-level windows of the process with this class (any if
// null) and, if given, title.
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
// The pointer moved to a screen point, with a button event there if given
// (MOUSEEVENTF_LEFTDOWN ...), as the mouse would.
void Mouse(POINT at, DWORD button);
// Letters of any script typed one by one, each a key press and release that
// carries its character (KEYEVENTF_UNICODE), as an input method sends them.
void TypeText(const std::wstring& text);
// The program's visible top-level window of this class and title, or null.
HWND VisibleWindow(DWORD pid, const char* className, const char* title);
void TypeText(const std::string& utf8);
// Entries of another process's tree view once every folder in it is expanded
// (the window holds a folder's entries only once it was opened), or -1 when
// the window does not answer within timeoutMs a message.
int ExpandedTreeCount(HWND tree, DWORD timeoutMs);
// The program's popup menus that are showing.
std::vector<HWND> VisibleMenus(DWORD pid);
std::string ClassOf(HWND hwnd);
// The Windows directory, with a trailing backslash.
std::string WindowsDir();

// Presses the hotkey until the program's menu shows or totalMs pass, once
// every repressMs; a ready() that says no ends the tries. The menu's window,
// or null.
HWND OpenMenuByHotkey(const RunningProgram& program, DWORD totalMs, DWORD repressMs,
                      const std::function<bool()>& ready = {});

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

// Each test runs its own copy of the program in a fresh folder, its data folder.
class ProgramCopyTest : public ::testing::Test {
protected:
    void SetUp() override;

    TempDir dir_;
    const std::string exe_ = dir_ / "razaveza.exe";
};

}  // namespace rztest
