#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ProgramRun.h"
#include "TestSupport.h"

using namespace rztest;

namespace {

constexpr DWORD kMenuMs = 10000;
// The hotkey is registered before start-up has given it a menu: press again
// until the menu shows.
constexpr DWORD kRepressMs = 1000;
constexpr DWORD kSettleMs = 1000;
constexpr DWORD kSendMs = 3000;
// Clear of the screen edges, so the menu is not moved to fit.
constexpr POINT kCursor = {120, 90};

BOOL CALLBACK CollectOwnWindow(HWND hwnd, LPARAM param) {
    auto& query = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    // A closed menu's window may linger for a moment; it is the platform's, not the program's.
    if (owner == query.first && ClassOf(hwnd) != "#32768") query.second.push_back(hwnd);
    return TRUE;
}

// The top-level windows the program made, visible or not.
std::vector<HWND> ProgramWindows(DWORD pid) {
    std::pair<DWORD, std::vector<HWND>> query{pid, {}};
    ::EnumWindows(&CollectOwnWindow, reinterpret_cast<LPARAM>(&query));
    return query.second;
}

// "key=value" lines of one section, in file order.
std::vector<std::string> SectionLines(const std::string& file, const char* section) {
    std::vector<char> buffer(4096);
    DWORD n = ::GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> lines;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += lines.back().size() + 1)
        lines.emplace_back(p);
    return lines;
}

std::vector<std::string> SectionNames(const std::string& file) {
    std::vector<char> buffer(4096);
    DWORD n = ::GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> names;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += names.back().size() + 1)
        names.emplace_back(p);
    return names;
}

// Each test runs its own copy of the program in a fresh data folder with a
// small store: programs, a document, a directory, separators and a folder.
class LauncherMenu : public ProgramCopyTest {
protected:
    void SetUp() override {
        ProgramCopyTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string win = WindowsDir();
        topList_ =
            "^SpeSep|Programs\r\n"
            "^ExeLnk|" +
            win +
            "notepad.exe||notepad.bmp|Notepad\r\n"
            "^NorSep|\r\n"
            "^UnkLnk|" +
            win +
            "win.ini|ini|Settings document\r\n"
            "^UnkLnk|" +
            win +
            "||Windows folder\r\n"
            "^Folder|Tools\r\n";
        toolsList_ = "^ExeLnk|" + win +
                     "regedit.exe||regedit.bmp|Registry Editor\r\n"
                     "^SpeSep|More\r\n";
        MakeDir(dir_ / "shortcuts");
        MakeDir(dir_ / "shortcuts\\Tools");
        WriteFile(dir_ / "shortcuts\\shortcuts.txt", topList_);
        WriteFile(dir_ / "shortcuts\\Tools\\shortcuts.txt", toolsList_);
    }

    void Start() {
        program_ = std::make_unique<RunningProgram>(exe_, dir_.Path());
        ASSERT_TRUE(program_->Started()) << program_->StartError();
        // The instance name is taken before the items are loaded.
        ASSERT_TRUE(
            WaitUntil([&] { return rztest::ReadInstanceMapping().has_value() || !program_->Running(); }, kStartMs));
        ASSERT_TRUE(program_->Running()) << "exit code " << program_->WaitForExit(0).value_or(~0UL);
    }

    // Presses the hotkey until the program's menu shows; returns its window.
    HWND OpenMenuByHotkey() {
        ::SetCursorPos(kCursor.x, kCursor.y);
        ::GetCursorPos(&cursor_);
        return rztest::OpenMenuByHotkey(*program_, kMenuMs, kRepressMs);
    }

    // With nothing selected, Up selects the last entry: "Close".
    static void ChooseClose() {
        PressKeys({VK_UP});
        PressKeys({VK_RETURN});
    }

    void ExpectNoErrorShown() {
        EXPECT_TRUE(rztest::ProcessWindows(program_->Id(), "#32770").empty()) << "the program shows a message box";
        EXPECT_FALSE(FileExists(dir_ / "errorlog.txt")) << ReadFile(dir_ / "errorlog.txt");
    }

