#include <cstdio>
#include <stdexcept>

#include "AppFixture.h"
#include "core/ErrorLog.h"
#include "core/LogFile.h"
#include "menu/form_general.h"
#include "platform/FileIO.h"
#include "platform/Timer.h"

using namespace rz;
using rztest::AppTest;

namespace {
std::vector<std::string> LogLines(const rztest::TempDir& dir) {
    std::string all = rztest::ReadFile(dir / "errorlog.txt");
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = all.find("\r\n", start)) != std::string::npos) {
        lines.push_back(all.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, all.size()) << "every line ends with CR LF";
    return lines;
}
}  // namespace

TEST(ErrorLogLine, PiecesInOrder) {
    std::string line = ComposeLogLine("12/7/2026", "2:07 PM", "Can't play \"x\"", 2);
    const std::string head = "12/7/2026 - 2:07 PM: Razaveza: Can't play \"x\". Last Win32 Error (2): ";
    ASSERT_EQ(line.compare(0, head.size(), head), 0) << line;
    ASSERT_GT(line.size(), head.size() + 1);
    EXPECT_EQ(line.back(), '.');
    // The system text loses its own trailing full stop, blanks and line break.
    char last = line[line.size() - 2];
    EXPECT_NE(last, '.');
    EXPECT_NE(last, ' ');
    EXPECT_NE(last, '\n');
}

TEST(ErrorLogLine, RegressionTheTimeIsHoursAndMinutesWhateverTheHourWidth) {
    // Cut to five characters, 4:25:09 gave "4:25:".
    const struct {
        WORD hour, minute;
        const char* shown;
    } cases[] = {{16, 25, "4:25"}, {4, 25, "4:25"}, {21, 7, "9:07"}, {10, 30, "10:30"}};
    for (const auto& c : cases) {
        SYSTEMTIME at{2026, 12, 2, 7, c.hour, c.minute, 9, 0};
        const std::string time = LogTime(at);
        EXPECT_NE(time.find(c.shown), std::string::npos) << time;
        EXPECT_EQ(time.find(":09"), std::string::npos) << time << ": no seconds";
        EXPECT_NE(time.back(), ':') << time;
    }
}

TEST_F(AppTest, LogLinesAreAppendedAfterShowingTheLogPath) {
    App.dataFolder = dir.Path();
    Application.SetTitle("Corvane Razaveza");
    // The code is the caller's, not that of the box or of opening the file.
    ::SetLastError(ERROR_ACCESS_DENIED);
    WriteErrorLog("first");
    WriteErrorLog("");
    LogTolerated("quiet", ERROR_INVALID_NAME);
    auto lines = LogLines(dir);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(": Razaveza: first. Last Win32 Error (5): "), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find(": Razaveza: . Last Win32 Error ("), std::string::npos);
    EXPECT_EQ(lines[1].find("Last Win32 Error (183)"), std::string::npos) << "stale code of the file's opening";
    EXPECT_NE(lines[2].find(": Razaveza: quiet. Last Win32 Error (123): "), std::string::npos) << lines[2];
    ASSERT_EQ(boxes.size(), 2u) << "a tolerated failure shows no box";
    EXPECT_EQ(boxes[0].text, dir.Path() + "errorlog.txt");
    EXPECT_EQ(boxes[0].caption, "Corvane Razaveza");
    EXPECT_EQ(boxes[0].flags & MB_TYPEMASK, UINT(MB_OK));
}

TEST_F(AppTest, ALogThatCannotBeWrittenShowsNoBoxOfItsOwnAndTheFatalBoxSaysWhatHappened) {
    StartUp();
    boxes.clear();
    AppendToFile.Replace([](const std::string&, const std::string&) {
        ::SetLastError(ERROR_DISK_FULL);
        return false;
    });
    EXPECT_FALSE(WriteErrorLog("x"));
    EXPECT_FALSE(LogTolerated("y", ERROR_DISK_FULL));
    EXPECT_TRUE(boxes.empty()) << "a box with the path of a log that is not there";
    EXPECT_FALSE(Application.Terminated());
    // Only a real fatal failure still ends the program, and says what it was.
    FormGeneral().AEGeneralException(&FormItems(), std::runtime_error("Cannot write \"x\": the disk is full"));
    AppendToFile.Restore();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, FatalExceptionText(dir.Path()) + "\r\n\r\nCannot write \"x\": the disk is full");
    EXPECT_TRUE(Application.Terminated());
}

