#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "ProgramRun.h"
#include "TestSupport.h"
#include "core/ErrorLog.h"

using namespace rztest;

namespace {

constexpr DWORD kSettleMs = 1500;

const char kLiveList[] = "^SpeSep|Live list\r\n^NorSep|\r\n";
const char kBackupList[] = "^SpeSep|Backup list\r\n^Folder|Games\r\n";
const char kBackupGames[] = "^SpeSep|Inside the backup\r\n";

class ProgramStart : public ProgramCopyTest {
protected:
    static void ExpectNoMessageBox(const RunningProgram& program) {
        EXPECT_TRUE(rztest::ProcessWindows(program.Id(), "#32770").empty()) << "the program shows a message box";
    }
};

TEST_F(ProgramStart, SecondInstance_EndsSilentlyWhileFirstKeepsRunning) {
    const DWORD started = ::GetTickCount();
    RunningProgram first(exe_, dir_.Path());
    ASSERT_TRUE(first.Started()) << first.StartError();
    ASSERT_TRUE(WaitUntil([&] { return DirExists(dir_ / "shortcuts"); }, kStartMs))
        << "shortcuts\\ not created" << (first.Running() ? "" : "; the program ended");
    const DWORD elapsed = ::GetTickCount() - started;
    if (elapsed < kSettleMs) ::Sleep(kSettleMs - elapsed);
    ASSERT_TRUE(first.Running()) << "exit code " << first.WaitForExit(0).value_or(~0UL);
    ExpectNoMessageBox(first);

    // The guard's mapping carries the handle of the first instance's application window.
    const std::optional<DWORD> stored = rztest::ReadInstanceMapping();
    ASSERT_TRUE(stored.has_value()) << "no single-instance mapping while the program runs";
    const HWND appWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(*stored));
    DWORD owner = 0;
    EXPECT_TRUE(::IsWindow(appWindow));
    ::GetWindowThreadProcessId(appWindow, &owner);
    EXPECT_EQ(owner, first.Id());

    {
        RunningProgram second(exe_, dir_.Path());
        ASSERT_TRUE(second.Started()) << second.StartError();
        const std::optional<DWORD> code = second.WaitForExit(kExitMs);
        ASSERT_TRUE(code.has_value()) << "a second start in the same folder keeps running";
        EXPECT_EQ(*code, 0u);
    }
    EXPECT_TRUE(first.Running());

    // The guard is system-wide: a copy in another folder is a second instance too,
    // and ends before it touches its own folder.
    TempDir other;
    const std::string otherExe = other / "razaveza.exe";
    ASSERT_TRUE(::CopyFileA(rztest::ProgramPath(), otherExe.c_str(), FALSE)) << ::GetLastError();
    {
        RunningProgram second(otherExe, other.Path());
        ASSERT_TRUE(second.Started()) << second.StartError();
        const std::optional<DWORD> code = second.WaitForExit(kExitMs);
        ASSERT_TRUE(code.has_value()) << "a second start in another folder keeps running";
        EXPECT_EQ(*code, 0u);
    }
    EXPECT_FALSE(DirExists(other / "shortcuts"));
    EXPECT_TRUE(first.Running());
    ExpectNoMessageBox(first);
}

enum class Answer { Yes, No, Cancel, Closed };

class LeftoverBackup : public ProgramStart, public ::testing::WithParamInterface<Answer> {
protected:
    // A live list with a stray file, and a backup with a sub-folder level.
    void PrepareStore() {
        MakeDir(dir_ / "shortcuts");
        WriteFile(dir_ / "shortcuts\\shortcuts.txt", kLiveList);
        WriteFile(dir_ / "shortcuts\\stale.bmp", "BM");
        MakeDir(dir_ / "item_bak");
        WriteFile(dir_ / "item_bak\\shortcuts.txt", kBackupList);
        MakeDir(dir_ / "item_bak\\Games");
        WriteFile(dir_ / "item_bak\\Games\\shortcuts.txt", kBackupGames);
    }

