// A save onto a disk that fills up half-way, with the real program on a
// real small file system (tests/e2e/full-disk mounts one and names it in
// RZ_SMALL_FS): the old store stays, the program says so and keeps running.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "ProgramRun.h"
#include "TestSupport.h"

using namespace rztest;

namespace {

constexpr DWORD kWaitMs = 60000;

// About 1,000 entries over ten folders, some 60 KB of list files.
int MakeStore(const std::string& store) {
    int entries = 1 + 11;
    std::string top;
    MakeDir(store);
    for (int f = 0; f < 10; ++f) {
        const std::string name = "Folder " + std::to_string(f);
        top += "^Folder|" + name + "\r\n";
        MakeDir(store + "\\" + name);
        std::string list;
        for (int i = 0; i < 100; ++i)
            list += "^UnkLnk|C:\\Documents\\Some project\\report " + std::to_string(f * 100 + i) + ".txt|txt|Report " +
                    std::to_string(i) + "\r\n";
        WriteFile(store + "\\" + name + "\\shortcuts.txt", list);
        entries += 2 + 100;
    }
    WriteFile(store + "\\shortcuts.txt", top);
    return entries;
}

std::string StatusText(HWND manager) {
    HWND bar = ::FindWindowExA(manager, nullptr, "msctls_statusbar32", nullptr);
    char text[512] = {};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(bar, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &ignored);
    return text;
}

// "Close", the last entry of the menu the hotkey opens.
void CloseThroughMenu(const RunningProgram& program) {
    ::SetCursorPos(120, 90);
    ASSERT_NE(OpenMenuByHotkey(program, kWaitMs, 1000), nullptr) << "no menu";
    PressKeys({VK_UP});
    PressKeys({VK_RETURN});
}

}  // namespace

TEST(FullDisk, ASaveThatRunsOutOfSpaceKeepsTheOldStoreAndSaysSo) {
    const char* small = std::getenv("RZ_SMALL_FS");
    if (!small || !*small) GTEST_SKIP() << "no small file system (RZ_SMALL_FS); tests/e2e/full-disk mounts one";
    const std::string dir = std::string(small) + "\\rz";
    MakeDir(dir);
    ASSERT_TRUE(::CopyFileA(ProgramPath(), (dir + "\\razaveza.exe").c_str(), FALSE)) << ::GetLastError();
    const int entries = MakeStore(dir + "\\shortcuts");
    const FolderState before = ContentOf(dir + "\\shortcuts\\");
    size_t storeBytes = 0;
    for (const auto& file : before) storeBytes += file.second.size();
    // Leave room for half a store: the new one fills the disk half-way.
    ULARGE_INTEGER free{};
    ASSERT_TRUE(::GetDiskFreeSpaceExA((dir + "\\").c_str(), &free, nullptr, nullptr));
    ASSERT_GT(free.QuadPart, storeBytes);
    WriteFile(dir + "\\filler.bin", std::string(static_cast<size_t>(free.QuadPart - storeBytes / 2), 'x'));

    auto program = std::make_unique<RunningProgram>(dir + "\\razaveza.exe", dir);
    ASSERT_TRUE(program->Started()) << program->StartError();
    SaveButton save;
    ASSERT_TRUE(WaitUntil(
        [&] {
            save = FindSaveButton(program->Id());
            return ManagerTreeCount(save.manager) == entries;
        },
        kWaitMs));
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(save.manager, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(save.button), BN_CLICKED),
                                      reinterpret_cast<LPARAM>(save.button), SMTO_NORMAL, kWaitMs, &ignored));
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(StatusText(save.manager).rfind("Save unsuccesful! ", 0), 0u) << StatusText(save.manager);
    EXPECT_EQ(FirstDifference(ContentOf(dir + "\\shortcuts\\"), before), "");
    EXPECT_FALSE(DirExists(dir + "\\item_bak"));
    program->Kill();

    // With room again, the next start loads everything.
    ::DeleteFileA((dir + "\\filler.bin").c_str());
    program = std::make_unique<RunningProgram>(dir + "\\razaveza.exe", dir);
    ASSERT_TRUE(WaitUntil([&] { return ManagerTreeCount(FindSaveButton(program->Id()).manager) == entries; }, kWaitMs));
    program->Kill();
}