    const std::string settings_ = dir_ / "zuvizove.ziz";
    std::string topList_;
    std::string toolsList_;
    std::unique_ptr<RunningProgram> program_;
    POINT cursor_{};
};

TEST_F(LauncherMenu, Hotkey_OpensMenuAtCursor_CloseSavesSixKeysAndEnds) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND menu = OpenMenuByHotkey();
    ASSERT_NE(menu, nullptr) << (program_->Running() ? "no menu after pressing Ctrl+L" : "the program ended");
    RECT r{};
    ::GetWindowRect(menu, &r);
    EXPECT_EQ(r.left, cursor_.x);
    EXPECT_EQ(r.top, cursor_.y);
    // Six user entries and the three of the fixed tail.
    EXPECT_GT(r.bottom - r.top, 9 * 8);
    ASSERT_FALSE(FileExists(settings_)) << "the settings file was written before Close";

    ChooseClose();
    const std::optional<DWORD> code = program_->WaitForExit(kExitMs);
    ASSERT_TRUE(code.has_value()) << "the program keeps running after Close"
                                  << (VisibleMenus(program_->Id()).empty() ? "" : "; the menu is still open");
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(rztest::ReadInstanceMapping().has_value());

    // Started without a settings file: all six keys with their defaults. The
    // default font is often not installed, so its name is not asserted.
    ASSERT_TRUE(FileExists(settings_));
    EXPECT_EQ(SectionNames(settings_),
              (std::vector<std::string>{"General Settings", "Font Settings", "Misc Settings"}));
    EXPECT_EQ(SectionLines(settings_, "General Settings"),
              (std::vector<std::string>{"TaskBar=1", "OpenLauncherHotkey=Ctrl+L"}));
    const auto font = SectionLines(settings_, "Font Settings");
    ASSERT_EQ(font.size(), 3u) << ReadFile(settings_);
    EXPECT_EQ(font[0], "WindowsDraw=1");
    // "Verdana" is not installed under Wine: the stored default is kept, not emptied.
    EXPECT_EQ(font[1], "FontName=Verdana");
    EXPECT_EQ(font[2], "FontSize=8");
    EXPECT_EQ(SectionLines(settings_, "Misc Settings"), (std::vector<std::string>{"DrawMenuBar=0"}));

    // Close saves settings only, never the items.
    EXPECT_EQ(ReadFile(dir_ / "shortcuts\\shortcuts.txt"), topList_);
    EXPECT_EQ(ReadFile(dir_ / "shortcuts\\Tools\\shortcuts.txt"), toolsList_);
    EXPECT_FALSE(FileExists(dir_ / "errorlog.txt")) << ReadFile(dir_ / "errorlog.txt");
}