TEST_F(AppTest, RepeatedLinesOfOneRunAreCountedAndALongLogLosesItsOldestHalf) {
    for (int i = 0; i < 5; ++i)
        for (const char* line : {"A skipped", "B skipped"}) EXPECT_TRUE(LogTolerated(line, ERROR_ALREADY_EXISTS));
    LogTolerated("A skipped", ERROR_INVALID_NAME);
    FlushLogRepeats();
    FlushLogRepeats();
    const std::vector<std::string> want = {": A skipped. Last Win32 Error (183)", ": B skipped. Last Win32 Error (183)",
                                           ": A skipped. Last Win32 Error (123)",
                                           ": Repeated 4 more times: A skipped. Last Win32 Error (183)",
                                           ": Repeated 4 more times: B skipped. Last Win32 Error (183)"};
    auto lines = LogLines(dir);
    ASSERT_EQ(lines.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NE(lines[i].find(want[i]), std::string::npos) << lines[i];

    // A run that logs ever new messages writes the counts it has before it forgets them.
    LogTolerated("A skipped", ERROR_ALREADY_EXISTS);
    for (int i = 0; i < 4100; ++i) LogTolerated("new " + std::to_string(i), 0);
    FlushLogRepeats();
    const std::string counted = rztest::ReadFile(dir / "errorlog.txt");
    EXPECT_NE(counted.find(": Repeated 1 more times: A skipped. Last Win32 Error (183)"), std::string::npos);

    // Past the limit the oldest half goes, whole lines at a time.
    std::string old;
    for (int i = 0; old.size() <= kLogLimit; ++i) old += "old line " + std::to_string(i) + "\r\n";
    rztest::WriteFile(dir / "errorlog.txt", old);
    LogTolerated("newest", 0);
    lines = LogLines(dir);
    const std::string all = rztest::ReadFile(dir / "errorlog.txt");
    EXPECT_LT(all.size(), kLogLimit * 3 / 4);
    EXPECT_GT(all.size(), kLogLimit / 4);
    EXPECT_EQ(lines.front().rfind("old line ", 0), 0u) << lines.front();
    EXPECT_NE(all.find(old.substr(old.size() - 1000)), std::string::npos) << "the newest old lines are kept";
    EXPECT_NE(lines.back().find(": newest. Last Win32 Error (0)"), std::string::npos);
}

TEST_F(AppTest, NoticeModes) {
    Application.SetTitle("Corvane Razaveza");
    answer = IDNO;
    EXPECT_EQ(ShowNotice(kNoticeGiven, "plain", 0), IDOK);
    EXPECT_EQ(ShowNotice(kNoticeGiven, "ask", 1, NoticeType::Confirmation, kButtonYes | kButtonNo), IDNO);
    EXPECT_EQ(ShowNotice(kNoticeGiven, "hidden", 7), IDOK);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Corvane Razaveza");
    EXPECT_EQ(boxes[0].flags & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_OK));
    EXPECT_EQ(boxes[1].caption, "Confirm");
    EXPECT_EQ(boxes[1].flags & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_YESNO | MB_ICONQUESTION));
}