TEST(FullDisk, SettingsThatCannotBeWrittenAtCloseStayWholeAndTheBoxSaysTheDiskIsFull) {
    // Cut mid-line with no word and exit code 0; then boxes with only the log's path.
    const char* small = std::getenv("RZ_SMALL_FS");
    if (!small || !*small) GTEST_SKIP() << "no small file system (RZ_SMALL_FS); tests/e2e/full-disk mounts one";
    const std::string dir = std::string(small) + "\\rz-close", filler = std::string(small) + "\\filler-close.bin";
    MakeDir(dir);
    ASSERT_TRUE(::CopyFileA(ProgramPath(), (dir + "\\razaveza.exe").c_str(), FALSE)) << ::GetLastError();
    // Written back in another form at Close: the file has to be replaced.
    const std::string old = "[General Settings]\r\nTaskBar=1\r\nOpenLauncherHotkey=ctrl+l\r\n";
    WriteFile(dir + "\\zuvizove.ziz", old);
    RunningProgram program(dir + "\\razaveza.exe", dir);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(OpenMenuByHotkey(program, kWaitMs, 1000), nullptr);
    PressKeys({VK_ESCAPE});
    // Now no room for anything, the log included.
    ULARGE_INTEGER free{};
    ASSERT_TRUE(::GetDiskFreeSpaceExA((dir + "\\").c_str(), &free, nullptr, nullptr));
    WriteFile(filler, std::string(static_cast<size_t>(free.QuadPart), 'x'));
    ASSERT_NO_FATAL_FAILURE(CloseThroughMenu(program));
    const std::vector<std::string> shown = AnswerBoxesUntilExit(program, kWaitMs);
    ::DeleteFileA(filler.c_str());
    EXPECT_EQ(program.WaitForExit(0).value_or(~0UL), 0u) << "the program did not end by Close";
    EXPECT_EQ(shown, std::vector<std::string>{"The disk is full: the settings cannot be saved."});
    EXPECT_EQ(ReadFile(dir + "\\zuvizove.ziz"), old);
    EXPECT_FALSE(FileExists(dir + "\\zuvizove.ziz.tmp"));
}

TEST(ReadOnlyData, TheMenuWorksAndASaveIsRefusedWithTheReason) {
    // A portable copy on read-only media: a box with the log's path at start,
    // no menu while it stood, and after OK the program ended without a word.
    const char* dir = std::getenv("RZ_READONLY_FS");
    if (!dir || !*dir) GTEST_SKIP() << "no read-only copy (RZ_READONLY_FS); tests/e2e/full-disk mounts one";
    RunningProgram program(std::string(dir) + "\\razaveza.exe", dir);
    ASSERT_TRUE(program.Started()) << program.StartError();
    SaveButton save;
    ASSERT_TRUE(WaitUntil([&] { return (save = FindSaveButton(program.Id())).button != nullptr; }, kWaitMs));
    ::SetCursorPos(120, 90);
    ASSERT_NE(OpenMenuByHotkey(program, kWaitMs, 1000), nullptr) << (program.Running() ? "no menu" : "it ended");
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(ProcessWindows(program.Id(), "#32770").empty()) << "a box at start";

    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(save.manager, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(save.button), BN_CLICKED),
                                      reinterpret_cast<LPARAM>(save.button), SMTO_NORMAL, kWaitMs, &ignored));
    EXPECT_EQ(StatusText(save.manager),
              "Save unsuccesful! The folder " + std::string(dir) + "\\ is read-only: items cannot be saved");
    // Nothing changed, nothing to write (tests/e2e/full-disk writes the
    // settings as the program would): Close ends without a box.
    ASSERT_NO_FATAL_FAILURE(CloseThroughMenu(program));
    EXPECT_EQ(AnswerBoxesUntilExit(program, kWaitMs), std::vector<std::string>{});
    EXPECT_EQ(program.WaitForExit(0).value_or(~0UL), 0u);
}