TEST_F(LauncherMenu, TaskbarCreated_KeepsProgramAndHotkey_OwnDrawingSettingsSurviveClose) {
    // Own drawing with side bars: the program paints the entries itself.
    WriteFile(settings_,
              "[General Settings]\r\nTaskBar=0\r\nOpenLauncherHotkey=ctrl+l\r\n"
              "[Font Settings]\r\nWindowsDraw=0\r\nFontName=Tahoma\r\nFontSize=9\r\n"
              "[Misc Settings]\r\nDrawMenuBar=1\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND menu = OpenMenuByHotkey();
    ASSERT_NE(menu, nullptr) << (program_->Running() ? "no menu after pressing Ctrl+L" : "the program ended");
    // Up from no selection: Close, Razaveza Kit, Sysmenu, then the folder, whose
    // submenu carries a side bar.
    for (int i = 0; i < 4; ++i) PressKeys({VK_UP});
    PressKeys({VK_RIGHT});
    EXPECT_TRUE(
        WaitUntil([&] { return VisibleMenus(program_->Id()).size() == 2 || !program_->Running(); }, kSettleMs * 5))
        << "the folder's submenu did not open";
    PressKeys({VK_ESCAPE});
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kSettleMs * 5))
        << "Escape did not close the menus";
    ASSERT_TRUE(program_->Running()) << "the program ended while its menu was open";

    // What a restarted shell sends to every top-level window, twice over.
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    const auto windows = ProgramWindows(program_->Id());
    ASSERT_FALSE(windows.empty());
    for (int round = 0; round < 2; ++round) {
        for (HWND hwnd : windows) {
            DWORD_PTR result = 0;
            // The menu's host window, made anew for each menu, may be gone since it was listed.
            EXPECT_TRUE(::SendMessageTimeoutA(hwnd, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, kSendMs, &result) ||
                        !::IsWindow(hwnd))
                << "window " << hwnd << " (" << ClassOf(hwnd) << ") does not answer";
        }
    }
    EXPECT_FALSE(program_->WaitForExit(kSettleMs).has_value()) << "the program ended after TaskbarCreated";
    ExpectNoErrorShown();

    menu = OpenMenuByHotkey();
    ASSERT_NE(menu, nullptr) << (program_->Running() ? "no menu after TaskbarCreated" : "the program ended");
    RECT r{};
    ::GetWindowRect(menu, &r);
    EXPECT_EQ(r.left, cursor_.x);
    EXPECT_EQ(r.top, cursor_.y);
    ExpectNoErrorShown();

    ChooseClose();
    const std::optional<DWORD> code = program_->WaitForExit(kExitMs);
    ASSERT_TRUE(code.has_value()) << "the program keeps running after Close";
    EXPECT_EQ(*code, 0u);
    // Values read come back in canonical form; the hotkey's modifiers are rewritten.
    EXPECT_EQ(SectionNames(settings_),
              (std::vector<std::string>{"General Settings", "Font Settings", "Misc Settings"}));
    EXPECT_EQ(SectionLines(settings_, "General Settings"),
              (std::vector<std::string>{"TaskBar=0", "OpenLauncherHotkey=Ctrl+L"}));
    EXPECT_EQ(SectionLines(settings_, "Font Settings"),
              (std::vector<std::string>{"WindowsDraw=0", "FontName=Tahoma", "FontSize=9"}));
    EXPECT_EQ(SectionLines(settings_, "Misc Settings"), (std::vector<std::string>{"DrawMenuBar=1"}));
    EXPECT_FALSE(FileExists(dir_ / "errorlog.txt")) << ReadFile(dir_ / "errorlog.txt");
}

}  // namespace

namespace {

using LaunchEnvironment = ManagerProgramTest;

// A user's variable as the system's settings keep it, gone again at scope exit.
class UserVariable {
public:
    UserVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Environment", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr) != ERROR_SUCCESS)
            return;
        set_ = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        ::RegCloseKey(key);
    }
    ~UserVariable() {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Environment", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        ::RegDeleteValueW(key, name_);
        ::RegCloseKey(key);
    }
    bool Set() const { return set_; }

private:
    const wchar_t* name_;
    bool set_ = false;
};

// What a settings program does once it changed a variable.
bool AnnounceEnvironment() {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                                 SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

}  // namespace

// The item's path goes through %SystemDrive%, its parameter names a
// variable that the user adds only while the program runs: once the
// system announces it, what the program starts sees it.
TEST_F(LaunchEnvironment, AVariableAnnouncedWhileRunningReachesWhatIsLaunchedAfter) {
    const std::string script = dir_ / "env.bat";
    ASSERT_EQ(script.substr(0, 2), "C:");
    WriteFile(script, "@echo [%RZT_E2E_ADDED%] %1> \"" + marker_ + "\"\r\n");
    MakeDir(store_);
    WriteFile(store_ + "\\shortcuts.txt",
              "^ExeLnk|%SystemDrive%" + script.substr(2) + "|%RZT_E2E_ADDED%|bat|Environment\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    // The parameter is left to the shell as typed: Wine's reads it as empty.
    EXPECT_EQ(LaunchFirst().substr(0, 3), "[] ") << "the variable is there before the user set it";

    UserVariable added(L"RZT_E2E_ADDED", L"fresh");
    ASSERT_TRUE(added.Set());
    ASSERT_TRUE(AnnounceEnvironment());
    EXPECT_EQ(LaunchFirst(), "[fresh] fresh\r\n");
    // The store keeps the text as typed.
    EXPECT_NE(ReadFile(store_ + "\\shortcuts.txt").find("^ExeLnk|%SystemDrive%"), std::string::npos);
    ExpectNoErrorShown();
}
