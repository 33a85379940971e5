#include <windows.h>

#include <sstream>
#include <thread>
#include <tuple>

#include "AppFixture.h"
#include "core/ErrorLog.h"
#include "platform/SystemError.h"
#include "core/ItemPlaces.h"
#include "core/Launching.h"
#include "platform/Clipboard.h"
#include "menu/form_general.h"
#include "core/Settings.h"
#include "menu/form_shortcuts.h"
#include "platform/Timer.h"

using namespace rz;
using rztest::AppTest;

namespace {

std::string WaitForFile(const std::string& path, int lines) {
    for (int i = 0; i < 200; ++i) {
        std::string content = rztest::ReadFile(path);
        int n = 0;
        for (char c : content) n += c == '\n';
        if (n >= lines) return content;
        ::Sleep(50);
    }
    return rztest::ReadFile(path);
}

TMenuItem* EntryCaptioned(TMenuItem& level, const std::string& caption) {
    for (int i = 0; i < level.Count(); ++i) {
        if (level.Items(i)->Caption == caption) return level.Items(i);
    }
    return nullptr;
}

}  // namespace

TEST(LaunchDirectory, DirectoryOfThePathWithDriveRootsKeepingTheirBackslash) {
    EXPECT_EQ(LaunchDirectoryOf("C:\\Tools\\run.exe"), "C:\\Tools");
    EXPECT_EQ(LaunchDirectoryOf("C:\\run.exe"), "C:\\");
    EXPECT_EQ(LaunchDirectoryOf("C:\\Docs\\"), "C:\\Docs");
    EXPECT_EQ(LaunchDirectoryOf("C:run.exe"), "C:");
    EXPECT_EQ(LaunchDirectoryOf("run.exe"), "");
}

TEST_F(AppTest, AMenuClickStartsTheScriptWithItsParametersAndDirectory) {
    rztest::MakeDir(dir / "tools");
    const std::string out = dir / "out.txt";
    rztest::WriteFile(dir / "tools\\run.bat", "@echo off\r\necho [%*]> \"" + out + "\"\r\ncd >> \"" + out + "\"\r\n");
    WriteStore("shortcuts", "^UnkLnk|" + dir.Path() +
                                "tools\\run.bat|1|Same id text as parameters\r\n"
                                "^ExeLnk|" +
                                dir.Path() + "tools\\run.bat|alpha \"b c\"  1|bat|Run it\r\n");
    StartUp();
    TMenuItem* entry = EntryCaptioned(FormItems().PMItems.Items(), "Run it");
    ASSERT_TRUE(entry && entry->OnClick);
    entry->OnClick(entry);
    std::string text = WaitForFile(out, 2);
    std::istringstream lines(text);
    std::string args, cwd;
    std::getline(lines, args);
    std::getline(lines, cwd);
    if (!cwd.empty() && cwd.back() == '\r') cwd.pop_back();
    EXPECT_EQ(args.substr(0, args.find_last_not_of(" \r") + 1), "[alpha \"b c\"  1]");
    EXPECT_EQ(::lstrcmpiA(cwd.c_str(), (dir.Path() + "tools").c_str()), 0) << cwd;

    // A document-kind item is launched without parameters.
    ::DeleteFileA(out.c_str());
    TMenuItem* other = EntryCaptioned(FormItems().PMItems.Items(), "Same id text as parameters");
    ASSERT_TRUE(other && other->OnClick);
    other->OnClick(other);
    std::string second = WaitForFile(out, 2);
    EXPECT_EQ(second.substr(0, 2), "[]") << second;
}

TEST_F(AppTest, AFailedOpenSaysNotFound) {
    StartUp();
    boxes.clear();
    OpenWithShell(dir / "missing.html");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "\"" + dir.Path() + "missing.html\" not found.");
    EXPECT_EQ(boxes[0].caption, "Corvane Razaveza");
}

TEST_F(AppTest, AMenuLaunchTheShellRefusesSaysWhy) {
    rztest::WriteFile(dir / "data.nosuchtype", "x");
    WriteStore("shortcuts", "^UnkLnk|" + dir.Path() +
                                "gone.txt|.txt|Gone\r\n"
                                "^UnkLnk|" +
                                dir.Path() + "data.nosuchtype|.nosuchtype|Data\r\n");
    StartUp();
    boxes.clear();
    for (const char* caption : {"Gone", "Data"}) {
        TMenuItem* entry = EntryCaptioned(FormItems().PMItems.Items(), caption);
        ASSERT_TRUE(entry && entry->OnClick);
        entry->OnClick(entry);
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "\"" + dir.Path() + "gone.txt\" not found.");
    EXPECT_EQ(boxes[1].text,
              "\"" + dir.Path() + "data.nosuchtype\" can not be opened: " + SystemMessage(ERROR_NO_ASSOCIATION) + ".");
    EXPECT_EQ(boxes[1].caption, "Corvane Razaveza");
    EXPECT_FALSE(Application.Terminated());
}