    void ExpectStoreUntouched() {
        EXPECT_EQ(ReadFile(dir_ / "shortcuts\\shortcuts.txt"), kLiveList);
        EXPECT_TRUE(FileExists(dir_ / "shortcuts\\stale.bmp"));
        EXPECT_EQ(ReadFile(dir_ / "item_bak\\shortcuts.txt"), kBackupList);
        EXPECT_EQ(ReadFile(dir_ / "item_bak\\Games\\shortcuts.txt"), kBackupGames);
    }

    static void Give(HWND box, Answer answer) {
        switch (answer) {
            case Answer::Yes: ::PostMessageA(box, WM_COMMAND, IDYES, 0); break;
            case Answer::No: ::PostMessageA(box, WM_COMMAND, IDNO, 0); break;
            case Answer::Cancel: ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0); break;
            case Answer::Closed: ::PostMessageA(box, WM_CLOSE, 0, 0); break;
        }
    }
};

TEST_P(LeftoverBackup, QuestionAtStart_AnswerDecidesWhichListSurvives) {
    PrepareStore();
    RunningProgram program(exe_, dir_.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();

    HWND box = nullptr;
    WaitUntil(
        [&] {
            const auto boxes = rztest::ProcessWindows(program.Id(), "#32770", "Warning");
            box = boxes.empty() ? nullptr : boxes.front();
            return box || !program.Running();
        },
        kStartMs);
    ASSERT_NE(box, nullptr) << (program.Running() ? "no question shown" : "the program ended without asking");
    EXPECT_EQ(rztest::MessageBoxText(box), rz::BackupQuestionText(dir_.Path()));
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDCANCEL), nullptr);
    EXPECT_EQ(::GetDlgItem(box, IDOK), nullptr);
    // Nothing is touched before the user has answered.
    ExpectStoreUntouched();

    const Answer answer = GetParam();
    Give(box, answer);

    if (answer == Answer::Cancel || answer == Answer::Closed) {
        const std::optional<DWORD> code = program.WaitForExit(kExitMs);
        ASSERT_TRUE(code.has_value()) << "the program keeps running after the question was cancelled";
        EXPECT_EQ(*code, 0u);
        ExpectStoreUntouched();
    } else {
        ASSERT_TRUE(WaitUntil([&] { return !DirExists(dir_ / "item_bak"); }, kStartMs))
            << "item_bak\\ is still there" << (program.Running() ? "" : "; the program ended");
        if (answer == Answer::Yes) {
            EXPECT_EQ(ReadFile(dir_ / "shortcuts\\shortcuts.txt"), kBackupList);
            EXPECT_EQ(ReadFile(dir_ / "shortcuts\\Games\\shortcuts.txt"), kBackupGames);
            EXPECT_FALSE(FileExists(dir_ / "shortcuts\\stale.bmp")) << "the old list was not removed first";
        } else {
            EXPECT_EQ(ReadFile(dir_ / "shortcuts\\shortcuts.txt"), kLiveList);
            EXPECT_TRUE(FileExists(dir_ / "shortcuts\\stale.bmp"));
            EXPECT_FALSE(DirExists(dir_ / "shortcuts\\Games"));
        }
        // It goes on loading and keeps running, with no further box.
        EXPECT_FALSE(program.WaitForExit(kSettleMs).has_value()) << "the program ended after the answer";
        ExpectNoMessageBox(program);
    }
}

const char* NameOf(Answer answer) {
    switch (answer) {
        case Answer::Yes: return "Yes";
        case Answer::No: return "No";
        case Answer::Cancel: return "Cancel";
        case Answer::Closed: return "Closed";
    }
    return "Unknown";
}

void PrintTo(Answer answer, std::ostream* os) { *os << NameOf(answer); }

std::string AnswerName(const ::testing::TestParamInfo<Answer>& info) { return NameOf(info.param); }

INSTANTIATE_TEST_SUITE_P(Answers, LeftoverBackup,
                         ::testing::Values(Answer::Yes, Answer::No, Answer::Cancel, Answer::Closed), AnswerName);

}  // namespace