TEST_F(AppTest, AnExceptionFromAnEventHandlerIsLoggedReportedAndEndsTheProgram) {
    StartUp();
    boxes.clear();
    TTimer timer("TimerBoom");
    timer.OnTimer = [](TObject*) { throw std::runtime_error("boom"); };
    timer.SetInterval(10);
    timer.SetEnabled(true);
    for (int i = 0; i < 200 && !Application.Terminated(); ++i) {
        Application.ProcessMessages();
        ::Sleep(5);
    }
    timer.SetEnabled(false);
    ASSERT_TRUE(Application.Terminated());
    auto lines = LogLines(dir);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(": Razaveza: Exception raised (Sender was: TimerBoom): boom. Last Win32"),
              std::string::npos)
        << lines[0];
    // The log path first, then the fatal text.
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, FatalExceptionText(dir.Path()));
    EXPECT_EQ(boxes[1].caption, "Corvane Razaveza");
}

TEST_F(AppTest, AHardwareExceptionIsLoggedWithCodeAddressAndModuleThenEndsTheProgram) {
    StartUp();
    boxes.clear();
    char exe[MAX_PATH] = {};
    const std::string path(exe, ::GetModuleFileNameA(nullptr, exe, MAX_PATH));
    const std::string module = path.substr(path.find_last_of('\\') + 1);
    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    record.ExceptionAddress = reinterpret_cast<void*>(&LogLines);
    EXCEPTION_POINTERS info{&record, nullptr};
    EXPECT_EQ(Application.ReportFault(&info), EXCEPTION_EXECUTE_HANDLER);
    EXPECT_TRUE(Application.Terminated());
    auto lines = LogLines(dir);
    ASSERT_EQ(lines.size(), 1u);
    char address[16];
    std::snprintf(address, sizeof(address), "0x%08lX",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress)));
    for (const std::string& part : {std::string("(Sender Couldn't be determined): "), std::string("C0000005"),
                                    std::string(address), " in " + module + "."})
        EXPECT_NE(lines[0].find(part), std::string::npos) << part << " in " << lines[0];
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, FatalExceptionText(dir.Path()));
}

TEST_F(AppTest, AnExceptionWithoutSenderStillGivesOneLine) {
    StartUp();
    FormGeneral().AEGeneralException(nullptr, std::runtime_error("lost"));
    auto lines = LogLines(dir);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Exception raised (Sender Couldn't be determined): lost."), std::string::npos);
    EXPECT_TRUE(Application.Terminated());
}

TEST_F(AppTest, AStartUpFailureNamesNoSenderAndEndsItsSystemTextOnce) {
    // A file where the store folder belongs: start-up cannot create it.
    rztest::WriteFile(dir / "shortcuts", "in the way");
    SafeInvoke(&Application, [] { StartUp(); });
    EXPECT_TRUE(Application.Terminated());
    auto lines = LogLines(dir);
    ASSERT_EQ(lines.size(), 1u);
    const std::string head =
        "Exception raised (Sender was: ): Cannot create \"" + dir.Path() + "shortcuts\": I/O error ";
    EXPECT_NE(lines[0].find(head), std::string::npos) << lines[0];
    // The system's own full stop is gone before the log adds its own.
    const size_t last = lines[0].find(". Last Win32 Error (");
    ASSERT_NE(last, std::string::npos);
    EXPECT_NE(lines[0][last - 1], '.') << lines[0];
}

TEST(PreparedTexts, TheBackupQuestionAndTheSupportParagraph) {
    const std::string text = BackupQuestionText("C:\\Rz\\");
    EXPECT_EQ(text.substr(0, 62), "A Backup of an earlier items list exists as \"C:\\Rz\\item_bak.\" ");
    EXPECT_NE(text.find("time.\r\n\r\nDo you wish to restore the items from the backup?\r\nIf you choose \"No\""),
              std::string::npos);
    EXPECT_NE(text.find("exit with any further actions.\r\n\r\nIf the problem persists try visit "), std::string::npos);
    EXPECT_NE(text.find("As an alternative please send \"C:\\Rz\\errorlog.txt\" and a reproducible"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 47), ", and we'll do our best to resolve the problem.");
    EXPECT_EQ(FatalExceptionText("C:\\Rz\\").substr(0, 73),
              "Exception raised, Razaveza will now terminate to prevent machine lockup.\r");
}