TEST_F(AppTest, ALaunchExpandsVariablesAndNamesThoseNotDefined) {
    StartUp();
    const std::string home = dir.Path().substr(0, dir.Path().size() - 1);
    ::SetEnvironmentVariableA("RZT_HOME", home.c_str());
    ::SetEnvironmentVariableA("RZT_BIG", std::string(20000, 'b').c_str());
    struct Case {
        std::string path, params;
        LaunchAs as;
        unsigned long answer;
        std::vector<std::string> sent;  // verb, file, parameters, directory; empty: not asked
        bool launched;
        std::vector<std::string> named;  // in the box, in order; empty: no box
    } cases[] = {
        {"%RZT_HOME%\\run.bat", "-x \"%RZT_HOME%\"", LaunchAs::Normal, 0,
         {"open", home + "\\run.bat", "-x \"" + home + "\"", home}, true, {}},
        // Cancelling the administrator's prompt is no failure.
        {"%RZT_HOME%\\run.bat", "", LaunchAs::Administrator, ERROR_CANCELLED,
         {"runas", home + "\\run.bat", "", home}, false, {}},
        {"%RZT_NOPE%\\run.bat", "%RZT_ALSO% %RZT_NOPE%", LaunchAs::Normal, ERROR_PATH_NOT_FOUND,
         {"open", "%RZT_NOPE%\\run.bat", "%RZT_ALSO% %RZT_NOPE%", "%RZT_NOPE%"}, false,
         {"\"%RZT_NOPE%\\run.bat\"", "%RZT_NOPE%", "%RZT_ALSO%"}},
        {"C:\\%RZT_BIG%\\%RZT_BIG%.exe", "", LaunchAs::Normal, 0, {}, false, {"%RZT_BIG%"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> sent;
        RunShell.Replace([&](const ShellRequest& r) {
            sent = {r.verb, r.file, r.parameters, r.directory};
            return c.answer;
        });
        boxes.clear();
        EXPECT_EQ(LaunchFile(c.path, c.params, "", c.as), c.launched) << c.path;
        EXPECT_EQ(sent, c.sent) << c.path;
        ASSERT_EQ(boxes.size(), c.named.empty() ? 0u : 1u) << c.path;
        size_t at = 0;
        for (const std::string& text : c.named) {
            at = boxes[0].text.find(text, at);
            EXPECT_NE(at, std::string::npos) << boxes[0].text << " lacks " << text;
        }
    }
    RunShell.Restore();
    ::SetEnvironmentVariableA("RZT_HOME", nullptr);
    ::SetEnvironmentVariableA("RZT_BIG", nullptr);
}

TEST(ItemPlaces, TheFolderToOpenAndTheCommandLineToCopy) {
    rztest::TempDir dir;
    rztest::MakeDir(dir / "sub");
    rztest::WriteFile(dir / "sub\\tool.exe", "");
    rztest::MakeShortcut(dir / "tool.lnk", dir / "sub\\tool.exe", "");
    const std::string sub = dir / "sub";
    const std::pair<std::string, ItemPlace> places[] = {
        {"C:\\Tools\\x.exe", {"C:\\Tools", "C:\\Tools\\x.exe"}},
        {"C:\\Docs\\", {"C:\\", "C:\\Docs"}},
        {"C:\\x.exe", {"C:\\", "C:\\x.exe"}},
        {"C:\\", {"C:\\", ""}},
        // A shortcut's folder is where its target is.
        {dir / "tool.lnk", {sub, sub + "\\tool.exe"}},
    };
    for (const auto& [path, place] : places) {
        const ItemPlace got = PlaceOf(path);
        EXPECT_EQ(got.folder, place.folder) << path;
        EXPECT_EQ(::lstrcmpiA(got.item.c_str(), place.item.c_str()), 0) << path << ": " << got.item;
    }
    ::SetEnvironmentVariableA("RZT_CL", "C:\\A&B");
    const std::tuple<std::string, std::string, std::string> lines[] = {
        {"C:\\Program Files\\a.exe", "-x \"y z\"", "\"C:\\Program Files\\a.exe\" -x \"y z\""},
        {"C:\\Tools\\a.exe", "", "C:\\Tools\\a.exe"},
        {"%RZT_CL%\\a.exe", "%RZT_CL%", "\"C:\\A&B\\a.exe\" C:\\A&B"},
    };
    for (const auto& [path, params, line] : lines) EXPECT_EQ(CommandLineOf(path, params), line);
    ::SetEnvironmentVariableA("RZT_CL", nullptr);
}

TEST_F(AppTest, AFolderThatIsGoneIsSaidAndAnItemThatIsGoneOpensItsFolderAlone) {
    StartUp();
    rztest::WriteFile(dir / "there.txt", "");
    std::vector<std::pair<std::string, std::string>> opened;
    ShowInFolder.Replace([&](const std::string& folder, const std::string& item) {
        opened.emplace_back(folder, item);
        return 0ul;
    });
    const std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
    boxes.clear();
    EXPECT_FALSE(OpenContainingFolder("C:\\rz-gone-folder\\x.exe"));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(opened.empty()) << "nothing opens for a folder that is gone";
    EXPECT_TRUE(OpenContainingFolder(dir / "gone.txt"));
    EXPECT_TRUE(OpenContainingFolder(dir / "there.txt"));
    EXPECT_EQ(opened, (std::vector<std::pair<std::string, std::string>>{{folder, ""}, {folder, dir / "there.txt"}}));
    EXPECT_EQ(boxes.size(), 1u);
    ShowInFolder.Restore();
}

TEST_F(AppTest, AClipboardHeldByAnotherProgramIsSaidAndCopyingWorksOnceItIsFree) {
    StartUp();
    boxes.clear();
    HANDLE opened = ::CreateEventA(nullptr, TRUE, FALSE, nullptr), release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // As another program holds it: open for a window of another thread.
    std::thread holder([&] {
        const HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const bool held = ::OpenClipboard(window) != FALSE;
        ::SetEvent(opened);
        ::WaitForSingleObject(release, 10000);
        if (held) ::CloseClipboard();
        ::DestroyWindow(window);
    });
    ::WaitForSingleObject(opened, 10000);
    EXPECT_FALSE(CopyItemText(nullptr, "C:\\held.exe"));
    EXPECT_EQ(boxes.size(), 1u);
    ::SetEvent(release);
    holder.join();
    EXPECT_TRUE(CopyItemText(nullptr, "C:\\free.exe"));
    EXPECT_EQ(ClipboardText(nullptr, 100), L"C:\\free.exe");
    EXPECT_EQ(boxes.size(), 1u);
    ::CloseHandle(opened);
    ::CloseHandle(release);
}

TEST_F(AppTest, RegressionAMissingSoundIsLoggedOnceWithoutABoxAndARefusalStillBeeps) {
    StartUp();
    boxes.clear();
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    // Every refusal and save showed the log's path box: 36 boxes for one drop.
    for (int i = 0; i < 3; ++i) PlaySystemSound("media\\no-such-sound.wav");
    std::string log = rztest::ReadFile(dir / "errorlog.txt");
    const std::string line = ": Razaveza: Can't play \"" + std::string(windows) + "\\media\\no-such-sound.wav\". Last";
    EXPECT_NE(log.find(line + " Win32 Error (2): "), std::string::npos) << log;
    EXPECT_EQ(log.find(line, log.find(line) + 1), std::string::npos) << "once per run";
    EXPECT_TRUE(boxes.empty());

    int beeps = 0;
    SystemBeep.Replace([&] { return ++beeps, true; });
    PlayWaveFile.Replace([](const std::string&) { return false; });
    PlaySystemSound(kSoundRefused);
    PlaySystemSound(kSoundSaved);
    PlaySystemSound(kSoundRefused);
    PlayWaveFile.Restore();
    SystemBeep.Restore();
    EXPECT_EQ(beeps, 2) << "the chord falls back to the default beep, the save sound does not";
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(Application.Terminated());
}

TEST_F(AppTest, RegressionRefusedLinesAndAHeldHotkeyAreLoggedWithoutBoxes) {
    StartUp();
    EXPECT_FALSE(rztest::FileExists(dir / "errorlog.txt")) << "Ctrl+L was free";
    DestroyForms();
    // Held by a window of its own, as another program would hold it.
    TTimer holder("Holder");
    holder.SetInterval(60000);
    holder.SetEnabled(true);
    ASSERT_TRUE(::RegisterHotKey(holder.Handle(), 1, MOD_CONTROL, 'L'));
    WriteStore("shortcuts", "^Folder|a:b\r\n^UnkLnk|C:\\x.txt|*.t?t|X\r\n");
    boxes.clear();
    CreateForms();
    StartUp();
    ::UnregisterHotKey(holder.Handle(), 1);
    const std::string log = rztest::ReadFile(dir / "errorlog.txt");
    EXPECT_NE(log.find(": Razaveza: The hotkey \"Ctrl+L\" is held by another program. Last Win32 Error (1409)"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Folder \"a:b\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"*.t?t\" is no file extension. Last Win32 Error (123)"), std::string::npos) << log;
    EXPECT_TRUE(boxes.empty()) << boxes.size() << " boxes before the tray icon answers";
    EXPECT_FALSE(Application.Terminated());
}

TEST_F(AppTest, TheTrayIconOpensTheMenuOnlyWhileEnabled) {
    TCoolTrayIcon& tray = FormGeneral().CSystrayGen;
    int popups = 0;
    tray.OnPopup = [&](TCoolTrayIcon&) { ++popups; };
    // Before start-up: disabled and without a menu.
    tray.HandleCallback(WM_RBUTTONDOWN);
    tray.HandleCallback(WM_LBUTTONDOWN);
    EXPECT_EQ(popups, 0);
    StartUp();
    EXPECT_EQ(tray.PopupMenu, &FormItems().PMItems);
    tray.HandleCallback(WM_RBUTTONDOWN);
    tray.HandleCallback(WM_LBUTTONDOWN);
    // The press opened it: the release must not open it a second time.
    for (UINT other : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP}) tray.HandleCallback(other);
    EXPECT_EQ(popups, 2);
    ReloadItems();
    EXPECT_TRUE(tray.Enabled);
    tray.HandleCallback(WM_LBUTTONDOWN);
    EXPECT_EQ(popups, 3);
}

TEST_F(AppTest, TheHotkeyShowsTheVisibleEntriesOfTheLauncherMenu) {
    WriteStore("shortcuts", "^SpeSep|Top\r\n^Folder|F\r\n^NorSep|\r\n");
    rztest::MakeDir(dir / "shortcuts\\F");
    StartUp();
    // Own drawing: every entry is owner-drawn and still carries its caption.
    Settings.WindowsDraw = false;
    FormShortCuts().ApplyMenuDrawing();
    int topCount = -1, folderCount = -1;
    bool sawMenu = false;
    std::string firstText, closeText;
    TTimer closer("Closer");
    closer.SetInterval(50);
    closer.OnTimer = [&](TObject*) {
        TPopupMenu* open = TPopupMenu::Current();
        if (!open) return;
        closer.SetEnabled(false);
        sawMenu = open == &FormItems().PMItems;
        HMENU menu = open->OpenHandle();
        topCount = ::GetMenuItemCount(menu);
        folderCount = ::GetMenuItemCount(::GetSubMenu(menu, 1));
        char text[64] = {};
        ::GetMenuStringA(menu, 0, text, sizeof(text), MF_BYPOSITION);
        firstText = text;
        ::GetMenuStringA(menu, topCount - 1, text, sizeof(text), MF_BYPOSITION);
        closeText = text;
        ::EndMenu();
        ::PostMessageA(FormGeneral().Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        HWND popup = ::FindWindowA("#32768", nullptr);
        if (popup) ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    closer.SetEnabled(true);
    FormGeneral().JvApplicationHotKeyHotKey(&FormGeneral().JvApplicationHotKey);
    closer.SetEnabled(false);
    EXPECT_TRUE(sawMenu);
    // Three user entries and the fixed tail; the folder's hidden entry stays out.
    EXPECT_EQ(topCount, 3 + 3);
    EXPECT_EQ(folderCount, 0);
    EXPECT_EQ(firstText, "Top");
    EXPECT_EQ(closeText, "Close");
}

TEST_F(AppTest, TheTaskbarButtonFollowsTheOpenWindows) {
    StartUp();
    EXPECT_FALSE(::IsWindowVisible(Application.Handle()));
    FormItems().Show();
    EXPECT_TRUE(::IsWindowVisible(Application.Handle()));
    FormItems().Hide();
    EXPECT_FALSE(::IsWindowVisible(Application.Handle()));
}

TEST_F(AppTest, HotkeysQueuedWhileTheMenuGetsReadyDoNotStackMenus) {
    StartUp();
    TJvApplicationHotKey& hotKey = FormGeneral().JvApplicationHotKey;
    if (!hotKey.Registered()) GTEST_SKIP() << "Ctrl+L is held by another program in this session";
    int menusSeen = 0;
    FormItems().PMItems.OnPopup = [&](TObject*) { ++menusSeen; };
    TTimer closer("Closer");
    closer.SetInterval(50);
    closer.OnTimer = [&](TObject*) {
        if (!TPopupMenu::Current()) return;
        if (HWND popup = ::FindWindowA("#32768", nullptr)) ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageA(FormGeneral().Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    closer.SetEnabled(true);
    // Two more presses wait in the queue when the first is handled.
    ::PostMessageA(FormGeneral().Handle(), WM_HOTKEY, hotKey.Id(), 0);
    ::PostMessageA(FormGeneral().Handle(), WM_HOTKEY, hotKey.Id(), 0);
    FormGeneral().JvApplicationHotKeyHotKey(&hotKey);
    closer.SetEnabled(false);
    FormItems().PMItems.OnPopup = nullptr;
    EXPECT_EQ(menusSeen, 1);
    EXPECT_FALSE(FormItems().PMItems.Showing);
}
